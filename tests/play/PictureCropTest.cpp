// The small picture and the ghost show the part of the picture the puzzle covers: a cut of whole
// pieces leaves the picture's edges out, and they must not show in the helps either.
#include <gtest/gtest.h>

#include "play/UBoardMenu.h"
#include "tests/play/PlayFixture.h"

namespace qj::test {
namespace {

class PictureCropTest : public TPlayTest {};

TEST_F(PictureCropTest, TheHelpsShowExactlyTheCoveredPartNewAndContinued) {
  struct TCase {
    int Width, Height;
    double PieceW, PieceH;
    TRect Covered;
  };
  for (const TCase& c : {TCase{160, 120, 20, 20, {0, 0, 160, 120}}, TCase{175, 133, 20, 20, {8, 6, 168, 126}},
                         TCase{200, 150, 25, 30, {0, 0, 200, 150}}}) {
    NewGame({.PieceW = c.PieceW, .PieceH = c.PieceH}, c.Width, c.Height);
    for (bool continued : {false, true}) {
      if (continued) {
        ASSERT_TRUE(Continue());
      }
      const TMyDib* shown = Screen->Menu().Picture();
      ASSERT_NE(shown, nullptr);
      ASSERT_EQ(shown->Width(), c.Covered.Width()) << c.Width << " continued " << continued;
      ASSERT_EQ(shown->Height(), c.Covered.Height());
      // The picture as loaded: near-black lifted to (8, 8, 8).
      const auto loaded = [](TPixel p) {
        p &= 0xFFFFFF;
        return (p & 0xF8F8F8) == 0 ? MakePixel(8, 8, 8) : p;
      };
      for (int y = 0; y < shown->Height(); ++y)
        for (int x = 0; x < shown->Width(); ++x)
          ASSERT_EQ(shown->At(x, y) & 0xFFFFFF, loaded(Picture.At(x + c.Covered.Left, y + c.Covered.Top))) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace qj::test
