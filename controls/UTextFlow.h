// Styled text blocks laid out by the game itself: words wrapped to a width, headings larger and
// bold, list items indented behind a bullet, drawn in the theme's font and colour straight onto
// a window's client layer, so the letters' edges blend with the theme's background.
#pragma once

#include <string>
#include <vector>

#include "core/UHelpPage.h"
#include "platform/Canvas.h"

namespace qj {

struct TFlowStyle {
  std::string Font;
  int Size = 10;       // points of the body text; headings are larger
  TPixel Color = 0;
  TPixel HeadingColor = 0;
};

// The theme's font and "say" colour at its button size, headings in its select colour.
TFlowStyle ThemeFlowStyle();

struct TPlacedWord {
  int X = 0, Y = 0, Height = 0;
  std::string Text;
  TFontChoice Font;
};

struct TTextLayout {
  std::vector<TPlacedWord> Words;
  int Height = 0;
};

// The blocks laid out `width` pixels wide from (0, 0). A word wider than the width is broken
// where it must be.
TTextLayout LayoutTextBlocks(const std::vector<TTextBlock>& blocks, int width, const TFlowStyle& style);
// Draws the layout moved by (x, y): only the words that lie wholly between rows `top` and
// `bottom` of the target, so text scrolled past a window's edge is not drawn over its frame.
void DrawTextLayout(TCanvas& canvas, const TTextLayout& layout, int x, int y, int top, int bottom);
// Plain text as paragraphs, one a line.
std::vector<TTextBlock> PlainBlocks(const std::string& text);
// The width of the widest paragraph of plain text on one line.
int WidestLine(const std::string& text, const TFlowStyle& style);

}  // namespace qj
