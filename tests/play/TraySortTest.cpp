// Sorting into trays: edge pieces of every cut style into tray 1, colour clusters that do not
// change between runs, what stays on the table, and the captions of a continued game.
#include <set>

#include "controls/UTrayWindow.h"
#include "core/UMiscelaneous.h"
#include "play/UTraySorting.h"
#include "tests/play/PlayFixture.h"

namespace qj::test {
namespace {

class TraySortTest : public TPlayTest {
 protected:
  // The labels of the pieces that reach the outermost ring of the cut's labelled area.
  std::set<int> BorderLabels() const {
    int left = LabelMap.Width(), top = LabelMap.Height(), right = -1, bottom = -1;
    for (int y = 0; y < LabelMap.Height(); ++y)
      for (int x = 0; x < LabelMap.Width(); ++x)
        if ((LabelMap.At(x, y) & kRgbMask) != 0) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    std::set<int> labels;
    for (int y = top; y <= bottom; ++y)
      for (int x = left; x <= right; ++x)
        if (x == left || x == right || y == top || y == bottom) labels.insert(int(LabelMap.At(x, y) & kRgbMask));
    return labels;
  }
  void Sort() {
    Screen->SortIntoTrays();
    Frames(2);
  }
  std::vector<std::pair<uint32_t, TPoint>> Places() {
    std::vector<std::pair<uint32_t, TPoint>> places;
    for (int i = 0; i < Set().Count(); ++i) places.push_back({Piece(i).FTray, Piece(i).FPosition});
    return places;
  }
  // Every piece in a tray lies inside the tray's client area, and the tray is open.
  void ExpectInsideTheirTrays() {
    for (int i = 0; i < Set().Count(); ++i) {
      const TBPiece& p = Piece(i);
      const TDXTrayWindow* tray = Set().Tray(int(p.FTray));
      if (!tray) continue;
      EXPECT_TRUE(tray->WindowShown()) << i;
      const TRect r = p.Bounds();
      EXPECT_GE(r.Left, tray->FLeft + tray->FInsetLeft) << i;
      EXPECT_GE(r.Top, tray->FTop + tray->FInsetTop) << i;
      EXPECT_LE(r.Right, tray->FLeft + tray->FWidth - tray->FInsetRight) << i;
      EXPECT_LE(r.Bottom, tray->FTop + tray->FHeight - tray->FInsetBottom) << i;
    }
  }
};

TEST_F(TraySortTest, EveryEdgeAndCornerPieceGoesIntoTrayOneForEveryCutStyle) {
  for (int style = 0; style <= 8; ++style) {
    SCOPED_TRACE("style " + std::to_string(style));
    NewGame({.Style = style, .PieceW = 20, .PieceH = 16, .DistortX = 2, .DistortY = 2, .SpreadX = 1.5, .SpreadY = 1.5});
    const std::set<int> border = BorderLabels();
    Sort();
    int edges = 0;
    for (int i = 0; i < Set().Count(); ++i) {
      const bool onBorder = border.count(CutPieces[size_t(i)].Label) > 0;
      EXPECT_EQ(Piece(i).FTray == 1, onBorder) << "piece " << i;
      EXPECT_GE(Piece(i).FTray, 1u) << "piece " << i;
      edges += onBorder;
    }
    EXPECT_GT(edges, 3);
    EXPECT_LT(edges, Set().Count());
    ExpectInsideTheirTrays();
  }
}

TEST_F(TraySortTest, TheSameGameSortsIntoTheSameTraysAndRotationStays) {
  NewGame({.PieceW = 16, .PieceH = 16, .Rotation = true});
  std::vector<int> turns;
  for (int i = 0; i < Set().Count(); ++i) turns.push_back(Piece(i).FOrientation);
  EXPECT_GT(std::set<int>(turns.begin(), turns.end()).size(), 1u) << "pieces lie turned";
  Sort();
  const auto first = Places();
  std::set<uint32_t> used;
  for (const auto& [tray, at] : first) used.insert(tray);
  EXPECT_EQ(used, (std::set<uint32_t>{1, 2, 3, 4, 5}));
  for (int i = 0; i < Set().Count(); ++i) EXPECT_EQ(Piece(i).FOrientation, turns[size_t(i)]);
  ExpectInsideTheirTrays();
  NewGame({.PieceW = 16, .PieceH = 16, .Rotation = true});
  Sort();
  EXPECT_EQ(Places(), first);
}

TEST_F(TraySortTest, FewLoosePiecesTakeAsManyTraysAndPinnedAndJoinedPiecesStay) {
  NewGame({.PieceW = 40, .PieceH = 40});
  ASSERT_TRUE(Carry(0, Home(Piece(0)), 0));
  ASSERT_TRUE(Carry(Piece(0).FNeighbours.front(), Home(Piece(Piece(0).FNeighbours.front())), 0));
  Settle();
  const int joined = Set().Count() - 1;
  ASSERT_GT(Piece(joined).FMergeDepth, 0);
  int interior = 0, loose = 0;
  for (int i = 0; i < joined; ++i) {
    const bool inside = !Set().OnPictureBorder(Piece(i));
    if ((inside && interior < 2) || (!inside && loose - interior < 1)) {
      interior += inside;
      ++loose;
    } else {
      Piece(i).TogglePin();
    }
  }
  Frames(30);
  ASSERT_EQ(loose, 3);
  const auto before = Places();
  Sort();
  std::set<uint32_t> used;
  for (int i = 0; i <= joined; ++i) {
    if (Piece(i).FState == PieceState::Free && i != joined) used.insert(Piece(i).FTray);
    else EXPECT_EQ(Places()[size_t(i)], before[size_t(i)]) << "piece " << i << " stays";
  }
  EXPECT_EQ(used, (std::set<uint32_t>{1, 2, 3}));
}

TEST_F(TraySortTest, TheHotKeySortsAndTheCaptionsSurviveAContinuedGame) {
  NewGame({.PieceW = 20, .PieceH = 20});
  uint16_t key = Options.Hotkeys[kSortHotkey].Key;
  Screen->KeyUp(key, Options.Hotkeys[kSortHotkey].Shift);
  Frames(2);
  EXPECT_EQ(Set().Tray(1)->GetCaption(), ReplaceTextKeys(TextKey(Text::EdgesCaption)));
  std::vector<std::string> captions;
  for (int t = 1; t <= kTrayCount; ++t) captions.push_back(Set().Tray(t)->GetCaption());
  EXPECT_EQ(std::set<std::string>(captions.begin(), captions.end()).size(), captions.size()) << "no two alike";
  const auto places = Places();
  ASSERT_TRUE(Continue());
  EXPECT_EQ(Places(), places);
  for (int t = 1; t <= kTrayCount; ++t) EXPECT_EQ(Set().Tray(t)->GetCaption(), captions[size_t(t - 1)]) << t;
  Set().Tray(1)->OnEmpty(Set().Tray(1));
  Frames(1);
  EXPECT_EQ(Set().Tray(1)->GetCaption(), ReplaceTextKeys(TextKey(Text::TrayCaption)) + " 1") << "emptied: its number";
}

TEST(TrayColours, ClustersFollowTheColoursAndAreNamedByThem) {
  const auto lab = [](unsigned r, unsigned g, unsigned b) {
    TMyDib pixel(1, 1, 32);
    pixel.At(0, 0) = MakePixel(r, g, b);
    return MeanLab(pixel);
  };
  const std::vector<TLab> colours = {lab(220, 30, 30), lab(40, 60, 210), lab(30, 170, 40),  lab(240, 230, 40),
                                     lab(200, 40, 35), lab(50, 70, 190), lab(45, 150, 50),  lab(230, 210, 60)};
  const std::vector<int> clusters = ClusterColours(colours, 4);
  EXPECT_EQ(ClusterColours(colours, 4), clusters);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(clusters[i], clusters[i + 4]) << i;
  EXPECT_EQ(std::set<int>(clusters.begin(), clusters.end()).size(), 4u);
  EXPECT_EQ(clusters[3], 0) << "the lightest cluster comes first";
  const std::vector<std::string> names = ColourCaptions({colours[0], colours[1], colours[2], colours[3]});
  const std::vector<std::string> expected = {TextKey(Text::TrayColourNames + 0), TextKey(Text::TrayColourNames + 5),
                                             TextKey(Text::TrayColourNames + 3), TextKey(Text::TrayColourNames + 2)};
  EXPECT_EQ(names, expected);
  const std::vector<std::string> blues = ColourCaptions({lab(120, 150, 250), lab(20, 30, 120)});
  EXPECT_EQ(blues[0], TextKey(Text::LightShade) + " " + TextKey(Text::TrayColourNames + 5));
  EXPECT_EQ(blues[1], TextKey(Text::DarkShade) + " " + TextKey(Text::TrayColourNames + 5));
}

}  // namespace
}  // namespace qj::test
