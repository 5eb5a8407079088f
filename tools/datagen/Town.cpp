// The harbour town and the autumn forest pictures.
#include <numbers>

#include "tools/datagen/Raster.h"
#include "tools/datagen/Scenes.h"

namespace qj::datagen {
namespace {

constexpr int kQuay = 610;

void Rect(TRaster& r, float l, float t, float rt, float b, TColor c) {
  FillSdf(r, {int(l) - 1, int(t) - 1, int(rt) + 2, int(b) + 2},
          [&](float x, float y) { return SdRoundRect(x, y, l, t, rt, b, 0.5f); }, [&](float, float, float) { return c; });
}

void House(TRaster& r, TRng& rng, float left, float base, float w, float h) {
  TColor wall = Mix(Rgb(rng.Int(200) + 55, rng.Int(160) + 80, rng.Int(160) + 60), Rgb(240, 230, 210), 0.25f);
  FillSdf(r, {int(left), int(base - h), int(left + w) + 1, int(base) + 1},
          [&](float x, float y) { return SdRoundRect(x, y, left, base - h, left + w, base, 0.5f); },
          [&](float x, float y, float) { return Shade(wall, (ValueNoise(x * 0.3f, y * 0.3f, 4) - 0.5f) * 0.15f); });
  std::vector<float> roof{left - 4, base - h, left + w / 2, base - h - rng.Range(24, 50), left + w + 4, base - h};
  TColor tile = Rgb(150 + rng.Int(60), 60 + rng.Int(40), 40 + rng.Int(20));
  FillSdf(r, [&](float x, float y) { return SdPolygon(x, y, roof.data(), 3); },
          [&](float, float y, float) { return Shade(tile, std::sin(y * 1.2f) * 0.12f); });
  for (float wy = base - h + 12; wy < base - 34; wy += 28)
    for (float wx = left + 8; wx < left + w - 16; wx += 20) {
      Rect(r, wx, wy, wx + 11, wy + 15, Rgb(250, 246, 236));
      Rect(r, wx + 1.5f, wy + 1.5f, wx + 9.5f, wy + 13.5f, rng.Uniform() < 0.3f ? Rgb(250, 210, 110) : Rgb(60, 90, 120));
    }
  float door = left + rng.Range(6, std::max(7.f, w - 22));
  Rect(r, door, base - 28, door + 14, base, Shade(wall, -0.5f));
}

void Sky(TRaster& r) {
  FillSdf(r, {0, 0, kSceneW, kQuay}, [](float, float) { return -10.f; }, [](float x, float y, float) {
    float cloud = SmoothStep(0.45f, 0.75f, Fbm(x * 0.006f, y * 0.012f, 5, 61));
    TColor sky = Mix(Rgb(90, 150, 220), Rgb(190, 220, 245), y / 300);
    return Mix(sky, Rgb(252, 250, 246), cloud * 0.9f);
  });
}

// Water below the quay mirrors the town with ripples.
void Water(TRaster& r) {
  for (int y = kQuay + 20; y < kSceneH; ++y) {
    TColor* row = r.Row(y);
    for (int x = 0; x < kSceneW; ++x) {
      float wave = std::sin(y * 0.35f + std::sin(x * 0.05f) * 2) * (y - kQuay) * 0.04f;
      int sx = std::clamp(int(x + wave), 0, kSceneW - 1), sy = std::clamp(2 * (kQuay + 20) - y, 0, kSceneH - 1);
      TColor c = r.Row(sy)[sx];
      float glint = ValueNoise(x * 0.05f, y * 0.4f, 9);
      row[x] = Shade(Mix(c, Rgb(30, 80, 110), 0.45f), (glint - 0.5f) * 0.3f);
    }
  }
}

void Boat(TRaster& r, TRng& rng, float x, float y) {
  float len = rng.Range(70, 130);
  std::vector<float> hull{x, y, x + len, y, x + len * 0.85f, y + 22, x + len * 0.12f, y + 22};
  TColor paint = Rgb(rng.Int(200) + 40, rng.Int(120) + 40, rng.Int(160) + 60);
  FillSdf(r, [&](float px, float py) { return SdPolygon(px, py, hull.data(), 4); },
          [&](float, float py, float) { return Shade(paint, py < y + 6 ? 0.4f : -0.1f); });
  FillSdf(r, [&](float px, float py) { return SdSegment(px, py, x + len * 0.45f, y, x + len * 0.45f, y - 90, 1.5f); },
          [](float, float, float) { return Rgb(90, 64, 40); });
  std::vector<float> sail{x + len * 0.47f, y - 86, x + len * 0.47f, y - 8, x + len * 0.9f, y - 10};
  FillSdf(r, [&](float px, float py) { return SdPolygon(px, py, sail.data(), 3); },
          [&](float px, float, float) { return Mix(Rgb(250, 248, 240), Rgb(210, 200, 190), (px - x) / len); });
}

}  // namespace

TMyDib HarbourTown() {
  TRaster r(kSceneW, kSceneH);
  Sky(r);
  TRng rng(4242);
  for (float base : {300.f, 420.f, 540.f, 620.f})
    for (float x = -20; x < kSceneW;) {
      float w = rng.Range(55, 95);
      House(r, rng, x, base, w, rng.Range(110, 170));
      x += w + rng.Range(-4.f, 6.f);
    }
  FillSdf(r, {0, kQuay, kSceneW, kQuay + 20}, [](float, float) { return -10.f; }, [](float x, float y, float) {
    float stone = (int(x / 40 + (int(y / 10) % 2) * 0.5f) % 2) ? 0.05f : -0.05f;
    return Shade(Rgb(150, 140, 126), stone + (ValueNoise(x * 0.2f, y * 0.2f, 3) - 0.5f) * 0.3f);
  });
  Water(r);
  for (int i = 0; i < 7; ++i) Boat(r, rng, rng.Range(0, kSceneW - 140), rng.Range(kQuay + 110, kSceneH - 30));
  return ToOpaqueDib(r, Rgb(0, 0, 0));
}

TMyDib AutumnForest() {
  TRaster r(kSceneW, kSceneH);
  FillSdf(r, [](float, float) { return -10.f; }, [](float x, float y, float) {
    float n = Fbm(x * 0.01f, y * 0.01f, 5, 17);
    return Mix(Rgb(120, 60, 30), Rgb(250, 180, 80), n * 0.8f + (1 - y / kSceneH) * 0.3f);
  });
  TRng rng(1966);
  for (int i = 0; i < 26; ++i) {
    float x = rng.Range(0, kSceneW), w = rng.Range(8, 26);
    FillSdf(r, {int(x - w - 4), 0, int(x + w + 4), kSceneH},
            [&](float px, float py) { return SdSegment(px, py, x, -10, x + w * 0.4f, kSceneH, w * (0.5f + py / kSceneH * 0.5f)); },
            [&](float px, float py, float) {
              return Shade(Rgb(70, 48, 34), (ValueNoise(px * 0.4f, py * 0.05f, 8) - 0.5f) * 0.6f);
            });
  }
  for (int i = 0; i < 9000; ++i) {
    float x = rng.Range(-10, kSceneW + 10), y = rng.Range(-10, kSceneH + 10), s = rng.Range(3, 9);
    TColor c = Shade(Mix(Rgb(200, 40, 20), Rgb(250, 200, 40), rng.Uniform()), rng.Range(-0.35f, 0.15f));
    float a = rng.Range(0, 3.14f), e = rng.Range(0.4f, 0.8f);
    FillSdf(r, {int(x - s - 2), int(y - s - 2), int(x + s + 3), int(y + s + 3)}, [&](float px, float py) {
      float u = (px - x) * std::cos(a) + (py - y) * std::sin(a), v = -(px - x) * std::sin(a) + (py - y) * std::cos(a);
      return (std::hypot(u, v / e) - s) * e;
    }, [&](float px, float py, float) { return Shade(c, ((x - px) + (y - py)) / (s * 4)); });
  }
  return ToOpaqueDib(r, Rgb(0, 0, 0));
}

}  // namespace qj::datagen
