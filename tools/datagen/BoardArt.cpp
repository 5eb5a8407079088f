// Play-table art: menu bar and its buttons, scroll buttons, cursors, loupe, pins, stars,
// the turning solids and the hidden-picture card.
#include <numbers>

#include "tools/datagen/DataSet.h"
#include "tools/datagen/Glyphs.h"
#include "tools/datagen/Solids.h"

namespace qj::datagen {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Blocks whose reader is free to use the themed or the plain name get both.
void Both(const TOutput& out, const std::string& base, const TThemeArt& t, const TMyDib& dib) {
  out.Themed(base, t.FileNr, dib);
  if (t.FileNr == 0) out.Plain(base, dib);
}

void MenuBar(const TOutput& out, const TThemeArt& t) {
  TRaster r(400, 60);
  DrawPanel(r, -12, 0, 412, 72, 10, t, 0);
  FillSdf(r, [](float, float y) { return std::fabs(y - 3.5f) - 0.6f; },
          [&](float, float, float) { return WithAlpha(Shade(t.Accent, 0.3f), 0.5f); });
  out.Themed("Graphics\\Menus\\Menu", t.FileNr, ToKeyedDib(r, Matte(t)));
  std::vector<std::string> lines{"MenuBar"};
  AddRect(lines, 40, 4, 360, 8);   // stretched columns; tray icon drop; button top
  AddRect(lines, 0, 0, -12, 0);    // tray icons docked 12 pixels from the right edge
  out.ThemedCoord("Graphics\\Menus\\Menu", t.FileNr, lines);
}

void MenuButtons(const TOutput& out, const TLayoutList& layout, const TThemeArt& t) {
  std::vector<std::string> names = layout.Block("BoardMenuOptions", 21);
  const float press[5] = {0, 1, 0, 0.35f, 0};
  const float tint[5] = {0, 0.1f, 0.18f, 0.5f, 0};
  for (int f = 0; f < 5; ++f) {
    TRaster r(64, 44);
    DrawPanel(r, 1, 1 + press[f], 63, 43, 9, t, press[f], WithAlpha(t.Accent, tint[f]));
    Both(out, names[f], t, ToKeyedDib(r, Matte(t)));
  }
  const EGlyph icons[] = {EGlyph::Exit,      EGlyph::Scatter, EGlyph::Loupe,        EGlyph::Pin,
                          EGlyph::Arrange,   EGlyph::Landscape, EGlyph::Palette,    EGlyph::Ghost,
                          EGlyph::SmallPicture, EGlyph::Magnet, EGlyph::Chevron,    EGlyph::Gear,
                          EGlyph::WholeTable, EGlyph::Spread,       EGlyph::Sort,       EGlyph::Chart};
  for (size_t i = 0; i < std::size(icons); ++i) {
    TRaster r(28, 28);
    DrawGlyph(r, icons[i], 14, 14, 11, Shade(t.Icon, 0.15f), Shade(t.Icon, -0.2f));
    Both(out, names[5 + i], t, ToKeyedDib(r, Matte(t)));
  }
}

void ScrollButtons(const TOutput& out, const TLayoutList& layout, const TThemeArt& t) {
  std::vector<std::string> names = layout.Block("ScrollButtons", 4);
  const float turn[4] = {0, kPi, kPi / 2, -kPi / 2};
  for (int i = 0; i < 4; ++i) {
    TRaster r(32, 32);
    FillSdf(r, [](float x, float y) { return SdCircle(x, y, 16, 16, 15); },
            [&](float, float, float) { return t.BodyDark; });
    auto face = [](float x, float y) { return SdCircle(x, y, 16, 16, 13.5f); };
    FillSdf(r, face, [&](float x, float y, float d) {
      return Shade(Mix(t.BodyLight, t.Body, y / 32), BevelLight(face, x, y, d, 4, 0.45f));
    });
    DrawGlyph(r, EGlyph::ArrowLeft, 15.5f, 16, 8, t.Icon, Shade(t.Icon, -0.2f), 0.4f, turn[i]);
    Both(out, names[i], t, ToKeyedDib(r, Matte(t)));
  }
}

void Cursors(const TOutput& out, const TLayoutList& layout, const TThemeArt& t) {
  std::vector<std::string> names = layout.Block("MenuCursors", 6);
  const EGlyph glyphs[6] = {EGlyph::Scatter, EGlyph::Wind, EGlyph::Pin, EGlyph::Target, EGlyph::Magnet, EGlyph::Sparkle};
  for (int i = 0; i < 6; ++i) {
    TRaster r(26, 26);
    FillSdf(r, [](float x, float y) { return SdCircle(x, y, 13, 13, 12); },
            [&](float, float y, float) { return Mix(Shade(t.Accent, 0.25f), Shade(t.Accent, -0.3f), y / 26); });
    DrawGlyph(r, glyphs[i], 13, 13, 7.5f, TColor{1, 1, 1, 1}, Rgb(230, 236, 244), 0.5f);
    Both(out, names[i], t, ToKeyedDib(r, Shade(t.Accent, -0.6f)));
  }
}

// The loupe frame: white where the magnified view shows, black outside, a metal ring between.
void Loupe(const TOutput& out, const TLayoutList& layout, const TThemeArt& t) {
  const std::string name = layout.Block("LoupeOptions", 1)[0];
  const int rx = 72, s = 2 * rx;
  TRaster r(s, s);
  FillSdf(r, [&](float x, float y) { return SdCircle(x, y, rx, rx, rx - 8.5f); },
          [](float, float, float) { return TColor{1, 1, 1, 1}; });
  auto ring = [&](float x, float y) { return std::fabs(SdCircle(x, y, rx, rx, rx - 5.f)) - 4.5f; };
  FillSdf(r, ring, [&](float x, float y, float d) {
    TColor metal = Mix(Shade(t.BodyLight, 0.3f), t.BodyDark, Clamp01((x + y) / (2.f * s)));
    return Shade(metal, BevelLight(ring, x, y, d, 3, 0.5f));
  });
  TMyDib dib = ToKeyedDib(r, Matte(t));
  Both(out, name, t, dib);
  std::vector<std::string> radii{std::to_string(rx), std::to_string(rx)};
  out.ThemedCoord(name, t.FileNr, radii);
  if (t.FileNr == 0) out.Coord(name, radii);
}

}  // namespace

void WriteBoardArt(const TOutput& out, const TLayoutList& layout, const TThemeArt& t) {
  MenuBar(out, t);
  MenuButtons(out, layout, t);
  ScrollButtons(out, layout, t);
  Cursors(out, layout, t);
  Loupe(out, layout, t);
  std::vector<std::string> pins = layout.Block("PinOptions", 24);
  for (size_t i = 0; i < pins.size(); ++i) Both(out, pins[i], t, PinFrame(t, int(i), int(pins.size())));
  std::vector<std::string> stars = layout.Block("Stars", 12);
  for (size_t i = 0; i < stars.size(); ++i) Both(out, stars[i], t, StarFrame(t, int(i), int(stars.size())));
  std::vector<std::string> solids = layout.Block("Animations", 3);
  for (int k = 0; k < 3; ++k)
    for (int f = 0; f < kSolidFrames; ++f) {
      char nr[8];
      std::snprintf(nr, sizeof nr, "%02d", f);
      Both(out, solids[k] + nr, t, SolidFrame(t, k, f));
    }
  Both(out, layout.Block("PuzzleSelector", 1)[0], t, HiddenPicture(t));
}

}  // namespace qj::datagen
