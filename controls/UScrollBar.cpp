// Scroll bars: presses on the arrows, the track and the thumb, arrow repeat by the clock, and
// the painting of the theme's images along either axis.
#include "controls/UScrollBar.h"

#include <algorithm>
#include <utility>

#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Input.h"

namespace qj {
namespace {

// numerator / denominator rounded to the nearest integer, halves to even as Round does
// everywhere else in the game.
int64_t RoundDiv(int64_t numerator, int64_t denominator) {
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  int64_t quotient = numerator / denominator;
  int64_t remainder = numerator % denominator;
  if (remainder < 0) {
    remainder += denominator;
    --quotient;
  }
  const int64_t twice = 2 * remainder;
  if (twice > denominator || (twice == denominator && (quotient & 1) != 0)) ++quotient;
  return quotient;
}

// How long a held arrow waits between steps and how long the thumb flashes.
uint32_t RepeatMs() { return uint32_t(std::max(Options.AnimationMs, 0)) / 5; }

}  // namespace

TDXScrollBar::TDXScrollBar(TInterface* owner, EScrollAxis axis) : TDXControl(owner), FAxis(axis) {
  FSprite = TSpriteHandle(*FEngine, FEngine->AddEmptySprite(0, 0, FDepth, 0));
  FEngine->AddSurface(FSprite.Index(), nullptr);  // the bar
  FEngine->AddSurface(FSprite.Index(), nullptr);  // the thumb layer
  FSprite.Get()->Kind = ESpriteKind::Plain;
  SetStyle(ScrollBarStyle::Large);
}

// ---------------------------------------------------------------- range and value

void TDXScrollBar::Setup(int left, int top, int width, int height, int min, int max, int position, int style,
                         TControlEvent onChange) {
  SetBounds(left, top, width, height);
  SetMin(min);
  SetMax(max);
  SetPosition(position);
  OnChange = std::move(onChange);
  SetStyle(style);
}

void TDXScrollBar::SetMin(int value) {
  FMin = value;
  FPosition = ClampToRange(FPosition);
  Paint();
}

void TDXScrollBar::SetMax(int value) {
  FMax = value;
  FPosition = ClampToRange(FPosition);
  Paint();
}

void TDXScrollBar::SetPosition(int value) {
  const int position = ClampToRange(value);
  // A held arrow at the end of the range would otherwise report a change every step.
  if (position == FPosition) return;
  FPosition = position;
  if (OnChange) OnChange(this);
  if (OnChanged && !FDragMoving) OnChanged(this);
  Paint();
}

void TDXScrollBar::SetStyle(int style) {
  if ((style != ScrollBarStyle::Large && style != ScrollBarStyle::Small) || style == FStyle) return;
  FStyle = style;
  Paint();
}

// Max before Min, as the bar always did: an inverted range holds the value at FMin.
int TDXScrollBar::ClampToRange(int64_t value) const {
  return int(std::max<int64_t>(std::min<int64_t>(value, FMax), FMin));
}

void TDXScrollBar::MoveBy(int64_t delta) { SetPosition(ClampToRange(int64_t(FPosition) + delta)); }

int TDXScrollBar::PageStep() const { return int(std::max<int64_t>(1, (int64_t(FMax) - FMin) / 8)); }

// ---------------------------------------------------------------- geometry

int TDXScrollBar::AlongOf(const TMyDib* image) const {
  if (!image) return 0;
  return FAxis == EScrollAxis::Horizontal ? image->Width() : image->Height();
}

int TDXScrollBar::AcrossOf(const TMyDib* image) const {
  if (!image) return 0;
  return FAxis == EScrollAxis::Horizontal ? image->Height() : image->Width();
}

TRect TDXScrollBar::Span(int from, int to, int across) const {
  return FAxis == EScrollAxis::Horizontal ? TRect{from, 0, to, across} : TRect{0, from, across, to};
}

TDXScrollBar::TGeometry TDXScrollBar::Geometry() const {
  TGeometry g;
  g.Back = AlongOf(ImageAt(FImages, ScrollBarImage::Back));
  g.Forward = AlongOf(ImageAt(FImages, ScrollBarImage::Forward));
  g.Thumb = AlongOf(ImageAt(FImages, ScrollBarImage::Thumb));
  g.Run = std::max(0, Length() - (g.Back + g.Forward + g.Thumb));
  g.ThumbAt = g.Back;
  if (FMax != FMin)
    g.ThumbAt += int(RoundDiv((int64_t(FPosition) - FMin) * g.Run, int64_t(FMax) - FMin));
  return g;
}

int TDXScrollBar::OffsetOf(int x, int y) const {
  const TMySprite* sprite = FSprite.Get();
  const TPoint p = !sprite || sprite->Fixed ? TPoint{x, y} : FEngine->ScreenToTable(x, y);
  return FAxis == EScrollAxis::Horizontal ? p.X - FLeft : p.Y - FTop;
}

// The thumb's leading edge follows the cursor less the grab offset. The offset is limited to
// the run first: the value would be clamped there anyway, and the product stays in 64 bits.
int TDXScrollBar::DragPosition(int p) const {
  const TGeometry g = Geometry();
  if (g.Run <= 0) return FPosition;  // the thumb fills the run: there is nowhere to drag it
  const int64_t offset = std::clamp<int64_t>(int64_t(p) - g.Back - FGrab, 0, g.Run);
  return int(FMin + RoundDiv(offset * (int64_t(FMax) - FMin), g.Run));
}

// ---------------------------------------------------------------- mouse

void TDXScrollBar::MouseDown(int button, int shift, int x, int y) {
  FCapture = true;
  PlayClick();
  const TGeometry g = Geometry();
  const int p = OffsetOf(x, y);
  if (g.ThumbAt <= p && p <= g.ThumbAt + g.Thumb) {
    FDragging = true;
    FGrab = p - g.ThumbAt;
    Paint();
    return;
  }
  if (p <= 0 || p >= Length()) return;  // the outermost pixels belong to no part
  PressOutsideThumb(p, g);
}

void TDXScrollBar::PressOutsideThumb(int p, const TGeometry& g) {
  const uint32_t now = GetTickCount();
  FFlash = true;
  FFlashTick = now;
  if (p < g.Back) {
    MoveBy(-1);
    FBackHeld = true;
    FBackTick = now;
  } else if (p < g.ThumbAt) {
    MoveBy(-int64_t(PageStep()));
  } else if (p < Length() - g.Forward) {
    MoveBy(PageStep());
  } else {
    MoveBy(1);
    FForwardHeld = true;
    FForwardTick = now;
  }
  Paint();  // the pressed arrow and the flash also show when the value stood at its end
}

void TDXScrollBar::MouseMove(int shift, int x, int y) {
  if (!FDragging) return;
  if ((shift & ssLeft) == 0) {  // the button came up where the bar never heard of it
    FCapture = false;  // that release is lost, so the next press must not land here as well
    if (OnChanged) OnChanged(this);
    EndDrag();
    return;
  }
  // Listeners of OnChanged hear the drag once, at its end.
  const TFlagScope moving(FDragMoving, true);
  SetPosition(DragPosition(OffsetOf(x, y)));
}

void TDXScrollBar::MouseUp(int button, int shift, int x, int y) {
  FBackHeld = false;
  FForwardHeld = false;
  FCapture = false;
  EndDrag();  // also repaints a released arrow, which would otherwise stay drawn pressed
  if (OnChanged) OnChanged(this);
}

void TDXScrollBar::EndDrag() {
  FDragging = false;
  Paint();
}

// ---------------------------------------------------------------- animation and painting

void TDXScrollBar::Animate() {
  if (!FBackHeld && !FForwardHeld && !FFlash) return;
  const uint32_t now = GetTickCount();
  const uint32_t repeat = RepeatMs();
  if (FBackHeld && now - FBackTick > repeat) {
    MoveBy(-1);
    FBackTick = now;
  }
  if (FForwardHeld && now - FForwardTick > repeat) {
    MoveBy(1);
    FForwardTick = now;
  }
  if (FFlash && now - FFlashTick > repeat) FFlash = false;
  Paint();
}

// A small vertical set was never made; the large one stands in for it.
void TDXScrollBar::SelectImages() {
  const auto images = CurrentControlImages();
  EScrollBarSet set = FAxis == EScrollAxis::Vertical ? EScrollBarSet::VerticalLarge : EScrollBarSet::HorizontalLarge;
  if (FAxis == EScrollAxis::Horizontal && FStyle == ScrollBarStyle::Small) set = EScrollBarSet::HorizontalSmall;
  FImages = images->ScrollBar(set);
}

// The bar is at least long enough for both arrows and the thumb, and as thick as its arrows.
void TDXScrollBar::FitSize() {
  const TGeometry g = Geometry();
  Length() = std::max(Length(), g.Back + g.Forward + g.Thumb);
  Breadth() = AcrossOf(ImageAt(FImages, ScrollBarImage::Forward));
}

void TDXScrollBar::DrawImage(TSurface& bar, int index, int at) const {
  const TMyDib* image = ImageAt(FImages, index);
  if (!image) return;
  const TRect to = Span(at, at + AlongOf(image), AcrossOf(image));
  BltFast(bar, to.Left, to.Top, *image, true);
}

// The track is stretched between the two arrows.
void TDXScrollBar::DrawTrack(TSurface& bar, const TGeometry& g) const {
  const TMyDib* track = ImageAt(FImages, ScrollBarImage::Track);
  if (!track || track->Empty()) return;
  Blt(bar, Span(g.Back, Length() - g.Forward, AcrossOf(track)), *track, track->Bounds(), true);
}

void TDXScrollBar::DrawThumb(TMySprite& sprite, int at) const {
  const TMyDib* thumb = ImageAt(FImages, FDragging || FFlash ? ScrollBarImage::ThumbHeld : ScrollBarImage::Thumb);
  if (!thumb) return;
  TSurface& layer = *sprite.Surfaces[1];
  layer.CopyFrom(*thumb);
  const TRect to = Span(at, at, 0);
  BltFast(*sprite.Surfaces[0], to.Left, to.Top, layer, true);
}

void TDXScrollBar::Paint() {
  TMySprite* sprite = FSprite.Get();
  if (FUpdating || FPainting || !sprite) return;
  const TFlagScope painting(FPainting, true);
  SelectImages();
  FitSize();
  const TGeometry g = Geometry();
  TSurface& bar = *sprite->Surfaces[0];
  bar.SetSize(FWidth, FHeight);
  sprite->Surfaces[1]->SetSize(FWidth, FHeight);
  sprite->X = FLeft;
  sprite->Y = FTop;
  DrawImage(bar, FBackHeld ? ScrollBarImage::BackDown : ScrollBarImage::Back, 0);
  DrawImage(bar, FForwardHeld ? ScrollBarImage::ForwardDown : ScrollBarImage::Forward, Length() - g.Forward);
  DrawTrack(bar, g);
  if (FMax != FMin) DrawThumb(*sprite, g.ThumbAt);
}

}  // namespace qj
