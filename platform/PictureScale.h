// Scaling pictures by area: each new pixel is the average of the part of the picture it covers,
// so a thumbnail keeps fine detail as a blend instead of dropping or shimmering it.
#pragma once

#include <vector>

#include "platform/PixelBuffer.h"

namespace qj {

// The height a picture has at `width` with its aspect ratio kept, rounded, at least 1; 0 for an
// empty picture or a width under 1.
int HeightAtWidth(const TPixelBuffer& picture, int width);

// The colours scaled to width x height (either way, up or down), alpha 0; empty when the picture
// or the new size is.
TPixelBuffer ScaleByArea(const TPixelBuffer& picture, int width, int height);

// The same rule for a frame shown larger on the screen, fast enough for every frame: a screen
// pixel covers at most two frame pixels along each side, so an edge is blended over one screen
// pixel at most and everything else stays as sharp as the frame. Keeps its tables between frames.
class TSharpScaler {
 public:
  // The frame enlarged to width x height (a whole factor gives plain copies of each pixel, 1:1
  // the frame itself); empty when the size is smaller than the frame on either side. The
  // picture stays the scaler's until its next call.
  const TPixelBuffer& Enlarge(const TPixelBuffer& frame, int width, int height);

 private:
  // Per screen pixel along one side: the frame pixel it starts in, and the share (0..256) of
  // the next one in it.
  struct TSteps {
    int From = 0, To = 0;
    std::vector<int> First;
    std::vector<uint32_t> Next;
  };
  static void Prepare(TSteps& steps, int from, int to);
  void WidenRow(const TPixel* row, TPixel* out) const;
  // Screen row `index` of the widened frame rows, kept in one of the two row buffers.
  const TPixel* WideRow(const TPixelBuffer& frame, int index);

  TSteps FColumns, FRows;
  TPixelBuffer FScreen;
  std::vector<TPixel> FWide[2];
  int FWideIndex[2] = {-1, -1};
};

}  // namespace qj
