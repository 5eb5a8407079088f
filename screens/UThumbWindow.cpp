// A picture of the library as a small window: its files read, its title and its texts drawn.
#include "screens/UThumbWindow.h"

#include <algorithm>
#include <cmath>

#include "controls/UHints.h"
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
constexpr TPixel kTextColour = MakePixel(250, 250, 246);
constexpr int kVeilKeep = 110;  // 256ths of the picture left under the texts
constexpr int kMostTint = 200;  // 256ths of the chosen window's colour in its bands at the glow's height
constexpr const char* kEllipsis = "\xE2\x80\xA6";

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The first letter upper case: ASCII, and the accented letters of Latin-1 (two bytes in UTF-8).
void CapitalizeFirst(std::string& text) {
  if (text.empty()) return;
  unsigned char& c = reinterpret_cast<unsigned char&>(text[0]);
  if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
  if (c == 0xC3 && text.size() > 1) {
    unsigned char& next = reinterpret_cast<unsigned char&>(text[1]);
    if (next >= 0xA0 && next <= 0xBE && next != 0xB7) next = static_cast<unsigned char>(next - 0x20);
  }
}

// The band under a line of text: the picture darkened, and on the chosen window mixed with the
// theme's selection colour as far as the glow has come. The texts stay light on it either way.
void Veil(TMyDib& image, const TRect& area, TPixel tint, int tintShare) {
  const TRect r = Intersect(area, image.Bounds());
  const unsigned keep = unsigned(kVeilKeep * (256 - tintShare)) >> 8;
  const unsigned tr = PixelR(tint) * unsigned(tintShare) >> 8, tg = PixelG(tint) * unsigned(tintShare) >> 8,
                 tb = PixelB(tint) * unsigned(tintShare) >> 8;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (TPixel *p = image.Row(y) + r.Left, *end = image.Row(y) + r.Right; p != end; ++p)
      *p = MakePixel((PixelR(*p) * keep >> 8) + tr, (PixelG(*p) * keep >> 8) + tg, (PixelB(*p) * keep >> 8) + tb,
                     *p >> 24);
  image.MarkChanged();
}

// The selection colour kept dark enough for light text on it, whatever the theme.
TPixel DarkTint(const TThemeColor& colour) {
  const TPixel p = colour.ToPixel();
  return MakePixel(PixelR(p) * 9 / 16, PixelG(p) * 9 / 16, PixelB(p) * 9 / 16);
}

}  // namespace

std::string ReadableName(const std::string& fileName) {
  const std::string stem = ChangeFileExt(ExtractFileName(fileName), "");
  std::string name;
  for (char c : stem) {
    const char spaced = (c == '-' || c == '_') ? ' ' : c;
    if (spaced == ' ' && (name.empty() || name.back() == ' ')) continue;
    name += spaced;
  }
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty()) return stem;
  const bool shouting = std::none_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
  if (shouting)
    for (size_t i = 1; i < name.size(); ++i)
      if (name[i] >= 'A' && name[i] <= 'Z') name[i] = char(name[i] - 'A' + 'a');
  CapitalizeFirst(name);
  return name;
}

std::string ShortenToWidth(const std::string& text, int width, const std::function<int(const std::string&)>& measure) {
  if (measure(text) <= width) return text;
  for (size_t end = text.rfind(' '); end != std::string::npos && end > 0; end = text.rfind(' ', end - 1)) {
    const std::string head = text.substr(0, end) + kEllipsis;
    if (measure(head) <= width) return head;
  }
  std::string head = text;
  while (!head.empty()) {
    do head.pop_back();
    while (!head.empty() && IsContinuationByte(head.back()));
    if (!head.empty() && measure(head + kEllipsis) <= width) return head + kEllipsis;
  }
  return kEllipsis;
}

TDXThumbWindow::TDXThumbWindow(TInterface* owner) : TDXWindow(owner) {}

TDXThumbWindow::~TDXThumbWindow() = default;

void TDXThumbWindow::SetLeft(int value) {
  TDXWindow::SetLeft(value);
  AttachNameHint();
}

void TDXThumbWindow::SetTop(int value) {
  TDXWindow::SetTop(value);
  AttachNameHint();
}

// The hover zone is the title band; the hint stands out to the right of it. Only a shortened
// title has one.
void TDXThumbWindow::AttachNameHint() {
  if (!FNameHint) return;
  FNameHint->FHintRect = MakeRect(FLeft, FTop, FWidth, std::max(1, TitleHeight()));
  FNameHint->FHintZone = true;
}

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
  SetClientSize(FBaseImage.Width(), FBaseImage.Height());
  Retitle();
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

std::string TDXThumbWindow::Name() const { return ReadableName(FPath); }

int TDXThumbWindow::ProgressPercent() const {
  const TGameRecord& r = FLastRecord;
  if (!FHasSavedGame || !FScoresRead || r.InitialPieces <= 0 || r.PiecesHigh < 0 || r.PiecesHigh > r.InitialPieces)
    return -1;
  return int(std::lround(double(r.InitialPieces - r.PiecesHigh) / r.InitialPieces * 100));
}

std::string TDXThumbWindow::ProgressSuffix() const {
  const int progress = ProgressPercent();
  return progress < 0 ? "" : "-" + std::to_string(progress) + "%";
}

void TDXThumbWindow::SavedGameChanged() {
  FHasSavedGame = !FNameTaken && FileExists(ChangeFileExt(FPath, ".zip"));
  Retitle();
  Repaint();
}

void TDXThumbWindow::Retitle() {
  const TTheme& theme = CurrentTheme();
  TPixelBuffer scratch;
  TCanvas canvas(scratch);
  canvas.Font = {theme.FontName, FTitleFontSize != 0 ? FTitleFontSize : theme.FontTitleSize, 0, false};
  const auto measure = [&canvas](const std::string& text) { return canvas.TextWidth(text); };
  const std::string suffix = ProgressSuffix();
  const int room = FWidth - 2 * FLayout[FrameRect::Top].Left - measure(suffix);
  const std::string name = Name(), title = ShortenToWidth(name, room, measure);
  SetCaption(title + suffix);
  if (title == name) {
    FNameHint.reset();
    return;
  }
  if (!FNameHint) {
    FNameHint = std::make_unique<TDXHint>(FOwner);
    FNameHint->OnBeforeShow = [this](TDXControl*) {
      AttachNameHint();
      FNameHint->PlaceBeside(false);
    };
  }
  FNameHint->SetCaption(name + suffix);
  AttachNameHint();
}

void TDXThumbWindow::Repaint() {
  if (FBaseImage.Empty()) return;
  TMyDib image = FBaseImage;
  const TTheme& theme = CurrentTheme();
  TCanvas canvas(image);
  canvas.Font = {theme.FontName, theme.FontSize, kTextColour, false};
  canvas.BrushClear = true;
  const int step = canvas.TextHeight("Wg") + 1;
  // The glow runs from 255 (at rest) down to 5 and back: the chosen window's bands pulse in the
  // selection colour, and the light text on its dark band stays legible on any picture.
  const int tintShare = (255 - FGlow) * kMostTint / 250;
  const TPixel tint = DarkTint(theme.SelectColor);
  const auto line = [&](int row, const std::string& text) {
    const int top = kTextTop + row * step;
    Veil(image, MakeRect(kTextLeft - 3, top, canvas.TextWidth(text) + 7, step), tint, tintShare);
    canvas.Font.Color = MakePixel(16, 16, 16);
    canvas.TextOut(kTextLeft + 1, top + 1, text);
    canvas.Font.Color = kTextColour;
    canvas.TextOut(kTextLeft, top, text);
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
