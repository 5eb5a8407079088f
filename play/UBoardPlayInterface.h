// The play screen: the table on which a jigsaw is assembled. It owns the piece set, sets up a
// new game from a fresh cut or continues a saved one, runs the per-frame work (fusing,
// completion, board animations) and saves the game when it is left.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/UEngines.h"
#include "play/USavedGame.h"

namespace qj {

class TPieces;
class TPuzzleCutter;

// What the player answers when a save could not be written.
enum class ESaveAnswer { Retry, Skip, Cancel };

class TBoardPlayInterface : public TInterface {
 public:
  explicit TBoardPlayInterface(TGraphicsEngine* engine);
  ~TBoardPlayInterface() override;

  void KeyDown(uint16_t& key, int shift) override;
  void SetDepthRange(double low, double high) override;
  void Enter() override;
  void Leave() override;
  void Suspend() override;
  void Resume() override;
  void Update() override;
  void Restore() override;

  // A new game from the freshly cut pieces, scattered over an area of width x height.
  void NewGame(TPuzzleCutter& cutter, int width, int height);
  // Continues the saved game beside the picture (savPath: the picture with ".sav"). False when
  // there is none or it is damaged (then reported through OnError); nothing on disk changes.
  [[nodiscard]] bool LoadGame(TPuzzleCutter& cutter, const std::string& savPath);
  // Writes the score file and the archive holding the saved game. False when it could not be
  // written and the player did not retry successfully; the old archive is then untouched.
  [[nodiscard]] bool SaveGame(const std::string& savPath);
  // Leaving deletes the saved game instead of saving it.
  void Abandon() { FAbandon = true; }

  TPieces& Pieces() { return *FPieces; }
  int PieceCount() const;
  bool Completed() const { return FCompleted; }
  bool GameSetUp() const { return FGameSetUp; }
  const std::string& SavPath() const { return FSavPath; }
  // The in-game menu's state as a saved game keeps it.
  TSavedMenu& MenuState() { return FMenuState; }
  // Depth of carried pieces, above everything else on the table.
  double DragDepth() const { return FDragDepth; }

  // A save that failed: title and text; the answer decides whether to try again.
  std::function<ESaveAnswer(const std::string& title, const std::string& text)> OnSaveFailed;
  // A saved game that could not be continued: title and text.
  std::function<void(const std::string& title, const std::string& text)> OnError;

 private:
  void WireFusion();
  void AfterFusion();
  void CheckCompletion();
  void StartClock(double elapsedDays);
  double ElapsedDays() const;
  void UpdateRecord();
  [[nodiscard]] bool WriteArchive(const std::string& savPath, std::string& error);
  [[nodiscard]] bool RestoreGame(TPuzzleCutter& cutter, const std::string& savPath, std::string& error);
  [[nodiscard]] bool ReadSavedGame(TPuzzleCutter& cutter, const std::string& savPath, TSavedGame& game,
                                   std::string& error);
  void ApplyMenuState();

  std::unique_ptr<TPieces> FPieces;
  TSavedMenu FMenuState;
  std::string FSavPath;
  double FDragDepth = 0;
  double FElapsedWhenPaused = 0;
  bool FPaused = false;
  bool FGameSetUp = false;
  bool FAbandon = false;
  bool FCompleted = false;
};

}  // namespace qj
