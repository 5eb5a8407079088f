// Themed scroll bars: two arrow buttons, a stretched track and a draggable thumb. The vertical
// bar is the horizontal one turned by 90 degrees, so both are one control told its axis: every
// rule reads left/right as top/bottom, X as Y and width as height.
#pragma once

#include <cstdint>

#include "controls/UControlImages.h"
#include "controls/UControls.h"

namespace qj {

class TMySprite;
class TSurface;

enum class EScrollAxis { Horizontal, Vertical };

// Styles of SetStyle.
namespace ScrollBarStyle {
enum : int { Large = 0, Small = 1 };
}

class TDXScrollBar : public TDXControl {
 public:
  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void MouseMove(int shift, int x, int y) override;
  void Paint() override;
  void Restore() override { Paint(); }
  void Animate() override;
  bool Animating() const override { return FBackHeld || FForwardHeld || FFlash; }

  // Bounds, range and value, then the handler (so the setup itself never calls it), then the style.
  void Setup(int left, int top, int width, int height, int min, int max, int position, int style,
             TControlEvent onChange);
  // Store the bound and clamp the value into the range; no events.
  void SetMin(int value);
  void SetMax(int value);
  // Clamps into the range; a value that ends where it was fires nothing, any other fires
  // OnChange, then OnChanged.
  void SetPosition(int value);
  // ScrollBarStyle::Large or Small; anything else, or the style in use, is ignored.
  void SetStyle(int style);

  bool FBackHeld = false;
  bool FForwardHeld = false;
  bool FFlash = false;  // the thumb shows its held image for a moment after a click moved it
  uint32_t FBackTick = 0;
  uint32_t FForwardTick = 0;
  uint32_t FFlashTick = 0;
  bool FPainting = false;
  TImageList FImages;  // the style's set as last painted; presses measure against it
  int FMin = 0;
  int FMax = 10;
  int FPosition = 0;
  bool FDragging = false;
  int FGrab = 0;  // cursor offset inside the thumb when the drag began
  TControlEvent OnChange;   // every change of FPosition
  TControlEvent OnChanged;  // a change outside a thumb drag, the end of a drag, every release
  int FStyle = -1;

 protected:
  TDXScrollBar(TInterface* owner, EScrollAxis axis);

 private:
  // Sizes along the axis: the two arrows, the thumb, the run the thumb can travel, and the
  // thumb's offset from the bar's start.
  struct TGeometry {
    int Back = 0, Forward = 0, Thumb = 0, Run = 0, ThumbAt = 0;
  };

  TGeometry Geometry() const;
  void SelectImages();
  void FitSize();
  void DrawImage(TSurface& bar, int index, int at) const;
  void DrawTrack(TSurface& bar, const TGeometry& g) const;
  void DrawThumb(TMySprite& sprite, int at) const;

  int AlongOf(const TMyDib* image) const;
  int AcrossOf(const TMyDib* image) const;
  // The rectangle from `from` to `to` along the axis and `across` wide.
  TRect Span(int from, int to, int across) const;
  int& Length() { return FAxis == EScrollAxis::Horizontal ? FWidth : FHeight; }
  int Length() const { return FAxis == EScrollAxis::Horizontal ? FWidth : FHeight; }
  int& Breadth() { return FAxis == EScrollAxis::Horizontal ? FHeight : FWidth; }
  // The cursor's distance from the bar's start along the axis, in the sprite's layer.
  int OffsetOf(int x, int y) const;

  void PressOutsideThumb(int p, const TGeometry& g);
  void EndDrag();
  void MoveBy(int64_t delta);
  int PageStep() const;
  int ClampToRange(int64_t value) const;
  int DragPosition(int p) const;

  EScrollAxis FAxis;
  bool FDragMoving = false;  // a drag is setting the value: OnChanged waits for the drag's end
};

class TDXHScrollBar : public TDXScrollBar {
 public:
  explicit TDXHScrollBar(TInterface* owner) : TDXScrollBar(owner, EScrollAxis::Horizontal) {}
};

class TDXVScrollBar : public TDXScrollBar {
 public:
  explicit TDXVScrollBar(TInterface* owner) : TDXScrollBar(owner, EScrollAxis::Vertical) {}
};

}  // namespace qj
