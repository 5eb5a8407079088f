// The in-game menu driven as a player drives it: presses and releases at the buttons' places on a
// windowless display, with a clock the test moves.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "controls/UButtons.h"
#include "controls/UHints.h"
#include "controls/UControlImages.h"
#include "controls/UScrollBar.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UPuzzleFile.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UBoardMenu.h"
#include "creation/UGameRecord.h"
#include "play/USavedGame.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj::test {
namespace {

using ESide = TBoardMenu::ESide;

class TBoardMenuTest : public ::testing::Test {
 protected:
  TBoardMenuTest() {
    SetClock(&Clock);
    SetDXDraw(&Display);
    Options = TOptions();
    GameRecord = TGameRecord();
    PlayOptions = TPuzzlePlayOptions();
    PlayOptions.AllowLoupe = PlayOptions.AllowGhost = PlayOptions.AllowSmallPicture = 1;
    PlayOptions.AllowNeighbourHelp = 1;
    LoadThemes();
    std::string error;
    EXPECT_TRUE(ReloadControlImages(error)) << error;
    Menu.SetDepthRange(89991, 99990);
    Menu.Enter();
    Menu.SetPicture(MakePicture());
  }
  ~TBoardMenuTest() override {
    Menu.Leave();
    SetControlImages(nullptr);
    Options = TOptions();
    GameRecord = TGameRecord();
    PlayOptions = TPuzzlePlayOptions();
    SetDXDraw(nullptr);
    SetClock(nullptr);
  }

  static TMyDib MakePicture() {
    TMyDib picture(120, 90, 32);
    picture.Fill(MakePixel(200, 120, 40));
    return picture;
  }

  static TPoint Middle(const TDXControl& c) { return {c.FLeft + c.FWidth / 2, c.FTop + c.FHeight / 2}; }

  void Press(TPoint p, int button = mbLeft) {
    Display.Cursor = p;
    Menu.MouseDown(button, button == mbRight ? ssRight : ssLeft, p.X, p.Y);
  }
  void Release(TPoint p, int button = mbLeft) {
    Display.Cursor = p;
    Menu.MouseUp(button, 0, p.X, p.Y);
  }
  void Click(TPoint p, int button = mbLeft) {
    Press(p, button);
    Release(p, button);
  }
  // A click on one side of a bar button: the left or the right mouse button at its middle.
  void ClickButton(int index, ESide side) { Click(Middle(*Menu.Button(index)), side == ESide::Left ? mbLeft : mbRight); }
  void MoveTo(TPoint p) {
    Display.Cursor = p;
    Menu.MouseMove(0, p.X, p.Y);
  }
  void Frames(int frames, uint32_t ms = 20) {
    for (int i = 0; i < frames; ++i) {
      Clock.Advance(ms);
      Menu.Update();
    }
  }
  void Draw() {
    Display.BackBuffer().Fill(0);
    Engine.DrawFrame();
  }

  TManualClock Clock;
  THeadlessDisplay Display{800, 600};
  TGraphicsEngine Engine{Display};
  TBoardMenu Menu{&Engine};
};

TEST_F(TBoardMenuTest, ToggleSidesFlipIndependently) {
  for (int button : {MenuButton::Scatter, MenuButton::Pin, MenuButton::Ghost, MenuButton::SmallPicture, MenuButton::Magnet}) {
    ClickButton(button, ESide::Left);
    EXPECT_TRUE(Menu.IsOn(button, ESide::Left)) << button;
    EXPECT_FALSE(Menu.IsOn(button, ESide::Right)) << button;
    ClickButton(button, ESide::Right);
    EXPECT_TRUE(Menu.IsOn(button, ESide::Right)) << button;
    ClickButton(button, ESide::Left);
    EXPECT_FALSE(Menu.IsOn(button, ESide::Left)) << button;
    EXPECT_TRUE(Menu.IsOn(button, ESide::Right)) << button;
  }
}

TEST_F(TBoardMenuTest, MomentarySidesStayOff) {
  for (int button : {MenuButton::Exit, MenuButton::Background, MenuButton::Theme, MenuButton::MainMenu}) {
    Press(Middle(*Menu.Button(button)));
    EXPECT_FALSE(Menu.IsOn(button, ESide::Left));
    EXPECT_EQ(Menu.Button(button)->FLeftFrame, MenuButtonFrame::Pressed);
    Release(Middle(*Menu.Button(button)));
    EXPECT_EQ(Menu.Button(button)->FLeftFrame, MenuButtonFrame::Off);
    if (Menu.ModalOpen()) Click(Middle(*Menu.ExitButton(2)));
  }
}

TEST_F(TBoardMenuTest, ToolsSelectTheCursor) {
  EXPECT_EQ(Menu.CursorTool(), ECursorTool::None);
  ClickButton(MenuButton::Magnet, ESide::Left);
  EXPECT_EQ(Menu.CursorTool(), ECursorTool::Magnet);
  ClickButton(MenuButton::Scatter, ESide::Right);
  EXPECT_EQ(Menu.CursorTool(), ECursorTool::PushAside);
  ClickButton(MenuButton::Scatter, ESide::Right);
  ClickButton(MenuButton::Pin, ESide::Right);
  EXPECT_EQ(Menu.CursorTool(), ECursorTool::Magnet);
}

TEST_F(TBoardMenuTest, DisabledHelpsIgnoreClicksAndExplainWhy) {
  PlayOptions.AllowGhost = 0;
  PlayOptions.AllowLoupe = 0;
  Menu.SetHelpHints();
  ClickButton(MenuButton::Ghost, ESide::Left);
  ClickButton(MenuButton::Loupe, ESide::Right);
  Menu.ClickSide(MenuButton::Ghost, ESide::Right);
  EXPECT_FALSE(Menu.IsOn(MenuButton::Ghost, ESide::Left));
  EXPECT_FALSE(Menu.IsOn(MenuButton::Ghost, ESide::Right));
  EXPECT_FALSE(Menu.IsOn(MenuButton::Loupe, ESide::Right));
  EXPECT_EQ(Menu.Button(MenuButton::Ghost)->FLeftHintText, TextKey(Text::NoGhostImage));
  EXPECT_EQ(Menu.Button(MenuButton::Ghost)->FRightHintText, "");
  EXPECT_EQ(Menu.Button(MenuButton::Loupe)->FLeftHintText, TextKey(Text::NoLoupe));
  EXPECT_TRUE(Menu.GhostRect().IsEmpty());
  EXPECT_EQ(GameRecord.GhostUsed, 0);
}

// One bubble a button, above it: what each click does, or the one thing it does.
TEST_F(TBoardMenuTest, EachButtonsHintNamesBothClicksOrItsOneAction) {
  const std::vector<std::string> before = LanguageText;
  Options.LanguageFile = "English.lang";
  ASSERT_TRUE(LoadLanguage());
  const std::pair<int, std::string> hints[] = {
      {MenuButton::Loupe, "Left click: Loupe (follows the mouse)|Right click: Fixed loupe (stays in its corner)"},
      {MenuButton::Exit, Lang(Text::LeaveThisPuzzle)},
      {MenuButton::MainMenu, "Options|the game waits until you come back"},
      {MenuButton::Overview, Lang(Text::WholeTableHints)},
      {MenuButton::SpreadOut, Lang(Text::SpreadOutHint)},
      {MenuButton::Sort, Lang(Text::SortHint)},
      {MenuButton::Statistics, Lang(Text::StatisticsHint)},
  };
  for (const auto& [index, text] : hints) {
    TBoardMenuButton& button = *Menu.Button(index);
    ASSERT_TRUE(button.ShowHint()) << index;
    EXPECT_EQ(button.FHint->GetCaption(), text) << index;
    EXPECT_LE(button.FHint->FTop + button.FHint->FHeight, button.FTop) << index << " stands above its button";
    EXPECT_GE(button.FHint->FLeft, 0) << index;
    EXPECT_LE(button.FHint->FLeft + button.FHint->FWidth, Engine.FWidth) << index;
    button.HideHints();
  }
  PlayOptions.AllowLoupe = 0;
  Menu.SetHelpHints();
  EXPECT_EQ(Menu.Button(MenuButton::Loupe)->HintText(), Lang(Text::NoLoupe)) << "a help the puzzle forbids says so alone";
  EXPECT_EQ(Menu.SmallPictureWindow()->GetCaption(), "Small picture");
  EXPECT_EQ(Menu.GhostWindow()->GetCaption(), "Ghost image");
  LanguageText = before;
}

// The row is centred on a wide bar, and the down arrow stays above it as the bar slides out and
// back, even when the window changed while the bar was away.
TEST_F(TBoardMenuTest, OnAWideWindowTheBarsRowIsCentredAndNoControlCoversAnother) {
  Options.AutoHideMenu = false;
  Display.BackBuffer().SetSize(1600, 900);
  Engine.UpdateSurfaceSize();
  Menu.Resize();
  const TDXControl &first = *Menu.Button(0), &last = *Menu.Button(MenuButton::Count - 1);
  EXPECT_NEAR(first.FLeft + last.FLeft + last.FWidth, 1600, 2) << "centred";
  const auto noneCovered = [this] {
    std::vector<TRect> rects;
    for (int i = 0; i < MenuButton::Count; ++i) rects.push_back(MakeRect(Menu.Button(i)->FLeft, Menu.Button(i)->FTop, Menu.Button(i)->FWidth, Menu.Button(i)->FHeight));
    for (int i = 0; i < 4; ++i) rects.push_back(MakeRect(Menu.ScrollButton(i)->FLeft, Menu.ScrollButton(i)->FTop, Menu.ScrollButton(i)->FWidth, Menu.ScrollButton(i)->FHeight));
    for (size_t a = 0; a < rects.size(); ++a)
      for (size_t b = a + 1; b < rects.size(); ++b)
        if (!Intersect(rects[a], rects[b]).IsEmpty()) return false;
    return true;
  };
  EXPECT_TRUE(noneCovered());
  Menu.ClickSide(MenuButton::MenuBar, ESide::Left);
  Frames(60);
  ASSERT_FALSE(Menu.BarShown());
  Menu.Resize();
  Menu.ClickSide(MenuButton::MenuBar, ESide::Left);
  for (int frame = 0; frame < 60; ++frame) {
    Frames(1);
    EXPECT_TRUE(noneCovered()) << "frame " << frame;
  }
  EXPECT_TRUE(Menu.BarShown());
}

TEST_F(TBoardMenuTest, TheTwoLoupesExcludeEachOther) {
  ClickButton(MenuButton::Loupe, ESide::Left);
  EXPECT_TRUE(Menu.IsOn(MenuButton::Loupe, ESide::Left));
  ClickButton(MenuButton::Loupe, ESide::Right);
  EXPECT_TRUE(Menu.IsOn(MenuButton::Loupe, ESide::Right));
  EXPECT_FALSE(Menu.IsOn(MenuButton::Loupe, ESide::Left));
  ClickButton(MenuButton::Loupe, ESide::Left);
  EXPECT_FALSE(Menu.IsOn(MenuButton::Loupe, ESide::Right));
}

TEST_F(TBoardMenuTest, ExitDialogOpensOnReleaseAndItsButtonsSetTheFlags) {
  int drops = 0;
  Menu.OnDropCarried = [&] { ++drops; };
  Press(Middle(*Menu.Button(MenuButton::Exit)));
  EXPECT_FALSE(Menu.ModalOpen());
  Release(Middle(*Menu.Button(MenuButton::Exit)));
  EXPECT_TRUE(Menu.ModalOpen());
  EXPECT_EQ(drops, 1);
  EXPECT_FALSE(Menu.ModalRect().IsEmpty());
  // Modal: the bar does not answer while the dialog is open.
  ClickButton(MenuButton::Scatter, ESide::Left);
  EXPECT_FALSE(Menu.IsOn(MenuButton::Scatter, ESide::Left));
  Click(Middle(*Menu.ExitButton(2)));
  EXPECT_FALSE(Menu.ModalOpen());
  EXPECT_FALSE(Menu.WantQuit());

  Menu.ClickSide(MenuButton::Exit, ESide::Right);
  Click(Middle(*Menu.ExitButton(0)));
  EXPECT_TRUE(Menu.WantQuit());
  EXPECT_FALSE(Menu.Abandon());

  Menu.Leave();
  Menu.Enter();
  Menu.ClickSide(MenuButton::Exit, ESide::Left);
  Click(Middle(*Menu.ExitButton(1)));
  EXPECT_TRUE(Menu.WantQuit());
  EXPECT_TRUE(Menu.Abandon());
}

TEST_F(TBoardMenuTest, ClickSideActsForTheOnReleaseButtons) {
  Menu.ClickSide(MenuButton::MainMenu, ESide::Right);
  EXPECT_TRUE(Menu.WantMainMenu());
  ASSERT_GE(BackgroundFiles.size(), 2u);
  int reloads = 0;
  Menu.OnBackgroundChanged = [&] { ++reloads; };
  Menu.ClickSide(MenuButton::Background, ESide::Left);
  EXPECT_EQ(Options.Background, 1);
  Menu.ClickSide(MenuButton::Background, ESide::Right);
  Menu.ClickSide(MenuButton::Background, ESide::Right);
  EXPECT_EQ(Options.Background, int(BackgroundFiles.size()) - 1);
  EXPECT_EQ(reloads, 3);
}

TEST_F(TBoardMenuTest, ThemeChangeRebuildsTheMenuKeepingItsState) {
  ASSERT_GE(Themes.size(), 2u);
  int changes = 0;
  Menu.OnThemeChanged = [&] {
    ++changes;
    std::string error;
    EXPECT_TRUE(ReloadControlImages(error)) << error;
  };
  ClickButton(MenuButton::Pin, ESide::Left);
  ClickButton(MenuButton::Theme, ESide::Left);
  EXPECT_EQ(Options.Environment, 1);
  EXPECT_EQ(changes, 1);
  Frames(1);
  EXPECT_TRUE(Menu.IsOn(MenuButton::Pin, ESide::Left));
  ClickButton(MenuButton::Pin, ESide::Left);
  EXPECT_FALSE(Menu.IsOn(MenuButton::Pin, ESide::Left));
  Draw();
}

TEST_F(TBoardMenuTest, BarHidesAfterASecondAwayAndShowsAtTheBottomEdge) {
  ASSERT_TRUE(Options.AutoHideMenu);
  EXPECT_TRUE(Menu.IsOn(MenuButton::MenuBar, ESide::Right));
  MoveTo({400, 200});
  Frames(45);  // 900 ms
  EXPECT_TRUE(Menu.BarShown());
  Frames(6);
  EXPECT_FALSE(Menu.BarShown());
  Frames(40);
  EXPECT_GE(Menu.BarRect().Top, 600);
  EXPECT_FALSE(Menu.MouseOverMenu(400, 590));
  MoveTo({400, 595});
  Frames(40);
  EXPECT_TRUE(Menu.BarShown());
  EXPECT_EQ(Menu.BarRect().Bottom, 600);
  // Near the bar the time is noted: no hiding while the mouse is there.
  MoveTo({400, 560});
  Frames(100);
  EXPECT_TRUE(Menu.BarShown());
}

TEST_F(TBoardMenuTest, BarButtonHidesAndAutoHideFollowsTheOptions) {
  ClickButton(MenuButton::MenuBar, ESide::Right);
  EXPECT_FALSE(Options.AutoHideMenu);
  MoveTo({400, 200});
  Frames(100);
  EXPECT_TRUE(Menu.BarShown());
  ClickButton(MenuButton::MenuBar, ESide::Left);
  Frames(40);
  EXPECT_GE(Menu.BarRect().Top, 600);
  Menu.ClickSide(MenuButton::MenuBar, ESide::Left);
  Frames(40);
  EXPECT_TRUE(Menu.BarShown());
}

TEST_F(TBoardMenuTest, LoupeSourceIsClippedOnAllFourSides) {
  const TLoupeRects inside = LoupeRects({400, 300}, 72, 72, 2.0, 800, 600);
  EXPECT_EQ(inside.Source, (TRect{364, 264, 436, 336}));
  EXPECT_EQ(inside.Dest, (TRect{0, 0, 144, 144}));
  const TLoupeRects topLeft = LoupeRects({0, 0}, 72, 72, 2.0, 800, 600);
  EXPECT_EQ(topLeft.Source, (TRect{0, 0, 36, 36}));
  EXPECT_EQ(topLeft.Dest, (TRect{72, 72, 144, 144}));
  const TLoupeRects bottomRight = LoupeRects({799, 599}, 72, 72, 2.0, 800, 600);
  EXPECT_EQ(bottomRight.Source, (TRect{763, 563, 800, 600}));
  EXPECT_EQ(bottomRight.Dest, (TRect{0, 0, 74, 74}));
  const TLoupeRects right = LoupeRects({790, 300}, 72, 72, 4.0, 800, 600);
  EXPECT_EQ(right.Source.Right, 800);
  EXPECT_EQ(right.Dest.Right, 72 + 40);
}

TEST_F(TBoardMenuTest, LoupeDrawsAtEveryEdge) {
  ClickButton(MenuButton::Loupe, ESide::Left);
  for (TPoint p : {TPoint{0, 0}, TPoint{799, 0}, TPoint{0, 599}, TPoint{799, 599}, TPoint{400, 300}}) {
    MoveTo(p);
    Frames(1);
    Draw();
  }
  const TMySprite& loupe = Engine.Sprite(Menu.LoupeSprite());
  EXPECT_TRUE(loupe.Visible);
  EXPECT_EQ(loupe.X, 400 - 72);
  EXPECT_EQ(Engine.StaleHandleUses(), 0);
}

TEST_F(TBoardMenuTest, LoupeZoomIsClamped) {
  EXPECT_EQ(LoupeZoomFactor(4), 2.0);
  EXPECT_EQ(LoupeZoomFactor(-5), 1.0);
  EXPECT_EQ(LoupeZoomFactor(99), 8.0);
  Options.LoupeZoom = 1000;
  ClickButton(MenuButton::Loupe, ESide::Right);
  Frames(1);
  Draw();  // no read outside the zoom table
}

TEST_F(TBoardMenuTest, ScrollSpeedStartsAtOneAndIsCapped) {
  EXPECT_EQ(NextScrollSpeed(7.0, 500, 200, 60), 1.0);
  EXPECT_DOUBLE_EQ(NextScrollSpeed(1.0, 10, 200, 50), 1.5);
  Options.MaxFPS = 100;
  EXPECT_DOUBLE_EQ(NextScrollSpeed(1.0, 10, 200, 0), 1.25);  // no rate measured yet
  Options.MaxFPS = 0;
  EXPECT_DOUBLE_EQ(NextScrollSpeed(1.0, 10, 200, 0), 1.0 + 25.0 / 60);
  EXPECT_EQ(NextScrollSpeed(14.9, 10, 200, 1), 15.0);
}

TEST_F(TBoardMenuTest, HeldScrollButtonSpeedsUpToFifteen) {
  Options.AutoHideScroll = false;
  Menu.OnFrameRate = [] { return 0; };
  Frames(1);
  const TPoint right = Middle(*Menu.ScrollButton(1));
  Press(right);
  EXPECT_EQ(Engine.FScrollX, 0);
  Frames(1);
  EXPECT_EQ(Engine.FScrollX, 3);
  EXPECT_DOUBLE_EQ(Menu.ScrollSpeed(), 1.0);
  Frames(100);
  EXPECT_EQ(Menu.ScrollSpeed(), 15.0);
  const int before = Engine.FScrollX;
  Frames(1);
  EXPECT_EQ(Engine.FScrollX - before, std::min(45, 800 - before));
  Release(right);
  EXPECT_LE(Engine.FScrollX, 1600 - 800);
}

// Shown for good (no auto-hide), each arrow still hides at the edge it cannot move past.
TEST_F(TBoardMenuTest, ScrollArrowsShowOnlyWhereTheTableCanMove) {
  Options.AutoHideScroll = false;
  const auto shown = [this] {
    std::array<bool, 4> s{};
    for (int i = 0; i < 4; ++i) s[size_t(i)] = Engine.Sprite(Menu.ScrollButton(i)->FSprite.Index()).Visible;
    return s;
  };
  Frames(1);
  EXPECT_EQ(shown(), (std::array<bool, 4>{false, true, false, true}));  // left, right, up, down
  Engine.FScrollX = 1600 - 800;
  Engine.FScrollY = 1200 - 600;
  Frames(1);
  EXPECT_EQ(shown(), (std::array<bool, 4>{true, false, true, false}));
  Engine.FScrollX = 100;
  Frames(1);
  EXPECT_EQ(shown(), (std::array<bool, 4>{true, true, true, false}));
}

TEST_F(TBoardMenuTest, ValuesAreClamped) {
  Menu.Leave();
  Options.GhostAlpha = 0;
  Options.SmallPicSize = 128;
  Menu.Enter();
  EXPECT_EQ(Menu.GhostSlider()->FPosition, 1);
  EXPECT_EQ(Menu.SmallPictureStep(), 8);
  Menu.Leave();
  Options.GhostAlpha = 900;
  Options.SmallPicSize = -3;
  Menu.Enter();
  EXPECT_EQ(Menu.GhostSlider()->FPosition, 255);
  EXPECT_EQ(Menu.SmallPictureStep(), 1);
}

TEST_F(TBoardMenuTest, GhostIsATranslucentTableSprite) {
  Options.GhostAlpha = 0;
  Menu.Leave();
  Menu.Enter();
  Menu.SetPicture(MakePicture());
  ClickButton(MenuButton::Ghost, ESide::Left);
  EXPECT_EQ(GameRecord.GhostUsed, 1);
  const TRect ghost = Menu.GhostRect();
  ASSERT_FALSE(ghost.IsEmpty());
  EXPECT_EQ(ghost.Width(), 120);
  Engine.FScrollX = 100;
  Frames(1);
  EXPECT_EQ(Menu.GhostRect(), ghost);  // it lies on the table
  Draw();
  ClickButton(MenuButton::Ghost, ESide::Left);
  EXPECT_TRUE(Menu.GhostRect().IsEmpty());
}

// Hidden helps hold no picture-sized copies; shown, they hold the picture.
TEST_F(TBoardMenuTest, PictureCopiesLiveOnlyWhileTheirHelpIsShown) {
  const auto ghost = [&]() -> const TSurface* {
    for (int i = 0; i < Engine.SpriteCount(); ++i)
      if (Engine.Sprite(i).Id != 0 && Engine.Sprite(i).Category == SpriteCategory::Ghost) return Engine.Sprite(i).Image();
    return nullptr;
  };
  ASSERT_NE(ghost(), nullptr);
  EXPECT_LE(ghost()->Width(), 1);
  EXPECT_FALSE(Menu.SmallPictureWindow()->FHasPicture);
  for (const bool shown : {true, false}) {
    ClickButton(MenuButton::Ghost, ESide::Left);
    ClickButton(MenuButton::SmallPicture, ESide::Left);
    EXPECT_EQ(Menu.SmallPictureWindow()->FHasPicture, shown);
    ASSERT_NE(ghost(), nullptr);
    EXPECT_EQ(ghost()->Width(), shown ? 120 : 1);
    if (shown) {
      EXPECT_EQ(ghost()->At(60, 45) & kRgbMask, MakePixel(200, 120, 40));
    }
  }
}

TEST_F(TBoardMenuTest, SmallPictureSliderSetsTheStepAndTheRecord) {
  Menu.SmallPictureSlider()->SetPosition(2);
  ClickButton(MenuButton::SmallPicture, ESide::Left);
  const TRect before = Menu.SmallPictureRect();
  ASSERT_FALSE(before.IsEmpty());
  EXPECT_EQ(GameRecord.MaxPictureSize, 2);
  Menu.SmallPictureSlider()->SetPosition(7);
  EXPECT_EQ(Menu.SmallPictureStep(), 7);
  EXPECT_EQ(GameRecord.MaxPictureSize, 7);
  EXPECT_GT(Menu.SmallPictureRect().Width(), before.Width());
  Engine.FScrollX = 50;
  EXPECT_EQ(Menu.SmallPictureRect().Left, Menu.SmallPictureWindow()->FLeft + 50);
}

TEST_F(TBoardMenuTest, ArrangementTurnsTheHelpsOnSideBySide) {
  ClickButton(MenuButton::Arrange, ESide::Left);
  EXPECT_TRUE(Menu.IsOn(MenuButton::Ghost, ESide::Left));
  EXPECT_TRUE(Menu.IsOn(MenuButton::SmallPicture, ESide::Left));
  EXPECT_TRUE(Menu.IsOn(MenuButton::Loupe, ESide::Right));
  EXPECT_EQ(Menu.SmallPictureStep(), 4);
  const TRect ghost = Menu.GhostRect(), small = Menu.SmallPictureRect();
  EXPECT_EQ(ghost.Left - Menu.GhostWindow()->FInsetLeft, 10);
  EXPECT_EQ(small.Left, Menu.GhostWindow()->FLeft + Menu.GhostWindow()->FWidth + 10);
  EXPECT_EQ(Options.StatLoupeX, small.Right + 10);
}

TEST_F(TBoardMenuTest, SetupWindowTimesOut) {
  ClickButton(MenuButton::Ghost, ESide::Left);
  MoveTo({700, 300});
  Frames(240);  // 4.8 s
  EXPECT_TRUE(Engine.Sprite(Menu.GhostWindow()->FSprite.Index()).Visible);
  Frames(20);
  EXPECT_FALSE(Engine.Sprite(Menu.GhostWindow()->FSprite.Index()).Visible);
  EXPECT_TRUE(Menu.IsOn(MenuButton::Ghost, ESide::Left));
}

TEST_F(TBoardMenuTest, ClaimsDropsOverTheBarOnly) {
  MoveTo({400, 590});
  Frames(1);
  EXPECT_TRUE(Menu.ClaimsDrop(400, 590));
  EXPECT_FALSE(Menu.ClaimsDrop(400, 200));
  EXPECT_EQ(Menu.TrayIconOffsetX(), -12);
  EXPECT_EQ(Menu.TrayIconOffsetY(), 4);
}

TEST_F(TBoardMenuTest, SavedStateRoundTripReappliesToggles) {
  ClickButton(MenuButton::Scatter, ESide::Left);
  ClickButton(MenuButton::Pin, ESide::Right);
  ClickButton(MenuButton::Ghost, ESide::Left);
  ClickButton(MenuButton::Magnet, ESide::Right);
  ClickButton(MenuButton::MenuBar, ESide::Right);
  Menu.SmallPictureSlider()->SetPosition(6);
  TSavedMenu saved;
  Menu.SaveState(saved);
  const TRect ghost = Menu.GhostRect();

  Menu.Leave();
  Options = TOptions();
  GameRecord = TGameRecord();
  Menu.Enter();
  Menu.SetPicture(MakePicture());
  Menu.LoadState(saved);
  TSavedMenu again;
  Menu.SaveState(again);
  EXPECT_EQ(again, saved);
  EXPECT_EQ(Menu.GhostRect(), ghost);
  EXPECT_EQ(GameRecord.GhostUsed, 1);  // re-applied, not just shown
  EXPECT_FALSE(Options.AutoHideMenu);
  EXPECT_EQ(Menu.SmallPictureStep(), 6);
}

TEST_F(TBoardMenuTest, StatisticsTextAndProgressHints) {
  TGameRecord record;
  record.Joins = 5;
  record.Percent = 40;
  record.Elapsed = 3725.0 / 86400;
  record.TimeBonus = 0.5;
  record.MaxPictureSize = 8;
  record.MaxStickRange = 10;
  record.Score = 42.0;
  Menu.UpdateStatistics(record);
  const std::string& text = Menu.StatisticsText();
  EXPECT_NE(text.find(Lang(Text::TimeLabel) + " 1:02:05 50%"), std::string::npos) << text;
  EXPECT_NE(text.find(Lang(Text::DoneLabel) + " 40%"), std::string::npos);
  EXPECT_NE(text.find(Lang(Text::NoGhostLabel) + " + 25%"), std::string::npos);
  EXPECT_NE(text.find(Lang(Text::ScoreLabel) + " 42"), std::string::npos);
  Menu.ShowProgress();
  Frames(5);
  Draw();
}

// The mouse on the cubes opens their statistics, and no bubble covers another.
TEST_F(TBoardMenuTest, TheCubesShowTheirStatisticsInBubblesThatDoNotOverlap) {
  TGameRecord record;
  record.Elapsed = 3725.0 / 86400;
  for (const int width : {800, 420}) {
    Display.BackBuffer().SetSize(width, 600);
    Engine.UpdateSurfaceSize();
    Menu.Resize();
    MoveTo({5, 5});
    Menu.UpdateGameState(record);
    MoveTo({30, 600 - 50});
    Menu.UpdateGameState(record);
    EXPECT_NE(Menu.StatisticsText().find(Lang(Text::TimeLabel) + " 1:02:05"), std::string::npos);
    std::vector<TRect> boxes;
    for (int i = 0; i < TBoardStatistics::kProgressHints; ++i) {
      const TDXHint* hint = Menu.StatisticsHint(i);
      ASSERT_TRUE(hint && hint->Shown()) << i;
      const TRect box = MakeRect(hint->FLeft, hint->FTop, hint->FWidth, hint->FHeight);
      for (const TRect& other : boxes) EXPECT_TRUE(Intersect(box, other).IsEmpty()) << width << ": bubble " << i;
      boxes.push_back(box);
    }
    for (int i = 0; i < TBoardStatistics::kProgressHints; ++i) Menu.StatisticsHint(i)->HideHint();
  }
}

}  // namespace
}  // namespace qj::test
