// Tooltips: showing, placing, drawing and fading the hint box.
#include "controls/UHints.h"

#include <algorithm>
#include <cmath>

#include "controls/UControlImages.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"

namespace qj {

namespace {

// Hints keep one look whatever the theme's font: their backgrounds are sized for it.
const char* const kHintFontName = "Times New Roman";
constexpr TPixel kHintTextColour = MakePixel(8, 8, 8);
// The box must be half as wide again as its text to hold it inside the background's border.
constexpr double kTextRoom = 1.5;
// How far the box stands out beside its control, as a part of its own or the control's width.
constexpr double kOverhang = 0.9;
// The text sits a little towards the side the box points away from.
constexpr int kTextShift = 5;
// The background's border that text must keep clear of.
constexpr int kTextBorder = 10;
// Hints shown with HintDecreases on come later and go sooner, within these limits.
constexpr int kSlowestResponseMs = 1500;
constexpr int kShortestHintMs = 10;
constexpr int kHintTimeStepMs = 10;

void SelectHintFont(TCanvas& canvas, int size) {
  canvas.Font.Name = kHintFontName;
  canvas.Font.Size = size;
  canvas.Font.Color = kHintTextColour;
  canvas.BrushClear = true;
}

}  // namespace

TDXHint::TDXHint(TInterface* owner) : TDXControl(owner) { FDepthLow = FDepthHigh = FDepth = kHintDepth; }

namespace {

std::pair<std::string, std::string> SplitLines(const std::string& caption) {
  const size_t bar = caption.find('|');
  if (bar == std::string::npos) return {caption, ""};
  return {caption.substr(0, bar), caption.substr(bar + 1)};
}

}  // namespace

std::pair<std::string, std::string> TDXHint::Lines() const { return SplitLines(GetCaption()); }

// The text must keep clear of the background's rounded border, on the side it is shifted to as
// well; two lines share the background's height.
std::vector<TTextRoom> TDXHint::LineRooms(const std::string& caption) {
  const auto images = CurrentControlImages();
  const TImageList& backgrounds = images->HintBackgrounds;
  if (caption.empty() || backgrounds.size() < size_t(kHintBackgroundCount)) return {};
  const TPixelBuffer& widest = *backgrounds[2];
  TFontChoice font{kHintFontName, kDefaultFontSize, 0, false};
  const auto [line1, line2] = SplitLines(caption);
  std::vector<TTextRoom> rooms;
  for (const std::string& line : {line1, line2})
    if (!line.empty())
      rooms.push_back(MeasureTextRoom(font, line, widest.Width() - 2 * (kTextBorder + kTextShift), widest.Height() / 2));
  return rooms;
}

void TDXHint::SetTop(int value) {
  FTop = value;
  MoveSprite();
}

void TDXHint::SetLeft(int value) {
  FLeft = value;
  MoveSprite();
}

void TDXHint::SetCaption(const std::string& text) {
  const bool changed = text != FCaption;
  FCaption = text;
  if (changed && Shown() && FEnabled) DrawBox();
}

void TDXHint::AttachTo(const TDXControl& control) {
  FControl = &control;
  FHintRect = {control.FLeft, control.FTop, control.FLeft + control.FWidth, control.FTop + control.FHeight};
  FHintZone = true;
}

void TDXHint::PlaceBeside(bool leftSide) {
  FLeftSide = leftSide;
  const auto images = CurrentControlImages();
  const TImageList& backgrounds = images->HintBackgrounds;
  if (backgrounds.size() < size_t(kHintBackgroundCount)) return;  // no theme loaded yet
  TPixelBuffer scratch;
  TCanvas canvas(scratch);
  SelectHintFont(canvas, FFontSize);
  const auto [line1, line2] = Lines();
  const int needed = std::max(int(std::lround(canvas.TextWidth(line1) * kTextRoom)),
                              int(std::lround(canvas.TextWidth(line2) * kTextRoom)));
  int size = 0;
  while (size < 2 && needed >= backgrounds[size_t(size)]->Width()) ++size;
  FBackground = backgrounds[size_t(leftSide ? size : size + 3)];
  SetHeight(FBackground->Height());
  SetWidth(FBackground->Width());
  int left = int(std::lround(leftSide ? FHintRect.Left - FWidth * kOverhang : FHintRect.Left + FHintRect.Width() * kOverhang));
  int top = FHintRect.Top - FHeight;
  // A box that would leave the screen at its side comes back onto it, one box higher, so that
  // it does not cover the other side's box of the same control.
  const int screen = FEngine->FWidth;
  if (screen > FWidth && (left < 0 || left + FWidth > screen)) {
    left = std::clamp(left, 0, screen - FWidth);
    top -= FHeight;
  }
  SetTop(top);
  SetLeft(left);
}

bool TDXHint::ShowHint() {
  if (Shown() || !FEnabled) return false;
  if (!Fire(OnBeforeShow)) return false;
  if (GetCaption().empty() || !FBackground) return false;
  FFrame = 0;
  FLastFrame = FHoldSteps + kShowSteps;
  FTargetFrame = FLastFrame;
  FFrameInterval = uint32_t(std::lround(double(Options.HintMs) / FLastFrame));
  FSprite = TSpriteHandle(*FEngine, FEngine->AddEmptySprite(0, 0, FDepth, 0));
  FEngine->AddSurface(FSprite.Index(), nullptr);
  TMySprite* sprite = FSprite.Get();
  sprite->Kind = ESpriteKind::Plain;
  sprite->Alpha = 100;
  DrawBox();
  sprite->Visible = true;
  if (Options.HintDecreases) {
    Options.HintResponseMs = std::min(kSlowestResponseMs, Options.HintResponseMs + kHintTimeStepMs);
    Options.HintMs = std::max(kShortestHintMs, Options.HintMs - kHintTimeStepMs);
  }
  Paint();
  return true;
}

void TDXHint::DrawBox() {
  TMySprite* sprite = FSprite.Get();
  if (!sprite || !FBackground || sprite->Surfaces.empty()) return;
  TSurface& surface = *sprite->Surfaces[0];
  surface.SetSize(FBackground->Width(), FBackground->Height());
  BltFast(surface, 0, 0, *FBackground, false);
  TCanvas canvas(surface);
  SelectHintFont(canvas, FFontSize);
  const int shift = FLeftSide ? -kTextShift : kTextShift;
  const int width = surface.Width();
  const int height = surface.Height();
  const auto [line1, line2] = Lines();
  if (line2.empty()) {
    canvas.TextOut((width - canvas.TextWidth(line1)) / 2 + shift, (height - canvas.TextHeight(line1)) / 3, line1);
    return;
  }
  const int whole = canvas.TextHeight(GetCaption());
  canvas.TextOut((width - canvas.TextWidth(line1)) / 2 + shift, (height - canvas.TextHeight(line1)) / 6, line1);
  canvas.TextOut((width - canvas.TextWidth(line2)) / 2 + shift, whole + (height - canvas.TextHeight(line2)) / 6,
                 line2);
}

// Opacity 0 would be drawn fully opaque by the engine, so the faintest step is 1.
uint8_t TDXHint::FadeAlpha() const {
  const int fadeOutStart = FHoldSteps + kFadeSteps + kFullSteps;
  if (FFrame < kFadeSteps) return uint8_t(25 * FFrame + 1);
  if (FFrame < fadeOutStart) return 255;
  return uint8_t((fadeOutStart + kFadeSteps - 1 - FFrame) * 25 + 1);
}

void TDXHint::Paint() {
  TMySprite* sprite = FSprite.Get();
  if (!sprite) return;
  if (FFrame >= FHoldSteps + kShowSteps - 1) {
    HideHint();
    return;
  }
  sprite->X = FLeft;
  sprite->Y = FTop;
  sprite->Alpha = FadeAlpha();
}

void TDXHint::HideHint() {
  TMySprite* sprite = FSprite.Get();
  if (!sprite) return;
  sprite->Visible = false;
  FSprite.Reset();
  FFrame = 0;
  FTargetFrame = 0;
  (void)Fire(OnHide);
}

void TDXHint::SetHoldSteps(int steps) { FHoldSteps = std::max(0, steps); }

}  // namespace qj
