// A picture of the library as a small window on the selector's desk: its preview, best score,
// piece count and, with a game in progress, how far it has come and for how long.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/UWindows.h"
#include "platform/PictureLibrary.h"
#include "creation/UGameRecord.h"

namespace qj {

class TDXHint;

// A picture's file name as a title: without its extension, dashes and underscores as spaces, the
// first letter upper case; a name all in capitals (a camera's) is lower case after it.
std::string ReadableName(const std::string& fileName);
// The text cut at the end of its last word that fits the width with "…" after it (inside a word
// when the first is too long); unchanged when it fits whole.
std::string ShortenToWidth(const std::string& text, int width, const std::function<int(const std::string&)>& measure);

enum class EThumbKind : uint8_t {
  Picture = 0,  // no puzzle made yet: the picture itself
  Preview = 1,  // a puzzle that lets the player see its picture
  Hidden = 2,   // a puzzle that keeps its picture hidden
};

class TDXThumbWindow : public TDXWindow {
 public:
  static constexpr int kPictureWidth = kThumbnailWidth;

  explicit TDXThumbWindow(TInterface* owner);
  ~TDXThumbWindow() override;

  // The hint with the full name follows the window.
  void SetLeft(int value) override;
  void SetTop(int value) override;

  // Reads the picture's score file, its puzzle file (a puzzle file read in full and found
  // malformed is deleted; one that cannot be read is kept) and whether a game is saved, and
  // builds the window's image. False, with the cause, when the picture cannot be shown.
  // `hidden` is what a puzzle that hides its picture shows. `nameTaken`: another picture of the
  // same name owns the puzzle and the saved game of that name, so neither is read.
  [[nodiscard]] bool Load(const std::string& path, const TMyDib& hidden, bool nameTaken, std::string& error);
  // After the saved game was deleted or came back: the caption and the texts follow.
  void SavedGameChanged();
  // The title fitted to the window in the theme's font: a long name is shortened, and the hint
  // over the title band then holds it whole.
  void Retitle();
  // The texts over the image in the grey of the glow.
  void Repaint();
  // One step of the texts' pulse between dark and light while the window is the chosen one.
  void StepGlow();
  // The texts light again once another window is chosen.
  void EndGlow();
  bool NameTaken() const { return FNameTaken; }
  // The picture's readable name, whole.
  std::string Name() const;
  // The hint over a shortened title with the whole name; null while the title is whole.
  const TDXHint* NameHint() const { return FNameHint.get(); }
  // The progress of the game in progress, or -1 when there is none or its record is unusable.
  int ProgressPercent() const;

  TGameRecord FBestRecord;
  TGameRecord FLastRecord;
  bool FScoresRead = false;
  bool FHasSavedGame = false;
  EThumbKind FKind = EThumbKind::Picture;
  int32_t FPieceCount = 0;
  std::string FPath;

 private:
  [[nodiscard]] bool LoadPuzzle(const TMyDib& hidden);
  [[nodiscard]] bool LoadPicture(std::string& error);
  std::string ProgressSuffix() const;
  void AttachNameHint();

  TMyDib FBaseImage;
  uint8_t FGlow = 255;
  int FGlowStep = 0;
  bool FNameTaken = false;
  std::unique_ptr<TDXHint> FNameHint;
};

}  // namespace qj
