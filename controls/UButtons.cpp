// Push buttons.
#include "controls/UButtons.h"

#include <algorithm>
#include <cmath>

#include "controls/UControlImages.h"
#include "controls/UHints.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"

namespace qj {

// ---- TDXButton ---------------------------------------------------------------------------------

namespace {

// The surfaces of a button's sprite: the frame with the caption, and the icon drawn over it.
constexpr size_t kFrameLayer = 0;
constexpr size_t kIconLayer = 1;
// Loaded icons are drawn this far up, onto the raised face of the frame, as the caption is.
constexpr int kIconLift = 3;
constexpr int kCaptionLift = 2;
// The engine keys on colour 0, and the frames of every theme and the own frames of buttons keep
// their transparent corners in it; the surface starts in it and keeps a border of it.
constexpr TPixel kKeyColour = 0;

void ClearBorder(TSurface& surface) {
  const int w = surface.Width();
  const int h = surface.Height();
  surface.FillRect({0, 0, w, 1}, kKeyColour);
  surface.FillRect({0, h - 1, w, h}, kKeyColour);
  surface.FillRect({0, 0, 1, h}, kKeyColour);
  surface.FillRect({w - 1, 0, w, h}, kKeyColour);
}

}  // namespace

TDXButton::TDXButton(TInterface* owner, EControlLayer layer)
    : TDXControl(owner, layer), FHint(std::make_unique<TDXHint>(owner)), FHint2(std::make_unique<TDXHint>(owner)) {
  FSprite = TSpriteHandle(*FEngine, FEngine->AddEmptySprite(0, 0, FDepth, 0));
  FEngine->AddSurface(FSprite.Index(), nullptr);
  FEngine->AddSurface(FSprite.Index(), nullptr);
  FSprite.Get()->Kind = ESpriteKind::Composite;
  SelectFrames();
  if (const TMyDib* rest = ImageAt(FFrames, 0)) {
    FWidth = rest->Width();
    FHeight = rest->Height();
  }
  AttachHints();
  // FHint comes first in the screen's list, so it prepares both before FHint2 is asked.
  FHint->OnBeforeShow = [this](TDXControl*) { PrepareHints(); };
}

TDXButton::~TDXButton() = default;

void TDXButton::MouseDown(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {
  PlayClick();
  FCapture = true;
  // The whole press animation lasts AnimationMs, however many frames it has.
  const int animationMs = std::max(0, Options.AnimationMs);
  FFrameInterval = uint32_t(FLastFrame > 0 ? std::lround(double(animationMs) / FLastFrame) : animationMs);
  FPressTick = GetTickCount();
  FTargetFrame = FLastFrame;
  FDown = true;
  FPressComplete = false;
  (void)Fire(OnMouseDown);
}

// The screen also sends the release to the control under the cursor; only a press made on this
// button clicks it, and that press clicks wherever it is released.
void TDXButton::MouseUp(int /*button*/, int /*shift*/, int /*x*/, int /*y*/) {
  if (!FDown) return;
  FCapture = false;
  FDown = false;
  if (FPressComplete) FTargetFrame = 0;
  if (!Fire(OnClick)) return;
  (void)Fire(OnMouseUp);
}

void TDXButton::Animate() {
  TDXControl::Animate();
  if (FPressPending) {
    FPressPending = false;
    FPressComplete = true;
    if (!Fire(OnPressed)) return;
  }
  // Released in the frame the last frame was reached: the release could not send it back yet.
  if (FPressComplete && !FDown) FTargetFrame = 0;
  if (FFrame == FLastFrame && !FPressComplete) {
    // A quick click still shows the whole press before it returns.
    if (!FDown) FTargetFrame = 0;
    FPressPending = true;
  }
  if (FDown && FAutoRepeat) (void)Fire(OnClick);
}

void TDXButton::SetButton(const std::string& caption, int left, int top, int width, int height, int fontSize) {
  SetBounds(left, top, width, height);
  FFontSize = fontSize;
  SetCaption(caption);
}

bool TDXButton::SetImages(const std::vector<std::string>& fileNames) {
  TImageList frames;
  for (const std::string& name : fileNames) {
    auto frame = std::make_shared<TMyDib>();
    if (!frame->LoadFromFile(name)) {
      LogError("button frames not loaded: %s", frame->LastError().c_str());
      return false;
    }
    frames.push_back(std::move(frame));
  }
  if (frames.empty()) {
    LogError("a button was given no frames");
    return false;
  }
  FImageSource = EImageSource::Own;
  FFrames = std::move(frames);
  FWidth = FFrames[0]->Width();
  FHeight = FFrames[0]->Height();
  FTextRect = {0, 0, FWidth, FHeight};
  ClearImage();
  Paint();
  return true;
}

void TDXButton::Press() { MouseDown(mbLeft, ssLeft, FLeft + FWidth / 2, FTop + FHeight / 2); }

void TDXButton::Release() { MouseUp(mbLeft, 0, FLeft + FWidth / 2, FTop + FHeight / 2); }

void TDXButton::Click() {
  const std::weak_ptr<const void> life = Life();
  Press();
  if (!life.expired()) Release();
}

// The zones follow before OnMove runs: its handler may throw or free the button.
void TDXButton::SetTop(int value) {
  FTop = value;
  AttachHints();
  TDXControl::SetTop(value);
}

void TDXButton::SetLeft(int value) {
  FLeft = value;
  AttachHints();
  TDXControl::SetLeft(value);
}

void TDXButton::AttachHints() {
  FHint->AttachTo(*this);
  FHint2->AttachTo(*this);
}

void TDXButton::ShowHints() {
  PrepareHints();
  (void)FHint->ShowHint();
  (void)FHint2->ShowHint();
}

void TDXButton::EnableHints(bool enabled) {
  FHint->SetEnabled(enabled);
  FHint2->SetEnabled(enabled);
}

void TDXButton::PrepareHints() {
  FHint->SetCaption(FHintText);
  FHint2->SetCaption(FHintText2);
  FHint->PlaceBeside(true);
  FHint2->PlaceBeside(false);
}

// ---- Button images -----------------------------------------------------------------------------

TSurface* TDXButton::Layer(size_t index) {
  TMySprite* sprite = FSprite.Get();
  if (!sprite || sprite->Surfaces.size() <= index) return nullptr;
  return sprite->Surfaces[index].get();
}

// Theme frames are fetched again at every paint, so a theme change reaches a live button; a set
// with fewer frames than before pulls the animation back into it.
void TDXButton::SelectFrames() {
  if (FImageSource == EImageSource::Theme) {
    const auto images = CurrentControlImages();
    FFrames = images->ButtonFrames;
    FTextRect = images->ButtonLayout;
  }
  FLastFrame = std::max(0, int(FFrames.size()) - 1);
  FFrame = std::clamp(FFrame, 0, FLastFrame);
  FTargetFrame = std::clamp(FTargetFrame, 0, FLastFrame);
}

void TDXButton::SetImage(const TMyDib& bitmap) {
  FImage = std::make_unique<TMyDib>(bitmap);
  FHasImage = true;
  FIconFit = EIconFit::Button;
  DrawIcon();
}

bool TDXButton::LoadImage(const std::string& fileName) {
  if (!ReadImage(fileName)) return false;
  FIconFit = EIconFit::Lifted;
  DrawIcon();
  return true;
}

void TDXButton::ClearImage() {
  TDXControl::ClearImage();
  DrawIcon();
}

void TDXButton::DrawIcon() {
  TSurface* layer = Layer(kIconLayer);
  if (!layer) return;
  if (!FHasImage || !FImage) {
    layer->SetSize(1, 1);
    return;
  }
  if (FIconFit == EIconFit::Button) {
    layer->SetSize(std::max(1, FWidth), std::max(1, FHeight));
    BltFast(*layer, 0, 0, *FImage, false);
  } else {
    layer->SetSize(FImage->Width(), FImage->Height());
    BltFast(*layer, 0, -kIconLift, *FImage, false);
  }
}

void TDXButton::Restore() {
  DrawIcon();
  Paint();
}

void TDXButton::Paint() {
  if (FUpdating) return;
  SelectFrames();
  if (const TMyDib* rest = ImageAt(FFrames, 0)) {
    if (FWidth == 0) FWidth = rest->Width();
    if (FHeight == 0) FHeight = rest->Height();
  }
  AttachHints();
  TSurface* surface = Layer(kFrameLayer);
  if (!surface || FWidth <= 0 || FHeight <= 0) return;
  surface->SetSize(FWidth, FHeight);  // all key colour
  DrawFrame(*surface);
  DrawCaption(*surface);
  MoveSprite();
}

void TDXButton::SetHighlighted(bool value) {
  if (value == FHighlighted) return;
  FHighlighted = value;
  Paint();
}

void TDXButton::DrawFrame(TSurface& surface) {
  const int shown = FHighlighted && FFrame == 0 ? std::min(1, FLastFrame) : FFrame;
  if (const TMyDib* frame = ImageAt(FFrames, shown))
    Blt(surface, surface.Bounds(), *frame, frame->Bounds(), false);
  ClearBorder(surface);
}

void TDXButton::DrawCaption(TSurface& surface) {
  const std::string caption = GetCaption();
  if (caption.empty()) return;
  const TTheme& theme = CurrentTheme();
  TCanvas canvas(surface);
  canvas.Font.Name = theme.FontName;
  canvas.Font.Size = FFontSize != 0 ? FFontSize : theme.FontButtonSize;
  canvas.Font.Color = theme.SayColor.ToPixel();
  canvas.BrushClear = true;
  canvas.TextOut((FWidth - canvas.TextWidth(caption)) / 2, (FHeight - canvas.TextHeight(caption)) / 2 - kCaptionLift,
                 caption);
}

std::vector<TTextRoom> TDXButton::TextRooms() const {
  std::vector<TTextRoom> rooms = TDXControl::TextRooms();
  const TMyDib* rest = ImageAt(FFrames, 0);
  const int border = rest ? rest->Width() - FTextRect.Width() : 0;
  const TTheme& theme = CurrentTheme();
  const std::string caption = GetCaption();
  if (!caption.empty())
    rooms.push_back(MeasureTextRoom({theme.FontName, FFontSize != 0 ? FFontSize : theme.FontButtonSize, 0, false}, caption,
                                    FWidth - std::max(0, border), FHeight));
  for (const std::string* hint : {&FHintText, &FHintText2})
    for (TTextRoom& line : TDXHint::LineRooms(ReplaceTextKeys(*hint))) rooms.push_back(std::move(line));
  return rooms;
}

}  // namespace qj
