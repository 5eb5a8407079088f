// Windows BMP files to and from 32-bit pixels; used by TMyDib.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/PixelBuffer.h"

namespace qj {

// Decodes a whole BMP file. Every header field is checked against the data before anything is
// allocated; pictures of more than maxPixels pixels are refused. bitCount receives 32, 24 or 1
// (see TMyDib::LoadFromFile). On failure `out` is untouched and `error` says why.
[[nodiscard]] bool DecodeBmp(const uint8_t* data, size_t size, int64_t maxPixels, TPixelBuffer& out, int& bitCount,
               std::string& error);

// The BMP file of the pixels at 1, 24 or 32 bits (any other count is written as 24); empty for
// an empty buffer.
[[nodiscard]] std::vector<uint8_t> EncodeBmp(const TPixelBuffer& pixels, int bitCount);

}  // namespace qj
