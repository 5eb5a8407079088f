// Lettering: the letters' coverage from the font, widened into an outline and a shadow, and the
// three layers laid over each other row by row.
#include "screens/ULettering.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/UMiscelaneous.h"
#include "platform/FontRasterizer.h"

namespace qj {
namespace {

// Coverage, 0..255 a pixel, of a field the size of the finished lettering.
struct TField {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Cover;
  uint8_t* Row(int y) { return Cover.data() + size_t(y) * size_t(Width); }
  const uint8_t* Row(int y) const { return Cover.data() + size_t(y) * size_t(Width); }
};

TFontChoice LetteringFont(const TLettering& style) {
  return {style.Font.empty() ? CurrentFontName() : style.Font, style.Size, 0, style.Bold};
}

int Margin(const TLettering& style) { return std::max(0, style.OutlineWidth); }

// The letters' own coverage, `margin` pixels in from the top and left edges of the field.
TField Letters(const std::string& text, const TLettering& style) {
  TField field;
  TGlyphMask mask;
  IFontRasterizer* fonts = FontRasterizer();
  if (!fonts || text.empty() || !fonts->Render(LetteringFont(style), text, mask) || mask.Width <= 0) return field;
  const int margin = Margin(style), shadow = std::max(0, style.ShadowOffset);
  field.Width = mask.Width + 2 * margin + shadow;
  field.Height = mask.Height + 2 * margin + shadow;
  field.Cover.assign(size_t(field.Width) * size_t(field.Height), 0);
  for (int y = 0; y < mask.Height; ++y)
    std::copy_n(mask.Coverage.data() + size_t(y) * size_t(mask.Width), mask.Width, field.Row(y + margin) + margin);
  return field;
}

// Every pixel takes the highest coverage within `radius` of it, (dx, dy) further on: the
// letters grown into a round outline, or moved into a shadow.
TField Widen(const TField& in, int radius, int dx, int dy) {
  TField out{in.Width, in.Height, std::vector<uint8_t>(in.Cover.size(), 0)};
  for (int oy = -radius; oy <= radius; ++oy) {
    const int reach = int(std::lround(std::sqrt(double(radius * radius - oy * oy))));
    const int shift = dy + oy;
    for (int y = std::max(0, shift); y < std::min(in.Height, in.Height + shift); ++y) {
      const uint8_t* src = in.Row(y - shift);
      uint8_t* dst = out.Row(y);
      for (int ox = -reach; ox <= reach; ++ox) {
        const int move = dx + ox;
        const int x1 = std::min(in.Width, in.Width + move);
        for (int x = std::max(0, move); x < x1; ++x) dst[x] = std::max(dst[x], src[x - move]);
      }
    }
  }
  return out;
}

uint32_t Channel(TPixel p, int shift) { return (p >> shift) & 255; }

// `colour` at `alpha` over a premultiplied row value.
void Over(uint32_t (&px)[4], TPixel colour, uint32_t alpha) {
  for (int c = 0; c < 3; ++c) px[c] = (Channel(colour, 16 - 8 * c) * alpha + px[c] * (255 - alpha)) / 255;
  px[3] = alpha + px[3] * (255 - alpha) / 255;
}

TPixel Mix(TPixel a, TPixel b, int part, int whole) {
  const auto one = [&](int shift) {
    return unsigned((int(Channel(a, shift)) * (whole - part) + int(Channel(b, shift)) * part) / std::max(1, whole));
  };
  return MakePixel(one(16), one(8), one(0));
}

}  // namespace

TTextSize MeasureLettering(const std::string& text, const TLettering& style) {
  int width = 0, height = 0;
  IFontRasterizer* fonts = FontRasterizer();
  if (!fonts || !fonts->Measure(LetteringFont(style), text, width, height)) return {};
  const int extra = 2 * Margin(style) + std::max(0, style.ShadowOffset);
  return {width + extra, height + extra};
}

void RenderLettering(TPixelBuffer& surface, const std::string& text, const TLettering& style) {
  const TField letters = Letters(text, style);
  surface.Resize(std::max(1, letters.Width), std::max(1, letters.Height));
  if (letters.Cover.empty()) return;
  const int shadowStep = std::max(0, style.ShadowOffset), margin = Margin(style);
  const TField outline = Widen(letters, style.OutlineWidth, 0, 0);
  const TField shadow = Widen(letters, style.OutlineWidth, shadowStep, shadowStep);
  const int letterHeight = letters.Height - 2 * margin - shadowStep;
  for (int y = 0; y < letters.Height; ++y) {
    const TPixel fill = Mix(style.Top, style.Bottom, std::clamp(y - margin, 0, letterHeight), letterHeight);
    const uint8_t *s = shadow.Row(y), *o = outline.Row(y), *l = letters.Row(y);
    TPixel* out = surface.Row(y);
    for (int x = 0; x < letters.Width; ++x) {
      uint32_t px[4] = {0, 0, 0, 0};
      Over(px, style.Shadow, s[x]);
      Over(px, style.Outline, o[x]);
      Over(px, fill, l[x]);
      // Premultiplied, the edges fade towards black; only untouched pixels are key colour.
      out[x] = px[3] == 0 ? 0 : std::max<TPixel>(MakePixel(px[0], px[1], px[2]), 1);
    }
  }
  surface.MarkChanged();
}

int FitLettering(const std::string& text, TLettering style, int width, int smallest) {
  while (style.Size > smallest && MeasureLettering(text, style).Width > width) --style.Size;
  return style.Size;
}

}  // namespace qj
