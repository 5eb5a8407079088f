// Table backgrounds (1600 x 1200) and the sample jigsaw pictures, all procedural.
#include <numbers>

#include "tools/datagen/DataSet.h"
#include "tools/datagen/Glyphs.h"
#include "tools/datagen/Scenes.h"

namespace qj::datagen {
namespace {

constexpr int kTableW = 1600, kTableH = 1200;

TMyDib Wood() {
  return PerPixel(kTableW, kTableH, [](float x, float y) {
    int plank = int(y / 150);
    float shift = plank * 337.f, tone = ValueNoise(plank * 3.1f, 0.5f, 5) - 0.5f;
    float g = WoodGrain(x + shift, y * 1.0f + plank * 40, 21 + plank);
    TColor c = Shade(Mix(Rgb(150, 96, 52), Rgb(196, 140, 84), 0.5f + g * 0.3f), tone * 0.25f);
    float seam = std::fabs(std::fmod(y, 150.f) - 0.5f);
    int board = int((x + plank * 523) / 700);
    float joint = std::fabs(std::fmod(x + plank * 523, 700.f) - 1.f);
    if (seam < 2.5f || joint < 2.f) c = Shade(c, -0.45f);
    return Shade(c, (ValueNoise(board * 1.7f, plank * 2.3f, 9) - 0.5f) * 0.12f);
  });
}

TMyDib Felt() {
  return PerPixel(kTableW, kTableH, [](float x, float y) {
    float fine = ValueNoise(x * 0.9f, y * 0.9f, 3) * 0.5f + ValueNoise(x * 0.35f, y * 0.35f, 4) * 0.5f;
    float mottle = Fbm(x * 0.004f, y * 0.004f, 3, 8);
    return Shade(Mix(Rgb(28, 92, 58), Rgb(46, 124, 78), mottle), (fine - 0.5f) * 0.22f);
  });
}

TMyDib Marble() {
  return PerPixel(kTableW, kTableH, [](float x, float y) {
    float turb = Fbm(x * 0.003f, y * 0.003f, 5, 12);
    float vein = std::fabs(std::sin(x * 0.004f + y * 0.002f + turb * 9));
    float fine = std::fabs(std::sin(x * 0.011f - y * 0.006f + Fbm(x * 0.006f, y * 0.006f, 4, 40) * 12));
    TColor c = Mix(Rgb(236, 234, 228), Rgb(212, 208, 202), turb);
    c = Mix(Rgb(120, 118, 124), c, SmoothStep(0.0f, 0.12f, vein));
    return Mix(Rgb(170, 166, 168), c, SmoothStep(0.0f, 0.05f, fine) * 0.6f + 0.4f);
  });
}

TMyDib Linen() {
  return PerPixel(kTableW, kTableH, [](float x, float y) {
    float warp = std::sin(x * 1.6f) * 0.5f + 0.5f, weft = std::sin(y * 1.6f) * 0.5f + 0.5f;
    float slub = ValueNoise(x * 0.02f, y * 0.6f, 14) * 0.5f + ValueNoise(x * 0.6f, y * 0.02f, 15) * 0.5f;
    float weave = (warp * 0.5f + weft * 0.5f) * 0.7f + slub * 0.3f;
    return Shade(Mix(Rgb(206, 192, 164), Rgb(232, 222, 198), weave), (Fbm(x * 0.003f, y * 0.003f, 3, 2) - 0.5f) * 0.15f);
  });
}

TMyDib Slate() {
  return PerPixel(kTableW, kTableH, [](float x, float y) {
    float layer = Fbm(x * 0.002f, y * 0.012f, 5, 31);
    float grit = ValueNoise(x * 0.7f, y * 0.7f, 32);
    TColor c = Mix(Rgb(34, 42, 56), Rgb(64, 76, 94), layer);
    return Shade(c, (grit - 0.5f) * 0.12f);
  });
}

}  // namespace

TMyDib WritePictures(const TOutput& out) {
  TMyDib wood = Wood();
  out.Jpeg("Graphics\\Backgrounds\\Wood", wood, 88);
  out.Jpeg("Graphics\\Backgrounds\\Felt", Felt(), 88);
  out.Jpeg("Graphics\\Backgrounds\\Marble", Marble(), 88);
  out.Jpeg("Graphics\\Backgrounds\\Linen", Linen(), 88);
  out.Jpeg("Graphics\\Backgrounds\\Slate", Slate(), 88);
  out.Jpeg("Jigsaws\\Flower Meadow", FlowerMeadow(), 90);
  out.Jpeg("Jigsaws\\Stained Glass", StainedGlass(), 90);
  out.Jpeg("Jigsaws\\Harbour Town", HarbourTown(), 90);
  out.Jpeg("Jigsaws\\Autumn Forest", AutumnForest(), 90);
  return wood;
}

}  // namespace qj::datagen
