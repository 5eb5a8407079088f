// The live-bitmap count stays exact when the cutter's helper threads make and free the piece
// bitmaps.
#include <gtest/gtest.h>

#include "tests/creation/CutterTestSupport.h"

namespace qj {
namespace {

// The cutter's own six bitmaps, and per piece its pictures and images in every orientation.
size_t BitmapsHeld(TPuzzleCutter& cutter) {
  return 6 + cutter.Pieces().size() * 2 * kOrientations;
}

TEST(CutterLiveCount, PiecesCutOnHelperThreadsAreCountedExactly) {
  test::TShapeFolder shapes;
  const TMyDib picture = test::MakeTestPicture(240, 180);
  const size_t before = TMyDib::LiveCount();
  for (unsigned threads : {2u, 4u, 8u}) {
    TPuzzleCutter cutter;
    cutter.Threads = threads;
    test::TCutSetup s;
    s.PieceW = s.PieceH = 12;
    s.Shadow = 1;
    s.Bevel = 0;
    test::Cut(cutter, picture, s);
    ASSERT_GT(cutter.Pieces().size(), 100u);
    EXPECT_EQ(TMyDib::LiveCount(), before + BitmapsHeld(cutter)) << threads << " threads";
  }
  EXPECT_EQ(TMyDib::LiveCount(), before);
}

}  // namespace
}  // namespace qj
