// Check boxes: the theme's frames played by the base animator, and the caption beside them.
#include "controls/UCheckBox.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "controls/UControlImages.h"
#include "controls/UHints.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"

namespace qj {
namespace {

int LastIndex(const TImageList& frames) { return std::max(0, int(frames.size()) - 1); }
constexpr int kCaptionGap = 3;  // between the frame and the caption
constexpr TPixel kTableText = 0xFFFFFF;
constexpr TPixel kTableShadow = 0x101010;  // not 0: that is the key colour

}  // namespace

TDXCheckBox::TDXCheckBox(TInterface* owner, EControlLayer layer) : TDXControl(owner, layer), FFontSize(CurrentTheme().FontSize) {
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

TDXCheckBox::~TDXCheckBox() = default;

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

void TDXCheckBox::SetHint(const std::string& text) {
  FHintText = text;
  if (FHint) return;
  FHint = std::make_unique<TDXHint>(FOwner);
  FHint->OnBeforeShow = [this](TDXControl*) {
    FHint->SetCaption(FHintText);
    FHint->PlaceBeside(false);
  };
  AttachHint();
}

void TDXCheckBox::EnableHint(bool enabled) {
  if (!FHint) return;
  FHint->SetEnabled(enabled);
  if (!enabled) FHint->HideHint();
}

// The hover zone ends with the caption, so that the hint stands beside the words it explains.
void TDXCheckBox::AttachHint() {
  if (!FHint) return;
  FHint->AttachTo(*this);
  const int used = FrameWidth() + kCaptionGap + MeasureTextRoom(CaptionFont(), GetCaption(), 0, 0).NeededWidth;
  FHint->FHintRect.Right = FLeft + std::clamp(used, 1, std::max(FWidth, 1));
}

void TDXCheckBox::SetTop(int value) {
  TDXControl::SetTop(value);
  AttachHint();
}

void TDXCheckBox::SetLeft(int value) {
  TDXControl::SetLeft(value);
  AttachHint();
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
  // The caption's soft edges are blended over the window the box stands on, not over the key
  // colour: over black they would leave a dark fringe around every letter.
  const TDXWindow* window = WindowUnder();
  if (window) window->DrawBackdrop(surface, MakeRect(FLeft - window->FLeft, FTop - window->FTop, FWidth, FHeight));
  AttachHint();
  const TMyDib* frame = ImageAt(images->CheckBoxFrames, ShownFrame());
  if (frame) BltFast(surface, 0, (FHeight - frame->Height()) / 2, *frame, true);
  PaintCaption(surface, FrameWidth() + kCaptionGap, window == nullptr);
}

// The nearest window below the box that holds it whole.
const TDXWindow* TDXCheckBox::WindowUnder() const {
  const TDXWindow* under = nullptr;
  const TRect box = MakeRect(FLeft, FTop, FWidth, FHeight);
  for (const TDXControl* control : FOwner->FControls) {
    const auto* window = dynamic_cast<const TDXWindow*>(control);
    const TMySprite* sprite = window ? window->FSprite.Get() : nullptr;
    if (!sprite || !sprite->Visible || window->FDepth >= FDepth || (under && under->FDepth > window->FDepth)) continue;
    const TRect r = window->BoundsRect();
    if (r.Contains(box.Left, box.Top) && r.Contains(box.Right - 1, box.Bottom - 1)) under = window;
  }
  return under;
}

int TDXCheckBox::FrameWidth() const {
  const TMyDib* frame = ImageAt(CurrentControlImages()->CheckBoxFrames, 0);
  return frame ? frame->Width() : 0;
}

TFontChoice TDXCheckBox::CaptionFont() const {
  const TTheme& theme = CurrentTheme();
  return {theme.FontName, FFontSize != 0 ? FFontSize : theme.FontSize, theme.SayColor.ToPixel(), FBold};
}

// On the bare table the window's dark text would vanish into the cloth: the caption is written
// light over a dark shadow there, as the screen's own texts are.
void TDXCheckBox::PaintCaption(TSurface& surface, int left, bool onTable) {
  TCanvas canvas(surface);
  canvas.Font = CaptionFont();
  canvas.BrushClear = true;
  const std::string caption = GetCaption();
  const int top = (FHeight - canvas.TextHeight(caption)) / 2 - 1;
  if (onTable) {
    canvas.Font.Color = kTableShadow;
    canvas.TextOut(left + 1, top + 1, caption);
    canvas.Font.Color = kTableText;
  }
  canvas.TextOut(left, top, caption);
}

std::vector<TTextRoom> TDXCheckBox::TextRooms() const {
  std::vector<TTextRoom> rooms = TDXControl::TextRooms();
  const std::string caption = GetCaption();
  if (!caption.empty()) rooms.push_back(MeasureTextRoom(CaptionFont(), caption, FWidth - FrameWidth() - kCaptionGap, FHeight));
  for (TTextRoom& line : TDXHint::LineRooms(ReplaceTextKeys(FHintText))) rooms.push_back(std::move(line));
  return rooms;
}

}  // namespace qj
