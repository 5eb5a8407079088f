// The completion panel: the figures of the finished game, their text in the language of the
// moment, and the two ways on.
#include "play/UCompletionPanel.h"

#include "controls/UButtons.h"
#include "controls/UHints.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "play/UMenuSprites.h"
#include "platform/Canvas.h"
#include "platform/Paths.h"

namespace qj {

namespace {

constexpr int kWidth = 440, kHeight = 270, kButtonWidth = 185, kButtonRise = 55, kTextTop = 12;
constexpr int kNewBestLine = 3;  // drawn larger, as the greeting is

}  // namespace

std::optional<double> BestFinishedScore(const std::string& scorePath) {
  TGameRecord best, last;
  const TGameRecord* finished = FileExists(scorePath) && ReadScoreFile(scorePath, best, last) ? BestFinished(best, last) : nullptr;
  return finished ? std::optional<double>(finished->Score) : std::nullopt;
}

TCompletionFigures CompareWithBest(const TGameRecord& finished, const std::string& scorePath) {
  TCompletionFigures figures;
  figures.Record = finished;
  const std::optional<double> before = BestFinishedScore(scorePath);
  figures.NewBest = !before || finished.Score > *before;
  figures.Best = figures.NewBest ? finished.Score : *before;
  return figures;
}

std::string HelpsUsedText(const TGameRecord& r) {
  const std::pair<bool, std::string> helps[] = {
      {r.GhostUsed != 0, Lang(Text::HelpNames)},
      {r.MaxPictureSize > 0, Lang(Text::HelpNames + 1) + " " + std::to_string(r.MaxPictureSize)},
      {r.PlaceHelpUsed != 0, Lang(Text::HelpNames + 2)},
      {r.PullHelps > 0, Lang(Text::HelpNames + 3) + " " + std::to_string(r.PullHelps)},
      {r.ProximityHints > 0, Lang(Text::HelpNames + 4) + " " + std::to_string(r.ProximityHints)},
  };
  std::string text;
  for (const auto& [used, name] : helps)
    if (used) text += (text.empty() ? "" : ", ") + name;
  return text.empty() ? Lang(Text::NoHelpsUsed) : text;
}

std::vector<std::string> CompletionLines(const TCompletionFigures& f) {
  const TGameRecord& r = f.Record;
  return {Lang(Text::PictureWholeAgain),
          Lang(Text::TimeLabel) + " " + ClockText(r.Elapsed),
          Lang(Text::ScoreLabel) + " " + OneDecimal(r.Score),
          f.NewBest ? Lang(Text::NewBest) : Lang(Text::BestScoreLabel) + " " + OneDecimal(f.Best),
          Lang(Text::JoinsLabel) + " " + std::to_string(r.Joins) + "    " + Lang(Text::DropsLabel) + " " +
              std::to_string(r.Drops),
          Lang(Text::HelpsUsedLabel) + " " + HelpsUsedText(r)};
}

void TCompletionPanel::Enter() { FShown = FWantPictures = false; }

void TCompletionPanel::Make() {
  FWindow = &FOwner.AddOwnedControl<TDXWindow>(EControlLayer::Overlay);
  FWindow->Setup(TextKey(Text::PuzzleComplete), 0, 0, kWidth, kHeight, {.Style = 0, .Movable = false});
  static constexpr ETextId kCaptions[ButtonCount] = {Text::BackToThePictures, Text::StayAtTheTable};
  for (size_t i = 0; i < FButtons.size(); ++i) {
    auto& button = FOwner.AddOwnedControl<TDXButton>(EControlLayer::Overlay);
    const std::string& line = Lang(kCaptions[i]);
    button.SetButton(line.substr(0, line.find('|')), 0, 0, kButtonWidth, 0, 0);
    button.FHintText = TextKey(kCaptions[i]);
    FButtons[i] = &button;
  }
  FButtons[BackToPictures]->OnClick = [this](TDXControl*) { FWantPictures = true; };
  FButtons[StayAtTable]->OnClick = [this](TDXControl*) { Close(); };
  Show(FShown);
}

void TCompletionPanel::Reset() {
  FWindow = nullptr;
  FButtons.fill(nullptr);
}

void TCompletionPanel::Layout(int screenWidth, int screenHeight) {
  if (!FWindow) return;
  FWindow->SetBounds((screenWidth - kWidth) / 2, (screenHeight - kHeight) / 2, kWidth, kHeight);
  const int gap = (kWidth - 2 * kButtonWidth) / 3;
  for (size_t i = 0; i < FButtons.size(); ++i)
    FButtons[i]->SetButton(FButtons[i]->FCaption, FWindow->FLeft + gap + int(i) * (kButtonWidth + gap),
                           FWindow->FTop + kHeight - kButtonRise, kButtonWidth, 0, 0);
}

void TCompletionPanel::Open(const TCompletionFigures& figures) {
  FFigures = figures;
  FWantPictures = false;
  Show(true);
}

void TCompletionPanel::Close() { Show(false); }

// The lines centred, the greeting and a new best larger and bold.
void TCompletionPanel::Paint() {
  FLines = CompletionLines(FFigures);
  const TTheme& theme = CurrentTheme();
  TMyDib text(FWindow->ClientWidth(), FWindow->ClientHeight(), 32);
  text.Fill(0);
  TCanvas canvas(text);
  canvas.BrushClear = true;
  int y = kTextTop;
  for (size_t i = 0; i < FLines.size(); ++i) {
    const bool highlight = i == 0 || (i == kNewBestLine && FFigures.NewBest);
    canvas.Font = {theme.FontName, theme.FontSize + (highlight ? 4 : 2), theme.SayColor.ToPixel(), highlight};
    canvas.TextOut((text.Width() - canvas.TextWidth(FLines[i])) / 2, y, FLines[i]);
    y += canvas.TextHeight("Wg") + (i == 0 ? 12 : 5);
  }
  FWindow->SetImage(text);
}

void TCompletionPanel::Show(bool shown) {
  FShown = shown;
  if (!FWindow) return;
  if (shown) Paint();
  ShowWithButtons(FWindow, FButtons, shown);
}

TRect TCompletionPanel::Rect() const { return FShown && FWindow ? FWindow->BoundsRect() : TRect{}; }

}  // namespace qj
