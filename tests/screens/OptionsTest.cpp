// The options screen with the real data set, driven by mouse presses on its controls and key
// releases: settings change at once, the display mode waits for Keep on the test clock, presets
// keep what the player chose, languages and themes reach every control, and a click on a hot-key
// row waits for its keys while the program's own keys rest.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "controls/UControlImages.h"
#include "controls/UHints.h"
#include "core/UFrameTimer.h"
#include "app/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/headless/HeadlessDisplay.h"
#include "screens/UOptionsInterface.h"
#include "tests/support/ScreenSetup.h"
#include "tests/support/TempFolder.h"

namespace qj::test {
namespace {

using T = TOptionsInterface;

uint64_t Hash(const TSurface& s) {
  uint64_t h = 1469598103934665603ull;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) h = (h ^ s.Row(y)[x]) * 1099511628211ull;
  return h;
}

class OptionsTest : public ::testing::Test {
 protected:
  OptionsTest() {
    Screen.SetDepthRange(101000, 102000);
    Screen.OnMessage = [this](const std::string&, const std::string& text) { Messages.push_back(text); };
    Screen.OnFrameInterval = [this](uint32_t interval) { Interval = int(interval); };
    Screen.OnAppearanceChanged = [] {
      std::string error;
      EXPECT_TRUE(ReloadControlImages(error)) << error;
    };
    LoadDefaultHotkeys();
    EXPECT_TRUE(LoadLanguage());
    Display.Modes = {{800, 600, 32, 60}, {800, 600, 32, 75}, {1024, 768, 32, 60}};
  }
  ~OptionsTest() override {
    Screen.Leave();
    Options.LanguageFile = "English.lang";
    EXPECT_TRUE(LoadLanguage());
  }

  void Enter() {
    Screen.Enter();
    Frames(1);
  }
  void Frames(int frames, uint32_t ms = 20) {
    for (int i = 0; i < frames; ++i) {
      Clock.Advance(ms);
      Screen.Update();
    }
  }
  void ClickAt(int x, int y) {
    Screen.MouseDown(mbLeft, ssLeft, x, y);
    Screen.MouseUp(mbLeft, 0, x, y);
  }
  void Click(const TDXControl& c) { ClickAt(c.FLeft + c.FWidth / 2, c.FTop + c.FHeight / 2); }
  void Check(T::ECheck box) { ClickAt(Screen.CheckBox(box)->FLeft + 8, Screen.CheckBox(box)->FTop + 8); }
  // The slider's arrows: one step each.
  void Forward(T::ESlider s) {
    const TDXControl& c = *Screen.Slider(s);
    ClickAt(c.FLeft + c.FWidth - 4, c.FTop + c.FHeight / 2);
  }
  void Back(T::ESlider s) {
    const TDXControl& c = *Screen.Slider(s);
    ClickAt(c.FLeft + 4, c.FTop + c.FHeight / 2);
  }
  // A button acts once its press has been shown.
  void Press(T::EButton b) {
    Click(*Screen.Button(b));
    Frames(15);
  }
  void KeyUp(uint16_t key, int shift = 0) {
    uint16_t down = key;
    Screen.KeyDown(down, shift);
    Screen.KeyUp(key, shift);
  }
  // Turns to the hot keys and moves the mouse to the middle of the row; returns that point.
  std::pair<int, int> PointAtHotKeyRow(int row) {
    Press(T::Page);
    const TDXWindow& keys = *Screen.Group(T::HotKeys);
    const int x = keys.FLeft + 30, y = keys.FTop + keys.TitleHeight() + 8 + 19 * row + 9;
    Screen.MouseMove(0, x, y);
    return {x, y};
  }
  void ToGerman() {
    while (Options.LanguageFile != "Deutsch.lang" && Screen.Slider(T::LanguageSlider)->FPosition > 0) Back(T::LanguageSlider);
    ASSERT_EQ(Options.LanguageFile, "Deutsch.lang");
  }

  TManualClock Clock;
  THeadlessDisplay Display{790, 570};
  TGraphicsEngine Engine{Display};
  TScreenSetup Setup{Clock, Display};
  TOptionsInterface Screen{&Engine};
  std::vector<std::string> Messages;
  int Interval = -1;
};

TEST_F(OptionsTest, EveryKindOfControlChangesItsSettingAtOnce) {
  Enter();
  Forward(T::ZoomSlider);
  EXPECT_EQ(Options.LoupeZoom, 5);
  EXPECT_EQ(Screen.GroupLabels(T::Table)[0], "Loupe zoom (225%)");
  Back(T::SoundSlider);
  EXPECT_EQ(Options.Sound, 99);
  Forward(T::RotationSlider);
  EXPECT_EQ(Options.RotationIncrement, 3);
  Forward(T::CubeSlider);
  EXPECT_EQ(Options.CubeType, 1);
  EXPECT_EQ(Screen.CheckBox(T::CubesBox)->GetCaption(), "Menu bar figure: Diamonds");

  Check(T::HintDecreasesBox);
  EXPECT_FALSE(Options.HintDecreases);
  Check(T::StarsBox);
  EXPECT_FALSE(Options.ShowStars);
  Check(T::AutoHideScrollBox);
  EXPECT_FALSE(Options.AutoHideScroll);
  Press(T::Page);
  Forward(T::AnimationSlider);
  EXPECT_EQ(Options.AnimationMs, 101);
  EXPECT_EQ(Screen.GroupLabels(T::Advanced)[1], "Animation step (101ms)");
}

// The settings only an expert needs stand on the second page with the hot keys: every control
// is on one page or the other, and the page's own controls still write their settings.
TEST_F(OptionsTest, TheAdvancedSettingsAreOnTheSecondPageAndStillStored) {
  Enter();
  const auto shown = [](const TDXControl* c) { return c->FSprite.Get()->Visible; };
  std::vector<bool> onMain;
  for (int s = 0; s < T::SliderCount; ++s) onMain.push_back(shown(Screen.Slider(T::ESlider(s))));
  for (int c = 0; c < T::CheckCount; ++c) onMain.push_back(shown(Screen.CheckBox(T::ECheck(c))));
  EXPECT_FALSE(shown(Screen.CheckBox(T::SmoothBox)));
  EXPECT_FALSE(shown(Screen.Slider(T::FpsSlider)));
  Press(T::Page);
  ASSERT_EQ(Screen.ShownPage(), T::MorePage);
  size_t i = 0;
  for (int s = 0; s < T::SliderCount; ++s, ++i) EXPECT_NE(shown(Screen.Slider(T::ESlider(s))), onMain[i]) << "slider " << s;
  for (int c = 0; c < T::CheckCount; ++c, ++i) EXPECT_NE(shown(Screen.CheckBox(T::ECheck(c))), onMain[i]) << "box " << c;
  EXPECT_EQ(Screen.Group(T::Advanced)->GetCaption(), "Advanced");
  Check(T::NoWaitBox);
  EXPECT_EQ(Options.VBI, 2);
  Back(T::FpsSlider);
  EXPECT_EQ(Options.MaxFPS, 119);
  Press(T::Page);
  EXPECT_EQ(Screen.ShownPage(), T::MainPage);
  Check(T::NoWaitBox);  // hidden with its page: a click there reaches nothing
  EXPECT_EQ(Options.VBI, 2);
  const TDXHint& hint = *Screen.SliderHint(T::ZoomSlider);
  EXPECT_EQ(ReplaceTextKeys(hint.FCaption), Lang(TOptionsControls::HintOf(T::ZoomSlider)));
  EXPECT_TRUE(hint.FHintRect.Contains(Screen.Slider(T::ZoomSlider)->FLeft + 5, Screen.Slider(T::ZoomSlider)->FTop - 5))
      << "the value line above the slider is part of it";
}

TEST_F(OptionsTest, RadioGroupsKeepOneBoxCheckedEvenWhenTheCheckedOneIsClicked) {
  Enter();
  Press(T::Page);
  Check(T::BlankBox);
  EXPECT_EQ(Options.VBI, 1);
  EXPECT_FALSE(Screen.CheckBox(T::SmoothBox)->FChecked);
  Check(T::BlankBox);
  EXPECT_EQ(Options.VBI, 1);
  EXPECT_TRUE(Screen.CheckBox(T::BlankBox)->FChecked);
  Press(T::Page);
  Check(T::ClickBox);
  EXPECT_EQ(Options.PieceSelectType, 2);
  Check(T::EitherBox);
  EXPECT_EQ(Options.PieceSelectType, 0);
  EXPECT_FALSE(Screen.CheckBox(T::ClickBox)->FChecked);
}

TEST_F(OptionsTest, TheFrameRateSliderSetsTheTimer) {
  Enter();
  Press(T::Page);
  TDXHScrollBar& fps = *Screen.Slider(T::FpsSlider);
  for (int i = 0; i < 20 && fps.FPosition < 240; ++i) ClickAt(fps.FLeft + fps.FWidth - 20, fps.FTop + 5);  // the track
  while (fps.FPosition < 250 && fps.FPosition >= 240) Forward(T::FpsSlider);
  ASSERT_EQ(fps.FPosition, 250);
  EXPECT_EQ(Interval, 0) << "no frame limit";
  EXPECT_EQ(Screen.GroupLabels(T::Advanced)[0], "Frames per second: no limit");
  fps.SetPosition(100);  // as a drag ends
  EXPECT_EQ(Options.MaxFPS, 100);
  EXPECT_EQ(Interval, 10);
  EXPECT_EQ(FrameIntervalFor(0), 0u);
  EXPECT_EQ(FrameIntervalFor(-5), 0u) << "a hand-edited file cannot stop the frames";
}

TEST_F(OptionsTest, ANewDisplayModeRevertsAfterTenSecondsWithoutKeep) {
  Enter();
  Check(T::FullScreenBox);
  EXPECT_FALSE(Options.FullScreen) << "Apply takes it, not the box";
  Press(T::Apply);
  ASSERT_TRUE(Display.FullScreenOption());
  EXPECT_EQ(Screen.Countdown(), 10);
  EXPECT_TRUE(Screen.ConfirmShown());
  EXPECT_FALSE(Options.FullScreen) << "the settings change only on Keep";
  Check(T::StarsBox);  // outside the confirmation: ignored
  EXPECT_TRUE(Options.ShowStars);
  Frames(20, 250);
  EXPECT_EQ(Screen.Countdown(), 5);
  Frames(25, 250);
  EXPECT_EQ(Screen.Countdown(), -1);
  EXPECT_FALSE(Display.FullScreenOption());
  EXPECT_FALSE(Screen.ConfirmShown());
  EXPECT_FALSE(Screen.CheckBox(T::FullScreenBox)->FChecked);
}

TEST_F(OptionsTest, KeepStoresTheAppliedMode) {
  Options.DesktopResolution = false;  // mode 1, the second after the desktop
  Enter();
  Forward(T::ResolutionSlider);
  Forward(T::RefreshSlider);
  EXPECT_TRUE(Screen.CheckBox(T::FullScreenBox)->FChecked) << "a new resolution is a full-screen one";
  Press(T::Apply);
  ASSERT_EQ(Screen.Countdown(), 10);
  EXPECT_EQ(Options.DisplayResolution, 1);
  Press(T::Keep);
  EXPECT_EQ(Screen.Countdown(), -1);
  EXPECT_TRUE(Options.FullScreen);
  EXPECT_EQ(Options.DisplayResolution, 2);
  EXPECT_EQ(Options.DisplayRefresh, 1);
  Frames(60, 250);
  EXPECT_TRUE(Display.FullScreenOption());
}

// The desktop's own resolution leads the list; keeping it leaves the mode index as it was.
TEST_F(OptionsTest, TheDesktopLeadsTheResolutionsAndIsKeptApartFromTheModeIndex) {
  Options.DesktopResolution = false;
  Options.DisplayResolution = 3;
  Display.Screen = {0, 0, 1280, 1024};
  Enter();
  while (Screen.Slider(T::ResolutionSlider)->FPosition > 0) Back(T::ResolutionSlider);
  Press(T::Apply);
  ASSERT_EQ(Screen.Countdown(), 10);
  EXPECT_EQ(Display.Width(), 1280);
  EXPECT_EQ(Display.Height(), 1024);
  Press(T::Keep);
  EXPECT_TRUE(Options.DesktopResolution);
  EXPECT_EQ(Options.DisplayResolution, 3);
}

TEST_F(OptionsTest, LeavingDuringTheCountdownRevertsInEveryWay) {
  for (const char* way : {"Escape", "OK", "Close", "closing"}) {
    Enter();
    Check(T::FullScreenBox);
    Press(T::Apply);
    ASSERT_TRUE(Display.FullScreenOption()) << way;
    if (std::string(way) == "Escape") KeyUp(VK_ESCAPE);
    else if (std::string(way) == "closing") Screen.Leave();
    else Screen.Finish(OptionsResult::ToMainMenu);
    EXPECT_TRUE(Screen.Done()) << way;
    EXPECT_FALSE(Display.FullScreenOption()) << way;
    EXPECT_FALSE(Options.FullScreen) << way;
  }
}

TEST_F(OptionsTest, AModeTheDisplayRefusesShowsNothing) {
  Enter();
  Press(T::Apply);  // windowed to windowed
  EXPECT_EQ(Screen.Countdown(), -1);
  EXPECT_FALSE(Screen.ConfirmShown());
}

TEST_F(OptionsTest, PresetsKeepTheLastJigsawAndOptimalKeepsTheLook) {
  Options.LastJigsaw = "/pictures/Sunset.jpg";
  Enter();
  for (T::EButton preset : {T::Safe, T::Reload, T::Optimal}) {
    Press(preset);
    EXPECT_EQ(Options.LastJigsaw, "/pictures/Sunset.jpg") << int(preset);
  }
  ToGerman();
  Forward(T::ThemeSlider);
  Forward(T::BackgroundSlider);
  const int theme = Options.Environment, background = Options.Background;
  Press(T::Optimal);
  EXPECT_EQ(Options.Environment, theme);
  EXPECT_EQ(Options.Background, background);
  EXPECT_EQ(Options.LanguageFile, "Deutsch.lang");
  EXPECT_EQ(Options.DisplayRefresh, int(RefreshRates.size()) - 1) << "the best rate of the preset's resolution";
  EXPECT_EQ(Screen.Button(T::Ok)->GetCaption(), Lang(Text::Ok));
}

TEST_F(OptionsTest, HotKeyDefaultsKeepTheLanguage) {
  Enter();
  ToGerman();
  Options.Hotkeys[6] = {'Z', 0};
  Press(T::Page);
  Press(T::Defaults);
  EXPECT_EQ(Options.LanguageFile, "Deutsch.lang");
  EXPECT_EQ(Options.Hotkeys[6], (THotKey{'S', 0}));
}

TEST_F(OptionsTest, ALanguageSwitchRelabelsEveryControlAtOnce) {
  Enter();
  const auto captions = [this] {
    std::vector<std::string> all;
    for (int b = 0; b < T::ButtonCount; ++b)
      all.push_back(Screen.Button(T::EButton(b))->GetCaption() + "|" + ReplaceTextKeys(Screen.Button(T::EButton(b))->FHintText) +
                    ReplaceTextKeys(Screen.Button(T::EButton(b))->FHintText2));
    for (int g = 0; g < T::GroupCount; ++g) all.push_back(Screen.Group(T::EGroup(g))->GetCaption());
    for (int c = 0; c < T::CheckCount; ++c) all.push_back(Screen.CheckBox(T::ECheck(c))->GetCaption());
    all.push_back(Screen.MainWindow()->GetCaption());
    return all;
  };
  const std::vector<std::string> english = captions();
  const TSurface& box = *Screen.CheckBox(T::FullScreenBox)->FSprite.Get()->Surfaces[0];
  const uint64_t boxLook = Hash(box);
  ToGerman();
  const std::vector<std::string> german = captions();
  int changed = 0;
  for (size_t i = 0; i < english.size(); ++i) changed += english[i] != german[i];
  EXPECT_GE(changed, int(english.size()) - 2) << "all but OK and Optimal, which read the same";
  EXPECT_EQ(Screen.CheckBox(T::FullScreenBox)->GetCaption(), "Vollbild");
  EXPECT_NE(Hash(box), boxLook) << "painted again at once";
  EXPECT_EQ(Screen.GroupLabels(T::Controls)[0], "Hinweis-Verzögerung (800ms)");
  EXPECT_EQ(Screen.HotKeyRowText(0), "Minimieren (F12)");
}

TEST_F(OptionsTest, AThemeSwitchRestylesEveryControl) {
  Enter();
  const TSurface& box = *Screen.CheckBox(T::StarsBox)->FSprite.Get()->Surfaces[0];
  const uint64_t boxLook = Hash(box);
  Forward(T::ThemeSlider);
  ASSERT_EQ(Options.Environment, 1);
  const auto images = CurrentControlImages();
  EXPECT_EQ(Screen.Group(T::Sound)->FFrameInactive, images->WindowStyles[1].FrameInactive);
  EXPECT_EQ(Screen.MainWindow()->FFrameInactive, images->WindowStyles[0].FrameInactive);
  EXPECT_EQ(Screen.Button(T::Ok)->FFrames, images->ButtonFrames);
  EXPECT_EQ(Screen.Slider(T::SoundSlider)->FImages, images->ScrollBar(EScrollBarSet::HorizontalSmall));
  EXPECT_NE(Hash(box), boxLook);
  EXPECT_TRUE(Messages.empty());
}

// A theme whose files are not all there: a copy of the data set with one more theme file.
TEST_F(OptionsTest, AnIncompleteThemeIsRefusedAndTheOldOneKept) {
  TTempFolder data;
  const std::string real = ProgramFolder();
  namespace fs = std::filesystem;
  for (const auto& entry : fs::directory_iterator(real))
    if (entry.path().filename() != "Graphics") fs::create_directory_symlink(entry.path(), data.File(entry.path().filename().string()));
  fs::create_directories(data.File("Graphics"));
  for (const auto& entry : fs::directory_iterator(real + "/Graphics"))
    fs::create_symlink(entry.path(), data.File("Graphics/" + entry.path().filename().string()));
  data.Write("Graphics/Zebra.ini", "[Default]\nName=Zebra\nFileNr=7\n");
  SetProgramFolder(data.Path());
  LoadThemes();
  ASSERT_EQ(Themes.size(), 4u);
  Options.Environment = 2;
  Enter();
  Forward(T::ThemeSlider);
  EXPECT_EQ(Options.Environment, 2);
  EXPECT_EQ(Screen.Slider(T::ThemeSlider)->FPosition, 2);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_NE(Messages[0].find("Zebra"), std::string::npos) << Messages[0];
  EXPECT_NE(Messages[0].find("-7."), std::string::npos) << "names the missing file: " << Messages[0];
  Screen.Leave();
  SetProgramFolder(real);
  LoadThemes();
}

TEST_F(OptionsTest, CapturingHotKeyFiveTakesTwoKeysAndHotKeyThirteenOne) {
  Enter();
  const auto [x, y] = PointAtHotKeyRow(5);
  EXPECT_EQ(Screen.HighlightedRow(), 5);
  ClickAt(x, y);
  ASSERT_TRUE(Screen.Capturing());
  EXPECT_EQ(Screen.HotKeyRowText(5), Lang(Text::PressTheLeftClickKey));
  KeyUp(VK_SHIFT, ssShift);  // alone it waits for its key
  KeyUp('K', ssShift | ssCtrl);
  EXPECT_TRUE(Screen.Capturing());
  EXPECT_EQ(Screen.HotKeyRowText(5), Lang(Text::NowTheRightClickKey));
  KeyUp('J');
  EXPECT_FALSE(Screen.Capturing());
  EXPECT_EQ(Options.Hotkeys[10], (THotKey{'K', 5}));
  EXPECT_EQ(Options.Hotkeys[11], (THotKey{'J', 0}));
  EXPECT_EQ(Screen.HotKeyRowText(5), Lang(Text::HotKeyRowNames + 5) + " (Ctrl-Shift-K,J)");

  Screen.StartCapture(13);
  EXPECT_EQ(Screen.HotKeyRowText(13), Lang(Text::PressTheNewKey));
  KeyUp(VK_F11);
  EXPECT_FALSE(Screen.Capturing());
  EXPECT_EQ(Options.Hotkeys[26], (THotKey{VK_F11, 0}));
}

TEST_F(OptionsTest, EscapeCancelsACaptureAndKeepsTheOldKeys) {
  Enter();
  const std::array<THotKey, kHotkeyCount> before = Options.Hotkeys;
  Screen.StartCapture(5);
  KeyUp('Q');
  KeyUp(VK_ESCAPE);
  EXPECT_FALSE(Screen.Capturing());
  EXPECT_FALSE(Screen.Done()) << "Escape ended the capture, not the screen";
  EXPECT_EQ(Options.Hotkeys, before);
  uint16_t minimise = Options.Hotkeys[0].Key;
  Screen.StartCapture(1);
  Screen.KeyDown(minimise, 0);
  EXPECT_EQ(minimise, 0) << "the program's own keys wait while a key is captured";
}

TEST_F(OptionsTest, TheLayoutHoldsAtTheSmallestWindowAndAtTheLargest) {
  for (const auto& [w, h] : {std::pair{790, 570}, std::pair{1600, 1200}}) {
    Display.BackBuffer().SetSize(w, h);
    Engine.UpdateSurfaceSize();
    Enter();
    const TRect main = Screen.MainWindow()->BoundsRect();
    EXPECT_GE(main.Left, 0);
    EXPECT_LE(main.Right, w);
    EXPECT_LE(main.Bottom, h);
    const TRect client = MakeRect(Screen.MainWindow()->FLeft + Screen.MainWindow()->FInsetLeft,
                                  Screen.MainWindow()->FTop + Screen.MainWindow()->FInsetTop,
                                  Screen.MainWindow()->ClientWidth(), Screen.MainWindow()->ClientHeight());
    for (int g = 0; g < T::Confirm; ++g) {
      const TRect r = Screen.Group(T::EGroup(g))->BoundsRect();
      EXPECT_TRUE(client.Contains(r.Left, r.Top) && client.Contains(r.Right - 1, r.Bottom - 1)) << w << " group " << g;
      for (int o = 0; o < g; ++o) {
        if (TOptionsControls::PageOf(T::EGroup(o)) != TOptionsControls::PageOf(T::EGroup(g))) continue;
        const TRect q = Screen.Group(T::EGroup(o))->BoundsRect();
        EXPECT_TRUE(r.Right <= q.Left || q.Right <= r.Left || r.Bottom <= q.Top || q.Bottom <= r.Top) << g << " " << o;
      }
    }
    for (int s = 0; s < T::SliderCount; ++s) {
      const TDXControl& c = *Screen.Slider(T::ESlider(s));
      EXPECT_TRUE(client.Contains(c.FLeft, c.FTop) && client.Contains(c.FLeft + c.FWidth - 1, c.FTop + c.FHeight - 1)) << s;
    }
    Screen.Leave();
  }
}

// The list may be too narrow for a long name; the hint over the row always gives it whole, with
// what each of its keys does.
TEST_F(OptionsTest, TheHintOverAHotKeyRowGivesItsWholeName) {
  Enter();
  const auto [x, y] = PointAtHotKeyRow(4);
  ASSERT_EQ(Screen.HighlightedRow(), 4);
  const TDXHint& hint = *Screen.HotKeyHint();
  EXPECT_TRUE(hint.FHintZone && hint.FHintRect.Contains(x, y));
  EXPECT_EQ(hint.Lines().first, Lang(Text::HotKeyRowNames + 4));
  EXPECT_EQ(hint.Lines().second, "left click: L, right click: Shift-L");
  Screen.StartCapture(13);
  EXPECT_FALSE(hint.FHintZone) << "no hint over a row that waits for its key";
}

}  // namespace
}  // namespace qj::test
