// Text on canvases: the rasteriser's coverage blended in the font colour over the target.
#include "platform/Canvas.h"
#include "platform/FontRasterizer.h"

namespace qj {
namespace {

// (a * x + (255 - a) * y) / 255, rounded, per colour byte; the target's alpha byte is kept
// because surfaces carry data there.
inline TPixel Blend(TPixel dst, TPixel colour, unsigned a) {
  const unsigned inv = 255 - a;
  auto mix = [&](unsigned shift) {
    const unsigned v = ((colour >> shift) & 255) * a + ((dst >> shift) & 255) * inv + 128;
    return ((v + (v >> 8)) >> 8) << shift;
  };
  return (dst & 0xFF000000u) | mix(16) | mix(8) | mix(0);
}

void BlendRow(TPixel* dst, const uint8_t* coverage, int count, TPixel colour) {
  for (int i = 0; i < count; ++i) {
    const unsigned a = coverage[i];
    if (a == 255) dst[i] = (dst[i] & 0xFF000000u) | colour;
    else if (a) dst[i] = Blend(dst[i], colour, a);
  }
}

}  // namespace

int TCanvas::TextWidth(const std::string& text) {
  int w = 0, h = 0;
  IFontRasterizer* r = FontRasterizer();
  return r && r->Measure(Font, text, w, h) ? w : 0;
}

int TCanvas::TextHeight(const std::string& text) {
  int w = 0, h = 0;
  IFontRasterizer* r = FontRasterizer();
  return r && r->Measure(Font, text, w, h) ? h : 0;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  IFontRasterizer* r = FontRasterizer();
  TGlyphMask mask;
  if (!r || !r->Render(Font, text, mask)) return;
  const TRect box = MakeRect(x, y, mask.Width, mask.Height);
  if (!BrushClear) FTarget.FillRect(box, BrushColor & kRgbMask);
  const TRect clip = Intersect(box, FTarget.Bounds());
  if (clip.IsEmpty() || mask.Coverage.size() < size_t(mask.Width) * size_t(mask.Height)) return;
  const TPixel colour = Font.Color & kRgbMask;
  for (int row = clip.Top; row < clip.Bottom; ++row) {
    const uint8_t* cov = mask.Coverage.data() + size_t(row - y) * size_t(mask.Width) + size_t(clip.Left - x);
    BlendRow(FTarget.Row(row) + clip.Left, cov, clip.Width(), colour);
  }
}

}  // namespace qj
