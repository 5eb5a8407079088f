// Frames from the table layer. Resting table sprites below the top the play screen sets are
// composed once onto a layer the size of the table picture; a frame copies the visible window of
// it and draws only the other sprites. Each frame every sprite is compared with the look it was
// drawn with, and the areas where something changed are composed again on the layer from the
// picture up. Sprites below the top that cannot rest on the layer (a turning piece, an
// animation, a screen sprite) are drawn with everything around them from the picture up, so
// pieces resting above a turning one still cover it and the frame equals the directly drawn one
// pixel for pixel.
#pragma once

#include <functional>
#include <vector>

#include "graphics/UTableLayer.h"

namespace qj {

class TGraphicsEngine;
class TMySprite;

class TTableComposer {
 public:
  // Draws the picture and then the sprites at the given drawing positions (ascending) onto the
  // target, within its clipper; origin is the table point at the target's top left.
  using TDrawOrdered = std::function<void(TSurface& target, const std::vector<int>& positions, TPoint origin)>;

  // The top is the engine's TableLayerTop.
  TTableComposer(TGraphicsEngine& engine, TDrawOrdered drawOrdered);

  void InvalidateAll() { FLayer.InvalidateAll(); }
  // The sprite in this slot is gone.
  void Forget(int index) { FLayer.Forget(index); }
  // The window of the table from the layer and the patches under the top onto back. False
  // (nothing drawn) when the frame must be drawn directly; the layer then catches up on a later
  // frame.
  bool Compose(TSurface& back);
  // The drawing positions of this frame's visible sprites above the top, for the caller to draw
  // over what Compose drew.
  const std::vector<int>& OverTop() const { return FOverTop; }

  // For views that draw the table otherwise: brings the layer up to date and sorts this frame's
  // other visible sprites into UnderTop and OverTop; the areas composed again are added to
  // `redrawn`. False when there is no table picture.
  bool Refresh(std::vector<TRect>& redrawn);
  const std::vector<int>& UnderTop() const { return FUnderTop; }
  TSurface& LayerSurface() { return FLayer.Surface(); }
  std::vector<int> MembersIn(const TRect& r) { return FLayer.MembersIn(r); }

 private:
  const TSurface* PreparePicture();
  bool ScanSprites();
  TLayerLook LookOf(const TMySprite& s, int index) const;
  bool BelowTop(const TMySprite& s) const;
  bool RestsOnTable(const TMySprite& s) const;
  void RedrawLayer(std::vector<TRect>* redrawn);
  void PatchUnderTop(TSurface& back, const TRect& area);

  TGraphicsEngine& FEngine;
  TDrawOrdered FDrawOrdered;
  TTableLayer FLayer;
  std::vector<int> FUnderTop;  // this frame's visible sprites below the top not on the layer
  std::vector<int> FOverTop;   // this frame's drawing positions of the sprites above the top
};

// Every pixel drawing the sprite may touch, relative to its position.
TRect SpriteReach(const TMySprite& s);

}  // namespace qj
