// Lettering for the menu's own art: letters filled with a gradient, ringed by an outline and set
// on a shadow, drawn once into a keyed surface (the game's title, the main menu's captions).
#pragma once

#include <string>

#include "platform/PixelBuffer.h"
#include "screens/UScreenText.h"

namespace qj {

struct TLettering {
  std::string Font;  // empty: the theme's
  int Size = 12;     // points
  bool Bold = true;
  TPixel Top = MakePixel(255, 255, 255);  // the fill at the letters' top
  TPixel Bottom = MakePixel(255, 255, 255);  // and at their foot
  TPixel Outline = MakePixel(16, 16, 16);
  int OutlineWidth = 1;  // pixels around every letter
  TPixel Shadow = MakePixel(8, 8, 8);
  int ShadowOffset = 1;  // pixels down and to the right, under the outline
};

// The size the lettering takes, outline and shadow included.
TTextSize MeasureLettering(const std::string& text, const TLettering& style);
// The lettering drawn onto `surface`, which takes its size; outside the letters it is key colour.
// The outer edges fade towards black, so the letters sit smoothly on dark ground.
void RenderLettering(TPixelBuffer& surface, const std::string& text, const TLettering& style);
// The largest size from `style`'s down to `smallest` at which the text is at most `width` wide.
int FitLettering(const std::string& text, TLettering style, int width, int smallest);

}  // namespace qj
