// Distance primitives, noise, blur and conversion to the game's bitmaps.
#include "tools/datagen/Raster.h"

#include <numbers>

namespace qj::datagen {

float SdCircle(float x, float y, float cx, float cy, float radius) {
  return std::hypot(x - cx, y - cy) - radius;
}

float SdRoundRect(float x, float y, float left, float top, float right, float bottom, float radius) {
  float cx = (left + right) * 0.5f, cy = (top + bottom) * 0.5f;
  float hx = (right - left) * 0.5f - radius, hy = (bottom - top) * 0.5f - radius;
  float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
  float ox = std::max(qx, 0.f), oy = std::max(qy, 0.f);
  return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.f) - radius;
}

float SdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth) {
  float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? Clamp01((px * dx + py * dy) / len2) : 0;
  return std::hypot(px - dx * t, py - dy * t) - halfWidth;
}

float SdPolygon(float x, float y, const float* v, int n) {
  float d = 1e30f;
  bool inside = false;
  for (int i = 0, j = n - 1; i < n; j = i++) {
    float ax = v[2 * j], ay = v[2 * j + 1], bx = v[2 * i], by = v[2 * i + 1];
    d = std::min(d, SdSegment(x, y, ax, ay, bx, by, 0));
    if ((by > y) != (ay > y) && x < (ax - bx) * (y - by) / (ay - by) + bx) inside = !inside;
  }
  return inside ? -d : d;
}

float SdArc(float x, float y, float cx, float cy, float radius, float halfWidth, float a0, float a1) {
  float dx = x - cx, dy = y - cy;
  float a = std::atan2(dy, dx);
  const float twoPi = 2 * std::numbers::pi_v<float>;
  float rel = std::fmod(a - a0 + 4 * twoPi, twoPi);
  if (rel <= a1 - a0) return std::fabs(std::hypot(dx, dy) - radius) - halfWidth;
  float e0 = std::hypot(x - (cx + radius * std::cos(a0)), y - (cy + radius * std::sin(a0)));
  float e1 = std::hypot(x - (cx + radius * std::cos(a1)), y - (cy + radius * std::sin(a1)));
  return std::min(e0, e1) - halfWidth;
}

std::vector<float> StarPolygon(float cx, float cy, float outer, float inner, int points, float rotation) {
  std::vector<float> v;
  for (int i = 0; i < 2 * points; ++i) {
    float a = rotation + i * std::numbers::pi_v<float> / points;
    float r = (i % 2) ? inner : outer;
    v.push_back(cx + r * std::sin(a));
    v.push_back(cy - r * std::cos(a));
  }
  return v;
}

uint32_t TRng::Next() {
  FState += 0x9E3779B97F4A7C15ull;
  uint64_t z = FState;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return uint32_t((z ^ (z >> 31)) >> 32);
}

static inline float Hash2(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 0x8DA6B343u ^ uint32_t(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  h ^= h >> 15;
  return (h & 0xFFFFFF) * (1.f / 16777215.f);
}

float ValueNoise(float x, float y, uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y);
  int ix = int(fx), iy = int(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  float a = Hash2(ix, iy, seed), b = Hash2(ix + 1, iy, seed);
  float c = Hash2(ix, iy + 1, seed), d = Hash2(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Fbm(float x, float y, int octaves, uint32_t seed) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += ValueNoise(x, y, seed + i * 131u) * amp;
    norm += amp;
    x = x * 2.03f + 17.1f;
    y = y * 2.03f + 5.3f;
    amp *= 0.5f;
  }
  return sum / norm;
}

// One box pass with a running sum over one line of `n` colours `stride` apart.
static void BoxLine(TColor* line, int n, int stride, int radius, std::vector<TColor>& tmp) {
  tmp.resize(n);
  for (int i = 0; i < n; ++i) tmp[i] = line[size_t(i) * stride];
  TColor acc{0, 0, 0, 0};
  auto add = [&](const TColor& c, float s) {
    acc.R += c.R * s;
    acc.G += c.G * s;
    acc.B += c.B * s;
    acc.A += c.A * s;
  };
  for (int i = -radius; i <= radius; ++i) add(tmp[std::clamp(i, 0, n - 1)], 1);
  float inv = 1.f / (2 * radius + 1);
  for (int i = 0; i < n; ++i) {
    line[size_t(i) * stride] = {acc.R * inv, acc.G * inv, acc.B * inv, acc.A * inv};
    add(tmp[std::min(i + radius + 1, n - 1)], 1);
    add(tmp[std::max(i - radius, 0)], -1);
  }
}

void Blur(TRaster& r, int radius, int passes) {
  if (radius <= 0 || r.Width() == 0 || r.Height() == 0) return;
  std::vector<TColor> tmp;
  for (int p = 0; p < passes; ++p) {
    for (int y = 0; y < r.Height(); ++y) BoxLine(r.Row(y), r.Width(), 1, radius, tmp);
    for (int x = 0; x < r.Width(); ++x) BoxLine(r.Row(0) + x, r.Height(), r.Width(), radius, tmp);
  }
}

static inline uint8_t ToByte(float v) { return uint8_t(std::lround(Clamp01(v) * 255.f)); }

TMyDib ToKeyedDib(const TRaster& r, TColor matte) {
  TMyDib dib(r.Width(), r.Height(), 24);
  for (int y = 0; y < r.Height(); ++y) {
    const TColor* src = r.Row(y);
    TPixel* dst = dib.Row(y);
    for (int x = 0; x < r.Width(); ++x) {
      const TColor& c = src[x];
      if (c.A < 0.5f) {
        dst[x] = 0;
        continue;
      }
      // Premultiplied colour plus the uncovered rest in the matte colour.
      float k = 1 - c.A;
      TPixel p = MakePixel(ToByte(c.R + matte.R * k), ToByte(c.G + matte.G * k), ToByte(c.B + matte.B * k));
      dst[x] = (p & kRgbMask) ? p : MakePixel(1, 1, 1);
    }
  }
  return dib;
}

TMyDib ToOpaqueDib(const TRaster& r, TColor back) {
  TMyDib dib(r.Width(), r.Height(), 24);
  for (int y = 0; y < r.Height(); ++y) {
    const TColor* src = r.Row(y);
    TPixel* dst = dib.Row(y);
    for (int x = 0; x < r.Width(); ++x) {
      float k = 1 - src[x].A;
      dst[x] = MakePixel(ToByte(src[x].R + back.R * k), ToByte(src[x].G + back.G * k), ToByte(src[x].B + back.B * k));
    }
  }
  return dib;
}

TRaster Transposed(const TRaster& r) {
  TRaster t(r.Height(), r.Width());
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < r.Width(); ++x) t.Row(x)[y] = r.Row(y)[x];
  return t;
}

}  // namespace qj::datagen
