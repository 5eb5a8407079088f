// The icon shapes: each glyph is a short list of circles, strokes, arcs and polygons.
#include "tools/datagen/Glyphs.h"

#include <map>
#include <numbers>

namespace qj::datagen {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

TPrim C(float x, float y, float r, bool cut = false) { return {TPrim::Circle, cut, {x, y, r}, {}}; }
TPrim S(float ax, float ay, float bx, float by, float w, bool cut = false) {
  return {TPrim::Segment, cut, {ax, ay, bx, by, w}, {}};
}
TPrim A(float x, float y, float r, float w, float a0, float a1, bool cut = false) {
  return {TPrim::Arc, cut, {x, y, r, w, a0, a1}, {}};
}
TPrim P(std::vector<float> pts, bool cut = false) { return {TPrim::Polygon, cut, {}, std::move(pts)}; }
TPrim R(float l, float t, float r, float b, float rad, bool cut = false) {
  return {TPrim::RoundRect, cut, {l, t, r, b, rad}, {}};
}

TGlyph GearGlyph() {
  TGlyph g{C(0, 0, 0.62f)};
  for (int i = 0; i < 8; ++i) {
    float a = i * kPi / 4, c = std::cos(a), s = std::sin(a);
    g.push_back(S(c * 0.55f, s * 0.55f, c * 0.85f, s * 0.85f, 0.16f));
  }
  g.push_back(C(0, 0, 0.26f, true));
  return g;
}

TGlyph PieceGlyph() {
  return {R(-0.62f, -0.5f, 0.5f, 0.7f, 0.08f), C(0, -0.62f, 0.24f), C(0.64f, 0.1f, 0.24f),
          C(-0.62f, 0.1f, 0.22f, true)};
}

void AddScreenGlyphs(std::map<EGlyph, TGlyph>& m) {
  m[EGlyph::Play] = {P({-0.45f, -0.75f, 0.8f, 0, -0.45f, 0.75f})};
  m[EGlyph::Gear] = GearGlyph();
  m[EGlyph::Continue] = {A(0, 0, 0.6f, 0.14f, -kPi * 0.35f, kPi * 1.35f), P({0.28f, -0.95f, 0.8f, -0.62f, 0.28f, -0.3f})};
  m[EGlyph::Star] = {P(StarPolygon(0, 0.05f, 0.95f, 0.42f, 5, 0))};
  m[EGlyph::Power] = {A(0, 0.08f, 0.62f, 0.14f, -kPi * 0.28f, kPi * 1.28f), S(0, -0.85f, 0, -0.05f, 0.14f)};
  m[EGlyph::Question] = {A(0, -0.35f, 0.4f, 0.15f, kPi, kPi * 2.4f), S(0.12f, 0.03f, 0, 0.2f, 0.15f),
                         S(0, 0.2f, 0, 0.35f, 0.15f), C(0, 0.72f, 0.17f)};
  m[EGlyph::Piece] = PieceGlyph();
  m[EGlyph::Exit] = {R(-0.8f, -0.8f, 0.2f, 0.8f, 0.1f), R(-0.62f, -0.62f, 0.02f, 0.62f, 0.04f, true),
                     S(-0.2f, 0, 0.6f, 0, 0.13f), P({0.45f, -0.35f, 0.95f, 0, 0.45f, 0.35f})};
  m[EGlyph::Scatter] = {C(-0.55f, -0.45f, 0.22f), C(0.5f, -0.55f, 0.18f), C(0, 0.05f, 0.26f),
                        C(-0.5f, 0.6f, 0.17f), C(0.6f, 0.5f, 0.21f)};
  m[EGlyph::Loupe] = {A(-0.18f, -0.18f, 0.5f, 0.13f, 0, 2 * kPi), S(0.2f, 0.2f, 0.75f, 0.75f, 0.17f)};
  m[EGlyph::Pin] = {C(0, -0.4f, 0.45f), S(0, 0, 0, 0.9f, 0.07f), S(-0.3f, 0.02f, 0.3f, 0.02f, 0.12f)};
  m[EGlyph::Arrange] = {R(-0.9f, -0.5f, -0.35f, 0.5f, 0.08f), R(-0.25f, -0.5f, 0.3f, 0.5f, 0.08f),
                        R(0.4f, -0.5f, 0.9f, 0.5f, 0.08f)};
}

void AddToolGlyphs(std::map<EGlyph, TGlyph>& m) {
  m[EGlyph::Landscape] = {R(-0.9f, -0.7f, 0.9f, 0.7f, 0.1f), R(-0.75f, -0.55f, 0.75f, 0.55f, 0.02f, true),
                          P({-0.75f, 0.55f, -0.25f, -0.15f, 0.1f, 0.3f, 0.35f, 0.05f, 0.75f, 0.55f}),
                          C(0.4f, -0.25f, 0.14f)};
  m[EGlyph::Palette] = {C(0, 0, 0.85f), C(0.35f, 0.4f, 0.2f, true), C(-0.4f, -0.3f, 0.14f, true),
                        C(0.05f, -0.5f, 0.14f, true), C(0.45f, -0.15f, 0.14f, true), C(-0.45f, 0.25f, 0.14f, true)};
  m[EGlyph::Ghost] = {C(0, -0.2f, 0.62f), R(-0.62f, -0.2f, 0.62f, 0.7f, 0.02f), C(-0.42f, 0.72f, 0.2f, true),
                      C(0.0f, 0.72f, 0.2f, true), C(0.42f, 0.72f, 0.2f, true), C(-0.22f, -0.25f, 0.12f, true),
                      C(0.22f, -0.25f, 0.12f, true)};
  m[EGlyph::SmallPicture] = {R(-0.9f, -0.9f, 0.9f, 0.9f, 0.1f), R(-0.72f, -0.72f, 0.72f, 0.72f, 0.02f, true),
                             R(0.0f, 0.05f, 0.6f, 0.6f, 0.05f)};
  m[EGlyph::Magnet] = {A(0, -0.05f, 0.5f, 0.2f, 0, kPi), S(-0.5f, -0.05f, -0.5f, -0.75f, 0.2f),
                       S(0.5f, -0.05f, 0.5f, -0.75f, 0.2f), S(-0.72f, -0.55f, -0.28f, -0.55f, 0.04f, true),
                       S(0.28f, -0.55f, 0.72f, -0.55f, 0.04f, true)};
  m[EGlyph::Chevron] = {S(-0.6f, -0.25f, 0, 0.35f, 0.16f), S(0, 0.35f, 0.6f, -0.25f, 0.16f)};
  m[EGlyph::Wind] = {A(0.2f, -0.45f, 0.22f, 0.1f, -kPi, kPi * 0.5f), S(-0.8f, -0.23f, 0.2f, -0.23f, 0.1f),
                     S(-0.8f, 0.1f, 0.6f, 0.1f, 0.1f), A(0.1f, 0.55f, 0.22f, 0.1f, -kPi * 0.5f, kPi),
                     S(-0.6f, 0.33f, 0.1f, 0.33f, 0.1f)};
  m[EGlyph::Target] = {A(0, 0, 0.6f, 0.12f, 0, 2 * kPi), C(0, 0, 0.2f), S(0, -0.95f, 0, -0.45f, 0.1f),
                       S(0, 0.45f, 0, 0.95f, 0.1f), S(-0.95f, 0, -0.45f, 0, 0.1f), S(0.45f, 0, 0.95f, 0, 0.1f)};
  m[EGlyph::Sparkle] = {P(StarPolygon(-0.2f, 0.1f, 0.8f, 0.2f, 4, 0)), P(StarPolygon(0.55f, -0.55f, 0.38f, 0.1f, 4, 0))};
  m[EGlyph::ArrowLeft] = {P({-0.75f, 0, 0.45f, -0.8f, 0.45f, 0.8f})};
  m[EGlyph::Minus] = {S(-0.6f, 0, 0.6f, 0, 0.17f)};
  m[EGlyph::TrayOut] = {S(-0.75f, 0.2f, -0.75f, 0.75f, 0.12f), S(-0.75f, 0.75f, 0.75f, 0.75f, 0.12f),
                        S(0.75f, 0.75f, 0.75f, 0.2f, 0.12f), S(0, 0.4f, 0, -0.4f, 0.13f),
                        P({-0.42f, -0.25f, 0, -0.9f, 0.42f, -0.25f})};
  m[EGlyph::Tray] = {R(-0.9f, -0.3f, 0.9f, 0.7f, 0.15f), R(-0.7f, -0.15f, 0.7f, 0.45f, 0.08f, true)};
  m[EGlyph::Check] = {S(-0.6f, 0.05f, -0.15f, 0.5f, 0.17f), S(-0.15f, 0.5f, 0.7f, -0.55f, 0.17f)};
  // Nine small tiles lying apart, one of them turned.
  m[EGlyph::Spread] = {R(-0.9f, -0.9f, -0.4f, -0.4f, 0.06f), R(-0.25f, -0.85f, 0.25f, -0.35f, 0.06f),
                       R(0.4f, -0.9f, 0.9f, -0.4f, 0.06f),   R(-0.85f, -0.25f, -0.35f, 0.25f, 0.06f),
                       R(-0.2f, -0.2f, 0.2f, 0.2f, 0.06f),   R(0.4f, -0.2f, 0.9f, 0.3f, 0.06f),
                       R(-0.9f, 0.4f, -0.4f, 0.9f, 0.06f),   R(-0.25f, 0.35f, 0.25f, 0.85f, 0.06f),
                       R(0.4f, 0.4f, 0.9f, 0.9f, 0.06f)};
  // A tile above two open trays, the way parting to either side, a tile in each tray.
  m[EGlyph::Sort] = {R(-0.25f, -0.95f, 0.25f, -0.5f, 0.06f),  S(-0.18f, -0.35f, -0.5f, 0.05f, 0.09f),
                     S(0.18f, -0.35f, 0.5f, 0.05f, 0.09f),     S(-0.95f, 0.25f, -0.95f, 0.85f, 0.09f),
                     S(-0.95f, 0.85f, -0.1f, 0.85f, 0.09f),    S(-0.1f, 0.85f, -0.1f, 0.25f, 0.09f),
                     S(0.1f, 0.25f, 0.1f, 0.85f, 0.09f),       S(0.1f, 0.85f, 0.95f, 0.85f, 0.09f),
                     S(0.95f, 0.85f, 0.95f, 0.25f, 0.09f),     R(-0.75f, 0.32f, -0.3f, 0.7f, 0.05f),
                     R(0.3f, 0.32f, 0.75f, 0.7f, 0.05f)};
  // Three bars rising over a base line, beside an upright axis.
  m[EGlyph::Chart] = {S(-0.9f, -0.9f, -0.9f, 0.85f, 0.1f),       S(-0.9f, 0.85f, 0.95f, 0.85f, 0.1f),
                      R(-0.62f, 0.15f, -0.26f, 0.7f, 0.05f),     R(-0.08f, -0.3f, 0.28f, 0.7f, 0.05f),
                      R(0.46f, -0.8f, 0.82f, 0.7f, 0.05f)};
  // The table's edge with four pieces lying on it, all in view.
  m[EGlyph::WholeTable] = {R(-0.95f, -0.75f, 0.95f, 0.75f, 0.1f), R(-0.8f, -0.6f, 0.8f, 0.6f, 0.02f, true),
                           R(-0.6f, -0.42f, -0.1f, -0.06f, 0.05f), R(0.1f, -0.42f, 0.6f, -0.06f, 0.05f),
                           R(-0.6f, 0.06f, -0.1f, 0.42f, 0.05f), R(0.1f, 0.06f, 0.6f, 0.42f, 0.05f)};
}

std::map<EGlyph, TGlyph> BuildGlyphs() {
  std::map<EGlyph, TGlyph> m;
  AddScreenGlyphs(m);
  AddToolGlyphs(m);
  return m;
}

float PrimSdf(const TPrim& p, float x, float y) {
  const float* a = p.P;
  switch (p.Kind) {
    case TPrim::Circle: return SdCircle(x, y, a[0], a[1], a[2]);
    case TPrim::Segment: return SdSegment(x, y, a[0], a[1], a[2], a[3], a[4]);
    case TPrim::Arc: return SdArc(x, y, a[0], a[1], a[2], a[3], a[4], a[5]);
    case TPrim::Polygon: return SdPolygon(x, y, p.Points.data(), int(p.Points.size() / 2));
    case TPrim::RoundRect: return SdRoundRect(x, y, a[0], a[1], a[2], a[3], a[4]);
  }
  return 1e9f;
}

}  // namespace

const TGlyph& Glyph(EGlyph g) {
  static const std::map<EGlyph, TGlyph> glyphs = BuildGlyphs();
  return glyphs.at(g);
}

float GlyphSdf(const TGlyph& glyph, float ux, float uy) {
  float d = 1e9f;
  for (const TPrim& p : glyph) {
    float pd = PrimSdf(p, ux, uy);
    d = p.Cut ? std::max(d, -pd) : std::min(d, pd);
  }
  return d;
}

void DrawGlyph(TRaster& r, EGlyph g, float cx, float cy, float scale, TColor top, TColor bottom,
               float shadowAlpha, float rotation) {
  const TGlyph& glyph = Glyph(g);
  float c = std::cos(rotation), s = std::sin(rotation);
  auto sdf = [&](float x, float y) {
    float ux = (x - cx) / scale, uy = (y - cy) / scale;
    return GlyphSdf(glyph, ux * c + uy * s, -ux * s + uy * c) * scale;
  };
  int pad = int(scale * 1.3f) + 3;
  TBox box{int(cx) - pad, int(cy) - pad, int(cx) + pad + 1, int(cy) + pad + 1};
  if (shadowAlpha > 0) {
    float off = std::max(1.f, scale * 0.08f);
    SoftShadow(r, box, sdf, off, off, std::max(0.8f, scale * 0.06f), TColor{0, 0, 0, shadowAlpha});
  }
  FillSdf(r, box, sdf, [&](float x, float y, float d) {
    TColor col = Mix(top, bottom, Clamp01((y - (cy - scale)) / (2 * scale)));
    return Shade(col, BevelLight(sdf, x, y, d, std::max(1.5f, scale * 0.12f), 0.35f));
  });
}

}  // namespace qj::datagen
