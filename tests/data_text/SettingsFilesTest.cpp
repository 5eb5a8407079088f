// The shipped settings files: the fresh-install settings, the two presets and the default hot keys.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/UMiscelaneous.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace qj {
namespace {

struct TIntKey {
  const char* Section;
  const char* Key;
  int Min, Max;
  int Default;
};

// Every numeric key of the settings file, with the range the options screen can set and the built-in default.
std::vector<TIntKey> IntegerKeys() {
  const TOptions d;
  return {
      {"BoardPlay", "HintRange", 0, 200, d.HintRange},
      {"BoardPlay", "ChanceScatter", 0, 98, d.ChanceScatter},
      {"BoardPlay", "StickRange", 0, 15, d.StickRange},
      {"BoardPlay", "ScatterRange", 10, 50, d.ScatterRange},
      {"BoardPlay", "RotateClockwise", 0, 1, d.RotateClockwise},
      {"BoardPlay", "RotationIncrement", 1, 90, d.RotationIncrement},
      {"BoardPlay", "PieceSelectType", 0, 2, d.PieceSelectType},
      {"BoardPlay", "PieceSlideSpeed", 1, 20, d.PieceSlideSpeed},
      {"BoardPlay", "CubeType", 0, 2, d.CubeType},
      {"BoardPlay", "DisplayCubes", 0, 1, d.DisplayCubes},
      {"BoardPlay", "ShowStars", 0, 1, d.ShowStars},
      {"BoardPlay", "GhostAlpha", 1, 255, d.GhostAlpha},
      {"BoardPlay", "SmallPicSize", 1, 255, d.SmallPicSize},
      {"BoardPlay", "StatLoupeX", 0, 1600, d.StatLoupeX},
      {"BoardPlay", "StatLoupeY", 0, 1200, d.StatLoupeY},
      {"BoardPlay", "LoupeZoom", 0, 15, d.LoupeZoom},
      {"BoardPlay", "ReverseMouse", 0, 1, d.ReverseMouse},
      {"BoardPlay", "AutoHideMenu", 0, 1, d.AutoHideMenu},
      {"BoardPlay", "AutoHideScroll", 0, 1, d.AutoHideScroll},
      {"Screen", "VBI", 0, 2, d.VBI},
      {"Screen", "MaxFPS", 50, 250, d.MaxFPS},
      {"Screen", "DisplayResolution", 0, 6, d.DisplayResolution},
      {"Screen", "DesktopResolution", 0, 1, d.DesktopResolution},
      {"Screen", "DisplayRefresh", 0, 16, d.DisplayRefresh},
      {"Screen", "FullScreen", 0, 1, d.FullScreen},
      {"Screen", "BlueShaddow", 0, 1, d.BlueShaddow},
      {"Controls", "AnimationMs", 10, 500, d.AnimationMs},
      {"Controls", "ClickMs", 1, 2000, d.ClickMs},
      {"Controls", "HintMs", 10, 5000, d.HintMs},
      {"Controls", "HintResponseMs", 10, 1500, d.HintResponseMs},
      {"Controls", "HintDecreases", 0, 1, d.HintDecreases},
      {"Sound", "Sound", 0, 100, d.Sound},
      {"Sound", "Music", 0, 100, d.Music},
      {"Score", "ScoreUpdate", 1, 100, d.ScoreUpdate},
      {"Score", "ShowProgress", 0, 1, d.ShowProgress},
      {"Selection", "SelectionAlphaColor", 0, 0xFFFFFF, d.SelectionAlphaColor},
      {"Selection", "SelectionAlpha", 0, 255, d.SelectionAlpha},
      {"Graphics", "Background", 0, 0, d.Background},  // the first background and theme always exist
      {"Graphics", "TableSetup", 0, 0, d.TableSetup},
      {"Graphics", "Environment", 0, 0, d.Environment},
      {"Saving", "CompressionLevel", 0, 9, d.CompressionLevel},
  };
}

// The value as a whole number; INT_MIN when the key is absent or not a number.
int ReadStrictInteger(const TIniFile& ini, const char* section, const char* key) {
  const int low = ini.ReadInteger(section, key, INT_MIN);
  const int high = ini.ReadInteger(section, key, INT_MAX);
  return low == high ? low : INT_MIN;
}

TIniFile OpenText(const std::string& name) {
  EXPECT_TRUE(FileExists(DataPath("Text/" + name))) << name;
  return TIniFile(DataPath("Text/" + name));
}

// Hot key n exactly as the settings reader builds it: key code plus Shift 1, Alt 2, Ctrl 4.
THotKey ReadHotKey(const TIniFile& ini, int n) {
  const std::string suffix = std::to_string(n);
  for (const char* part : {"Key", "Alt", "Ctrl", "Shift"})
    EXPECT_TRUE(ini.ValueExists("Hotkeys", part + suffix)) << ini.FileName() << " " << part << n;
  THotKey hot;
  hot.Key = uint16_t(ini.ReadInteger("Hotkeys", "Key" + suffix, 0));
  if (ini.ReadBool("Hotkeys", "Alt" + suffix, false)) hot.Shift += 2;
  if (ini.ReadBool("Hotkeys", "Ctrl" + suffix, false)) hot.Shift += 4;
  if (ini.ReadBool("Hotkeys", "Shift" + suffix, false)) hot.Shift += 1;
  return hot;
}

std::vector<THotKey> ReadHotKeys(const TIniFile& ini) {
  std::vector<THotKey> keys;
  for (int n = 0; n < kHotkeyCount; ++n) keys.push_back(ReadHotKey(ini, n));
  return keys;
}

void ExpectEveryKeyValid(const std::string& name) {
  const TIniFile ini = OpenText(name);
  for (const TIntKey& k : IntegerKeys()) {
    const int value = ReadStrictInteger(ini, k.Section, k.Key);
    EXPECT_TRUE(value >= k.Min && value <= k.Max)
        << name << " [" << k.Section << "] " << k.Key << " = " << value;
  }
  const std::string language = ini.ReadString("Language", "LanguageFile", "");
  EXPECT_TRUE(FileExists(DataPath("Text/" + language))) << name << " names language " << language;
  EXPECT_TRUE(ini.ValueExists("Autoload", "LastJigsaw")) << name;
}

TEST(SettingsFiles, EveryFileHoldsEveryKeyWithAUsableValue) {
  for (const char* name : {"Jigsaw.stg", "Safe.stg", "Optimal.stg"}) ExpectEveryKeyValid(name);
}

TEST(SettingsFiles, FreshInstallStartsWithTheBuiltInDefaultsInEnglish) {
  const TIniFile ini = OpenText("Jigsaw.stg");
  for (const TIntKey& k : IntegerKeys())
    EXPECT_EQ(ReadStrictInteger(ini, k.Section, k.Key), k.Default) << "[" << k.Section << "] " << k.Key;
  EXPECT_EQ(ini.ReadString("Language", "LanguageFile", ""), "English.lang");
  EXPECT_EQ(ini.ReadString("Autoload", "LastJigsaw", "?"), "");
}

TEST(SettingsFiles, FilesReadWithHotKeysCarryTheDefaultHotKeys) {
  // The start-up settings and the Safe preset are loaded with their hot keys; missing ones would be cleared.
  const auto defaults = ReadHotKeys(OpenText("DefHotkeys.stg"));
  EXPECT_EQ(ReadHotKeys(OpenText("Jigsaw.stg")), defaults);
  EXPECT_EQ(ReadHotKeys(OpenText("Safe.stg")), defaults);
}

TEST(SettingsFiles, SafePresetAsksLittleOfTheMachine) {
  const TIniFile ini = OpenText("Safe.stg");
  EXPECT_EQ(ReadStrictInteger(ini, "Screen", "FullScreen"), 0);
  EXPECT_EQ(ReadStrictInteger(ini, "Screen", "VBI"), 2);
  EXPECT_EQ(ReadStrictInteger(ini, "Screen", "MaxFPS"), 60);
  EXPECT_EQ(ReadStrictInteger(ini, "Screen", "DisplayRefresh"), 0);
  EXPECT_EQ(ReadStrictInteger(ini, "BoardPlay", "DisplayCubes"), 0);
  EXPECT_EQ(ReadStrictInteger(ini, "BoardPlay", "ShowStars"), 0);
}

TEST(SettingsFiles, OptimalPresetShowsEverything) {
  const TIniFile ini = OpenText("Optimal.stg");
  EXPECT_EQ(ReadStrictInteger(ini, "BoardPlay", "DisplayCubes"), 1);
  EXPECT_EQ(ReadStrictInteger(ini, "BoardPlay", "ShowStars"), 1);
  EXPECT_EQ(ReadStrictInteger(ini, "Screen", "BlueShaddow"), 1);
  EXPECT_EQ(ReadStrictInteger(ini, "Screen", "MaxFPS"), 120);
  const int mode = ReadStrictInteger(ini, "Screen", "DisplayResolution");
  EXPECT_TRUE(mode == 1 || mode == 3) << "a 32-bit display mode, got " << mode;
  EXPECT_EQ(ReadStrictInteger(ini, "Screen", "DesktopResolution"), 1);
}

// Key codes the key-name table can show: named control keys, or a printable code.
bool NameableKey(int code) {
  static const std::set<int> named = {8, 9, 13, 19, 27, 32};
  return named.count(code) > 0 || (code >= 33 && code <= 255);
}

TEST(DefaultHotKeys, StartInEnglishAndNameAnExistingLanguage) {
  const TIniFile ini = OpenText("DefHotkeys.stg");
  EXPECT_EQ(ini.ReadString("Language", "LanguageFile", ""), "English.lang");
  EXPECT_TRUE(FileExists(DataPath("Text/English.lang")));
}

TEST(DefaultHotKeys, EveryActionHasItsOwnKey) {
  const auto keys = ReadHotKeys(OpenText("DefHotkeys.stg"));
  ASSERT_EQ(keys.size(), size_t(kHotkeyCount));
  std::set<std::pair<int, int>> seen;
  for (int n = 0; n < kHotkeyCount; ++n) {
    const THotKey& hot = keys[size_t(n)];
    if (hot.Key == 0) continue;
    EXPECT_TRUE(NameableKey(hot.Key)) << "hot key " << n << " code " << hot.Key;
    EXPECT_TRUE(seen.insert({hot.Key, hot.Shift}).second) << "hot key " << n << " repeats another";
  }
  EXPECT_NE(keys[0].Key, 0) << "minimise";
  EXPECT_NE(keys[2].Key, 0) << "close";
  EXPECT_NE(keys[2].Shift, 0) << "closing the program takes a modifier, never a single stray key";
  // Menu buttons 0..11: the left side is 4 + 2c; both sides of buttons 1..10 do different things.
  for (int button = 0; button < 12; ++button) {
    EXPECT_NE(keys[size_t(4 + 2 * button)].Key, 0) << "left side of menu button " << button;
    if (button > 0 && button < 11) {
      EXPECT_NE(keys[size_t(5 + 2 * button)].Key, 0) << "right side of menu button " << button;
    }
  }
}

TEST(DefaultHotKeys, LeaveTheProgramsOwnKeysAlone) {
  // F1 opens help, F5 reloads the theme, F10 pauses, Alt+Enter switches the display.
  const std::set<std::pair<int, int>> reserved = {{112, 0}, {116, 0}, {121, 0}, {13, 2}};
  const auto keys = ReadHotKeys(OpenText("DefHotkeys.stg"));
  for (int n = 0; n < kHotkeyCount; ++n) {
    const THotKey& hot = keys[size_t(n)];
    EXPECT_EQ(reserved.count({hot.Key, hot.Shift}), 0u) << "hot key " << n;
  }
}

}  // namespace
}  // namespace qj
