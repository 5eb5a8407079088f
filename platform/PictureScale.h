// Scaling pictures by area: each new pixel is the average of the part of the picture it covers,
// so a thumbnail keeps fine detail as a blend instead of dropping or shimmering it.
#pragma once

#include "platform/PixelBuffer.h"

namespace qj {

// The height a picture has at `width` with its aspect ratio kept, rounded, at least 1; 0 for an
// empty picture or a width under 1.
int HeightAtWidth(const TPixelBuffer& picture, int width);

// The colours scaled to width x height (either way, up or down), alpha 0; empty when the picture
// or the new size is.
TPixelBuffer ScaleByArea(const TPixelBuffer& picture, int width, int height);

}  // namespace qj
