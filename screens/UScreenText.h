// Text as a sprite: a line in the theme's font, white with a soft dark offset so it reads on
// any table background.
#pragma once

#include <string>

#include "graphics/USpriteHandle.h"

namespace qj {

class TBasicEvents;
class TSurface;

struct TTextSize {
  int Width = 0;
  int Height = 0;
};

// The size the text will take at `size` points, in the theme's font or the one named.
TTextSize MeasureScreenText(const std::string& text, int size, const std::string& font = {});
// The text drawn onto `surface`, which takes its size; outside the letters it is key colour.
void RenderScreenText(TSurface& surface, const std::string& text, int size, const std::string& font = {});
// Adds a fixed sprite at (x, y) on the screen's next depth.
TSpriteHandle AddTextSprite(TBasicEvents& screen, const std::string& text, int size, int x, int y);

}  // namespace qj
