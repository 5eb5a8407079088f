// The draw list of a frame and the shadow blit it paints with.
#include "graphics/UDrawList.h"

#include <algorithm>

namespace qj {
namespace {

constexpr int kBandRows = 32;

}  // namespace

TDrawOp& TDrawList::Queue(const TPixelBuffer& image, TPoint at, TDrawOp::TType type) {
  TDrawOp op;
  op.Type = type;
  op.Image = &image;
  op.At = at;
  op.Reach = MakeRect(at.X, at.Y, image.Width(), image.Height());
  return FOps.emplace_back(op);
}

void TDrawList::QueueStretch(const TPixelBuffer& image, const TRect& dest, const TRect& source) {
  TDrawOp& op = Queue(image, {dest.Left, dest.Top}, TDrawOp::StretchOp);
  op.Reach = op.Dest = dest;
  op.Source = source;
}

void TDrawList::Run(TSurface& target, const TDrawOp& op) {
  switch (op.Type) {
    case TDrawOp::CopyOp:
    case TDrawOp::KeyedOp:
      BltFast(target, op.At.X, op.At.Y, *op.Image, op.Type == TDrawOp::KeyedOp);
      break;
    case TDrawOp::AlphaOp:
      BltAlpha(target, op.At.X, op.At.Y, *op.Image, op.Alpha, true);
      break;
    case TDrawOp::RotatedOp:
      DrawRotated(target, op.At.X, op.At.Y, *op.Image, op.Angle, op.CenterX, op.CenterY);
      break;
    case TDrawOp::StretchOp:
      Blt(target, op.Dest, *op.Image, op.Source, true);
      break;
    case TDrawOp::ShadowOp:
      ShadeThroughMask(&target, op.At.X, op.At.Y, op.Image);
      break;
  }
}

void TDrawList::Paint(TSurface& target) {
  // Bands pay only when several blits share them (between hooks there may be just one).
  if (FOps.size() <= 2) {
    for (const TDrawOp& op : FOps) Run(target, op);
    FOps.clear();
    return;
  }
  const bool clipped = target.HasClipper();
  const TRect clip = target.ClipRect(), area = target.DrawArea();
  for (int top = area.Top; top < area.Bottom; top += kBandRows) {
    const TRect band{area.Left, top, area.Right, std::min(top + kBandRows, area.Bottom)};
    target.AttachClipper(band);
    for (const TDrawOp& op : FOps)
      if (op.Reach.Top < band.Bottom && op.Reach.Bottom > band.Top) Run(target, op);
  }
  if (clipped)
    target.AttachClipper(clip);
  else
    target.DetachClipper();
  FOps.clear();
}

void ShadeThroughMask(TSurface* target, int x, int y, const TPixelBuffer* mask) {
  if (!target || !mask || target->Empty() || mask->Empty()) return;
  const TRect area = Intersect(MakeRect(x, y, mask->Width(), mask->Height()), target->DrawArea());
  for (int row = area.Top; row < area.Bottom; ++row) {
    const TPixel* m = mask->Row(row - y) + (area.Left - x);
    TPixel* d = target->Row(row) + area.Left;
    for (int i = 0; i < area.Width(); ++i) {
      const unsigned a = m[i] >> 24;
      if (a == 0) continue;
      if (a == 255) {
        d[i] = 0;
        continue;
      }
      const unsigned k = a / 2, p = d[i];
      const unsigned r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      d[i] = (p & 0xFF000000u) | ((r > k ? r - k : 0) << 16) | ((g > k ? g - k : 0) << 8) | (b > k ? b - k : 0);
    }
  }
}

}  // namespace qj
