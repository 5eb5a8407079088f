// Which cuts may be saved: as many pieces shaped as straight, and never fewer than two.
#include <gtest/gtest.h>

#include "tests/creation/CutterTestSupport.h"

namespace qj {
namespace {

struct TCounts {
  int Shaped, Straight;
};

TCounts CountCut(const test::TCutSetup& s) {
  TPuzzleCutter cutter;
  test::SetUpCutter(cutter, test::MakeTestPicture(120, 96), s);
  cutter.DrawCutMap();
  const int shaped = cutter.CountPieces();
  return {shaped, cutter.CountStraightPieces()};
}

TEST(SoundCut, EqualCountsOfTwoPiecesOrMoreAreSound) {
  EXPECT_TRUE(IsSoundCut(2, 2));
  EXPECT_TRUE(IsSoundCut(80, 80));
  EXPECT_FALSE(IsSoundCut(81, 80));
  EXPECT_FALSE(IsSoundCut(1, 1));
  EXPECT_FALSE(IsSoundCut(0, 0));
}

TEST(SoundCut, ACutOfOnePieceOrNoneIsNotSound) {
  test::TShapeFolder shapes;
  test::TCutSetup whole;  // one cell of the grid over the 120 x 96 picture
  whole.PieceW = 100;
  whole.PieceH = 90;
  const TCounts one = CountCut(whole);
  EXPECT_EQ(one.Shaped, 1);
  EXPECT_EQ(one.Straight, 1);
  EXPECT_FALSE(IsSoundCut(one.Shaped, one.Straight));
  test::TCutSetup none;
  none.PieceW = 0;
  const TCounts zero = CountCut(none);
  EXPECT_EQ(zero.Shaped, 0);
  EXPECT_FALSE(IsSoundCut(zero.Shaped, zero.Straight));
  const TCounts usual = CountCut(test::TCutSetup{});
  EXPECT_GE(usual.Shaped, 2);
  EXPECT_TRUE(IsSoundCut(usual.Shaped, usual.Straight));
}

}  // namespace
}  // namespace qj
