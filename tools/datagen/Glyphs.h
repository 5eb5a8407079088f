// Simple vector icons (play, gear, pin, loupe ...) built from distance primitives.
#pragma once

#include <vector>

#include "tools/datagen/Raster.h"

namespace qj::datagen {

// One primitive of a glyph, in unit coordinates (-1..1, y down). A cut primitive is removed
// from everything drawn before it.
struct TPrim {
  enum TKind { Circle, Segment, Arc, Polygon, RoundRect } Kind = Circle;
  bool Cut = false;
  float P[7] = {};
  std::vector<float> Points;
};
using TGlyph = std::vector<TPrim>;

enum class EGlyph {
  Play, Gear, Continue, Star, Power, Question, Piece, Exit, Scatter, Loupe, Pin, Arrange,
  Landscape, Palette, Ghost, SmallPicture, Magnet, Chevron, Wind, Target, Sparkle,
  ArrowLeft, Minus, TrayOut, Tray, Check, WholeTable, Spread, Sort, Chart
};

const TGlyph& Glyph(EGlyph g);
float GlyphSdf(const TGlyph& glyph, float ux, float uy);

// Glyph centred at (cx, cy), half-size `scale` pixels, with a small drop shadow and a
// top-to-bottom gradient from `top` to `bottom`.
void DrawGlyph(TRaster& r, EGlyph g, float cx, float cy, float scale, TColor top, TColor bottom,
               float shadowAlpha = 0.45f, float rotation = 0);

}  // namespace qj::datagen
