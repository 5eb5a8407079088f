// Classic (warm wood), Midnight (cool glass) and Meadow (bright spring) palettes.
#include "tools/datagen/Themes.h"

namespace qj::datagen {

const std::vector<TThemeArt>& ThemeArts() {
  static const std::vector<TThemeArt> themes = {
      {0, "Classic", Rgb(176, 118, 62), Rgb(222, 172, 110), Rgb(96, 56, 26), Rgb(236, 190, 120),
       Rgb(250, 240, 218), Rgb(236, 218, 182), Rgb(232, 146, 40), Rgb(54, 32, 14), Rgb(255, 246, 214),
       Rgb(204, 40, 36), Rgb(92, 52, 22), 1.f, 0.15f},
      {1, "Midnight", Rgb(38, 58, 104), Rgb(88, 122, 190), Rgb(14, 22, 44), Rgb(64, 116, 196),
       Rgb(28, 40, 70), Rgb(16, 24, 46), Rgb(92, 214, 255), Rgb(226, 236, 252), Rgb(222, 238, 255),
       Rgb(70, 210, 255), Rgb(200, 232, 255), 0.f, 0.55f},
      {2, "Meadow", Rgb(104, 170, 72), Rgb(172, 222, 118), Rgb(46, 96, 36), Rgb(246, 208, 84),
       Rgb(246, 252, 232), Rgb(222, 240, 196), Rgb(250, 170, 40), Rgb(30, 62, 22), Rgb(255, 252, 220),
       Rgb(248, 196, 32), Rgb(255, 255, 240), 0.f, 0.35f},
  };
  return themes;
}

float WoodGrain(float x, float y, uint32_t seed) {
  float warp = Fbm(x * 0.01f, y * 0.05f, 3, seed) * 6.f;
  float rings = std::sin((y * 0.35f + warp * 3.f) + Fbm(x * 0.004f, y * 0.02f, 2, seed + 7) * 9.f);
  float fibre = ValueNoise(x * 0.08f, y * 1.3f, seed + 3) - 0.5f;
  return rings * 0.6f + fibre * 0.8f;
}

}  // namespace qj::datagen
