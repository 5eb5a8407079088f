// The icon: one golden jigsaw piece on a rounded blue tile, drawn at each size rather than scaled
// down, so the small sizes stay sharp.
#include "tools/datagen/Icons.h"

#include <algorithm>
#include <stdexcept>

#include "platform/PngCodec.h"
#include "tools/datagen/Output.h"
#include "tools/datagen/Raster.h"

namespace qj::datagen {
namespace {

constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// A piece in a unit square scaled by `s`: a body with a knob to the right and on top and a hole
// on the left.
float SdPiece(float x, float y, float s) {
  const float body = SdRoundRect(x, y, 0.30f * s, 0.34f * s, 0.70f * s, 0.74f * s, 0.03f * s);
  const float right = SdCircle(x, y, 0.76f * s, 0.54f * s, 0.10f * s);
  const float top = SdCircle(x, y, 0.50f * s, 0.28f * s, 0.10f * s);
  const float hole = SdCircle(x, y, 0.30f * s, 0.54f * s, 0.09f * s);
  return std::max(std::min({body, right, top}), -hole);
}

TRaster DrawIcon(int size) {
  const float s = float(size);
  TRaster r(size, size);
  const float margin = std::max(0.5f, s / 32);
  auto tile = [&](float x, float y) { return SdRoundRect(x, y, margin, margin, s - margin, s - margin, s * 0.18f); };
  FillSdf(r, tile, [&](float, float y, float) { return Mix(Rgb(70, 130, 200), Rgb(28, 60, 120), y / s); });
  auto piece = [&](float x, float y) { return SdPiece(x, y, s); };
  if (size >= 32) SoftShadow(r, r.Bounds(), piece, s / 40, s / 30, s / 24, Rgb(0, 0, 0, 0.45f));
  FillSdf(r, piece, [&](float x, float y, float d) {
    const TColor gold = Mix(Rgb(255, 214, 90), Rgb(222, 140, 30), (x + y) / (2 * s));
    return d > -s / 40 ? Shade(gold, -0.35f) : gold;  // a darker rim keeps the outline at 16 pixels
  });
  return r;
}

// Premultiplied raster colours become straight colours with their alpha in the alpha byte.
TPixelBuffer WithAlphaByte(const TRaster& r) {
  TPixelBuffer pixels(r.Width(), r.Height());
  for (int y = 0; y < r.Height(); ++y) {
    for (int x = 0; x < r.Width(); ++x) {
      const TColor c = r.Row(y)[x];
      const float a = Clamp01(c.A);
      const TColor straight = a > 0 ? TColor{c.R / a, c.G / a, c.B / a, a} : TColor{0, 0, 0, 0};
      pixels.At(x, y) = ToPixel(straight) | (TPixel(a * 255 + 0.5f) << 24);
    }
  }
  return pixels;
}

}  // namespace

void WriteIcons(const std::string& folder) {
  const TOutput out(folder);
  for (int size : kIconSizes) {
    std::vector<uint8_t> png;
    std::string error;
    if (!EncodePng(WithAlphaByte(DrawIcon(size)), png, error)) throw std::runtime_error(error);
    const std::string n = std::to_string(size);
    out.Bytes("hicolor/" + n + "x" + n + "/apps/quorvane-jigsaw.png", png);
  }
}

}  // namespace qj::datagen
