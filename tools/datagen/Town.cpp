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


// The autumn forest is painted back to front: sky, misty far wood, floor with a path, hazy
// middle trees, near trees, then the litter, ferns, mushrooms and rocks in front.
namespace forest {

constexpr float kGround = 590;  // where the forest floor meets the far wood
const TColor kMist = Rgb(236, 222, 200);

TColor Fog(const TColor& c, float haze) { return Mix(c, kMist, haze); }

// Autumn foliage colours, mostly warm with a few greens left.
TColor LeafColour(TRng& rng) {
  static const TColor palette[] = {Rgb(200, 50, 28), Rgb(226, 94, 30), Rgb(240, 150, 36), Rgb(246, 200, 60),
                                   Rgb(176, 36, 40), Rgb(214, 120, 40), Rgb(120, 150, 50), Rgb(250, 178, 48)};
  return palette[rng.Int(8)];
}

void Leaf(TRaster& r, float x, float y, float s, float angle, TColor c) {
  float ca = std::cos(angle), sa = std::sin(angle);
  FillSdf(r, {int(x - s - 2), int(y - s - 2), int(x + s + 3), int(y + s + 3)}, [&](float px, float py) {
    float u = (px - x) * ca + (py - y) * sa, v = -(px - x) * sa + (py - y) * ca;
    return (std::sqrt(u * u + v * v * 4.84f) - s) * 0.45f;
  }, [&](float px, float py, float) { return Shade(c, ((x - px) + (y - py)) / (s * 5)); });
}

void Sky(TRaster& r) {
  FillSdf(r, {0, 0, kSceneW, int(kGround) + 20}, [](float, float) { return -10.f; }, [](float x, float y, float) {
    float cloud = SmoothStep(0.4f, 0.8f, Fbm(x * 0.005f, y * 0.01f, 5, 71));
    TColor sky = Mix(Rgb(120, 170, 222), kMist, SmoothStep(60, 520, y));
    return Shade(Mix(sky, Rgb(255, 248, 236), cloud * 0.8f), (ValueNoise(x * 0.2f, y * 0.2f, 72) - 0.5f) * 0.06f);
  });
}

// A ragged band of treetops down to the ground, with thin trunks in its shade, washed out by mist.
void FarWood(TRaster& r, float top, float haze, uint32_t seed) {
  std::vector<float> crown(kSceneW);
  for (int x = 0; x < kSceneW; ++x)
    crown[x] = top - Fbm(x * 0.006f, 0.5f, 3, seed) * 90 - Fbm(x * 0.04f, 1.5f, 3, seed + 3) * 50;
  FillSdf(r, {0, int(top) - 130, kSceneW, int(kGround) + 4}, [&](float x, float y) { return crown[int(x)] - y; },
          [=](float x, float y, float) {
            float hue = Fbm(x * 0.01f, y * 0.01f, 3, seed + 1), leafy = ValueNoise(x * 0.15f + y * 0.06f, y * 0.15f - x * 0.06f, seed + 2);
            float gap = SmoothStep(0.6f, 0.8f, ValueNoise(x * 0.03f, y * 0.008f, seed + 4));
            TColor c = Mix(Mix(Rgb(190, 70, 40), Rgb(236, 160, 60), hue), Rgb(110, 130, 60), SmoothStep(0.7f, 0.85f, hue));
            return Fog(Shade(c, (leafy - 0.5f) * 0.5f - SmoothStep(top, kGround, y) * 0.45f - gap * 0.3f), haze);
          });
  TRng rng(seed);
  for (float x = rng.Range(0, 30); x < kSceneW; x += rng.Range(14, 70)) {
    float w = rng.Range(1.2f, 3.f), y0 = top + rng.Range(40, 90);
    FillSdf(r, {int(x - 6), int(y0) - 4, int(x + 6), int(kGround) + 4},
            [&](float px, float py) { return SdSegment(px, py, x, y0, x, kGround, w); },
            [&](float, float py, float) { return Fog(Rgb(70, 50, 40), haze + (1 - haze) * 0.5f * (1 - SmoothStep(y0, kGround, py))); });
  }
}

// Leaf litter with a winding path leading into the wood.
void Floor(TRaster& r) {
  auto centre = [](float y) { return 640 + std::sin((y - kGround) * 0.012f) * 150 * (y - kGround) / 310; };
  auto half = [](float y) { return 6 + (y - kGround) * 0.5f; };
  FillSdf(r, {0, int(kGround) - 4, kSceneW, kSceneH}, [](float, float y) { return kGround - y; },
          [](float x, float y, float) {
            float patch = Fbm(x * 0.012f, y * 0.03f, 4, 81), grit = ValueNoise(x * 0.35f, y * 0.7f, 82);
            TColor c = Mix(Mix(Rgb(110, 50, 24), Rgb(200, 110, 40), patch), Rgb(90, 100, 40), SmoothStep(0.65f, 0.8f, patch));
            return Fog(Shade(c, (grit - 0.5f) * 0.4f), 0.6f * (1 - SmoothStep(kGround, 720, y)));
          });
  FillSdf(r, {0, int(kGround), kSceneW, kSceneH}, [=](float x, float y) { return std::fabs(x - centre(y)) - half(y); },
          [=](float x, float y, float) {
            float edge = std::fabs(x - centre(y)) / half(y), grit = ValueNoise(x * 0.4f, y * 0.4f, 83);
            TColor c = Shade(Rgb(196, 160, 112), (grit - 0.5f) * 0.3f - edge * edge * 0.25f);
            return Fog(c, 0.5f * (1 - SmoothStep(kGround, 720, y)));
          });
}

// Leaves heaped into a crown: a shadowed mass, then leaves lit from the upper left.
void Crown(TRaster& r, TRng& rng, float cx, float cy, float rad, float haze) {
  TColor base = LeafColour(rng);
  FillSdf(r, {int(cx - rad * 1.3f), int(cy - rad * 1.3f), int(cx + rad * 1.3f), int(cy + rad * 1.3f)},
          [&](float x, float y) {
            float d = SdCircle(x, y, cx, cy, rad);  // the ragged edge lies within 0.45 rad of the circle
            return std::fabs(d) > rad * 0.45f + 1 ? d : d - (ValueNoise(x * 3 / rad, y * 3 / rad, 91) - 0.5f) * rad * 0.9f;
          },
          [&](float x, float y, float) {
            float light = ((cx - x) + (cy - y)) / (rad * 3), n = ValueNoise(x * 0.2f, y * 0.2f, 92);
            return Fog(Shade(base, -0.35f + light + (n - 0.5f) * 0.3f), haze);
          });
  int leaves = int(rad * rad / 22);
  float s = 3 + rad * 0.06f;
  for (int i = 0; i < leaves; ++i) {
    float a = rng.Range(0, 6.2832f), d = rad * std::sqrt(rng.Uniform());
    float x = cx + std::cos(a) * d, y = cy + std::sin(a) * d;
    float light = ((cx - x) + (cy - y)) / (rad * 2.5f) + rng.Range(-0.15f, 0.1f);
    TColor c = rng.Uniform() < 0.15f ? LeafColour(rng) : base;
    Leaf(r, x, y, s * rng.Range(0.7f, 1.2f), rng.Range(0, 3.14f), Fog(Shade(c, light), haze));
  }
}

void Trunk(TRaster& r, float x, float base, float top, float w, float lean, float haze) {
  auto mid = [=](float y) { return x + lean * (base - y) / (base - top); };
  auto half = [=](float y) { return w * (0.75f + 0.25f * (y - top) / (base - top)) + w * 0.7f * SmoothStep(base - 50, base, y); };
  FillSdf(r, {int(std::min(x, x + lean) - w * 2), int(top), int(std::max(x, x + lean) + w * 2), int(base) + 2},
          [=](float px, float py) { return std::max(std::fabs(px - mid(py)) - half(py), py - base); },
          [=](float px, float py, float) {
            float u = (px - mid(py)) / half(py);
            float furrow = ValueNoise(px * 0.3f, py * 0.035f, 95), knot = ValueNoise(px * 0.1f, py * 0.1f, 96);
            float shade = 0.12f - 0.6f * (u + 0.3f) * (u + 0.3f) + (furrow - 0.5f) * 0.7f + (knot - 0.5f) * 0.2f;
            return Fog(Shade(Rgb(92, 66, 48), shade), haze);
          });
}

// A tree with branches reaching out to leaf crowns; `top` may lie above the picture.
void Tree(TRaster& r, TRng& rng, float x, float base, float top, float w, float haze) {
  float lean = rng.Range(-w, w);
  Trunk(r, x, base, top, w, lean, haze);
  int branches = 3 + rng.Int(3);
  for (int i = 0; i < branches; ++i) {
    float y0 = top + (base - top) * rng.Range(0.1f, 0.45f), side = i % 2 ? 1.f : -1.f;
    float x0 = x + lean * (base - y0) / (base - top), len = w * rng.Range(3, 6);
    float x1 = x0 + side * len, y1 = y0 - len * rng.Range(0.4f, 0.9f);
    FillSdf(r, {int(std::min(x0, x1) - w), int(y1 - w), int(std::max(x0, x1) + w), int(y0 + w)},
            [&](float px, float py) { return SdSegment(px, py, x0, y0, x1, y1, w * 0.25f * (1 - 0.5f * (y0 - py) / (y0 - y1 + 1))); },
            [&](float px, float py, float) { return Fog(Shade(Rgb(84, 60, 44), (ValueNoise(px * 0.3f, py * 0.3f, 97) - 0.6f) * 0.5f), haze); });
    Crown(r, rng, x1, y1, w * rng.Range(2.2f, 3.2f), haze);
    Crown(r, rng, x1 + side * w * 1.5f, y1 + w * rng.Range(0.5f, 1.5f), w * rng.Range(1.6f, 2.4f), haze);
  }
  float tx = x + lean;
  for (int i = 0; i < 3; ++i) Crown(r, rng, tx + rng.Range(-2 * w, 2 * w), std::max(top, -40.f) + rng.Range(0, 2 * w), w * rng.Range(2.5f, 3.5f), haze);
}

// Ferns, mushrooms and mossy rocks stand in front of everything.
void Fern(TRaster& r, TRng& rng, float x, float y, float size) {
  TColor green = Mix(Rgb(70, 120, 40), Rgb(150, 150, 50), rng.Uniform());
  for (int f = 0; f < 7; ++f) {
    float a = -2.8f + f * 0.4f + rng.Range(-0.1f, 0.1f), len = size * rng.Range(0.7f, 1.f);
    for (int k = 0; k < 12; ++k) {
      float t = k / 12.f, px = x + std::cos(a) * len * t, py = y + std::sin(a) * len * t + len * t * t * 0.35f;
      float leaflet = size * 0.18f * (1 - t), pa = a + 1.3f;
      for (float side : {-1.f, 1.f})
        FillSdf(r, {int(px - leaflet - 3), int(py - leaflet - 3), int(px + leaflet + 3), int(py + leaflet + 3)},
                [&](float qx, float qy) {
                  float ex = px + std::cos(pa) * leaflet * side, ey = py + std::sin(pa) * leaflet * side;
                  return SdSegment(qx, qy, px, py, ex, ey, 1.2f + size * 0.012f);
                },
                [&](float, float, float) { return Shade(green, (t - 0.5f) * 0.4f - 0.1f * side); });
    }
  }
}

void Mushroom(TRaster& r, TRng& rng, float x, float y, float s) {
  Rect(r, x - s * 0.18f, y - s * 0.8f, x + s * 0.18f, y, Rgb(236, 226, 206));
  TColor cap = rng.Uniform() < 0.6f ? Rgb(200, 40, 30) : Rgb(160, 96, 50);
  FillSdf(r, {int(x - s - 2), int(y - s * 1.4f), int(x + s + 2), int(y - s * 0.6f)},
          [&](float px, float py) { return std::max(SdCircle(px, py / 0.6f, x, (y - s * 0.7f) / 0.6f, s) * 0.6f, py - (y - s * 0.7f)); },
          [&](float px, float py, float) {
            float spot = ValueNoise(px * 0.5f / s * 6, py * 0.5f / s * 6, 111);
            return spot > 0.72f && cap.G < 0.2f ? Rgb(250, 246, 236) : Shade(cap, (x - px) / (s * 3) - 0.1f);
          });
}

void Rock(TRaster& r, float x, float y, float s) {
  auto sdf = [&](float px, float py) {
    float lump = (ValueNoise(px * 0.05f, py * 0.05f, 121) - 0.5f) * s * 0.3f;
    return std::max(SdCircle((px - x) * 0.7f + x, py, x, y, s) + lump, py - y - s * 0.4f);
  };
  FillSdf(r, {int(x - s * 1.5f), int(y - s * 1.2f), int(x + s * 1.5f), int(y + s * 0.6f)}, sdf,
          [&](float px, float py, float) {
            float n = ValueNoise(px * 0.12f + py * 0.05f, py * 0.12f - px * 0.05f, 122);
            float moss = SmoothStep(0.7f, 0.2f, (py - (y - s)) / s) * SmoothStep(0.3f, 0.6f, n);
            TColor stone = Shade(Rgb(128, 134, 150), (x - px) / (s * 4) + (y - py) / (s * 3) + (n - 0.5f) * 0.3f);
            return Mix(stone, Rgb(96, 130, 50), moss);
          });
}

// Leaves lying on the floor, larger and clearer towards the viewer.
void FallenLeaves(TRaster& r, TRng& rng) {
  for (int i = 0; i < 3200; ++i) {
    float y = kGround + std::pow(rng.Uniform(), 0.7f) * (kSceneH - kGround + 10);
    float depth = (y - kGround) / (kSceneH - kGround);
    TColor c = Fog(Shade(LeafColour(rng), rng.Range(-0.3f, 0.1f)), 0.5f * (1 - depth));
    Leaf(r, rng.Range(-10, kSceneW + 10), y, 2 + depth * 7, rng.Range(0, 3.14f), c);
  }
}

void Undergrowth(TRaster& r, TRng& rng) {
  for (float x : {60.f, 300.f, 990.f, 1160.f}) Rock(r, x + rng.Range(-40, 40), rng.Range(800, 870), rng.Range(30, 50));
  for (float x : {180.f, 520.f, 760.f, 1050.f, 20.f})
    Fern(r, rng, x + rng.Range(-30, 30), rng.Range(830, 900), rng.Range(90, 140));
  for (int i = 0; i < 7; ++i) Mushroom(r, rng, rng.Range(40, kSceneW - 40), rng.Range(700, 880), rng.Range(14, 26));
}

// Soft shafts of sunlight falling from the upper left through the canopy.
void SunRays(TRaster& r) {
  FillSdf(r, {0, 0, kSceneW, int(kGround) + 120}, [](float, float) { return -10.f; }, [](float x, float y, float) {
    float across = x * 0.8f - y * 0.6f, shaft = SmoothStep(0.5f, 0.8f, ValueNoise(across * 0.015f, 0.5f, 131));
    return Rgb(255, 236, 180, shaft * 0.35f * (1 - SmoothStep(kGround - 60, kGround + 120, y)));
  });
}

}  // namespace forest

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
  using namespace forest;
  TRaster r(kSceneW, kSceneH);
  forest::Sky(r);
  FarWood(r, 380, 0.72f, 101);
  FarWood(r, 450, 0.5f, 102);
  Floor(r);
  TRng rng(1966);
  for (float x = 40; x < kSceneW; x += rng.Range(120, 190))
    Tree(r, rng, x, rng.Range(610, 650), rng.Range(120, 200), rng.Range(10, 16), 0.35f);
  FallenLeaves(r, rng);
  for (float x : {90.f, 420.f, 880.f, 1130.f})
    Tree(r, rng, x + rng.Range(-30, 30), rng.Range(800, 890), -60, rng.Range(30, 48), 0.f);
  Undergrowth(r, rng);
  SunRays(r);
  return ToOpaqueDib(r, Rgb(0, 0, 0));
}

}  // namespace qj::datagen
