#include "screens/UThumbWindow.h"

#include <algorithm>
#include <cmath>

#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UPuzzleFile.h"
#include "platform/Canvas.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/PictureLibrary.h"

namespace qj {
namespace {

constexpr int kTextLeft = 10;
constexpr int kTextTop = 3;
constexpr int kGlowStep = 10;

}  // namespace

bool TDXThumbWindow::Load(const std::string& path, const TMyDib& hidden, bool nameTaken, std::string& error) {
  FPath = path;
  FNameTaken = nameTaken;
  FBestRecord = FLastRecord = TGameRecord{};
  const std::string scores = ChangeFileExt(path, ".hsc");
  // Without a score file the records stay zero, and zero records show nothing.
  FScoresRead = !FileExists(scores) || ReadScoreFile(scores, FBestRecord, FLastRecord);
  const bool puzzle = !FNameTaken && LoadPuzzle(hidden);
  if (!puzzle && !LoadPicture(error)) return false;
  FHasSavedGame = !FNameTaken && FileExists(ChangeFileExt(path, ".zip"));
  SetCaption(CaptionText());
  SetClientSize(FBaseImage.Width(), FBaseImage.Height());
  Repaint();
  return true;
}

// Only a file read in full and found malformed is deleted: one that could not be read (a
// locked or unreadable file, a passing fault) may still be good.
bool TDXThumbWindow::LoadPuzzle(const TMyDib& hidden) {
  const std::string path = ChangeFileExt(FPath, ".pzl");
  if (!FileExists(path)) return false;
  std::vector<uint8_t> file, previewBytes;
  if (!ReadWholeFile(path, file)) {
    LogError("cannot read the puzzle file %s", path.c_str());
    return false;
  }
  TCutParameters cut;
  TPuzzlePlayOptions play;
  std::string why;
  TMyDib preview;
  if (!ParsePuzzleFile(file, cut, play, previewBytes, why) ||
      !preview.LoadFromMemory(previewBytes.data(), previewBytes.size())) {
    LogError("the puzzle file %s is damaged (%s) and is deleted", path.c_str(),
             why.empty() ? preview.LastError().c_str() : why.c_str());
    (void)DeleteFile(path);
    return false;
  }
  FPieceCount = play.PieceCount;
  const bool shown = play.AllowSmallPicture || play.AllowGhost;
  FKind = shown ? EThumbKind::Preview : EThumbKind::Hidden;
  FBaseImage = shown ? preview : hidden;
  return true;
}

// Decoded at reduced size and kept in the thumbnail cache: a library of big photos opens fast.
bool TDXThumbWindow::LoadPicture(std::string& error) {
  FKind = EThumbKind::Picture;
  return LoadThumbnail(FPath, kPictureWidth, FBaseImage, error);
}

std::string TDXThumbWindow::Name() const {
  std::string name = ChangeFileExt(ExtractFileName(FPath), "");
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (i == 0 && c >= 'a' && c <= 'z') name[i] = char(c - 'a' + 'A');
    if (i > 0 && c >= 'A' && c <= 'Z') name[i] = char(c - 'A' + 'a');
  }
  return name;
}

int TDXThumbWindow::ProgressPercent() const {
  const TGameRecord& r = FLastRecord;
  if (!FHasSavedGame || !FScoresRead || r.InitialPieces <= 0 || r.PiecesHigh < 0 || r.PiecesHigh > r.InitialPieces)
    return -1;
  return int(std::lround(double(r.InitialPieces - r.PiecesHigh) / r.InitialPieces * 100));
}

std::string TDXThumbWindow::CaptionText() const {
  const int progress = ProgressPercent();
  return progress < 0 ? Name() : Name() + "-" + std::to_string(progress) + "%";
}

void TDXThumbWindow::SavedGameChanged() {
  FHasSavedGame = !FNameTaken && FileExists(ChangeFileExt(FPath, ".zip"));
  SetCaption(CaptionText());
  Repaint();
}

void TDXThumbWindow::Repaint() {
  if (FBaseImage.Empty()) return;
  TMyDib image = FBaseImage;
  const TTheme& theme = CurrentTheme();
  TCanvas canvas(image);
  canvas.Font = {theme.FontName, theme.FontSize, MakePixel(FGlow, FGlow, FGlow), false};
  canvas.BrushClear = true;
  const int step = canvas.TextHeight("Wg") + 1;
  // A veil and a dark copy under the text keep it legible on light and busy pictures alike.
  const auto line = [&](int row, const std::string& text) {
    const int top = kTextTop + row * step;
    canvas.Darken(MakeRect(kTextLeft - 3, top, canvas.TextWidth(text) + 7, step), 110);
    canvas.Font.Color = MakePixel(16, 16, 16);
    canvas.TextOut(kTextLeft + 1, kTextTop + row * step + 1, text);
    canvas.Font.Color = MakePixel(FGlow, FGlow, FGlow);
    canvas.TextOut(kTextLeft, kTextTop + row * step, text);
  };
  // Only a finished game has a result; one in progress shows how far it has come instead.
  if (const TGameRecord* best = FScoresRead ? BestFinished(FBestRecord, FLastRecord) : nullptr)
    line(0, Lang(Text::BestScoreLabel) + " " + OneDecimal(best->Score) + ", " + std::to_string(best->InitialPieces) +
                " " + Lang(Text::PiecesWord));
  if (FKind == EThumbKind::Picture) line(1, Lang(Text::NoPuzzleMadeYet));
  if (FKind == EThumbKind::Preview)
    line(1, Lang(Text::PuzzleLabel) + " " + std::to_string(FPieceCount) + " " + Lang(Text::PiecesWord));
  if (FHasSavedGame && FScoresRead && FLastRecord.InitialPieces > 0)
    line(2, FLastRecord.Finished ? Lang(Text::TimeLabel) + " " + ClockText(FLastRecord.Elapsed)
                                 : Lang(Text::InProgressLabel) + " " + ProgressText(Lang(Text::ProgressFormat), FLastRecord));
  SetImage(image);
}

// Down to dark and back up to light, turning at the ends.
void TDXThumbWindow::StepGlow() {
  if (FGlowStep == 0 || (FGlowStep < 0 && FGlow < 11)) FGlowStep = kGlowStep;
  else if (FGlowStep > 0 && FGlow >= 245) FGlowStep = -kGlowStep;
  FGlow = uint8_t(std::clamp(FGlow + FGlowStep, 0, 255));
  Repaint();
}

void TDXThumbWindow::EndGlow() {
  if (FGlow == 255) return;
  FGlow = 255;
  Repaint();
}

}  // namespace qj
