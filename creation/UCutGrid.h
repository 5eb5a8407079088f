// The cut grid: its size per cut style, its random displacement, and the cuts of each style.
#pragma once

#include <vector>

#include "creation/UPuzzleFile.h"
#include "creation/USplineDraw.h"
#include "platform/Geometry.h"

namespace qj {

class TCanvas;

// Columns i = 0..NI, each of the rows j = 0..NJ: [i][j].
using TPointMatrix = std::vector<std::vector<TVec2>>;

struct TCutGrid {
  TPointMatrix Points;
  TRect Rect;  // FGridRect: the area the grid covers
  int NI() const { return int(Points.size()) - 1; }
  int NJ() const { return Points.empty() ? -1 : int(Points[0].size()) - 1; }
};

// Piece sizes the cutter accepts: at least one pixel and finite. Anything else draws nothing.
bool ValidPieceSize(const TCutParameters& p);

// Sizes the grid for the cut style on a map of width x height (points all zero).
void SizeGrid(TCutGrid& grid, const TCutParameters& p, int width, int height);
// The cells of the style's grid across (X) and down (Y) on a map of width x height.
TPoint GridCells(const TCutParameters& p, int width, int height);
// Whether whole cells of the grid cover the whole map, no edge left out.
bool CoversPicture(const TCutParameters& p, int width, int height);
// The piece size nearest `wanted` at which whole cells of the style cover `length` pixels;
// `across` for the width, where style 3 cannot end on some column counts.
double FittingPieceSize(int length, double wanted, int cutStyle, bool across);

// Place and displace every point (columns in order, rows inside each), then set Rect.
void FillGridCheckered(TCutGrid& grid, const TCutParameters& p, int width, int height);
void FillGridBanded(TCutGrid& grid, const TCutParameters& p, int width, int height);

// Draws the cut lines of one style: the grid rectangle (black inside, white border of the
// canvas's pen width), then every cut of the style, shaped or straight.
class TCutLineDrawer {
 public:
  TCutLineDrawer(TCanvas& canvas, const TCutGrid& grid, const TSplineDraw& shape, bool straight)
      : FCanvas(canvas), FGrid(grid), FShape(shape), FStraight(straight) {}

  void DrawCutLines(const TCutParameters& p);
  // One cut from point (i1, j1) to (i2, j2); nothing for a point outside the grid or a cut
  // along the outer rectangle.
  void DrawEdge(int i1, int j1, int i2, int j2);

 private:
  void DrawStyle0();
  void DrawStyle1();
  void DrawStyle2();
  void DrawStyle3();
  void DrawStyle4();
  void DrawStyle5();
  void DrawStyle6();
  void DrawStyle7();
  void DrawStyle8(const TCutParameters& p);

  TCanvas& FCanvas;
  const TCutGrid& FGrid;
  const TSplineDraw& FShape;
  bool FStraight;
};

}  // namespace qj
