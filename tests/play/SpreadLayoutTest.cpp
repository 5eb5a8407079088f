// Spreading pieces over the table: apart where there is room, clear of the menu bar and the open
// trays, on the table, the same for the same seed; the pieces a player fixed stay put.
#include <gtest/gtest.h>

#include "controls/UTrayWindow.h"
#include "creation/URandom.h"
#include "play/USpreadLayout.h"
#include "tests/play/PlayFixture.h"

namespace qj::test {
namespace {

// A piece-like image: a body with a knob on its right side, in a transparent frame.
TPixelBuffer Blob(int w, int h) {
  TPixelBuffer im(w + 12, h + 4);
  for (int y = 0; y < im.Height(); ++y)
    for (int x = 0; x < im.Width(); ++x) {
      const bool body = x >= 2 && x < w + 2 && y >= 2 && y < h + 2;
      const bool knob = x >= w + 2 && x < w + 10 && y >= h / 2 - 3 && y < h / 2 + 5;
      im.At(x, y) = body || knob ? MakePixel(200, 120, 40) : 0;
    }
  return im;
}

bool Touches(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TEST(SpreadLayoutTest, PiecesLieApartOnTheTableClearOfTheBarAndTraysTheSameForTheSameSeed) {
  struct TCase {
    int Count, W, H;
    bool Room;  // their area leaves room to lie apart
  };
  const TCase cases[] = {{12, 40, 40, true}, {300, 50, 44, true}, {1000, 30, 26, true}, {2500, 36, 30, false}};
  TSpreadArea area;
  area.KeepClear = {{0, 1130, 1600, 1200}, {300, 200, 500, 450}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Count);
    const TPixelBuffer image = Blob(c.W, c.H);
    const std::vector<TLayoutPiece> pieces(size_t(c.Count), TLayoutPiece{&image, {}});
    Randomize(5);
    const std::vector<TPoint> places = SpreadLayout(pieces, {}, area);
    Randomize(5);
    EXPECT_EQ(SpreadLayout(pieces, {}, area), places);
    std::vector<TLayoutPiece> laid = pieces;
    for (size_t i = 0; i < laid.size(); ++i) {
      laid[i].At = places[i];
      const TRect r = MakeRect(places[i].X, places[i].Y, image.Width(), image.Height());
      ASSERT_TRUE(r.Left >= 0 && r.Top >= 0 && r.Right <= 1600 && r.Bottom <= 1200) << i;
      const TRect body = MakeRect(places[i].X + 2, places[i].Y + 2, c.W, c.H);
      for (const TRect& clear : area.KeepClear) {
        ASSERT_FALSE(c.Room && Touches(body, clear)) << i;
      }
    }
    // Without room, the pixels beyond the free area are covered twice at least, and not much more.
    const double overlap = LayoutOverlap(laid, area.Table);
    const double opaque = double(c.Count) * (c.W * c.H + 64), free = 1600.0 * 1130 - 200 * 250;
    EXPECT_LE(overlap, c.Room ? 0.0 : 2 * (opaque - free) / opaque + 0.1);
  }
}

class SpreadOutTest : public TPlayTest {};

TEST_F(SpreadOutTest, SpreadingOutLeavesPinnedAndTrayPiecesWhereTheyAre) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Piece(0).TogglePin();
  Set().MoveIntoTray(1, 1);
  Frames(30);
  const TPoint pinned = Piece(0).FPosition, trayed = Piece(1).FPosition;
  for (int i = 2; i < Set().Count(); ++i) Piece(i).SetPosition({700, 500});
  Frames(2);
  Screen->SpreadOut();
  Frames(60);
  EXPECT_EQ(Piece(0).FPosition, pinned);
  EXPECT_EQ(Piece(1).FPosition, trayed);
  EXPECT_EQ(Piece(1).FTray, 1u);
  int moved = 0;
  for (int i = 2; i < Set().Count(); ++i) moved += !(Piece(i).FPosition == TPoint{700, 500});
  EXPECT_GE(moved, Set().Count() - 3);
  EXPECT_LT(Set().TableOverlap(), 0.01);
}

}  // namespace
}  // namespace qj::test
