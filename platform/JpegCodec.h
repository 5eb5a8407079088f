// JPEG files to and from 32-bit pixels through libjpeg-turbo; errors never end the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/PixelBuffer.h"

namespace qj {

// Starts like a JPEG file (the start-of-image marker and the next marker's 0xFF).
bool IsJpeg(const uint8_t* data, size_t size);

// Grey, YCbCr/RGB and CMYK/YCCK pictures become pixels with alpha 0, turned upright by their EXIF
// orientation. Corrupt or truncated data (anything libjpeg warns about, apart from stray bytes
// between markers) is refused. With a minWidth above 0 the picture is decoded at the smallest of
// libjpeg's reductions (1/8 to 8/8) that leaves it, upright, at least minWidth pixels wide (or
// in full when it is narrower), at a fraction of the cost. On failure `out` is untouched and
// `error` says why.
[[nodiscard]] bool DecodeJpeg(const uint8_t* data, size_t size, int64_t maxPixels, TPixelBuffer& out,
                              std::string& error, int minWidth = 0);

// Baseline JPEG of the colour bytes at quality 1..100 (clamped).
[[nodiscard]] bool EncodeJpeg(const TPixelBuffer& pixels, int quality, std::vector<uint8_t>& out, std::string& error);

}  // namespace qj
