// The game engine: screen switches, the redraw counter, input routing and the program-wide keys.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/UControls.h"
#include "app/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "screens/UPuzzleMakerInterface.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UBoardPlayInterface.h"
#include "platform/BmpCodec.h"
#include "platform/Input.h"
#include "platform/JpegCodec.h"
#include "platform/PngCodec.h"
#include "platform/Paths.h"
#include "screens/UMainInterface.h"
#include "screens/UOptionsInterface.h"
#include "screens/UPuzzleSelectorInterface.h"
#include "tests/support/GameRun.h"

namespace qj::test {
namespace {

// Records the mouse events that reach it; it captures, so it sees every press and release.
class TRecorder : public TDXControl {
 public:
  explicit TRecorder(TInterface* owner) : TDXControl(owner) { FCapture = true; }
  void MouseDown(int button, int shift, int, int) override {
    Button = button;
    Shift = shift;
  }
  void Paint() override {}
  void Restore() override {}
  int Button = -1, Shift = -1;
};

class EngineTest : public TEngineFixture {
 protected:
  void SetUp() override {
    Start();
    Frame();
  }
  TInterface* Active() { return Engine().Active(); }
  template <class T>
  TInterface* Screen(T& s) { return static_cast<TInterface*>(&s); }
};

TEST_F(EngineTest, TheMainMenuIsActiveAfterStartUp) {
  EXPECT_EQ(Active(), Screen(Engine().MainMenu()));
  EXPECT_TRUE(Engine().Timer().Enabled);
}

int LiveSprites(TGraphicsEngine& graphics) {
  int live = 0;
  for (int i = 0; i < graphics.SpriteCount(); ++i) live += graphics.Sprite(i).Id != 0;
  return live;
}

TEST_F(EngineTest, TheMainMenuWritesItsChoicesAndTakesThemAwayWhenLeft) {
  const int menu = LiveSprites(Engine().Graphics());
  EXPECT_GT(menu, 4);
  Engine().MainMenu().Leave();
  EXPECT_EQ(LiveSprites(Engine().Graphics()), 0);
  Frame();
  EXPECT_EQ(Active(), nullptr);
  Engine().MainMenu().Enter();
  EXPECT_EQ(LiveSprites(Engine().Graphics()), menu);
}

TEST_F(EngineTest, ScreensSwitchAtTheEndOfTheFrameByTheirResult) {
  Options.LastJigsaw = MakeJigsaw("Test", false);
  Key('1');
  ASSERT_EQ(Active(), Screen(Engine().MainMenu())) << "the switch waits for the frame";
  EXPECT_TRUE(Active()->Done());
  Frame();
  EXPECT_EQ(Active(), Screen(Engine().Selector()));

  Key(VK_ESCAPE);
  Frame();
  EXPECT_EQ(Active(), Screen(Engine().MainMenu()));
  EXPECT_EQ(Engine().MainMenu().FMouseStill, 0u);

  Key('2');
  Frame();
  EXPECT_EQ(Active(), Screen(Engine().OptionsScreen()));
  Key(VK_ESCAPE);
  Frame();
  EXPECT_EQ(Active(), Screen(Engine().MainMenu()));

  Key('4');
  Frame();
  EXPECT_EQ(Active(), Screen(Engine().Maker()));
  CloseMessages();
  Key(VK_ESCAPE);
  Frame();
  EXPECT_EQ(Active(), Screen(Engine().Selector()));
}

TEST_F(EngineTest, APictureHandedToTheProgramOpensTheSelectorOnIt) {
  const std::string picture = MakeJigsaw("Handed", false);
  MakeJigsaw("Another", false);
  Engine().ShowInSelector(picture);
  Frame();
  EXPECT_EQ(Active(), Screen(Engine().Selector()));
  EXPECT_EQ(Engine().Selector().CurrentPath(), picture);
}

TEST_F(EngineTest, TheSelectorOffersEveryPictureFormatOfTheLibrary) {
  TMyDib picture(8, 6, 24);
  picture.Fill(MakePixel(90, 60, 30));
  std::vector<uint8_t> jpeg, png;
  std::string error;
  ASSERT_TRUE(EncodeJpeg(picture, 90, jpeg, error) && EncodePng(picture, png, error)) << error;
  const std::vector<uint8_t> bmp = EncodeBmp(picture, 24);
  const auto write = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(WriteFileAtomic(folder.File("Jigsaws/" + name), bytes.data(), bytes.size()));
  };
  write("a.png", png);
  write("c.DIB", bmp);
  write("b.jpeg", jpeg);
  for (const char* other : {"d.txt", "a.pzl"}) folder.Write("Jigsaws/" + std::string(other), "x");
  Key('1');
  Frame();
  ASSERT_EQ(Active(), Screen(Engine().Selector()));
  std::vector<std::string> offered;
  for (int step = 0; step < 4; ++step) {
    offered.push_back(ExtractFileName(Engine().Selector().CurrentPath()));
    Key(VK_RIGHT);
  }
  EXPECT_EQ(offered, (std::vector<std::string>{"a.png", "b.jpeg", "c.DIB", "a.png"}));
}

TEST_F(EngineTest, AResultNotInTheTableLeavesNoActiveScreenAndIsRetriedEveryFrame) {
  Engine().MainMenu().Finish(9);
  Frame();
  EXPECT_EQ(Active(), nullptr);
  EXPECT_EQ(Engine().Finished(), Screen(Engine().MainMenu()));
  Frame();
  EXPECT_EQ(Active(), nullptr);
  Engine().MainMenu().Finish(1);
  Frame();
  EXPECT_EQ(Active(), Screen(Engine().Selector()));
}

TEST_F(EngineTest, FullRedrawsComeInTwoFramesAfterASwitchAndAgainEvery201Frames) {
  TGraphicsEngine& graphics = Engine().Graphics();
  Engine().ForceRedraw();
  std::vector<int> fullFrames;
  for (int frame = 1; frame <= 410; ++frame) {
    // A freed sprite at the end of the array is trimmed only by a full redraw.
    graphics.FreeSprite(graphics.AddEmptySprite(0, 0, 1, 0));
    const int before = graphics.SpriteCount();
    Frame();
    if (graphics.SpriteCount() < before) fullFrames.push_back(frame);
  }
  EXPECT_EQ(fullFrames, (std::vector<int>{1, 2, 202, 203, 403, 404}));
}

TEST_F(EngineTest, ReversedMouseTurnsARightClickIntoALeftClick) {
  TRecorder recorder(&Engine().MainMenu());
  Options.ReverseMouse = true;
  Engine().MouseDown(mbRight, ssRight | ssShift, 40, 40);
  EXPECT_EQ(recorder.Button, mbLeft);
  EXPECT_EQ(recorder.Shift, ssLeft | ssShift);
  Engine().MouseDown(mbMiddle, ssMiddle, 40, 40);
  EXPECT_EQ(recorder.Button, mbMiddle);
  Options.ReverseMouse = false;
  Engine().MouseDown(mbRight, ssRight, 40, 40);
  EXPECT_EQ(recorder.Button, mbRight);
  EXPECT_EQ(recorder.Shift, ssRight);
}

TEST_F(EngineTest, APressAtTheOriginReachesTheScreenAndThenMinimises) {
  TRecorder recorder(&Engine().MainMenu());
  Engine().MouseDown(mbLeft, ssLeft, 0, 0);
  EXPECT_EQ(recorder.Button, mbLeft);
  EXPECT_EQ(display.Minimized, 1);
  Engine().MouseDown(mbLeft, ssLeft, 0, 1);
  EXPECT_EQ(display.Minimized, 1);
}

TEST_F(EngineTest, HotKeysMinimiseAndClose) {
  Options.Hotkeys[0] = {VK_F12, 0};
  Options.Hotkeys[2] = {'Q', ssCtrl};
  Key(VK_F12);
  EXPECT_EQ(display.Minimized, 1);
  Key('Q', ssCtrl | ssLeft);  // a held mouse button does not count
  Frame();
  EXPECT_TRUE(mainWindow->Terminated());
}

TEST_F(EngineTest, TheTimerIntervalFollowsMaxFps) {
  WriteSettings("[Screen]\r\nMaxFPS=100\r\n");
  mainWindow.reset();
  Start();
  EXPECT_EQ(Engine().Timer().Interval, 10u);
  WriteSettings("[Screen]\r\nMaxFPS=250\r\n");
  mainWindow.reset();
  Start();
  EXPECT_EQ(Engine().Timer().Interval, 0u);
}

TEST_F(EngineTest, CtrlAltKeysToggleTheOverlayAndThePulse) {
  const bool overlay = OverlayVisible;
  Key(VK_F10, ssCtrl | ssAlt);
  EXPECT_NE(OverlayVisible, overlay);
  Key(VK_F10, ssCtrl | ssAlt | ssShift);  // not exactly Ctrl+Alt
  EXPECT_NE(OverlayVisible, overlay);
  Key(VK_F10, ssCtrl | ssAlt);
  EXPECT_EQ(OverlayVisible, overlay);
  const int pulse = Engine().Graphics().FPulseStep;
  Key(VK_F9, ssCtrl | ssAlt);
  EXPECT_EQ(Engine().Graphics().FPulseStep, pulse == 0 ? 10 : 0);
}

TEST_F(EngineTest, AltEnterSwitchesToTheConfiguredFullScreenModeAndBack) {
  Options.DesktopResolution = false;
  Options.DisplayResolution = 3;
  Options.DisplayRefresh = 0;
  Key(VK_RETURN, ssAlt);
  EXPECT_TRUE(display.FullScreenOption());
  EXPECT_TRUE(Options.FullScreen);
  EXPECT_EQ(display.Width(), 1024);
  EXPECT_EQ(display.Height(), 768);
  Frame();
  EXPECT_EQ(Active(), Screen(Engine().MainMenu()));
  Key(VK_RETURN, ssAlt);
  EXPECT_FALSE(display.FullScreenOption());
  EXPECT_FALSE(Options.FullScreen);
  EXPECT_EQ(display.Width(), 790);
}

TEST_F(EngineTest, AltEnterByDefaultShowsTheDesktopsSizeFittedToThePlayTable) {
  display.Screen = {0, 0, 2560, 1440};
  Key(VK_RETURN, ssAlt);
  EXPECT_TRUE(display.FullScreenOption());
  EXPECT_EQ(display.Width(), 1600);
  EXPECT_EQ(display.Height(), 900);
}

// The display may offer fewer rates than the settings remember: its default rate is used.
TEST_F(EngineTest, AltEnterWithARefreshTheDisplayLacksUsesItsDefaultRate) {
  Options.DesktopResolution = false;
  Options.DisplayResolution = 1;
  Options.DisplayRefresh = 3;
  Key(VK_RETURN, ssAlt);
  EXPECT_TRUE(display.FullScreenOption());
  EXPECT_EQ(display.FullScreenMode().Refresh, 0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(EngineTest, CtrlAltF8DumpsEverySurfaceIntoTheProgramFolder) {
  Key(VK_F8, ssCtrl | ssAlt);
  EXPECT_TRUE(std::filesystem::exists(folder.File("Surf000.bmp")));
}

}  // namespace
}  // namespace qj::test
