// The settings file: every key round trip, defaults, clamps, hot keys, presets, bad input.
#include <fstream>
#include <sstream>

#include "platform/Sound.h"
#include "tests/settings/SettingsFixture.h"

namespace qj::test {
namespace {

class SettingsFile : public TProgramFolderTest {
 protected:
  std::string Stg() const { return Folder.File("Text/Jigsaw.stg"); }
  std::string ReadStg() const {
    std::ifstream in(Stg());
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
};

// Every field with a value unlike its default, and unlike every other field where possible.
TOptions Unusual() {
  TOptions o;
  o.Sound = 37; o.Music = 64;
  o.HintRange = 21; o.ChanceScatter = 201; o.StickRange = 23; o.ScatterRange = 24;
  o.RotateClockwise = false; o.RotationIncrement = 3; o.PieceSelectType = 2; o.PieceSlideSpeed = 5;
  o.CubeType = 2; o.DisplayCubes = false; o.ShowStars = false; o.GhostAlpha = 99; o.SmallPicSize = 200;
  o.StatLoupeX = -7; o.StatLoupeY = 61; o.LoupeZoom = 6; o.ReverseMouse = true; o.AutoHideMenu = false;
  o.AutoHideScroll = false;
  o.VBI = 2; o.MaxFPS = 250; o.DisplayResolution = 6; o.DesktopResolution = false; o.DisplayRefresh = 4;
  o.FullScreen = true;
  o.BlueShaddow = false;
  o.AnimationMs = 101; o.ClickMs = 202; o.HintMs = 2503; o.HintResponseMs = 804; o.HintDecreases = false;
  o.ScoreUpdate = 55; o.ShowProgress = false; o.SelectionAlphaColor = 0x123456; o.SelectionAlpha = 81;
  o.Background = 3; o.TableSetup = 1; o.Environment = 2;
  o.LanguageFile = "Deutsch.lang"; o.CompressionLevel = 9; o.LastJigsaw = "C:\\Pics\\Tower Bridge.jpg";
  for (int n = 0; n < kHotkeyCount; ++n) o.Hotkeys[size_t(n)] = {uint16_t(65 + n), n % 8};
  return o;
}

void ExpectSameOptions(const TOptions& a, const TOptions& b) {
#define F(x) EXPECT_EQ(a.x, b.x) << #x
  F(Sound); F(Music); F(HintRange); F(ChanceScatter); F(StickRange); F(ScatterRange); F(RotateClockwise);
  F(RotationIncrement); F(PieceSelectType); F(PieceSlideSpeed); F(CubeType); F(DisplayCubes); F(ShowStars);
  F(GhostAlpha); F(SmallPicSize); F(StatLoupeX); F(StatLoupeY); F(LoupeZoom); F(ReverseMouse);
  F(AutoHideMenu); F(AutoHideScroll); F(VBI); F(MaxFPS); F(DisplayResolution); F(DesktopResolution);
  F(DisplayRefresh);
  F(FullScreen); F(BlueShaddow); F(AnimationMs); F(ClickMs); F(HintMs); F(HintResponseMs); F(HintDecreases);
  F(ScoreUpdate); F(ShowProgress); F(SelectionAlphaColor); F(SelectionAlpha); F(Background); F(TableSetup); F(Environment);
  F(LanguageFile); F(CompressionLevel); F(LastJigsaw);
#undef F
  for (int n = 0; n < kHotkeyCount; ++n) EXPECT_EQ(a.Hotkeys[size_t(n)], b.Hotkeys[size_t(n)]) << "hot key " << n;
}

TEST_F(SettingsFile, EveryKeySurvivesSaveAndLoad) {
  UseThemes(3);
  Options = Unusual();
  EXPECT_FALSE(SaveSettings());  // no Text folder: reported, not a crash
  Folder.Write("Text/English.lang", "");
  ASSERT_TRUE(SaveSettings());
  Options = TOptions();
  LoadSettings(Stg(), false);
  ExpectSameOptions(Options, Unusual());
  // Booleans are stored as 1 and 0, hot-key flags as four booleans.
  const std::string text = ReadStg();
  EXPECT_NE(text.find("FullScreen=1"), std::string::npos);
  EXPECT_NE(text.find("RotateClockwise=0"), std::string::npos);
  EXPECT_NE(text.find("Ctrl3=0"), std::string::npos);
}

TEST_F(SettingsFile, MissingFileGivesEveryDefault) {
  UseThemes(1);
  Options = Unusual();
  LoadSettings(Folder.File("Text/none.stg"), false);
  ExpectSameOptions(Options, TOptions());
}

// A file from before the desktop's resolution existed keeps the mode it names; one that names none
// (a fresh install) takes the desktop's.
TEST_F(SettingsFile, AnOlderFileKeepsItsDisplayModeAndANewOneTakesTheDesktops) {
  const std::pair<const char*, int> cases[] = {
      {"[Screen]\nDisplayResolution=3\n", 3},
      {"[Screen]\nFullScreen=1\n", kDesktopResolution},
      {"[Screen]\nDisplayResolution=3\nDesktopResolution=1\n", kDesktopResolution},
      {"[Screen]\nDesktopResolution=0\n", 1},
  };
  for (const auto& [text, resolution] : cases) {
    Folder.Write("Text/a.stg", text);
    LoadSettings(Folder.File("Text/a.stg"), true);
    EXPECT_EQ(ChosenResolution(), resolution) << text;
  }
}

// The window's place is written with the settings and on its own (keeping every other line),
// read back by itself, and a preset never carries one.
TEST_F(SettingsFile, TheWindowsPlaceRoundTripsAndPresetsLeaveItAlone) {
  Folder.Write("Text/Jigsaw.stg", "[Sound]\nSound=37\n");
  Options.WindowLeft = -20;
  Options.WindowTop = 1100;
  Options.WindowWidth = 1000;
  Options.WindowHeight = 700;
  Options.WindowMaximized = true;
  ASSERT_TRUE(SaveWindowPlacement());
  EXPECT_NE(ReadStg().find("Sound=37"), std::string::npos);
  const TOptions placed = Options;
  Options = TOptions();
  LoadWindowPlacement(Stg());
  EXPECT_EQ(Options.WindowLeft, -20);
  EXPECT_EQ(Options.WindowTop, 1100);
  EXPECT_EQ(Options.WindowWidth, 1000);
  EXPECT_EQ(Options.WindowHeight, 700);
  EXPECT_TRUE(Options.WindowMaximized);
  Folder.Write("Text/Safe.stg", "[Screen]\nFullScreen=0\n");
  LoadSettings(Folder.File("Text/Safe.stg"), true);
  EXPECT_EQ(Options.WindowWidth, placed.WindowWidth);
  LoadWindowPlacement(Folder.File("Text/none.stg"));
  EXPECT_EQ(Options.WindowWidth, 0) << "no kept place: the first start's window";
}

TEST_F(SettingsFile, ScoreUpdateAndEnvironmentAreClamped) {
  UseThemes(3);
  Folder.Write("Text/a.stg", "[Score]\nScoreUpdate=0\n[Graphics]\nEnvironment=9\n");
  LoadSettings(Folder.File("Text/a.stg"), true);
  EXPECT_EQ(Options.ScoreUpdate, 1);
  EXPECT_EQ(Options.Environment, 2);
  Folder.Write("Text/b.stg", "[Score]\nScoreUpdate=500\n[Graphics]\nEnvironment=1\n");
  LoadSettings(Folder.File("Text/b.stg"), true);
  EXPECT_EQ(Options.ScoreUpdate, 100);
  EXPECT_EQ(Options.Environment, 1);
  Themes.clear();
  LoadSettings(Folder.File("Text/b.stg"), true);
  EXPECT_EQ(Options.Environment, -1);
}

TEST_F(SettingsFile, NegativeDurationsBecomeZero) {
  Folder.Write("Text/a.stg", "[Controls]\nAnimationMs=-100\nClickMs=-1\nHintMs=-2500\nHintResponseMs=-8\n");
  LoadSettings(Folder.File("Text/a.stg"), true);
  EXPECT_EQ(Options.AnimationMs, 0);
  EXPECT_EQ(Options.ClickMs, 0);
  EXPECT_EQ(Options.HintMs, 0);
  EXPECT_EQ(Options.HintResponseMs, 0);
}

TEST_F(SettingsFile, ByteSettingsKeepTheLowByteAndOthersAreNotLimited) {
  Folder.Write("Text/a.stg",
               "[BoardPlay]\nChanceScatter=300\nRotationIncrement=258\nHintRange=-5\n[Screen]\nMaxFPS=100000\n");
  LoadSettings(Folder.File("Text/a.stg"), true);
  EXPECT_EQ(Options.ChanceScatter, 44);
  EXPECT_EQ(Options.RotationIncrement, 2);
  EXPECT_EQ(Options.HintRange, -5);
  EXPECT_EQ(Options.MaxFPS, 100000);
}

TEST_F(SettingsFile, HotKeyFlagsCombineAndShowAsText) {
  Folder.Write("Text/a.stg", "[Hotkeys]\nKey3=65\nCtrl3=1\nShift3=1\nKey5=121\nAlt5=7\nCtrl5=0\n");
  LoadSettings(Folder.File("Text/a.stg"), false);
  EXPECT_EQ(Options.Hotkeys[3], (THotKey{65, 5}));
  EXPECT_EQ(HotKeyText(Options.Hotkeys[3]), "Ctrl-Shift-A");
  EXPECT_EQ(HotKeyText(Options.Hotkeys[5]), "Alt-F10");
  EXPECT_EQ(HotKeyText(THotKey{220, 7}), "Alt-Ctrl-Shift-\\");
  EXPECT_EQ(HotKeyText(THotKey{}), "");
}

TEST_F(SettingsFile, KeyNamesFollowTheTable) {
  EXPECT_EQ(KeyNames[8], "Back");
  EXPECT_EQ(KeyNames[20], "");
  EXPECT_EQ(KeyNames[33], "PgUp");
  EXPECT_EQ(KeyNames[48], "0");
  EXPECT_EQ(KeyNames[112], "F1");
  EXPECT_EQ(KeyNames[123], "F12");
  EXPECT_EQ(KeyNames[124], "|");
  EXPECT_EQ(KeyNames[145], "Scroll");
  EXPECT_EQ(KeyNames[222], "'");
  EXPECT_EQ(KeyNames[233], "\u00e9");  // Latin-1 above 127, as UTF-8
  for (const std::string& name : KeyNames) EXPECT_LE(name.size(), 10u);
}

TEST_F(SettingsFile, PresetsLoadWithOrWithoutHotKeys) {
  Options.Hotkeys[4] = {70, 4};
  Folder.Write("Text/Optimal.stg", "[BoardPlay]\nHintRange=30\n[Hotkeys]\nKey4=71\n");
  LoadSettings(Folder.File("Text/optimal.STG"), true);
  EXPECT_EQ(Options.HintRange, 30);
  EXPECT_EQ(Options.Hotkeys[4], (THotKey{70, 4}));
  Folder.Write("Text/Safe.stg", "[Hotkeys]\nKey4=72\nAlt4=1\n");
  LoadSettings(Folder.File("Text/Safe.stg"), false);
  EXPECT_EQ(Options.HintRange, 20);  // a key the preset lacks takes its default
  EXPECT_EQ(Options.Hotkeys[4], (THotKey{72, 2}));
  EXPECT_EQ(Options.Hotkeys[0], THotKey{});
}

TEST_F(SettingsFile, DefaultHotKeysBringTheLanguageFileName) {
  Folder.Write("Text/DefHotkeys.stg", "[Language]\nLanguageFile=Cesky.lang\n[Hotkeys]\nKey2=27\n");
  LoadDefaultHotkeys();
  EXPECT_EQ(Options.LanguageFile, "Cesky.lang");
  EXPECT_EQ(Options.Hotkeys[2], (THotKey{27, 0}));
  Folder.Write("Text/DefHotkeys.stg", "[Hotkeys]\nKey2=28\n");
  LoadDefaultHotkeys();
  EXPECT_EQ(Options.LanguageFile, "English.txt");
}

TEST_F(SettingsFile, MalformedLinesUnknownKeysAndNonNumbersAreHarmless) {
  Folder.Write("Text/Jigsaw.stg",
               "garbage without equals\n[BoardPlay\nHintRange=abc\nStickRange= 12 \n=5\n"
               "[BoardPlay]\nScatterRange=1x\nFancyNewKey=hello\n[Screen]\nFullScreen=yes\nVBI=1\n"
               "[Hotkeys]\nKey1=F1\n");
  LoadSettings(Stg(), false);
  EXPECT_EQ(Options.HintRange, 20);
  EXPECT_EQ(Options.StickRange, 10);  // the line sits under the broken section header
  EXPECT_EQ(Options.ScatterRange, 10);
  EXPECT_FALSE(Options.FullScreen);
  EXPECT_EQ(Options.VBI, 1);
  EXPECT_EQ(Options.Hotkeys[1].Key, 0);
  // Saving keeps what we do not know.
  ASSERT_TRUE(SaveSettings());
  EXPECT_NE(ReadStg().find("FancyNewKey=hello"), std::string::npos);
}

TEST_F(SettingsFile, SoundAndMusicTakeEffectWhenRead) {
  Folder.Write("Text/Jigsaw.stg", "[Sound]\nSound=50\nMusic=50\n");
  ClickSound = SoundDevice().CreateBuffer();
  LoadSettings(Stg(), true);
  EXPECT_EQ(ClickSound->Volume(), -1500);
  EXPECT_EQ(SoundDevice().MidiVolume(0), 32768u);
}

}  // namespace
}  // namespace qj::test
