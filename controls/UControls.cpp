#include "controls/UControls.h"

#include <algorithm>

#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Log.h"

namespace qj {
namespace {
int gLiveControls = 0;
}

TDXControl::TDXControl(TInterface* owner, EControlLayer layer) : TBasicEvents(owner->FEngine), FOwner(owner) {
  const double depth = layer == EControlLayer::Overlay ? owner->NextOverlayDepth() : owner->NextDepth();
  FDepthLow = FDepthHigh = FDepth = depth;
  owner->AddControl(this);
  ++gLiveControls;
}

TDXControl::~TDXControl() {
  FOwner->RemoveControl(this);
  --gLiveControls;
}

int TDXControl::LiveCount() { return gLiveControls; }

TTextRoom MeasureTextRoom(const TFontChoice& font, const std::string& text, int width, int height) {
  TPixelBuffer scratch;
  TCanvas canvas(scratch);
  canvas.Font = font;
  return {text, canvas.TextWidth(text), text.empty() ? 0 : canvas.TextHeight(text), width, height};
}

void TDXControl::SetWidth(int value) {
  FWidth = value;
  Paint();
}

void TDXControl::SetHeight(int value) {
  if (value == FHeight) return;
  FHeight = value;
  Paint();
}

void TDXControl::SetTop(int value) {
  FTop = value;
  MoveSprite();
  FireMove();
}

void TDXControl::SetLeft(int value) {
  FLeft = value;
  MoveSprite();
  FireMove();
}

void TDXControl::SetCaption(const std::string& text) {
  FCaption = text;
  Paint();
}

std::string TDXControl::GetCaption() const { return ReplaceTextKeys(FCaption); }

void TDXControl::SetImage(const TMyDib& bitmap) {
  FImage = std::make_unique<TMyDib>(bitmap);
  FHasImage = true;
  Paint();
}

bool TDXControl::LoadImage(const std::string& fileName) {
  if (!ReadImage(fileName)) return false;
  Paint();
  return true;
}

bool TDXControl::ReadImage(const std::string& fileName) {
  auto image = std::make_unique<TMyDib>();
  if (!image->LoadFromFile(fileName)) {
    // The cause names the file.
    LogError("control image not loaded: %s", image->LastError().c_str());
    return false;
  }
  FImage = std::move(image);
  FHasImage = true;
  return true;
}

bool TDXControl::Fire(const TControlEvent& event) {
  if (!event) return true;
  const std::weak_ptr<const void> life = Life();
  event(this);
  return !life.expired();
}

void TDXControl::ClearImage() {
  FHasImage = false;
  FImage.reset();
}

void TDXControl::Animate() {
  if (FFrame == FTargetFrame) return;
  const uint32_t now = GetTickCount();
  if (now - FLastFrameTick >= FFrameInterval) {
    FFrame += FTargetFrame > FFrame ? 1 : -1;
    FLastFrameTick = now;
  }
  FFrame = std::clamp(FFrame, 0, std::max(FLastFrame, 0));
  Paint();
}

void TDXControl::SetBounds(int left, int top, int width, int height) {
  {
    const TFlagScope updating(FUpdating, true);
    SetTop(top);
    SetLeft(left);
    SetWidth(width);
    SetHeight(height);
    FireMove();
  }
  Paint();
}

void TDXControl::FollowSpriteDepth() {
  const TMySprite* s = FSprite.Get();
  if (!s || s->Depth == FDepth) return;
  FDepthLow = FDepthHigh = FDepth = s->Depth;
  DepthChanged(FDepth);
}

void TDXControl::MoveSprite() {
  TMySprite* s = FSprite.Get();
  if (!s) return;
  s->X = FLeft;
  s->Y = FTop;
}

void TDXControl::FireMove() {
  if (OnMove) OnMove(this);
}

}  // namespace qj
