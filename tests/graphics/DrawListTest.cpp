// The draw list: blits painted band by band land as if drawn one after another.
#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/UDrawList.h"

namespace qj {
namespace {

// Distinct pixels; every seventh is the colour key, so keyed blits leave holes.
TSurface Patterned(int w, int h, int seed) {
  TSurface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.At(x, y) = (x + y + seed) % 7 ? MakePixel((x * 3 + seed) & 255, (y * 5) & 255, seed * 40, 128) : 0;
  return s;
}

bool SamePixels(const TSurface& a, const TSurface& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Bits(), a.Bits() + size_t(a.Width()) * size_t(a.Height()), b.Bits());
}

TEST(DrawList, BandsPaintThePixelsOfBlitsDrawnInTurn) {
  const TSurface tall = Patterned(40, 90, 1), wide = Patterned(70, 20, 2), mask = Patterned(30, 50, 3);
  TSurface banded = Patterned(100, 120, 4), direct = banded;
  const TRect clip{5, 3, 95, 110};
  banded.AttachClipper(clip);
  direct.AttachClipper(clip);

  TDrawList list;
  list.Queue(tall, {10, 5}, TDrawOp::KeyedOp);
  list.Queue(wide, {20, 30}, TDrawOp::AlphaOp).Alpha = 90;
  list.Queue(mask, {0, 25}, TDrawOp::ShadowOp);
  list.QueueStretch(wide, {30, 60, 90, 115}, {5, 2, 50, 18});
  list.Paint(banded);

  BltFast(direct, 10, 5, tall, true);
  BltAlpha(direct, 20, 30, wide, 90, true);
  ShadeThroughMask(&direct, 0, 25, &mask);
  Blt(direct, {30, 60, 90, 115}, wide, {5, 2, 50, 18}, true);

  EXPECT_TRUE(SamePixels(banded, direct));
  EXPECT_TRUE(banded.HasClipper());
  EXPECT_EQ(banded.ClipRect(), clip);
}

}  // namespace
}  // namespace qj
