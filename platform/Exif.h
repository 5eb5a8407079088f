// The orientation phones and cameras record in a JPEG's EXIF block, and turning pixels upright
// by it: a photo taken with the phone held upright is stored sideways with a note to turn it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/PixelBuffer.h"

namespace qj {

// EXIF's orientation values (tag 0x0112): how the stored rows must be turned to stand upright.
enum class EOrientation : uint16_t {
  Upright = 1,
  Mirrored = 2,            // left and right exchanged
  UpsideDown = 3,          // turned 180 degrees
  Flipped = 4,             // top and bottom exchanged
  Transposed = 5,          // mirrored, then turned a quarter anticlockwise
  TurnedClockwise = 6,     // must be turned a quarter clockwise
  Transversed = 7,         // mirrored, then turned a quarter clockwise
  TurnedAnticlockwise = 8  // must be turned a quarter anticlockwise
};

// Whether upright, the picture's width and height are exchanged.
constexpr bool SwapsSides(EOrientation o) { return uint16_t(o) >= uint16_t(EOrientation::Transposed); }

// The orientation in the first EXIF block of a JPEG file, found among the markers before the
// compressed data. Upright when there is none or it cannot be read: a damaged note must not
// stop the picture from loading. Reads nothing outside data[0, size).
EOrientation JpegOrientation(const uint8_t* data, size_t size);

// The same from the payload of an APP1 segment ("Exif\0\0" and a TIFF structure of either byte
// order).
EOrientation ExifOrientation(const uint8_t* data, size_t size);

// Turns the pixels upright.
void ApplyOrientation(TPixelBuffer& pixels, EOrientation orientation);

}  // namespace qj
