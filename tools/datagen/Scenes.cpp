// Sample pictures: a flower meadow seen from above, a stained-glass window, a harbour town
// and an autumn forest. Every region carries texture so no two puzzle pieces look alike.
#include "tools/datagen/Scenes.h"

#include <numbers>

#include "tools/datagen/Raster.h"

namespace qj::datagen {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

TColor Hsv(float h, float s, float v) {
  h = std::fmod(h, 1.f) * 6;
  int i = int(h);
  float f = h - i, p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  switch (i % 6) {
    case 0: return {v, t, p, 1};
    case 1: return {q, v, p, 1};
    case 2: return {p, v, t, 1};
    case 3: return {p, q, v, 1};
    case 4: return {t, p, v, 1};
    default: return {v, p, q, 1};
  }
}

void Disc(TRaster& r, float cx, float cy, float rad, TColor c) {
  FillSdf(r, {int(cx - rad - 1), int(cy - rad - 1), int(cx + rad + 2), int(cy + rad + 2)},
          [&](float x, float y) { return SdCircle(x, y, cx, cy, rad); },
          [&](float x, float y, float) { return Shade(c, (cy - y + cx - x) / (rad * 4 + 1) * 0.5f); });
}

void Flower(TRaster& r, TRng& rng, float cx, float cy, float size) {
  TColor petal = Hsv(rng.Uniform(), rng.Range(0.45f, 0.9f), rng.Range(0.8f, 1.f));
  int petals = 5 + rng.Int(4);
  float turn = rng.Range(0, kPi);
  for (int k = 0; k < petals; ++k) {
    float a = turn + k * 2 * kPi / petals;
    Disc(r, cx + std::cos(a) * size * 0.6f, cy + std::sin(a) * size * 0.6f, size * 0.45f, Shade(petal, rng.Range(-0.15f, 0.1f)));
  }
  Disc(r, cx, cy, size * 0.32f, Hsv(rng.Range(0.08f, 0.15f), 0.9f, rng.Range(0.6f, 0.95f)));
}

TMyDib ToScene(const TRaster& r) { return ToOpaqueDib(r, Rgb(40, 60, 30)); }

}  // namespace

TMyDib FlowerMeadow() {
  TRaster r(kSceneW, kSceneH);
  FillSdf(r, [](float, float) { return -10.f; }, [](float x, float y, float) {
    float blades = ValueNoise(x * 0.5f, y * 0.06f, 1) * 0.6f + ValueNoise(x * 0.09f, y * 0.09f, 2) * 0.4f;
    return Mix(Rgb(40, 96, 30), Rgb(120, 180, 60), blades * 0.8f + Fbm(x * 0.005f, y * 0.005f, 3, 3) * 0.4f - 0.2f);
  });
  TRng rng(2024);
  for (int i = 0; i < 3500; ++i) {
    float x = rng.Range(-10, kSceneW + 10), y = rng.Range(-10, kSceneH + 10);
    if (rng.Uniform() < 0.35f) {
      float a = rng.Range(0, kPi), l = rng.Range(8, 20);
      FillSdf(r, {int(x - l - 3), int(y - l - 3), int(x + l + 4), int(y + l + 4)},
              [&](float px, float py) { return SdSegment(px, py, x, y, x + std::cos(a) * l, y + std::sin(a) * l, 2.5f); },
              [&](float, float, float) { return Hsv(rng.Range(0.22f, 0.33f), 0.7f, 0.45f); });
    } else {
      Flower(r, rng, x, y, rng.Range(5, 17));
    }
  }
  return ToScene(r);
}

TMyDib StainedGlass() {
  const int cell = 60, gw = kSceneW / cell + 2, gh = kSceneH / cell + 2;
  std::vector<float> px(gw * gh), py(gw * gh);
  std::vector<TColor> colour(gw * gh);
  TRng rng(77);
  for (int i = 0; i < gw * gh; ++i) {
    px[i] = ((i % gw) + rng.Range(0.1f, 0.9f)) * cell;
    py[i] = ((i / gw) + rng.Range(0.1f, 0.9f)) * cell;
    colour[i] = Hsv(rng.Uniform(), rng.Range(0.5f, 0.95f), rng.Range(0.55f, 0.95f));
  }
  return PerPixel(kSceneW, kSceneH, [&](float x, float y) {
    int gx = int(x / cell), gy = int(y / cell);
    float d1 = 1e9f, d2 = 1e9f;
    int best = 0;
    for (int j = std::max(gy - 1, 0); j <= std::min(gy + 1, gh - 1); ++j)
      for (int i = std::max(gx - 1, 0); i <= std::min(gx + 1, gw - 1); ++i) {
        int k = j * gw + i;
        float d = std::hypot(x - px[k], y - py[k]);
        if (d < d1) { d2 = d1; d1 = d; best = k; } else if (d < d2) d2 = d;
      }
    float edge = d2 - d1;
    if (edge < 5) return Mix(Rgb(30, 30, 34), Rgb(90, 90, 96), edge / 5 * (edge / 5));
    float ripple = ValueNoise(x * 0.08f, y * 0.08f, 5) - 0.5f;
    return Shade(colour[best], 0.35f - d1 / cell * 0.6f + ripple * 0.3f);
  });
}

}  // namespace qj::datagen
