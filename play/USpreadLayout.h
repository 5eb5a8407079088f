// Lays pieces out over the table apart from one another: each piece gets a cell of an even grid
// over the free part of the table, then the nearest spot where its opaque pixels (grown by a
// margin) touch nothing already there. Also measures how much of the pieces' area others cover.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Geometry.h"

namespace qj {

class TPixelBuffer;

// One piece to lay out, or one that stays where it is: its image (black is transparent) and,
// for one that stays, its place.
struct TLayoutPiece {
  const TPixelBuffer* Image = nullptr;
  TPoint At;
};

struct TSpreadArea {
  TRect Table{0, 0, 1600, 1200};
  std::vector<TRect> KeepClear;  // nothing is laid over these unless no room is left elsewhere
  int Margin = 1;                // least gap between the opaque pixels of two laid-out pieces
};

// Places for `moving` (top-left corners, in its order), in a random order drawn from the game's
// random generator: with room enough no two pieces touch and none lies over `fixed` or the
// areas kept clear; without, they overlap as little as the search finds, spread evenly.
std::vector<TPoint> SpreadLayout(const std::vector<TLayoutPiece>& moving, const std::vector<TLayoutPiece>& fixed,
                                 const TSpreadArea& area);

// The share of the pieces' opaque pixels that another piece's opaque pixels cover (0..1).
double LayoutOverlap(const std::vector<TLayoutPiece>& pieces, const TRect& table);

}  // namespace qj
