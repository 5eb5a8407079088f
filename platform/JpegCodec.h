// JPEG files to and from 32-bit pixels through libjpeg-turbo; errors never end the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/PixelBuffer.h"

namespace qj {

// Grey, YCbCr/RGB and CMYK/YCCK pictures become pixels with alpha 0. Corrupt or truncated data
// (anything libjpeg warns about, apart from stray bytes between markers) is refused. On failure
// `out` is untouched and `error` says why.
[[nodiscard]] bool DecodeJpeg(const uint8_t* data, size_t size, int64_t maxPixels, TPixelBuffer& out, std::string& error);

// Baseline JPEG of the colour bytes at quality 1..100 (clamped).
[[nodiscard]] bool EncodeJpeg(const TPixelBuffer& pixels, int quality, std::vector<uint8_t>& out, std::string& error);

}  // namespace qj
