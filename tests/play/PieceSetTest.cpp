// The piece set as a player meets it: whole games, joining, turning, pins, stacking and trays.
#include <algorithm>
#include <set>

#include "controls/UTrayWindow.h"
#include "core/UMiscelaneous.h"
#include "creation/UPuzzleFile.h"
#include "creation/UGameRecord.h"
#include "tests/play/PlayFixture.h"

namespace qj::test {
namespace {

class PieceSetTest : public TPlayTest {
 protected:
  // The first neighbour of piece `index`.
  int NeighbourOf(int index) { return Piece(index).FNeighbours.front(); }
  // Drops `index` upright at `offset` from its exact place beside piece `beside` (also upright).
  void DropBeside(int index, int beside, TPoint offset) {
    ASSERT_TRUE(Carry(beside, Home(Piece(beside)), 0));
    const TPoint home = Home(Piece(index));
    ASSERT_TRUE(Carry(index, {home.X + offset.X, home.Y + offset.Y}, 0));
  }
};

// The finished piece covers every cut piece's pixels where the picture has them, in every
// orientation, and nothing else (what it shows there is the picture itself).
void ExpectShowsEveryPiece(const TBPiece& piece, const TPieceList& cut, int high) {
  for (int o = 0; o <= high; ++o) {
    const TMyDib* image = piece.Bitmap(o);
    ASSERT_NE(image, nullptr);
    TPixelBuffer expected(image->Width(), image->Height());
    for (const TPiece& p : cut) {
      const TMyDib& from = p.Images[size_t(o)];
      const TPoint at{p.Home[size_t(o)].X - piece.FBoxTopLeft[size_t(o)].X, p.Home[size_t(o)].Y - piece.FBoxTopLeft[size_t(o)].Y};
      for (int y = 0; y < from.Height(); ++y)
        for (int x = 0; x < from.Width(); ++x)
          if ((from.At(x, y) & kRgbMask) != 0) {
            ASSERT_TRUE(expected.InBounds(x + at.X, y + at.Y)) << "orientation " << o;
            expected.At(x + at.X, y + at.Y) = from.At(x, y) & kRgbMask;
          }
    }
    int wrong = 0;
    for (int y = 0; y < image->Height(); ++y)
      for (int x = 0; x < image->Width(); ++x) wrong += ((image->At(x, y) & kRgbMask) != 0) != (expected.At(x, y) != 0);
    EXPECT_EQ(wrong, 0) << "orientation " << o;
  }
}

TEST_F(PieceSetTest, AWholeGameEndsInOnePieceThatIsThePicture) {
  NewGame({.PieceW = 40, .PieceH = 40});
  ASSERT_EQ(Set().Count(), 12);
  EXPECT_EQ(GameRecord.InitialPieces, 12);
  ExpectConsistent();
  Solve();
  ASSERT_EQ(Set().Count(), 1);
  ExpectShowsEveryPiece(Piece(0), CutPieces, 3);
  EXPECT_EQ(GameRecord.Finished, 1);
  EXPECT_EQ(GameRecord.Joins, 11);
  EXPECT_EQ(GameRecord.PiecesHigh, 0);
  EXPECT_EQ(GameRecord.Percent, 100);
  EXPECT_EQ(GameRecord.MaxStickRange, Options.StickRange);
  TGameRecord scored = GameRecord;
  scored.Finished = 0;
  ComputeScore(scored, 1, GameRecord.Elapsed);
  EXPECT_DOUBLE_EQ(GameRecord.Score, scored.Score);
  TGameRecord best, last;
  ASSERT_TRUE(ReadScoreFile(ChangeFileExt(PicturePath(), ".hsc"), best, last));
  EXPECT_EQ(best.Score, GameRecord.Score);
  EXPECT_EQ(last.Score, GameRecord.Score);
}

TEST_F(PieceSetTest, JoinsWithinStickRangeOnlyInTheSameOrientation) {
  NewGame({.PieceW = 40, .PieceH = 40});
  const int a = 0, b = NeighbourOf(0);
  DropBeside(b, a, {9, -9});
  EXPECT_TRUE(Set().Settling());
  Settle();
  EXPECT_EQ(Set().Count(), 11);

  NewGame({.PieceW = 40, .PieceH = 40});
  DropBeside(NeighbourOf(0), 0, {10, 0});
  Settle();
  EXPECT_EQ(Set().Count(), 12);
  DropBeside(NeighbourOf(0), 0, {0, -10});
  Settle();
  EXPECT_EQ(Set().Count(), 12);

  // Upright beside a piece turned a quarter: never, however close.
  const int c = NeighbourOf(0);
  ASSERT_TRUE(Carry(0, Home(Piece(0)), 1));
  const TPoint home = Home(Piece(c));
  ASSERT_TRUE(Carry(c, home, 0));
  Settle();
  EXPECT_EQ(Set().Count(), 12);
}

TEST_F(PieceSetTest, APieceFittingTwoNeighboursJoinsBothAndTheThreeFuse) {
  NewGame({.PieceW = 40, .PieceH = 40});
  // Pieces are numbered down each column: piece 4 borders 1 on its left and 3 above.
  const auto& n = Piece(4).FNeighbours;
  ASSERT_TRUE(std::count(n.begin(), n.end(), 1) && std::count(n.begin(), n.end(), 3));
  ASSERT_TRUE(Carry(1, Home(Piece(1)), 0));
  ASSERT_TRUE(Carry(3, Home(Piece(3)), 0));
  Settle();
  ASSERT_EQ(Set().Count(), 12);
  const TPoint home = Home(Piece(4));
  ASSERT_TRUE(Carry(4, {home.X - 4, home.Y + 5}, 0));
  Settle();
  EXPECT_EQ(Set().Count(), 10);
  ExpectConsistent();
  const TBPiece& fused = Piece(9);
  EXPECT_EQ(fused.FMergeDepth, 1);
  EXPECT_EQ(fused.FPosition, Home(fused));
}

TEST_F(PieceSetTest, ASnapStoppedByTheTableEdgeStillFuses) {
  NewGame({.PieceW = 40, .PieceH = 40});
  // Piece 1 lies below piece 0: with 0 near the bottom edge, 1's place is 5 pixels off the table.
  ASSERT_TRUE(Carry(1, {100, 100}, 0));
  const int below = Piece(1).FBoxTopLeft[0].Y - Piece(0).FBoxTopLeft[0].Y;
  ASSERT_TRUE(Carry(0, {700, kTableHeight + PieceMargin() + 5 - Piece(1).Height() - below}, 0));
  const TPoint place = Piece(1).PlaceBeside(Piece(0));
  ASSERT_EQ(place.Y + Piece(1).Height(), kTableHeight + PieceMargin() + 5);
  ASSERT_TRUE(Carry(1, place, 0));
  ASSERT_NE(Piece(1).FGroup, -1);
  ASSERT_EQ(Piece(1).FGroup, Piece(0).FGroup);
  Settle();
  EXPECT_EQ(Set().Count(), 11);
  ExpectConsistent();
}

TEST_F(PieceSetTest, NoJoinWithANeighbourInATray) {
  NewGame({.PieceW = 40, .PieceH = 40});
  TDXTrayWindow& tray = *Set().Tray(1);
  tray.Open();
  tray.RestoreBounds(600, 600, 400, 300);
  const int b = NeighbourOf(0);
  ASSERT_TRUE(Carry(0, {700, 700}, 0));
  EXPECT_EQ(Piece(0).FTray, 1u);
  Set().Board().Mouse = {0, 0};
  const TPoint place = Piece(b).PlaceBeside(Piece(0));
  ASSERT_TRUE(Carry(b, place, 0));
  Settle();
  EXPECT_EQ(Set().Count(), 12);
}

TEST_F(PieceSetTest, PinnedPiecesCannotBeTakenAndAPinnedMemberGivesAPinnedPiece) {
  NewGame({.PieceW = 40, .PieceH = 40});
  const int b = NeighbourOf(0);
  ASSERT_TRUE(Carry(0, Home(Piece(0)), 0));
  Piece(0).TogglePin();
  Frames(30);
  EXPECT_EQ(Piece(0).FState, PieceState::Pinned);
  EXPECT_FALSE(Set().PickUp(0));
  const TPoint home = Home(Piece(b));
  ASSERT_TRUE(Carry(b, {home.X + 2, home.Y + 2}, 0));
  Settle();
  ASSERT_EQ(Set().Count(), 11);
  EXPECT_EQ(Piece(10).FState, PieceState::Pinned);
  EXPECT_NE(Piece(10).FPinFrame, -1);
  ExpectConsistent();
}

TEST_F(PieceSetTest, TurnsTakeTheirFramesAndFourTurnsComeBack) {
  NewGame({.PieceW = 40, .PieceH = 40});
  ASSERT_TRUE(Carry(3, {700, 500}));
  TBPiece& p = Piece(3);
  for (const int increment : {2, 6, 90, 0}) {
    Options.RotationIncrement = uint8_t(increment);
    const TPoint before = p.FPosition, pivot{before.X + 11, before.Y + 17};
    const int orientation = p.FOrientation;
    int frames = 0;
    for (int turn = 0; turn < 4; ++turn) {
      Set().RotateAt(3, pivot.X, pivot.Y, false);
      while (p.Rotating()) {
        Frames(1);
        ++frames;
      }
      if (turn == 0) {
        EXPECT_EQ(p.FOrientation, (orientation + 1) % 4);
      }
    }
    EXPECT_EQ(p.FOrientation, orientation);
    EXPECT_EQ(p.FPosition, before) << "increment " << increment;
    const int step = std::max(1, increment);
    EXPECT_EQ(frames, 4 * ((64 + step - 1) / step)) << "increment " << increment;
  }
}

TEST_F(PieceSetTest, ATurnAskedForDuringATurnFollowsIt) {
  NewGame({.PieceW = 40, .PieceH = 40});
  ASSERT_TRUE(Carry(2, {700, 500}));
  TBPiece& p = Piece(2);
  const int orientation = p.FOrientation;
  const TPoint start = p.FPosition, pivot{start.X + 5, start.Y + 9};
  Set().RotateAt(2, pivot.X, pivot.Y, false);
  Frames(3);
  Set().RotateAt(2, p.FPosition.X + 30, p.FPosition.Y + 30, false);
  int frames = 0;
  while (p.Rotating()) {
    Frames(1);
    ++frames;
  }
  EXPECT_EQ(p.FOrientation, (orientation + 2) % 4);
  EXPECT_EQ(frames, 61);
  // Both turns went about the first point: the same as two turns one after the other.
  const TPoint queued = p.FPosition;
  for (int turn = 0; turn < 2; ++turn) {
    Set().RotateAt(2, pivot.X, pivot.Y, true);
    while (p.Rotating()) Frames(1);
  }
  EXPECT_EQ(p.FPosition, start);
  for (int turn = 0; turn < 2; ++turn) {
    Set().RotateAt(2, pivot.X, pivot.Y, false);
    while (p.Rotating()) Frames(1);
  }
  EXPECT_EQ(p.FPosition, queued);
}

TEST_F(PieceSetTest, APieceStaysOnTheTableWithItsPicture) {
  NewGame({.PieceW = 40, .PieceH = 40});
  ASSERT_TRUE(Carry(0, {5000, -300}));
  const TBPiece& p = Piece(0);
  EXPECT_EQ(p.FPosition.X + p.Width() - PieceMargin(), kTableWidth);
  EXPECT_EQ(p.FPosition.Y, -PieceMargin());
}

TEST_F(PieceSetTest, PinnedPiecesStayUnderLoosePiecesAfterManyDrops) {
  NewGame({.PieceW = 40, .PieceH = 40});
  Piece(0).TogglePin();
  Piece(1).TogglePin();
  Frames(30);
  for (int drop = 0; drop < 100; ++drop) {
    const int index = 2 + drop % 10;
    ASSERT_TRUE(Carry(index, {(drop * 37) % 1200, 400 + (drop * 53) % 600}));
  }
  Piece(2).TogglePin();
  Frames(30);
  std::vector<double> pinned, loose;
  for (int i = 0; i < Set().Count(); ++i)
    (Piece(i).FState == PieceState::Pinned ? pinned : loose).push_back(Piece(i).Depth());
  EXPECT_LT(*std::max_element(pinned.begin(), pinned.end()), *std::min_element(loose.begin(), loose.end()));
  EXPECT_GE(*std::min_element(pinned.begin(), pinned.end()), Set().BaseDepth());
  EXPECT_LE(*std::max_element(loose.begin(), loose.end()), Set().TopDepthLimit());
  // The last dropped piece is on top of the table, and no two pieces share a depth.
  EXPECT_EQ(Piece(11).Depth(), Set().TopDepthLimit());
  std::set<double> depths;
  for (int i = 0; i < Set().Count(); ++i) depths.insert(Piece(i).Depth());
  EXPECT_EQ(depths.size(), size_t(Set().Count()));
}

TEST_F(PieceSetTest, APinnedPieceFromAnEmptiedTrayGoesUnderTheLooseOnes) {
  NewGame({.PieceW = 40, .PieceH = 40});
  TDXTrayWindow& tray = *Set().Tray(1);
  tray.Open();
  tray.RestoreBounds(300, 300, 300, 200);
  ASSERT_TRUE(Carry(4, {320, 330}));
  ASSERT_EQ(Piece(4).FTray, 1u);
  Piece(4).TogglePin();
  Frames(30);
  tray.OnEmpty(nullptr);
  for (int i = 0; i < Set().Count(); ++i) {
    if (i == 4) continue;
    EXPECT_LT(Piece(4).Depth(), Piece(i).Depth()) << i;
  }
}

TEST_F(PieceSetTest, APiecePlacedForPinningIsLetGoWhenTaken) {
  NewGame({.PieceW = 40, .PieceH = 40});
  ASSERT_TRUE(Carry(6, {300, 300}));
  Set().AddPlaceAndPin(6, {400, 400});
  Frames(10);
  ASSERT_TRUE(Carry(6, {900, 900}));
  Frames(400);
  EXPECT_EQ(Piece(6).FPosition, (TPoint{900, 900}));
  EXPECT_EQ(Piece(6).FState, PieceState::Free);
}

TEST_F(PieceSetTest, TraysTakeSmallPiecesGrowAndGiveThemBack) {
  NewGame({.PieceW = 40, .PieceH = 40});
  TDXTrayWindow& tray = *Set().Tray(1);
  tray.Open();
  tray.RestoreBounds(300, 300, 200, 150);
  ASSERT_TRUE(Carry(4, {320, 330}));
  ASSERT_TRUE(Carry(5, {440, 340}));
  EXPECT_EQ(Piece(4).FTray, 1u);
  EXPECT_EQ(Piece(5).FTray, 1u);
  Frames(2);
  EXPECT_TRUE(tray.FHasPieces);
  EXPECT_TRUE(Set().Tray(2)->IconSprite()->Visible);  // the next tray is offered
  EXPECT_FALSE(Set().Tray(3)->IconSprite()->Visible);
  EXPECT_GE(tray.FLeft + tray.FWidth, Piece(5).Bounds().Right);
  // The tray moves, its pieces ride along.
  const TPoint before = Piece(4).FPosition;
  tray.SetLeft(tray.FLeft + 50);
  Frames(1);
  EXPECT_EQ(Piece(4).FPosition.X, before.X + 50);
  // Collapsing hides them; emptying puts them back on the table, in front.
  tray.Collapse();
  EXPECT_FALSE(Piece(4).Sprite()->Visible);
  tray.Open();
  ASSERT_TRUE(tray.OnEmpty);
  tray.OnEmpty(nullptr);
  EXPECT_EQ(Piece(4).FTray, 0u);
  EXPECT_TRUE(Piece(4).Sprite()->Visible);
  EXPECT_FALSE(tray.WindowShown());
  EXPECT_LE(Piece(4).Depth(), Set().TopDepthLimit());
}

TEST_F(PieceSetTest, TheMagnetPullsNeighboursIntoPlace) {
  NewGame({.PieceW = 40, .PieceH = 40});
  ASSERT_TRUE(Carry(5, Home(Piece(5)), 0));
  const std::set<int32_t> around(Piece(5).FNeighbours.begin(), Piece(5).FNeighbours.end());
  ASSERT_TRUE(Set().PullNeighbours(5));
  EXPECT_EQ(GameRecord.PullHelps, int(around.size()));
  EXPECT_EQ(Set().MagnetTarget(), 5);
  Settle();
  EXPECT_EQ(Set().Count(), 12 - int(around.size()));
  EXPECT_EQ(Set().MagnetTarget(), -1);
  ExpectConsistent();
}

TEST_F(PieceSetTest, ProximityHintsMarkNearNeighboursOnce) {
  NewGame({.PieceW = 40, .PieceH = 40});
  const int b = NeighbourOf(0);
  ASSERT_TRUE(Carry(b, {1000, 900}));
  ASSERT_TRUE(Carry(0, {100, 100}));
  Set().Board().Mouse = {Piece(0).FPosition.X + 5, Piece(0).FPosition.Y + 5};
  ASSERT_TRUE(Set().PickUp(0));
  Set().StartCarrying(Screen->DragDepth());
  Set().Board().Mouse = {Piece(b).FPosition.X + 5, Piece(b).FPosition.Y + 5};
  Frames(1);
  Set().ShowProximityHints();
  Set().ShowProximityHints();
  EXPECT_TRUE(Piece(b).FHinted);
  EXPECT_EQ(GameRecord.ProximityHints, 1);
  Frames(1);
  EXPECT_TRUE(Piece(b).FTinted);
  Set().ClearHints();
  Frames(1);
  EXPECT_FALSE(Piece(b).FTinted);
  Set().DropSelection(0, 0, true);
}

TEST_F(PieceSetTest, FusingTranslatesEveryStoredIndex) {
  NewGame({.PieceW = 40, .PieceH = 40});
  // A place-and-pin waits for piece 11 while pieces 0 and its neighbour fuse.
  ASSERT_TRUE(Carry(11, {1200, 900}));
  Set().AddPlaceAndPin(11, {1250, 950});
  DropBeside(NeighbourOf(0), 0, {1, 1});
  Settle();
  ASSERT_EQ(Set().Count(), 11);
  Frames(400);
  int pinned = 0;
  for (int i = 0; i < Set().Count(); ++i)
    if (Piece(i).FState == PieceState::Pinned) {
      ++pinned;
      EXPECT_EQ(Piece(i).FPosition, (TPoint{1250, 950}));
    }
  EXPECT_EQ(pinned, 1);
  EXPECT_EQ(Set().LastDropped(), Set().Count() - 1);
}

TEST_F(PieceSetTest, PinsGoInLiftAndComeOut) {
  NewGame({.PieceW = 40, .PieceH = 40});
  const int n = int(Set().Board().PinImages.size());
  ASSERT_GE(n, 3);
  TBPiece& p = Piece(5);
  p.TogglePin();
  Frames(n);
  EXPECT_EQ(p.FState, PieceState::Pinned);
  EXPECT_EQ(p.FPinFrame, n / 3 - 1);
  p.TogglePinLock();
  Frames(n);
  EXPECT_EQ(p.FState, PieceState::PinLifted);
  EXPECT_EQ(p.FPinFrame, n - 1);
  EXPECT_TRUE(Set().PickUp(5));  // a lifted pin holds nothing
  Set().ReleaseSelection();
  p.TogglePin();
  Frames(n);
  EXPECT_EQ(p.FState, PieceState::Free);
  EXPECT_EQ(p.FPinFrame, -1);
  // A theme without enough pin frames pins all the same, without the overlay.
  Set().Board().PinImages.resize(2);
  p.TogglePin();
  Frames(5);
  EXPECT_EQ(p.FState, PieceState::Pinned);
  EXPECT_EQ(p.FPinFrame, -1);
  EXPECT_FALSE(Set().PickUp(5));
}

TEST_F(PieceSetTest, SlidesBounceOffTheEdgeAndPushesSlowDownEveryWay) {
  NewGame({.PieceW = 40, .PieceH = 40});
  ASSERT_TRUE(Carry(0, {30, 500}));
  Piece(0).Slide(20, -12, 0, 0, 0);
  Frames(40);
  EXPECT_GT(Piece(0).FPosition.X, 30);  // went left, hit the edge, came back
  Options.ChanceScatter = 100;
  ASSERT_TRUE(Carry(1, {600, 600}));
  ASSERT_TRUE(Carry(2, {700, 600}));
  const TPoint left = Piece(1).FPosition, right = Piece(2).FPosition;
  Set().PushAside(left.X + Piece(1).Width() + 10, 610, 60);
  Frames(20);
  EXPECT_LE(Piece(1).FPosition.X, left.X);
  EXPECT_GE(Piece(2).FPosition.X, right.X);
  EXPECT_LT(std::abs(Piece(1).FPosition.X - left.X), 4 * 61);  // slowing, not speeding up
  EXPECT_LT(std::abs(Piece(2).FPosition.X - right.X), 4 * 61);
}

TEST_F(PieceSetTest, StarsOfAJoinComeAndGo) {
  NewGame({.PieceW = 40, .PieceH = 40});
  const int sprites = Engine.LiveSpriteCount();
  DropBeside(NeighbourOf(0), 0, {1, 1});
  Settle();
  EXPECT_GT(Engine.LiveSpriteCount(), sprites - 2);  // two pieces became one, stars came
  bool stars = false;
  for (const TBoardEvent& e : Set().Board().Events) stars = stars || e.Kind == EBoardEvent::Star;
  EXPECT_TRUE(stars);
  Frames(200);
  EXPECT_TRUE(Set().Board().Events.empty());
  EXPECT_EQ(Engine.LiveSpriteCount(), sprites - 1);
}

TEST_F(PieceSetTest, ScatterSpreadsPiecesAroundAPointButNotPinnedOnes) {
  NewGame({.PieceW = 40, .PieceH = 40});
  for (int i = 0; i < Set().Count(); ++i) ASSERT_TRUE(Carry(i, {700, 500}));
  Piece(0).TogglePin();
  Frames(30);
  std::vector<TPoint> before;
  for (int i = 0; i < Set().Count(); ++i) before.push_back(Piece(i).FPosition);
  Set().Scatter(720, 520, 10, 10, {});
  Frames(60);
  EXPECT_EQ(Piece(0).FPosition, before[0]);
  int moved = 0;
  for (int i = 1; i < Set().Count(); ++i) moved += Piece(i).FPosition != before[size_t(i)];
  EXPECT_GE(moved, 8);
  for (int i = 0; i < Set().Count(); ++i) EXPECT_FALSE(Piece(i).HasActions());
}

}  // namespace
}  // namespace qj::test
