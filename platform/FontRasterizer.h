// Turns text into coverage masks. The platform registers one at start-up (FreeType through
// SDL_ttf); pixel code above the platform only sees this interface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace qj {

struct TGlyphMask {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Coverage;  // Width * Height, 0 = none, 255 = full
};

class IFontRasterizer {
 public:
  virtual ~IFontRasterizer() = default;
  // Size of the text's box (advance width, line height) in pixels.
  virtual bool Measure(const TFontChoice& font, const std::string& text, int& width, int& height) = 0;
  // The coverage of the text, exactly the size Measure gives (text is UTF-8).
  virtual bool Render(const TFontChoice& font, const std::string& text, TGlyphMask& out) = 0;
  // Makes a font file usable by its family name for this process.
  virtual bool AddFontFile(const std::string& path) = 0;
};

// The rasteriser used by every canvas; null until the platform sets one.
IFontRasterizer* FontRasterizer();
void SetFontRasterizer(std::unique_ptr<IFontRasterizer> rasterizer);

}  // namespace qj
