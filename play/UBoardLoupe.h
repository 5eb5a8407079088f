// The loupe: a lens that magnifies the part of the screen below it, following the mouse or fixed
// where the arrangement of the helps put it.
#pragma once

#include <memory>

#include "graphics/USpriteHandle.h"
#include "platform/Dib.h"
#include "platform/Geometry.h"

namespace qj {

class TInterface;

// Where the loupe reads and where that lands in its own area: the source clipped to the screen on
// all four sides and the destination shrunk by the same amount, zoomed.
struct TLoupeRects {
  TRect Source;
  TRect Dest;
};
TLoupeRects LoupeRects(TPoint mouse, int rx, int ry, double zoom, int screenWidth, int screenHeight);
// The zoom of Options.LoupeZoom, its index clamped into the 16-step table.
double LoupeZoomFactor(int index);

class TBoardLoupe {
 public:
  // The lens is made in the owner's overlay band; `pointer` is the mouse as the owner last saw
  // it, which the lens magnifies around.
  TBoardLoupe(TInterface& owner, const TPoint& pointer) : FOwner(owner), FPointer(pointer) {}
  TBoardLoupe(const TBoardLoupe&) = delete;
  TBoardLoupe& operator=(const TBoardLoupe&) = delete;

  // Reads the theme's frame image and radii and makes the hidden lens; throws ELayoutError when
  // the radii are missing.
  void Make();
  // Frees the lens and its frame image.
  void Reset();
  // Shown or not; centred on the mouse when it follows it, else at the options' fixed place.
  void Place(bool shown, bool follow);
  void Hide();
  int Width() const { return 2 * FRx; }
  // Sprite index of the lens, -1 while there is none.
  int Sprite() const { return FSprite.Index(); }

 private:
  void Draw();

  TInterface& FOwner;
  const TPoint& FPointer;
  TSpriteHandle FSprite;
  std::unique_ptr<TMyDib> FFrame;
  int FRx = 0, FRy = 0;
};

}  // namespace qj
