// Fonts through FreeType (SDL_ttf), names resolved with fontconfig.
#pragma once

#include <string>

namespace qj::sdl {

// Starts SDL_ttf and registers the font rasteriser used by every canvas. Safe to call twice.
bool InitFontRasterizer();
// Makes a font file usable by its family name for this process (nothing is copied anywhere).
bool AddFontFile(const std::string& path);

}  // namespace qj::sdl
