// Text as a sprite: a line in the theme's font, white with a soft dark offset so it reads on
// any table background.
#pragma once

#include <string>

#include "graphics/USpriteHandle.h"

namespace qj {

class TBasicEvents;

struct TTextSize {
  int Width = 0;
  int Height = 0;
};

// The size the text will take at `size` points.
TTextSize MeasureScreenText(const std::string& text, int size);
// Adds a fixed sprite at (x, y) on the screen's next depth.
TSpriteHandle AddTextSprite(TBasicEvents& screen, const std::string& text, int size, int x, int y);

}  // namespace qj
