// A frame recorded as a list of blits and painted band by band: each band of the target stays in
// the cache while every blit crossing it is drawn. Every blit clips to the band, so the pixels
// are those of drawing the blits one after another.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Surface.h"

namespace qj {

// One recorded blit.
struct TDrawOp {
  enum TType : uint8_t { CopyOp, KeyedOp, AlphaOp, RotatedOp, StretchOp, ShadowOp };
  TType Type = KeyedOp;
  const TPixelBuffer* Image = nullptr;
  TPoint At;
  TRect Reach;   // rows outside it are untouched
  TRect Dest;    // Stretch: the target rectangle
  TRect Source;  // Stretch: the source rectangle
  int Angle = 0;
  double CenterX = 0, CenterY = 0;
  uint8_t Alpha = 0;
};

class TDrawList {
 public:
  // Records the whole image drawn at `at`, reaching as far as the image; the caller fills in
  // what else the kind of blit needs.
  TDrawOp& Queue(const TPixelBuffer& image, TPoint at, TDrawOp::TType type);
  // Records the source rectangle of the image stretched into dest.
  void QueueStretch(const TPixelBuffer& image, const TRect& dest, const TRect& source);
  // Paints the recorded blits onto the target within its clipper, then forgets them.
  void Paint(TSurface& target);
  void Clear() { FOps.clear(); }

 private:
  static void Run(TSurface& target, const TDrawOp& op);

  std::vector<TDrawOp> FOps;  // the blits not yet painted
};

// Darkens the target (within its DrawArea) through the alpha bytes of a 32-bit mask at (x, y).
void ShadeThroughMask(TSurface* target, int x, int y, const TPixelBuffer* mask);

}  // namespace qj
