// The main window: where it opens, full screen from the settings, resize limits, the display
// modes, and faults in a handler that must not end the program.
#include <gtest/gtest.h>

#include <stdexcept>

#include "controls/UControls.h"
#include "app/UMain.h"
#include "core/UMiscelaneous.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "screens/UMainInterface.h"
#include "tests/support/GameRun.h"

namespace qj::test {
namespace {

using MainWindowTest = TEngineFixture;

// The window manager's frame (1 pixel at the sides, a 20-pixel title, 5 at the bottom) fits too.
TEST_F(MainWindowTest, WithoutSettingsTheFirstWindowIsTheLargestThatFitsTheWorkAreaCentred) {
  display.Screen = {0, 0, 1920, 1080};
  display.Frame = {1, 20, 1, 5};
  Start();
  EXPECT_EQ(display.ClientOrigin(), (TPoint{160, 20}));
  EXPECT_EQ(display.WindowBounds(), MakeRect(159, 0, 1602, 1080));
  EXPECT_FALSE(display.FullScreenOption());
  EXPECT_EQ(display.Width(), 1600);
  EXPECT_EQ(display.Height(), 1055);
  EXPECT_EQ(mainWindow->Tag, 1);
}

// Moved and resized, the window is written to the settings file (without waiting for the end);
// the next start on a smaller display brings it back inside; a file without the keys gives the
// first start's window again.
TEST_F(MainWindowTest, TheWindowsPlaceGoesThroughTheSettingsAndComesBackInsideTheDisplay) {
  display.Screen = {0, 0, 1920, 1080};
  Start();
  display.SetWindowBounds(MakeRect(700, 300, 1000, 700));
  TInputEvent moved{TInputKind::Moved};
  mainWindow->HandleEvent(moved);
  for (int i = 0; i < 60; ++i) Frame();
  LoadWindowPlacement(DataPath("Text/Jigsaw.stg"));
  EXPECT_EQ(MakeRect(Options.WindowLeft, Options.WindowTop, Options.WindowWidth, Options.WindowHeight),
            MakeRect(700, 300, 1000, 700));
  Close();

  display.Screen = {0, 0, 1024, 768};
  Start();
  EXPECT_EQ(display.WindowBounds(), MakeRect(24, 68, 1000, 700));
  Close();

  WriteSettings("[Screen]\r\nFullScreen=0\r\n");
  Start();
  EXPECT_EQ(display.WindowBounds(), MakeRect(0, 0, 1024, 768));
}

TEST_F(MainWindowTest, AStoredWindowLargerThanTheDisplayShrinksToItAndAMaximisedOneIsMaximisedAgain) {
  display.Screen = {0, 0, 1280, 1024};
  WriteSettings("[Window]\r\nWindowLeft=-3000\r\nWindowTop=50\r\nWindowWidth=2400\r\nWindowHeight=1300\r\n"
                "WindowMaximized=1\r\n");
  Start();
  EXPECT_EQ(display.WindowBounds(), MakeRect(0, 0, 1280, 1024));
  EXPECT_TRUE(display.IsMaximized);
}

TEST_F(MainWindowTest, FullScreenWithoutANamedModeShowsTheDesktopsSizeFittedToThePlayTable) {
  display.Screen = {0, 0, 1920, 1080};
  WriteSettings("[Screen]\r\nFullScreen=1\r\n");
  Start();
  EXPECT_TRUE(display.FullScreenOption());
  EXPECT_EQ(display.Width(), 1600);
  EXPECT_EQ(display.Height(), 900);
}

TEST_F(MainWindowTest, FullScreenSettingsGiveABorderlessModeAtTheOrigin) {
  display.Modes = {{1024, 768, 32, 60}, {1024, 768, 32, 75}, {1024, 768, 16, 60}, {800, 600, 32, 85}};
  WriteSettings("[Screen]\r\nFullScreen=1\r\nDisplayResolution=3\r\nDisplayRefresh=2\r\n");
  Start();
  EXPECT_TRUE(display.FullScreenOption());
  EXPECT_TRUE(display.Borderless);
  EXPECT_EQ(display.WindowBounds(), MakeRect(0, 0, 1024, 768));
  const TDisplayMode mode = display.FullScreenMode();
  EXPECT_EQ(mode.Width, 1024);
  EXPECT_EQ(mode.Height, 768);
  EXPECT_EQ(mode.BitCount, 32);
  EXPECT_EQ(mode.Refresh, 75);
  EXPECT_EQ(RefreshRates, (std::vector<uint32_t>{0, 60, 75}));
  EXPECT_EQ(display.Width(), 1024);
}

TEST_F(MainWindowTest, AStoredRefreshIndexBeyondTheListFallsBackToTheDefaultRate) {
  display.Modes = {{800, 600, 32, 60}};
  WriteSettings("[Screen]\r\nFullScreen=1\r\nDisplayResolution=1\r\nDisplayRefresh=9\r\n");
  Start();
  EXPECT_EQ(display.FullScreenMode().Refresh, 0);
}

TEST_F(MainWindowTest, DisplayModeStringsParse) {
  const TDisplaySetting s = ParseDisplayMode(6);
  EXPECT_EQ(s.Width, 1280);
  EXPECT_EQ(s.Height, 960);
  EXPECT_EQ(s.BitCount, 16);
}

TEST_F(MainWindowTest, ResizeIsHeldToTheGamesSizeOnlyOnceTheEngineExists) {
  TPlatformServices services;
  Tmf early(display, services);
  int w = 300, h = 2000;
  early.FormCanResize(w, h);
  EXPECT_EQ(w, 300);
  EXPECT_EQ(h, 2000);

  Start();
  w = 300;
  h = 2000;
  mainWindow->FormCanResize(w, h);
  EXPECT_EQ(w, 790);
  EXPECT_EQ(h, 2000);  // beyond 1600 x 1200 the surface is scaled up
  w = 3840;
  h = 400;
  mainWindow->FormCanResize(w, h);
  EXPECT_EQ(w, 3840);
  EXPECT_EQ(h, 570);
}

TEST_F(MainWindowTest, OnALargeDesktopTheFirstWindowStopsAtThePlayTablesSize) {
  display.Screen = {0, 0, 3840, 2160};
  Start();
  EXPECT_EQ(display.WindowBounds(), MakeRect(1120, 480, 1600, 1200));
  EXPECT_EQ(display.Width(), 1600);
}

TEST_F(MainWindowTest, StartedFullScreenAltEnterComesBackToTheFirstWindow) {
  display.Screen = {0, 0, 1921, 1080};
  WriteSettings("[Screen]\r\nFullScreen=1\r\nDisplayResolution=6\r\nDisplayRefresh=9\r\n");
  Start();
  EXPECT_EQ(display.Width(), 1280);
  uint16_t key = VK_RETURN;
  mainWindow->Engine()->KeyUp(key, ssAlt);
  EXPECT_FALSE(display.FullScreenOption());
  EXPECT_EQ(display.WindowBounds(), MakeRect(160, 0, 1600, 1080));
}

TEST_F(MainWindowTest, ASecondSurfaceInitialisationKeepsTheEngine) {
  Start();
  TGameEngine* engine = mainWindow->Engine();
  display.Finalize();
  display.Initialize();
  EXPECT_EQ(mainWindow->Engine(), engine);
}

// A control that fails whenever it is pressed.
class TFaultyControl : public TDXControl {
 public:
  explicit TFaultyControl(TInterface* owner) : TDXControl(owner) { FCapture = true; }
  void MouseDown(int, int, int, int) override { throw std::runtime_error("broken handler"); }
  void Paint() override {}
  void Restore() override {}
};

TEST_F(MainWindowTest, AFaultInAHandlerIsReportedAndTheProgramGoesOn) {
  Start();
  TFaultyControl faulty(&Engine().MainMenu());
  TInputEvent press{TInputKind::MouseDown, 0, 0, 50, 50};
  mainWindow->HandleEvent(press);
  EXPECT_FALSE(mainWindow->Terminated());
  Frame();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "broken handler");
  EXPECT_EQ(Engine().Active(), static_cast<TInterface*>(&Engine().MainMenu()));
}

TEST_F(MainWindowTest, EscapeOnTheMainMenuClosesTheProgramAndSavesTheSettings) {
  Start();
  Frame();
  Key(VK_ESCAPE);
  Frame();
  EXPECT_TRUE(mainWindow->Terminated());
  EXPECT_EQ(mainWindow->Engine(), nullptr);
  EXPECT_TRUE(FileExists(DataPath("Text/Jigsaw.stg")));
}

}  // namespace
}  // namespace qj::test
