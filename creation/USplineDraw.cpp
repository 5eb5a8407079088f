#include "creation/USplineDraw.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "platform/Canvas.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"

namespace qj {

namespace {

// Shape coordinates are in ninety-ninths of a cut; anything far beyond that is a broken file.
constexpr double kShapeLimit = 1000.0;

bool ToNumber(const std::string& text, float& out) {
  std::string t = Trim(text);
  if (!t.empty() && t[0] == '+') t.erase(0, 1);
  double v = 0;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return false;
  if (!std::isfinite(v) || std::fabs(v) > kShapeLimit) return false;
  out = float(v);
  return true;
}

// "x y hx hy": three numbers up to a space each, the trimmed rest is the fourth.
bool ParseShapeLine(std::string line, float (&v)[4]) {
  for (int k = 0; k < 3; ++k) {
    const size_t space = line.find(' ');
    if (space == std::string::npos || !ToNumber(line.substr(0, space), v[k])) return false;
    line = Trim(line.substr(space + 1));
  }
  return ToNumber(line, v[3]);
}

}  // namespace

TMatrix4 MatrixScaling(float sx, float sy, float sz) {
  TMatrix4 m;
  m.M[0][0] = sx;
  m.M[1][1] = sy;
  m.M[2][2] = sz;
  m.M[3][3] = 1;
  return m;
}

TMatrix4 MatrixTranslation(float x, float y, float z) {
  TMatrix4 m = MatrixScaling(1, 1, 1);
  m.M[3][0] = x;
  m.M[3][1] = y;
  m.M[3][2] = z;
  return m;
}

TMatrix4 MatrixRotationZ(float angle) {
  TMatrix4 m = MatrixScaling(1, 1, 1);
  const float c = std::cos(angle), s = std::sin(angle);
  m.M[0][0] = c;
  m.M[0][1] = s;
  m.M[1][0] = -s;
  m.M[1][1] = c;
  return m;
}

TMatrix4 MatrixMultiply(const TMatrix4& a, const TMatrix4& b) {
  TMatrix4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float sum = 0;
      for (int k = 0; k < 4; ++k) sum += a.M[i][k] * b.M[k][j];
      r.M[i][j] = sum;
    }
  return r;
}

TVec2 Vec2Transform(const TVec2& v, const TMatrix4& m) {
  return {v.X * m.M[0][0] + v.Y * m.M[1][0] + m.M[3][0], v.X * m.M[0][1] + v.Y * m.M[1][1] + m.M[3][1]};
}

TVec2 Vec2Hermite(const TVec2& p0, const TVec2& t0, const TVec2& p1, const TVec2& t1, float s) {
  const float s2 = s * s, s3 = s2 * s;
  const float h1 = 2 * s3 - 3 * s2 + 1, h2 = s3 - 2 * s2 + s, h3 = -2 * s3 + 3 * s2, h4 = s3 - s2;
  return {h1 * p0.X + h2 * t0.X + h3 * p1.X + h4 * t1.X, h1 * p0.Y + h2 * t0.Y + h3 * p1.Y + h4 * t1.Y};
}

double EdgeAngle(const TVec2& v) {
  const double a = v.X, b = v.Y;
  if (b != 0) {
    const double t = std::atan(-a / b);
    return b > 0 ? t - std::numbers::pi / 2 : t + std::numbers::pi / 2;
  }
  return a > 0 ? std::numbers::pi : 0.0;
}

int RoundCoord(double v) {
  constexpr double kLimit = double(1 << 24);
  if (!(v == v)) return 0;
  return int(std::nearbyint(std::clamp(v, -kLimit, kLimit)));
}

void TSplineDraw::LoadShape(const std::string& fileName) {
  std::vector<std::string> lines;
  if (!ReadTextLines(fileName, lines)) throw std::runtime_error("Shape file not found: " + fileName);
  std::vector<TVec2> points, handles;
  for (size_t k = 0; k < lines.size(); ++k) {
    if (Trim(lines[k]).empty()) continue;
    float v[4];
    if (!ParseShapeLine(lines[k], v))
      throw std::runtime_error("Shape file " + fileName + ", line " + std::to_string(k + 1) +
                               ": expected four numbers \"x y hx hy\"");
    points.push_back({v[0], v[1]});
    handles.push_back({v[2], v[3]});
  }
  // Read as it is, but said: without an edge the pieces along it are never cut apart, and a
  // puzzle of one piece is finished the moment it starts.
  if (points.size() < 2) LogError("shape file %s holds no edge: the pieces it cuts stay joined", fileName.c_str());
  SetShape(std::move(points), std::move(handles));
}

void TSplineDraw::SetShape(std::vector<TVec2> points, std::vector<TVec2> handles) {
  handles.resize(points.size());
  FPoints = std::move(points);
  FHandles = std::move(handles);
}

void TSplineDraw::ClearShape() {
  FPoints.clear();
  FHandles.clear();
}

void TSplineDraw::DrawShapeEdge(TCanvas& canvas, const TVec2& a, const TVec2& b) const {
  TVec2 v{a.X - b.X, a.Y - b.Y};
  const float scale = std::sqrt(v.X * v.X + v.Y * v.Y) / 99.0f;
  if (v.X == 0) v.X = 0.00001f;
  const TMatrix4 m = MatrixMultiply(
      MatrixMultiply(MatrixScaling(scale, scale, scale), MatrixRotationZ(float(EdgeAngle(v)))),
      MatrixTranslation(a.X, a.Y, 1));
  std::vector<TVec2> points(FPoints.size()), handles(FHandles.size());
  for (size_t k = 0; k < FPoints.size(); ++k) {
    points[k] = Vec2Transform(FPoints[k], m);
    handles[k] = Vec2Transform(FHandles[k], m);
  }
  DrawHermitePath(canvas, points, handles);
  canvas.SetPixel(RoundCoord(a.X), RoundCoord(a.Y), canvas.PenColor);
  canvas.SetPixel(RoundCoord(b.X), RoundCoord(b.Y), canvas.PenColor);
}

void TSplineDraw::DrawHermitePath(TCanvas& canvas, const std::vector<TVec2>& points,
                                  const std::vector<TVec2>& handles) {
  if (points.size() < 2 || handles.size() < points.size()) return;
  canvas.MoveTo(RoundCoord(points[0].X), RoundCoord(points[0].Y));
  for (size_t k = 0; k + 1 < points.size(); ++k) {
    const TVec2 p0 = points[k], p1 = points[k + 1];
    const float dx = p1.X - p0.X, dy = p1.Y - p0.Y;
    const float chord = std::sqrt(dx * dx + dy * dy);
    // Coinciding points leave the sample parameter undefined: such a segment draws nothing.
    if (!(chord > 0) || !std::isfinite(chord)) continue;
    const TVec2 t0{handles[k].X - p0.X, handles[k].Y - p0.Y};
    const TVec2 t1{handles[k + 1].X - p1.X, handles[k + 1].Y - p1.Y};
    const int steps = RoundCoord(2.0 * chord);
    for (int m = 0; m <= steps; ++m) {
      const TVec2 q = Vec2Hermite(p0, t0, p1, t1, float(m) / (2 * chord));
      canvas.LineTo(RoundCoord(q.X), RoundCoord(q.Y));
    }
    canvas.LineTo(RoundCoord(p1.X), RoundCoord(p1.Y));
  }
}

}  // namespace qj
