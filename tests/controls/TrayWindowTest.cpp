// Piece trays on the scrolled table: bounds, restoring saved bounds, the tab icon and its
// states, the title buttons, and which presses a tray takes.
#include <algorithm>
#include <cmath>

#include "controls/UButtons.h"
#include "controls/UControlImages.h"
#include "controls/UHints.h"
#include "controls/UTrayWindow.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Input.h"
#include "tests/controls/ControlFixture.h"

namespace qj::test {
namespace {

class Trays : public TControlTest {
 protected:
  TDXTrayWindow& MakeTray() {
    auto& tray = Screen.AddOwnedControl<TDXTrayWindow>();
    tray.OnShow = [this](TDXControl*) { ++Shows; };
    tray.OnHide = [this](TDXControl*) { ++Hides; };
    tray.OnActivate = [this](TDXControl*) { ++Activations; };
    tray.OnEmpty = [this](TDXControl*) { ++Empties; };
    Frames(1);
    return tray;
  }
  // A click on the tab icon, handed to the tray as the play screen hands it.
  void ClickIcon(TDXTrayWindow& tray, TPoint at) {
    TMySprite* icon = tray.IconSprite();
    icon->X = at.X;
    icon->Y = at.Y;
    // The icon is the tray's sprite too: the screen hands the press to the tray.
    Press(at.X + 5, at.Y + 5);
    ASSERT_EQ(Screen.FSprite, tray.FIconSprite.Index());
    Release(at.X + 5, at.Y + 5);
  }
  bool IconShows(const TDXTrayWindow& tray, int image) {
    const TMyDib* wanted = ImageAt(CurrentControlImages()->TrayImages, image);
    const TSurface& shown = *tray.IconSprite()->Surfaces[0];
    return shown.Width() == wanted->Width() && shown.Height() == wanted->Height() &&
           std::equal(shown.Bits(), shown.Bits() + shown.Width() * shown.Height(), wanted->Bits());
  }

  int Shows = 0, Hides = 0, Activations = 0, Empties = 0;
};

TEST_F(Trays, ATrayStartsHiddenOnTheTable) {
  TDXTrayWindow& tray = MakeTray();
  EXPECT_EQ(tray.BoundsRect(), MakeRect(100, 100, 300, 200));
  EXPECT_FALSE(tray.FSprite.Get()->Visible);
  EXPECT_FALSE(tray.FSprite.Get()->Fixed);
  EXPECT_FALSE(tray.IconSprite()->Visible);
  EXPECT_EQ(tray.IconSprite()->Category, SpriteCategory::TrayIcon);
  EXPECT_TRUE(tray.FResizable);
  EXPECT_EQ(tray.FFrameStyle, 1);
}

// The mouse resting on the tab icon, or on the open window's title band, tells what a tray is.
TEST_F(Trays, ATrayHasACaptionAndAHintOverItsTabAndItsTitle) {
  const std::vector<std::string> before = LanguageText;
  Options.LanguageFile = "English.lang";
  ASSERT_TRUE(LoadLanguage());
  TDXTrayWindow& tray = MakeTray();
  tray.SetTrayNumber(3);
  EXPECT_EQ(tray.GetCaption(), "Tray 3");
  tray.ShowIcon();
  tray.IconSprite()->X = 600;
  tray.IconSprite()->Y = 500;
  const auto restOn = [&](int x, int y) {
    Move(x, y);
    Frames(60);
    return tray.FHint->Shown() && tray.FHint->GetCaption() == Lang(Text::TrayHint);
  };
  EXPECT_TRUE(restOn(610, 510)) << "on the tab icon";
  tray.FHint->HideHint();
  EXPECT_FALSE(restOn(tray.FLeft + 20, tray.FTop + 2)) << "no title band while the tray is closed";
  tray.Open();
  EXPECT_TRUE(restOn(tray.FLeft + 22, tray.FTop + 3)) << "on the title band";
  LanguageText = before;
}

TEST_F(Trays, BoundsStayOnTheTable) {
  TDXTrayWindow& tray = MakeTray();
  tray.SetLeft(1500);
  EXPECT_EQ(tray.FLeft, 1300);
  tray.SetLeft(-5);
  EXPECT_EQ(tray.FLeft, 0);
  tray.SetLeft(100);
  tray.SetWidth(2000);
  EXPECT_EQ(tray.FWidth, 1500);
  tray.SetWidth(20);
  EXPECT_EQ(tray.FWidth, 100);
  tray.SetTop(1100);
  EXPECT_EQ(tray.FTop, 1000);
  // At least 50, and not below the small frame's own minimum either.
  const int frameMinimum = int(std::lround(CurrentControlImages()->WindowStyles[1].FrameInactive->Height() / 1.85));
  tray.SetHeight(5);
  EXPECT_EQ(tray.FHeight, std::max(50, frameMinimum));
}

TEST_F(Trays, SavedBoundsNearTheTableEdgeComeBackUnmoved) {
  TDXTrayWindow& tray = MakeTray();
  tray.RestoreBounds(1400, 1050, 150, 120);
  EXPECT_EQ(tray.BoundsRect(), MakeRect(1400, 1050, 150, 120));
  tray.RestoreBounds(0, 0, 1600, 1200);
  EXPECT_EQ(tray.BoundsRect(), MakeRect(0, 0, 1600, 1200));
}

TEST_F(Trays, TheIconShowsWhetherTheTrayHoldsPiecesAndIsOpen) {
  TDXTrayWindow& tray = MakeTray();
  tray.ShowIcon();
  EXPECT_TRUE(tray.IconSprite()->Visible);
  EXPECT_EQ(Shows, 1);
  tray.FHasPieces = true;
  Frames(1);
  EXPECT_EQ(tray.FIconState, TrayImage::FullCollapsed);
  EXPECT_TRUE(IconShows(tray, TrayImage::FullCollapsed));
  tray.Open();
  Frames(1);
  EXPECT_EQ(tray.FIconState, TrayImage::FullOpen);
  EXPECT_TRUE(IconShows(tray, TrayImage::FullOpen));
  tray.Collapse();
  tray.FHasPieces = false;
  Frames(1);
  EXPECT_EQ(tray.FIconState, TrayImage::EmptyCollapsed);
  EXPECT_EQ(Hides, 1);
  tray.HideAll();
  EXPECT_FALSE(tray.IconSprite()->Visible);
}

TEST_F(Trays, TheIconCollapsesAnOpenTrayAndOpensAndActivatesACollapsedOne) {
  TDXTrayWindow& tray = MakeTray();
  auto& other = Screen.AddOwnedControl<TDXWindow>();
  other.SetBounds(450, 350, 200, 150);
  Frames(1);
  tray.Open();
  Click(500, 400);
  ASSERT_EQ(ActiveWindow, &other);

  ClickIcon(tray, {700, 550});
  EXPECT_FALSE(tray.FSprite.Get()->Visible);
  EXPECT_EQ(ActiveWindow, &other);
  EXPECT_EQ(Activations, 0);

  ClickIcon(tray, {700, 550});
  EXPECT_TRUE(tray.FSprite.Get()->Visible);
  EXPECT_EQ(ActiveWindow, &tray);
  EXPECT_TRUE(tray.FActive);
  EXPECT_FALSE(other.FActive);
  EXPECT_EQ(Activations, 1);
}

TEST_F(Trays, ACollapsedTrayTakesNoPressOnItsArea) {
  TDXTrayWindow& tray = MakeTray();
  tray.Open();
  tray.Collapse();
  Press(150, 110);
  tray.MouseDown(mbLeft, ssLeft, 150, 110);  // even when handed to it directly
  Move(200, 150);
  Release(200, 150);
  EXPECT_EQ(ActiveWindow, nullptr);
  EXPECT_EQ(Activations, 0);
  EXPECT_EQ(tray.BoundsRect(), MakeRect(100, 100, 300, 200));
}

TEST_F(Trays, PressesOnTheScrolledTableMoveTheTrayInTableCoordinates) {
  TDXTrayWindow& tray = MakeTray();
  tray.Open();
  Engine.FScrollX = 50;
  Engine.FScrollY = 30;
  Press(100, 75);  // table (150, 105): the title band
  EXPECT_EQ(ActiveWindow, &tray);
  EXPECT_EQ(Activations, 1);
  Move(140, 95);
  Release(140, 95);
  EXPECT_EQ(tray.BoundsRect(), MakeRect(140, 120, 300, 200));
}

TEST_F(Trays, TheTitleButtonsCollapseAndEmpty) {
  TDXTrayWindow& tray = MakeTray();
  tray.Open();
  Frames(1);
  TDXButton& close = *tray.FCloseButton;
  TDXButton& empty = *tray.FEmptyButton;
  EXPECT_EQ(close.FLeft, tray.FLeft + tray.FWidth - close.FWidth);
  EXPECT_EQ(empty.FLeft, tray.FLeft + tray.FWidth - 2 * empty.FWidth - 2);
  EXPECT_EQ(close.FTop, tray.FTop);
  EXPECT_GT(close.FSprite.Get()->Depth, tray.FSprite.Get()->Depth);
  EXPECT_TRUE(close.FSprite.Get()->Visible);

  Click(empty.FLeft + empty.FWidth / 2, empty.FTop + empty.FHeight / 2);
  EXPECT_EQ(Empties, 1);
  Click(close.FLeft + close.FWidth / 2, close.FTop + close.FHeight / 2);
  EXPECT_FALSE(tray.FSprite.Get()->Visible);
  EXPECT_FALSE(close.FSprite.Get()->Visible);
  EXPECT_EQ(Hides, 1);
}

TEST_F(Trays, DraggingATrayAroundRedrawsNothingAndSizingOncePerFrame) {
  TDXTrayWindow& tray = MakeTray();
  tray.Open();
  Click(150, 105);  // activation draws the active frame once
  Frames(1);
  const int repaints = tray.RepaintCount();
  Press(150, 105);
  for (int i = 1; i <= 40; ++i) Move(150 + i, 105 + i);
  Release(190, 145);
  Frames(2);
  EXPECT_EQ(tray.RepaintCount(), repaints);
  const TPoint corner{tray.FLeft + tray.FWidth - 2, tray.FTop + tray.FHeight - 2};
  Press(corner.X, corner.Y);
  for (int i = 1; i <= 40; ++i) Move(corner.X + i, corner.Y + i);
  Release(corner.X + 40, corner.Y + 40);
  Frames(2);
  EXPECT_EQ(tray.RepaintCount(), repaints + 1);
  EXPECT_EQ(tray.FWidth, 340);
}

}  // namespace
}  // namespace qj::test
