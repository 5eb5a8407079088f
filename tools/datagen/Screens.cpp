// Screen art that does not follow the theme: the main-menu picture with its buttons and the
// cut-style icons of the puzzle maker.
#include <numbers>

#include "tools/datagen/DataSet.h"
#include "tools/datagen/Glyphs.h"

namespace qj::datagen {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr int kMenuW = 1600, kMenuH = 1200;

// Cut-style icons: the style's pattern of cuts over a small grid of points.
TMyDib StyleIcon(int style) {
  TRaster r(26, 22);
  FillSdf(r, [](float x, float y) { return SdRoundRect(x, y, 1, 1, 25, 21, 3); },
          [](float, float y, float) { return Mix(Rgb(250, 246, 236), Rgb(214, 204, 186), y / 22); });
  auto line = [&](float ax, float ay, float bx, float by) {
    FillSdf(r, [&](float x, float y) { return SdSegment(x, y, ax, ay, bx, by, 0.6f); },
            [](float, float, float) { return Rgb(70, 52, 36); });
  };
  const float s = 6;
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 4; ++j) {
      float x = 1 + i * s, y = 2 + j * s;
      switch (style) {
        case 0: line(x, y, x + s, y); line(x, y, x, y + s); break;
        case 1: if ((i + j) % 2) { line(x, y, x + s, y + s); line(x, y, x + s, y - s); } break;
        case 2: line(x, y, x + s, y); if ((i + j) % 2) line(x, y, x + s, y + s); else line(x + s, y, x, y + s); break;
        case 3: line(x, y + (i % 2) * 2, x + s, y + ((i + 1) % 2) * 2); if ((i + j) % 2) line(x, y, x, y + s); break;
        case 4: line(x, y, x + s, y); line(x, y, x, y + s); if ((i + j) % 2 == 0) line(x + 2, y + 2, x + 4, y + 4); break;
        case 5: line(x, y, x + s / 2, y + s / 2); line(x + s / 2, y + s / 2, x + s, y); if (i % 2) line(x + s / 2, y + s / 2, x + s / 2, y + s); break;
        case 6: line(x, y, x + s, y + 2); line(x + s, y + 2, x + s - 2, y + s); break;
        case 7: line(x, y, x + s, y); line(x + (j % 2) * s / 2, y, x + (j % 2) * s / 2, y + s); break;
        default: break;
      }
    }
  if (style == 8)
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 3; ++j) {
        float cx = 4 + i * 6, cy = 5 + j * 6;
        FillSdf(r, [&](float x, float y) { return std::fabs(SdCircle(x, y, cx, cy, 2.6f)) - 0.6f; },
                [](float, float, float) { return Rgb(70, 52, 36); });
      }
  return ToKeyedDib(r, Rgb(60, 44, 30));
}

struct TPlaque {
  int Left, Top, Width, Height;
  EGlyph Icon;
  TColor Colour;
};

// Layout positions 1..7: play, options, continue, maker, help, credits, quit. Positions 4 and 5
// are not shown by the menu and stay off the picture.
std::vector<TPlaque> Plaques() {
  const int w = 230, h = 72, left = kMenuW - 270;
  return {{left, 120, w, h, EGlyph::Play, Rgb(96, 178, 84)},     {left, 208, w, h, EGlyph::Gear, Rgb(90, 140, 210)},
          {left, 296, w, h, EGlyph::Continue, Rgb(224, 150, 60)}, {left, 560, w, h, EGlyph::Piece, Rgb(160, 110, 200)},
          {left, 648, w, h, EGlyph::Question, Rgb(110, 180, 190)}, {left, 384, w, h, EGlyph::Star, Rgb(230, 190, 70)},
          {left, 472, w, h, EGlyph::Power, Rgb(210, 86, 76)}};
}

void DrawPlaque(TRaster& r, const TPlaque& p, int x, int y, bool lit) {
  float l = float(x), t = float(y), rt = l + p.Width, b = t + p.Height;
  TBox box{x - 12, y - 12, x + p.Width + 12, y + p.Height + 12};
  auto shape = [&](float px, float py) { return SdRoundRect(px, py, l + 4, t + 4, rt - 4, b - 4, p.Height / 2.f - 4); };
  if (lit) SoftShadow(r, box, shape, 0, 0, 6, WithAlpha(Shade(p.Colour, 0.5f), 0.9f));
  else SoftShadow(r, box, shape, 3, 4, 5, TColor{0, 0, 0, 0.5f});
  FillSdf(r, box, shape, [&](float px, float py, float d) {
    TColor c = Mix(Shade(p.Colour, lit ? 0.45f : 0.25f), Shade(p.Colour, lit ? -0.05f : -0.3f), (py - t) / p.Height);
    if (py < t + p.Height * 0.45f) c = Shade(c, 0.12f);
    return Shade(c, BevelLight(shape, px, py, d, 6, 0.5f));
  });
  // The icon keeps to the square at the left end: the game writes the caption beside it.
  DrawGlyph(r, p.Icon, l + p.Height * 0.58f, t + p.Height / 2.f, p.Height * 0.28f, TColor{1, 1, 1, 1}, Rgb(236, 240, 246));
}

void MenuBackdrop(TRaster& r) {
  FillSdf(r, [](float, float) { return -10.f; }, [](float x, float y, float) {
    float g = Clamp01(1 - std::hypot((x - 700) / 1300, (y - 450) / 1000));
    float n = Fbm(x * 0.004f, y * 0.004f, 4, 91);
    return Mix(Rgb(40, 26, 52), Rgb(226, 140, 92), g * g * 0.9f + (n - 0.5f) * 0.25f);
  });
  TRng rng(7);
  for (int i = 0; i < 90; ++i) {
    float cx = rng.Range(0, kMenuW), cy = rng.Range(0, kMenuH), rad = rng.Range(10, 60);
    TColor c = WithAlpha(Mix(Rgb(255, 220, 160), Rgb(255, 150, 190), rng.Uniform()), rng.Range(0.05f, 0.18f));
    FillSdf(r, {int(cx - rad - 2), int(cy - rad - 2), int(cx + rad + 3), int(cy + rad + 3)},
            [&](float x, float y) { return SdCircle(x, y, cx, cy, rad); }, [&](float, float, float) { return c; });
  }
  const TColor colours[6] = {Rgb(232, 96, 80), Rgb(80, 160, 230), Rgb(250, 200, 70),
                             Rgb(110, 196, 110), Rgb(190, 120, 220), Rgb(250, 150, 60)};
  for (int i = 0; i < 60; ++i) {
    float cx = rng.Range(30, kMenuW - 330), cy = rng.Range(30, kMenuH - 30), s = rng.Range(26, 60);
    if (cx > 700 && cy < 600 && rng.Uniform() < 0.7f) continue;  // keep the ticker's sky calm
    TColor c = colours[rng.Int(6)];
    DrawGlyph(r, EGlyph::Piece, cx, cy, s, Shade(c, 0.2f), Shade(c, -0.25f), 0.5f, rng.Range(0, 2 * kPi));
  }
}

void WriteMainMenu(const TOutput& out, const TLayoutList& layout) {
  std::vector<std::string> names = layout.Block("MainOptions", 8);
  TRaster r(kMenuW, kMenuH);
  MenuBackdrop(r);
  FillSdf(r, {kMenuW - 320, 60, kMenuW, 620}, [](float x, float y) {
    return SdRoundRect(x, y, kMenuW - 300, 80, kMenuW - 20, 600, 24); },
    [](float, float, float) { return Rgb(20, 14, 30, 0.45f); });
  std::vector<TPlaque> plaques = Plaques();
  std::vector<std::string> coord;
  for (size_t p = 0; p < plaques.size(); ++p) {
    const TPlaque& q = plaques[p];
    if (p != 3 && p != 4) DrawPlaque(r, q, q.Left, q.Top, false);
    AddLabelledRect(coord, "Position" + std::to_string(p + 1), kMenuW - q.Left, q.Top, q.Width, q.Height);
    TRaster lit(q.Width, q.Height);
    DrawPlaque(lit, q, 0, 0, true);
    out.Plain(names[p + 1], ToKeyedDib(lit, Shade(q.Colour, -0.3f)));
  }
  out.Jpeg(names[0], ToOpaqueDib(r, Rgb(0, 0, 0)), 90);
  out.Coord(names[0], coord);
}

}  // namespace

void WriteScreens(const TOutput& out, const TLayoutList& layout) {
  std::vector<std::string> styles = layout.Block("PuzzleCutterPieceShapes", 9);
  for (int s = 0; s < 9; ++s) out.Plain(styles[s], StyleIcon(s));
  WriteMainMenu(out, layout);
}

}  // namespace qj::datagen
