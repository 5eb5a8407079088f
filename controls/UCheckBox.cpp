// Check boxes: the theme's frames played by the base animator, and the caption beside them.
#include "controls/UCheckBox.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "controls/UControlImages.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"

namespace qj {
namespace {

int LastIndex(const TImageList& frames) { return std::max(0, int(frames.size()) - 1); }

}  // namespace

TDXCheckBox::TDXCheckBox(TInterface* owner) : TDXControl(owner), FFontSize(CurrentTheme().FontSize) {
  FSprite = TSpriteHandle(*FEngine, FEngine->AddEmptySprite(0, 0, FDepth, 0));
  FEngine->AddSurface(FSprite.Index(), nullptr);
  TMySprite* sprite = FSprite.Get();
  sprite->Kind = ESpriteKind::Plain;
  sprite->SolidHit = true;
  const TImageList& frames = CurrentControlImages()->CheckBoxFrames;
  FLastFrame = LastIndex(frames);
  if (const TMyDib* first = ImageAt(frames, 0)) {
    FWidth = first->Width();
    FHeight = first->Height();
  }
  Paint();
}

void TDXCheckBox::Setup(const std::string& caption, int left, int top, int width, int height, int fontSize,
                        bool bold, bool checked, TControlEvent onClick) {
  SetCaption(caption);
  SetBounds(left, top, width, height);
  FFontSize = fontSize;
  FBold = bold;
  SetChecked(checked);
  OnClick = std::move(onClick);
  Paint();
}

void TDXCheckBox::SetChecked(bool value) {
  if (value == FChecked) return;
  if (FFrame == FTargetFrame) FFrame = ShownFrame();  // start from what is on screen
  FChecked = value;
  // The theme may have changed since the box was made; a one-frame set has nothing to step
  // through and takes the whole animation time for its one step.
  FLastFrame = LastIndex(CurrentControlImages()->CheckBoxFrames);
  const int ms = std::max(Options.AnimationMs, 0);
  FFrameInterval = FLastFrame > 0 ? uint32_t(std::nearbyint(double(ms) / FLastFrame)) : uint32_t(ms);
  FTargetFrame = value ? FLastFrame : 0;
  Paint();
}

void TDXCheckBox::MouseUp(int button, int shift, int x, int y) {
  SetChecked(!FChecked);
  if (OnClick) OnClick(this);
}

// At rest the box shows the end frame of the set in use, which a theme change may have made
// longer or shorter than the one the frame was counted in.
int TDXCheckBox::ShownFrame() const {
  if (FFrame != FTargetFrame) return FFrame;
  return FChecked ? LastIndex(CurrentControlImages()->CheckBoxFrames) : 0;
}

void TDXCheckBox::Paint() {
  TMySprite* sprite = FSprite.Get();
  if (FUpdating || !sprite) return;
  const auto images = CurrentControlImages();
  TSurface& surface = *sprite->Surfaces[0];
  surface.SetSize(FWidth, FHeight);
  sprite->X = FLeft;
  sprite->Y = FTop;
  const TMyDib* frame = ImageAt(images->CheckBoxFrames, ShownFrame());
  const int frameWidth = frame ? frame->Width() : 0;
  if (frame) BltFast(surface, 0, (FHeight - frame->Height()) / 2, *frame, true);
  PaintCaption(surface, frameWidth + 3);
}

void TDXCheckBox::PaintCaption(TSurface& surface, int left) {
  const TTheme& theme = CurrentTheme();
  TCanvas canvas(surface);
  canvas.Font = {theme.FontName, FFontSize != 0 ? FFontSize : theme.FontSize, theme.SayColor.ToPixel(), FBold};
  canvas.BrushClear = true;
  const std::string caption = GetCaption();
  canvas.TextOut(left, (FHeight - canvas.TextHeight(caption)) / 2 - 1, caption);
}

}  // namespace qj
