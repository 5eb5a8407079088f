// PNG files to and from 32-bit pixels through libpng; errors never end the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/PixelBuffer.h"

namespace qj {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(const uint8_t* data, size_t size);

// Grey, palette and RGB pictures of any bit depth, with or without transparency, become pixels
// with alpha 0, like the other picture formats; transparent parts are laid on white, the ground a
// picture with holes is usually meant for. Corrupt or truncated data and pictures of more than
// `maxPixels` are refused; on failure `out` is untouched and `error` says why.
[[nodiscard]] bool DecodePng(const uint8_t* data, size_t size, int64_t maxPixels, TPixelBuffer& out, std::string& error);

// An 8-bit RGBA PNG whose alpha comes from each pixel's alpha byte (icons).
[[nodiscard]] bool EncodePng(const TPixelBuffer& pixels, std::vector<uint8_t>& out, std::string& error);

// A picture whose alpha bytes hold something else (shadows, nothing at all) as an opaque PNG
// file, written atomically; false with the file and the cause in `error`.
[[nodiscard]] bool SaveOpaquePng(const TPixelBuffer& picture, const std::string& path, std::string& error);

}  // namespace qj
