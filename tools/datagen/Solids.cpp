// Pins, stars, flat-shaded turning solids and the hidden-picture card.
#include "tools/datagen/Solids.h"

#include <algorithm>
#include <array>
#include <numbers>

#include "tools/datagen/Glyphs.h"
#include "tools/datagen/Raster.h"

namespace qj::datagen {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

struct TVec {
  float X, Y, Z;
};

struct TSolid {
  std::vector<TVec> Points;
  std::vector<std::vector<int>> Faces;  // counter-clockwise seen from outside
};

TSolid MakeSolid(int kind) {
  if (kind == 0)
    return {{{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
            {{0, 1, 2, 3}, {5, 4, 7, 6}, {4, 0, 3, 7}, {1, 5, 6, 2}, {4, 5, 1, 0}, {3, 2, 6, 7}}};
  if (kind == 1)
    return {{{0, -1.5f, 0}, {1.1f, 0, 0}, {0, 0, 1.1f}, {-1.1f, 0, 0}, {0, 0, -1.1f}, {0, 1.5f, 0}},
            {{0, 2, 1}, {0, 3, 2}, {0, 4, 3}, {0, 1, 4}, {5, 1, 2}, {5, 2, 3}, {5, 3, 4}, {5, 4, 1}}};
  return {{{0, -1.3f, 0}, {-1.2f, 0.9f, -1.2f}, {1.2f, 0.9f, -1.2f}, {1.2f, 0.9f, 1.2f}, {-1.2f, 0.9f, 1.2f}},
          {{0, 2, 1}, {0, 3, 2}, {0, 4, 3}, {0, 1, 4}, {1, 2, 3, 4}}};
}

TVec Turn(TVec p, float yaw, float pitch) {
  float x = p.X * std::cos(yaw) + p.Z * std::sin(yaw), z = -p.X * std::sin(yaw) + p.Z * std::cos(yaw);
  return {x, p.Y * std::cos(pitch) - z * std::sin(pitch), p.Y * std::sin(pitch) + z * std::cos(pitch)};
}

TColor SolidColour(const TThemeArt& t, int kind) {
  const TColor base[3] = {Rgb(230, 90, 60), Rgb(70, 150, 235), Rgb(250, 196, 60)};
  return Mix(base[kind], t.Accent, 0.25f);
}

}  // namespace

TMyDib SolidFrame(const TThemeArt& t, int kind, int frame) {
  TSolid s = MakeSolid(kind);
  const float yaw = frame * (kPi / 2) / kSolidFrames + 0.3f, pitch = -0.45f, scale = 10.5f;
  std::vector<TVec> p;
  for (const TVec& v : s.Points) p.push_back(Turn(v, yaw, pitch));
  TRaster r(40, 40);
  TColor colour = SolidColour(t, kind);
  for (const auto& face : s.Faces) {
    TVec a = p[face[0]], b = p[face[1]], c = p[face[2]];
    TVec n{(b.Y - a.Y) * (c.Z - a.Z) - (b.Z - a.Z) * (c.Y - a.Y), (b.Z - a.Z) * (c.X - a.X) - (b.X - a.X) * (c.Z - a.Z),
           (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X)};
    float len = std::sqrt(n.X * n.X + n.Y * n.Y + n.Z * n.Z);
    if (n.Z >= 0 || len == 0) continue;  // facing away
    float light = Clamp01((-0.45f * n.X - 0.6f * n.Y - 0.65f * n.Z) / len);
    std::vector<float> poly;
    for (int i : face) {
      poly.push_back(20 + p[i].X * scale);
      poly.push_back(20 + p[i].Y * scale);
    }
    TColor shade = Shade(colour, light * 0.9f - 0.45f);
    FillSdf(r, [&](float x, float y) { return SdPolygon(x, y, poly.data(), int(face.size())); },
            [&](float, float, float) { return shade; });
    FillSdf(r, [&](float x, float y) { return std::fabs(SdPolygon(x, y, poly.data(), int(face.size()))) - 0.35f; },
            [&](float, float, float) { return WithAlpha(Shade(colour, 0.5f), 0.5f); });
  }
  return ToKeyedDib(r, Shade(colour, -0.6f));
}

TMyDib PinFrame(const TThemeArt& t, int i, int n) {
  const int third = n / 3;
  float lift;
  if (i < third) {
    lift = 1 - float(i) / std::max(1, third - 1);
  } else if (i < 2 * third) {
    lift = float(i - third) / std::max(1, third - 1);
  } else {
    lift = 0.45f + 0.08f * std::sin(2 * kPi * (i - 2 * third) / third);
  }
  TRaster r(32, 32);
  const float h = lift * 9, cx = 16 - h * 0.35f, cy = 16 - h, rad = 6.5f + lift * 2;
  SoftShadow(r, r.Bounds(), [&](float x, float y) { return SdCircle(x, y, 17 + h * 0.3f, 17.5f, 5.5f); }, 0, 0,
             1.5f + h * 0.3f, TColor{0, 0, 0, 0.55f - lift * 0.2f});
  if (h > 0.5f)
    FillSdf(r, [&](float x, float y) { return SdSegment(x, y, 16, 16, cx, cy, 0.9f); },
            [](float, float, float) { return Rgb(200, 204, 214); });
  auto head = [&](float x, float y) { return SdCircle(x, y, cx, cy, rad); };
  FillSdf(r, head, [&](float x, float y, float d) {
    float spot = Clamp01(1 - std::hypot(x - (cx - rad * 0.35f), y - (cy - rad * 0.4f)) / (rad * 0.9f));
    TColor c = Shade(Shade(t.Pin, -0.35f * Clamp01((y - cy + rad) / (2 * rad))), spot * spot * 0.8f);
    return Shade(c, BevelLight(head, x, y, d, 2, 0.3f));
  });
  return ToKeyedDib(r, Shade(t.Pin, -0.6f));
}

TMyDib StarFrame(const TThemeArt& t, int i, int n) {
  float p = (i + 0.5f) / n;
  float size = std::sin(kPi * p) * 13 + 2;
  TRaster r(32, 32);
  TColor gold = Mix(Rgb(255, 214, 90), t.Accent, 0.2f);
  std::vector<float> star = StarPolygon(16, 16, size, size * 0.28f, 4, p * kPi / 2);
  std::vector<float> small = StarPolygon(16, 16, size * 0.6f, size * 0.2f, 4, p * kPi / 2 + kPi / 4);
  auto sdf = [&](float x, float y) { return std::min(SdPolygon(x, y, star.data(), 8), SdPolygon(x, y, small.data(), 8)); };
  float fade = 1 - std::max(0.f, p - 0.6f) * 1.6f;
  FillSdf(r, sdf, [&](float x, float y, float) {
    float core = Clamp01(1 - std::hypot(x - 16, y - 16) / (size * 0.6f + 0.1f));
    return Shade(Mix(Shade(gold, -0.5f * (1 - fade)), TColor{1, 1, 0.92f, 1}, core), 0);
  });
  return ToKeyedDib(r, Shade(gold, -0.5f));
}

TMyDib HiddenPicture(const TThemeArt& t) {
  TRaster r(200, 150);
  FillSdf(r, [](float x, float y) { return SdRoundRect(x, y, 0, 0, 200, 150, 8); }, [&](float x, float y, float) {
    float wave = std::sin(x * 0.09f + y * 0.06f) * 0.5f + 0.5f;
    float diag = (int(std::floor((x + y) / 14)) % 2) ? 0.06f : -0.04f;
    return Shade(Mix(t.Body, t.BodyDark, y / 150 * 0.6f + wave * 0.2f), diag);
  });
  for (int k = 0; k < 7; ++k) {
    float a = k * 0.9f;
    DrawGlyph(r, EGlyph::Piece, 100 + std::cos(a) * 70, 75 + std::sin(a) * 52, 9, WithAlpha(t.BodyLight, 0.5f),
              WithAlpha(t.Body, 0.5f), 0, a);
  }
  FillSdf(r, [](float x, float y) { return SdCircle(x, y, 100, 75, 40); },
          [&](float, float y, float) { return Mix(Shade(t.Accent, 0.2f), Shade(t.Accent, -0.3f), (y - 35) / 80); });
  DrawGlyph(r, EGlyph::Question, 100, 75, 26, TColor{1, 1, 1, 1}, Rgb(236, 236, 244), 0.5f);
  return ToOpaqueDib(r, t.BodyDark);
}

}  // namespace qj::datagen
