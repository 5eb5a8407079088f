#include "creation/UCutGrid.h"

#include <algorithm>
#include <cmath>

#include "creation/URandom.h"
#include "platform/Canvas.h"

namespace qj {

namespace {

constexpr TPixel kWhite = 0xFFFFFF;

int Mod(int a, int m) { return ((a % m) + m) % m; }

// Visits the points (i, j) of the range lo..hiI x lo..hiJ whose coordinates are both multiples
// of `step`, columns outer.
template <class F>
void ForLattice(int lo, int hiI, int hiJ, int step, F&& visit) {
  for (int i = lo; i <= hiI; ++i)
    for (int j = lo; j <= hiJ; ++j)
      if (Mod(i, step) == 0 && Mod(j, step) == 0) visit(i, j);
}

template <class SignX, class SignY>
void FillGrid(TCutGrid& grid, const TCutParameters& p, int width, int height, SignX sx, SignY sy) {
  const int ni = grid.NI(), nj = grid.NJ();
  if (ni < 0 || nj < 0) return;
  const double x0 = std::nearbyint((width - ni * p.PieceWidth) / 2);
  const double y0 = std::nearbyint((height - nj * p.PieceHeight) / 2);
  for (int i = 0; i <= ni; ++i)
    for (int j = 0; j <= nj; ++j) {
      double x = x0 + i * p.PieceWidth;
      if (0 < i && i < ni) x += sx(i, j) * p.DistortX * RandomFactor(p.DistortXSpread);
      double y = y0 + j * p.PieceHeight;
      if (0 < j && j < nj) y += sy(i, j) * p.DistortY * RandomFactor(p.DistortYSpread);
      grid.Points[i][j] = {float(x), float(y)};
    }
  const TVec2 corner = grid.Points[ni][nj];
  grid.Rect = {int(x0), int(y0), RoundCoord(corner.X), RoundCoord(corner.Y)};
}

}  // namespace

bool ValidPieceSize(const TCutParameters& p) {
  return std::isfinite(p.PieceWidth) && std::isfinite(p.PieceHeight) && p.PieceWidth >= 1 &&
         p.PieceHeight >= 1 && std::isfinite(p.DistortX) && std::isfinite(p.DistortY);
}

void SizeGrid(TCutGrid& grid, const TCutParameters& p, int width, int height) {
  grid = {};
  if (!ValidPieceSize(p) || width <= 0 || height <= 0) return;
  const int c = int(std::floor(width / p.PieceWidth)), r = int(std::floor(height / p.PieceHeight));
  int columns = c + 1, rows = r + 1;
  if (p.CutStyle == 3 && c % 3 == 2) columns = c;
  if (p.CutStyle == 4) {
    if (columns % 2 == 0) --columns;
    if (rows % 2 == 0) --rows;
  }
  grid.Points.assign(columns, std::vector<TVec2>(rows));
}

TPoint GridCells(const TCutParameters& p, int width, int height) {
  TCutGrid grid;
  SizeGrid(grid, p, width, height);
  return {std::max(0, grid.NI()), std::max(0, grid.NJ())};
}

bool CoversPicture(const TCutParameters& p, int width, int height) {
  const TPoint cells = GridCells(p, width, height);
  return cells.X > 0 && cells.Y > 0 && std::abs(cells.X * p.PieceWidth - width) < 0.5 &&
         std::abs(cells.Y * p.PieceHeight - height) < 0.5;
}

namespace {

// Style 4 needs an even count of cells both ways; style 3 loses its last column of cells when
// the count leaves 2 in division by 3.
bool EndsWhole(int cells, int cutStyle, bool across) {
  if (cutStyle == 4) return cells % 2 == 0;
  if (cutStyle == 3 && across) return cells % 3 != 2;
  return true;
}

}  // namespace

double FittingPieceSize(int length, double wanted, int cutStyle, bool across) {
  if (length <= 0 || !(wanted >= 1)) return wanted;
  const double cells = length / wanted;
  int best = 0;
  for (int n = std::max(1, int(std::floor(cells)) - 2); n <= int(std::ceil(cells)) + 2; ++n)
    if (EndsWhole(n, cutStyle, across) && (best == 0 || std::abs(n - cells) < std::abs(best - cells))) best = n;
  // The size must give back the same count when the grid divides by it.
  double size = double(length) / best;
  while (std::floor(length / size) < best) size = std::nextafter(size, 0.0);
  return size;
}

void FillGridCheckered(TCutGrid& grid, const TCutParameters& p, int width, int height) {
  FillGrid(grid, p, width, height, [](int i, int j) { return ParitySign(i) * ParitySign(j); },
           [](int i, int j) { return -ParitySign(i) * ParitySign(j); });
}

void FillGridBanded(TCutGrid& grid, const TCutParameters& p, int width, int height) {
  FillGrid(grid, p, width, height, [](int i, int) { return ParitySign(i); },
           [](int, int j) { return -ParitySign(j); });
}

void TCutLineDrawer::DrawCutLines(const TCutParameters& p) {
  if (FGrid.NI() < 0 || FGrid.NJ() < 0) return;
  FCanvas.BrushColor = 0;
  FCanvas.BrushClear = false;
  FCanvas.PenColor = kWhite;
  FCanvas.XorPen = false;
  FCanvas.Rectangle(FGrid.Rect.Left, FGrid.Rect.Top, FGrid.Rect.Right, FGrid.Rect.Bottom);
  switch (p.CutStyle) {
    case 0: DrawStyle0(); break;
    case 1: DrawStyle1(); break;
    case 2: DrawStyle2(); break;
    case 3: DrawStyle3(); break;
    case 4: DrawStyle4(); break;
    case 5: DrawStyle5(); break;
    case 6: DrawStyle6(); break;
    case 7: DrawStyle7(); break;
    case 8: DrawStyle8(p); break;
    default: break;
  }
}

void TCutLineDrawer::DrawEdge(int i1, int j1, int i2, int j2) {
  const int ni = FGrid.NI(), nj = FGrid.NJ();
  if (i1 < 0 || i2 < 0 || j1 < 0 || j2 < 0 || i1 > ni || i2 > ni || j1 > nj || j2 > nj) return;
  if ((i1 == 0 && i2 == 0) || (j1 == 0 && j2 == 0) || (i1 == ni && i2 == ni) || (j1 == nj && j2 == nj))
    return;
  const TVec2 a = FGrid.Points[i1][j1], b = FGrid.Points[i2][j2];
  if (!FStraight) {
    FShape.DrawShapeEdge(FCanvas, a, b);
    return;
  }
  FCanvas.MoveTo(RoundCoord(a.X), RoundCoord(a.Y));
  FCanvas.LineTo(RoundCoord(b.X), RoundCoord(b.Y));
  FCanvas.SetPixel(RoundCoord(b.X), RoundCoord(b.Y), FCanvas.PenColor);
}

void TCutLineDrawer::DrawStyle0() {
  const int ni = FGrid.NI(), nj = FGrid.NJ();
  for (int i = 0; i <= ni - 1; ++i)
    for (int j = 1; j <= nj - 1; ++j) DrawEdge(i, j, i + 1, j);
  for (int i = 1; i <= ni - 1; ++i)
    for (int j = 0; j <= nj - 1; ++j) DrawEdge(i, j, i, j + 1);
}

void TCutLineDrawer::DrawStyle1() {
  for (int i = 0; i <= FGrid.NI(); ++i)
    for (int j = 0; j <= FGrid.NJ(); ++j) {
      if ((i + j) % 2 == 0) continue;
      DrawEdge(i, j, i + 1, j - 1);
      DrawEdge(i, j, i + 1, j + 1);
    }
}

void TCutLineDrawer::DrawStyle2() {
  for (int i = 0; i <= FGrid.NI(); ++i)
    for (int j = 0; j <= FGrid.NJ(); ++j) {
      if ((i + j) % 2 == 0) continue;
      DrawEdge(i, j, i - 1, j + 1);
      DrawEdge(i, j, i + 1, j + 1);
      if (j + 1 < FGrid.NJ()) DrawEdge(i + 1, j + 1, i - 1, j + 1);
    }
}

void TCutLineDrawer::DrawStyle3() {
  for (int i = -3; i <= FGrid.NI() + 3; ++i)
    for (int j = 0; j <= FGrid.NJ(); ++j) {
      const int m = Mod(i, 6);
      if (!((m == 0 && j % 2 == 1) || (m == 3 && j % 2 == 0))) continue;
      DrawEdge(i, j, i + 1, j - 1);
      if (j >= 2) DrawEdge(i + 3, j - 1, i + 1, j - 1);
      DrawEdge(i + 3, j - 1, i + 4, j);
    }
}

void TCutLineDrawer::DrawStyle4() {
  ForLattice(-2, FGrid.NI(), FGrid.NJ(), 4, [&](int i, int j) {
      DrawEdge(i, j, i + 2, j);
      DrawEdge(i, j, i, j + 2);
      DrawEdge(i + 2, j, i + 2, j + 2);
      DrawEdge(i, j + 2, i + 2, j + 2);
      DrawEdge(i + 2, j + 2, i + 3, j + 3);
      DrawEdge(i + 3, j + 3, i + 4, j + 4);
      DrawEdge(i + 2, j + 4, i + 3, j + 3);
      DrawEdge(i + 3, j + 3, i + 4, j + 2);
  });
}

void TCutLineDrawer::DrawStyle5() {
  ForLattice(-2, FGrid.NI() + 2, FGrid.NJ() + 2, 3, [&](int i, int j) {
      DrawEdge(i, j, i + 1, j + 1);
      DrawEdge(i, j - 1, i, j);
      DrawEdge(i + 1, j - 2, i, j - 1);
      DrawEdge(i + 1, j - 2, i + 2, j - 2);
      DrawEdge(i + 3, j - 1, i + 2, j - 2);
      DrawEdge(i + 2, j + 1, i + 3, j);
  });
}

void TCutLineDrawer::DrawStyle6() {
  for (int i = -6; i <= FGrid.NI() + 6; ++i)
    for (int j = -6; j <= FGrid.NJ() + 6; ++j) {
      if (Mod(j + 5 * i, 14) != 13) continue;
      DrawEdge(i, j, i + 1, j);
      DrawEdge(i + 2, j, i + 1, j);
      DrawEdge(i, j, i - 1, j + 1);
      DrawEdge(i, j + 2, i - 1, j + 1);
      DrawEdge(i, j + 2, i + 1, j + 3);
      DrawEdge(i + 2, j + 4, i + 1, j + 3);
      DrawEdge(i + 1, j + 3, i + 2, j + 2);
      DrawEdge(i + 2, j + 2, i + 3, j + 1);
    }
}

void TCutLineDrawer::DrawStyle7() {
  ForLattice(-2, FGrid.NI() + 2, FGrid.NJ() + 2, 2, [&](int i, int j) {
      DrawEdge(i, j, i + 1, j);
      DrawEdge(i + 2, j, i + 1, j);
      DrawEdge(i + 1, j, i + 1, j + 1);
      DrawEdge(i + 1, j + 1, i, j + 1);
      DrawEdge(i + 1, j + 1, i + 2, j + 1);
      DrawEdge(i, j + 1, i, j + 2);
  });
}

void TCutLineDrawer::DrawStyle8(const TCutParameters& p) {
  const double ax = p.PieceWidth / 2, ay = p.PieceHeight / 2;
  for (int c = 0; c <= FGrid.NI() - 1; ++c)
    for (int r = 0; r <= FGrid.NJ() - 1; ++r) {
      const double cx = FGrid.Rect.Left + (c + 0.5) * p.PieceWidth;
      const double cy = FGrid.Rect.Top + (r + 0.5) * p.PieceHeight;
      FCanvas.Ellipse(RoundCoord(cx - ax), RoundCoord(cy - ay), RoundCoord(cx + ax), RoundCoord(cy + ay));
    }
}

}  // namespace qj
