// Piece shapes: the shape file reader and the spline outline of one cut between two points.
#pragma once

#include <string>
#include <vector>

namespace qj {

class TCanvas;

struct TVec2 {
  float X = 0;
  float Y = 0;
  bool operator==(const TVec2&) const = default;
};

// A 4 x 4 transformation in the row-vector convention: a point (x, y, 0, 1) times the matrix.
struct TMatrix4 {
  float M[4][4] = {};
};

TMatrix4 MatrixScaling(float sx, float sy, float sz);
TMatrix4 MatrixTranslation(float x, float y, float z);
TMatrix4 MatrixRotationZ(float angle);  // x' = x cos - y sin, y' = x sin + y cos
TMatrix4 MatrixMultiply(const TMatrix4& a, const TMatrix4& b);  // a applied first
TVec2 Vec2Transform(const TVec2& v, const TMatrix4& m);
// (2s^3 - 3s^2 + 1) p0 + (s^3 - 2s^2 + s) t0 + (-2s^3 + 3s^2) p1 + (s^3 - s^2) t1
TVec2 Vec2Hermite(const TVec2& p0, const TVec2& t0, const TVec2& p1, const TVec2& t1, float s);

// Direction from A to B for v = A - B, in (-pi, pi]; atan2(-v.Y, -v.X) written out as the
// arctangent the cut geometry was defined with.
double EdgeAngle(const TVec2& v);

// Nearest integer, halves to even; far-off and undefined values are clamped so drawing code
// never sees an overflowing coordinate.
int RoundCoord(double v);

class TSplineDraw {
 public:
  // Shape file: one line per control point, "x y hx hy" (the handle is a point). A line that
  // does not hold four numbers, or a missing file, throws std::runtime_error; whitespace-only
  // lines are skipped.
  void LoadShape(const std::string& fileName);
  void SetShape(std::vector<TVec2> points, std::vector<TVec2> handles);
  // The shape scaled, turned and moved to run from A to B, then both end pixels set.
  void DrawShapeEdge(TCanvas& canvas, const TVec2& a, const TVec2& b) const;
  // Hermite chain through the points, two samples per pixel of chord length.
  static void DrawHermitePath(TCanvas& canvas, const std::vector<TVec2>& points,
                              const std::vector<TVec2>& handles);

  const std::vector<TVec2>& Points() const { return FPoints; }
  const std::vector<TVec2>& Handles() const { return FHandles; }
  void ClearShape();

 protected:
  std::vector<TVec2> FPoints;
  std::vector<TVec2> FHandles;
};

}  // namespace qj
