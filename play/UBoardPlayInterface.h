// The play screen: the table on which a jigsaw is assembled. It owns the piece set, sets up a
// new game from a fresh cut or continues a saved one, runs the per-frame work (fusing,
// completion, board animations) and saves the game when it is left.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/UEngines.h"
#include "core/UTextIds.h"
#include "play/UBoardMenu.h"
#include "play/USavedGame.h"

namespace qj {

class TDXHint;
class TPieces;
class TPuzzleCutter;
struct TSaveJob;

// What the play screen asks the engine to do next (its result).
namespace PlayResult {
enum : int { ToMainMenu = -1, Options = 1, ToPictures = 2 };
}

// How a carried selection follows the mouse: not at all, while the button is held, or after a
// quick click until the next click drops it.
enum class EDragMode { Idle = 0, Holding = 1, Clicked = 4 };

// What the player answers when a save could not be written.
enum class ESaveAnswer { Retry, Skip, Cancel };

class TBoardPlayInterface : public TInterface {
 public:
  explicit TBoardPlayInterface(TGraphicsEngine* engine);
  ~TBoardPlayInterface() override;

  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void MouseMove(int shift, int x, int y) override;
  // Ctrl + wheel towards the player shows the whole table, away from the player back at 1:1; the
  // wheel alone scrolls the table up and down, with Shift sideways.
  void MouseWheel(int shift, int notches, int x, int y) override;
  void KeyDown(uint16_t& key, int shift) override;
  void KeyUp(uint16_t& key, int shift) override;
  void SetDepthRange(double low, double high) override;
  void Enter() override;
  void Leave() override;
  void Suspend() override;
  void Resume() override;
  void Update() override;
  // Every tick while pieces, the view, the bar or the music move; else until the clock's next
  // second or the next look at what goes by the wall clock.
  uint32_t RestFor(uint32_t now) const override;
  void Resize() override;
  void Restore() override;

  // A new game from the freshly cut pieces, scattered over an area of width x height.
  void NewGame(TPuzzleCutter& cutter, int width, int height);
  // Continues the saved game beside the picture (savPath: the picture with ".sav"). False when
  // there is none or it is damaged (then reported through OnError); nothing on disk changes.
  [[nodiscard]] bool LoadGame(TPuzzleCutter& cutter, const std::string& savPath);
  // Writes the score file and the archive holding the saved game. False when it could not be
  // written and the player did not retry successfully; the old archive is then untouched.
  [[nodiscard]] bool SaveGame(const std::string& savPath);
  // What a save of the game to savPath writes, as the table is now; quick, and the pieces may
  // change afterwards without changing it.
  void TakeSnapshot(const std::string& savPath, TSaveJob& job);
  // A short note over the menu bar that goes by itself.
  void ShowNote(const std::string& caption);
  // Leaving deletes the saved game instead of saving it.
  void Abandon() { FAbandon = true; }
  // The whole table at once; or back to 1:1 centred on the table point under the screen point
  // (x, y), unless that lies on the menu, where the view comes back as it was.
  void ShowWholeTable(bool on, int x, int y);

  // The loose pieces slide apart over the whole table (not while pieces are carried).
  void SpreadOut();
  // Edge pieces into tray 1, the other loose pieces by colour into the trays after it (not while
  // pieces are carried).
  void SortIntoTrays();
  // The last step on the table taken back, or the last one taken back done again; a carry in
  // progress is put down first, so that undo takes it back.
  void Undo() { TakeBack(false); }
  void Redo() { TakeBack(true); }
  // The note that tells what undo or redo did; null while none was shown.
  const TDXHint* UndoNote() const { return FUndoNote; }
  TPieces& Pieces() { return *FPieces; }
  TBoardMenu& Menu() { return *FMenu; }
  EDragMode DragMode() const { return FDragMode; }
  int PieceCount() const;
  bool Completed() const { return FCompleted; }
  bool Paused() const { return FPaused; }
  bool GameSetUp() const { return FGameSetUp; }
  const std::string& SavPath() const { return FSavPath; }
  // Depth of carried pieces, above everything else on the table.
  double DragDepth() const { return FDragDepth; }
  // Start of the play clock, in days (a date-time value); playing time is now - this.
  double GameStartTime() const { return FGameStartTime; }
  // Playing time so far, in days; it stands still while the game is paused.
  double ElapsedDays() const;
  // Moves the start of the play clock later, so that a stall does not count as play.
  void ShiftClock(double days) { FGameStartTime += days; }

  // A save is about to be written (whatever else writes the same files finishes first).
  std::function<void()> OnBeforeSave;
  // A save that failed: title and text; the answer decides whether to try again.
  std::function<ESaveAnswer(const std::string& title, const std::string& text)> OnSaveFailed;
  // A saved game that could not be continued: title and text.
  std::function<void(const std::string& title, const std::string& text)> OnError;
  // A long step's progress: the language line naming it, how far it is and of how much (0 of
  // n starts it; n of n ends it).
  std::function<void(ETextId line, int64_t done, int64_t total)> OnProgress;
  // The menu changed the table background or the theme.
  std::function<void()> OnBackgroundChanged;
  std::function<void()> OnThemeChanged;

 private:
  static constexpr int kBarClearance = 16;  // above the bar: the tray icons and the progress cubes
  void WireFusion();
  void AfterFusion();
  void CheckCompletion();
  void StartClock(double elapsedDays);
  void UpdateRecord();
  [[nodiscard]] bool RestoreGame(TPuzzleCutter& cutter, const std::string& savPath, std::string& error);
  [[nodiscard]] bool ReadSavedGame(TPuzzleCutter& cutter, const std::string& savPath, TSavedGame& game,
                                   std::string& error);
  void ApplyMenuState(const TSavedMenu& menu);
  void MakeBandSprite();
  void ShowPicture(TPuzzleCutter& cutter);
  // Input on the table.
  TPoint TablePoint(int x, int y) const;
  bool MenuTool(int button, EMenuSide side) const;
  bool BlockedByDialog(int x, int y) const;
  void TableMouseDown(int button, int shift, int x, int y);
  void PieceMouseDown(int button, int shift, int index, TPoint at);
  void EmptyTableMouseDown(int button, int x, int y, TPoint at);
  void RotateCarried(int shift);
  void DropSelection(int x, int y);
  void PlaceAndPin(int index);
  void Scatter(TPoint at, int reach);
  std::vector<TRect> KeptClear() const;
  void ScrollTo(int x, int y);
  // Glides the table by (dx, dy) over the next frames.
  void ScrollBy(int dx, int dy);
  void StepGlide();
  bool ScrollKey(uint16_t key, int shift);
  void MoveBand(int shift, TPoint at);
  TRect BandRect() const;
  void DrawBand();
  void ServeMenu();
  void Progress(ETextId line, int64_t done, int64_t total);
  void StepMusicFade();
  void DockTrayIcons();
  void TakeBack(bool redo);
  int BarClearance() const;
  static bool HotKeyIs(int n, uint16_t key, int modifiers);

  std::unique_ptr<TPieces> FPieces;
  std::unique_ptr<TBoardMenu> FMenu;
  EDragMode FDragMode = EDragMode::Idle;
  uint32_t FPickTick = 0;
  bool FScrolling = false;
  TPoint FScrollStart, FScrollAnchor;
  TPoint FGlide;  // table pixels the view still glides
  bool FOverviewWhenPaused = false;
  bool FBandActive = false;
  TPoint FBandAnchor, FBandEnd;  // table coordinates
  TSpriteHandle FBandSprite;
  TDXHint* FUndoNote = nullptr;  // a control of the screen, freed when it is left
  uint16_t FTakeBackKey = 0;      // the undo or redo key that went down, until it comes up
  int FMusicFade = -1;  // the music's level while it fades out at completion; -1 none
  std::string FSavPath;
  double FDragDepth = 0;
  double FElapsedWhenPaused = 0;
  bool FPaused = false;
  double FGameStartTime = 0;
  bool FGameSetUp = false;
  bool FAbandon = false;
  bool FCompleted = false;
};

}  // namespace qj
