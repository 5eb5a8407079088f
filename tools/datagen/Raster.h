// Floating-point RGBA canvas with anti-aliased shape drawing by signed distance, for the data generator.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/Dib.h"

namespace qj::datagen {

// Straight (not premultiplied) colour, channels 0..1.
struct TColor {
  float R = 0, G = 0, B = 0, A = 1;
};

inline TColor Rgb(int r, int g, int b, float a = 1.f) { return {r / 255.f, g / 255.f, b / 255.f, a}; }
inline TColor Mix(const TColor& a, const TColor& b, float t) {
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t, a.A + (b.A - a.A) * t};
}
// k > 0 moves towards white, k < 0 towards black.
inline TColor Shade(const TColor& c, float k) {
  return k >= 0 ? Mix(c, TColor{1, 1, 1, c.A}, std::min(k, 1.f)) : Mix(c, TColor{0, 0, 0, c.A}, std::min(-k, 1.f));
}
inline TColor WithAlpha(TColor c, float a) {
  c.A = a;
  return c;
}
inline float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float SmoothStep(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

// Pixel rectangle to visit; Right and Bottom exclusive.
struct TBox {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Premultiplied RGBA pixels; shapes are composited "over" what is there.
class TRaster {
 public:
  TRaster(int width, int height) : FWidth(width), FHeight(height), FPixels(size_t(width) * height, TColor{0, 0, 0, 0}) {}

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TBox Bounds() const { return {0, 0, FWidth, FHeight}; }
  TColor* Row(int y) { return FPixels.data() + size_t(y) * FWidth; }
  const TColor* Row(int y) const { return FPixels.data() + size_t(y) * FWidth; }

  // Source-over with a straight colour whose alpha is scaled by coverage.
  static void Over(TColor& dst, const TColor& src, float coverage) {
    float a = src.A * coverage;
    float k = 1 - a;
    dst.R = src.R * a + dst.R * k;
    dst.G = src.G * a + dst.G * k;
    dst.B = src.B * a + dst.B * k;
    dst.A = a + dst.A * k;
  }
  TBox Clip(TBox b) const {
    return {std::max(b.Left, 0), std::max(b.Top, 0), std::min(b.Right, FWidth), std::min(b.Bottom, FHeight)};
  }

 private:
  int FWidth, FHeight;
  std::vector<TColor> FPixels;
};

// Anti-aliased fill: `sdf(x, y)` is the signed distance (negative inside) at a pixel centre,
// `paint(x, y, d)` the straight colour there.
template <class Sdf, class Paint>
void FillSdf(TRaster& r, TBox box, Sdf sdf, Paint paint) {
  box = r.Clip(box);
  for (int y = box.Top; y < box.Bottom; ++y) {
    TColor* row = r.Row(y);
    float py = y + 0.5f;
    for (int x = box.Left; x < box.Right; ++x) {
      float px = x + 0.5f;
      float d = sdf(px, py);
      float cov = 0.5f - d;
      if (cov <= 0) continue;
      TRaster::Over(row[x], paint(px, py, d), cov > 1 ? 1 : cov);
    }
  }
}
template <class Sdf, class Paint>
void FillSdf(TRaster& r, Sdf sdf, Paint paint) {
  FillSdf(r, r.Bounds(), sdf, paint);
}

// A blurred copy of a shape's coverage, moved by (dx, dy): soft shadows and glows.
template <class Sdf>
void SoftShadow(TRaster& r, TBox box, Sdf sdf, float dx, float dy, float blur, TColor colour) {
  box = r.Clip(box);
  for (int y = box.Top; y < box.Bottom; ++y) {
    TColor* row = r.Row(y);
    for (int x = box.Left; x < box.Right; ++x) {
      float d = sdf(x + 0.5f - dx, y + 0.5f - dy);
      if (d >= blur) continue;
      TRaster::Over(row[x], colour, 1 - SmoothStep(-blur, blur, d));
    }
  }
}

// Lighting of a raised edge: the outward normal of the distance field against a light from
// the upper left; 0 in the flat middle, up to +-strength within `width` pixels of the edge.
template <class Sdf>
float BevelLight(Sdf& sdf, float x, float y, float d, float width, float strength) {
  float t = -d / width;
  if (t >= 1 || t < -0.5f) return 0;
  float gx = sdf(x + 0.5f, y) - sdf(x - 0.5f, y);
  float gy = sdf(x, y + 0.5f) - sdf(x, y - 0.5f);
  float len = std::sqrt(gx * gx + gy * gy);
  if (len < 1e-4f) return 0;
  float lit = (-0.6f * gx - 0.8f * gy) / len;
  return -lit * strength * (1 - Clamp01(t)) * (1 - Clamp01(t));
}

// Signed distance primitives.
float SdCircle(float x, float y, float cx, float cy, float radius);
float SdRoundRect(float x, float y, float left, float top, float right, float bottom, float radius);
float SdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth);
// Polygon of n points (any winding, may be concave).
float SdPolygon(float x, float y, const float* xy, int n);
// Ring of a circle, limited to the arc from angle a0 to a1 (radians, clockwise on screen from +x).
float SdArc(float x, float y, float cx, float cy, float radius, float halfWidth, float a0, float a1);
// Regular star with `points` tips.
std::vector<float> StarPolygon(float cx, float cy, float outer, float inner, int points, float rotation);

// Deterministic randomness and texture.
class TRng {
 public:
  explicit TRng(uint64_t seed) : FState(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  uint32_t Next();
  float Uniform() { return (Next() >> 8) * (1.f / 16777216.f); }
  float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }
  int Int(int n) { return int(Next() % uint32_t(n)); }

 private:
  uint64_t FState;
};
float ValueNoise(float x, float y, uint32_t seed);           // 0..1, smooth
float Fbm(float x, float y, int octaves, uint32_t seed);     // 0..1, fractal sum

// Box blur of the whole raster, `passes` times (three passes look Gaussian).
void Blur(TRaster& r, int radius, int passes);

// Converts to a bitmap for a colour-keyed control: pixels less than half covered become the
// transparent colour 0; edges are flattened against `matte`; no opaque pixel is pure black.
TMyDib ToKeyedDib(const TRaster& r, TColor matte);
// Opaque picture (JPEG material): flattened on `back`.
TMyDib ToOpaqueDib(const TRaster& r, TColor back);
// Rows become columns: a horizontal control drawn once serves as the vertical one.
TRaster Transposed(const TRaster& r);

inline TPixel ToPixel(const TColor& c) {
  return MakePixel(unsigned(Clamp01(c.R) * 255 + 0.5f), unsigned(Clamp01(c.G) * 255 + 0.5f),
                   unsigned(Clamp01(c.B) * 255 + 0.5f));
}

// An opaque picture from a colour function of the pixel position, row by row.
template <class Colour>
TMyDib PerPixel(int w, int h, Colour colour) {
  TMyDib dib(w, h, 24);
  for (int y = 0; y < h; ++y) {
    TPixel* row = dib.Row(y);
    for (int x = 0; x < w; ++x) row[x] = ToPixel(colour(float(x), float(y)));
  }
  return dib;
}

}  // namespace qj::datagen
