// The shipped text files read through the program's own readers, as a fresh install starts.
#include <gtest/gtest.h>

#include "core/UMiscelaneous.h"
#include "platform/Paths.h"

namespace qj {
namespace {

class ShippedFiles : public testing::Test {
 protected:
  void SetUp() override { Options = TOptions(); }
  void TearDown() override {
    Options = TOptions();
    LanguageText.clear();
  }
};

TEST_F(ShippedFiles, FreshInstallStartsInEnglishWithTheDefaultHotKeys) {
  LoadSettings(DataPath("Text/Jigsaw.stg"), false);
  EXPECT_EQ(Options.LanguageFile, "English.lang");
  ASSERT_TRUE(LoadLanguage());
  EXPECT_EQ(Options.LanguageFile, "English.lang");
  EXPECT_EQ(CubeTypeNames[0], "Cubes");
  EXPECT_EQ(Lang(Text::CuttingThePuzzle), ": cutting the puzzle...");
  EXPECT_EQ(ReplaceTextKeys(TextKey(Text::Show) + " " + CubeTypeNames[2]), "Menu bar figure: Pyramids");

  EXPECT_EQ(HotKeyText(Options.Hotkeys[0]), "F12");     // minimise
  EXPECT_EQ(HotKeyText(Options.Hotkeys[2]), "Ctrl-Q");  // close
  EXPECT_EQ(HotKeyText(Options.Hotkeys[4]), "ESC");     // exit dialog
  EXPECT_EQ(HotKeyText(Options.Hotkeys[7]), "Shift-S");  // push aside
  EXPECT_EQ(HotKeyText(Options.Hotkeys[26]), "Home");   // main menu
}

TEST_F(ShippedFiles, DefaultHotKeysRestoreWhatThePlayerChanged) {
  LoadSettings(DataPath("Text/Jigsaw.stg"), false);
  const auto shipped = Options.Hotkeys;
  Options.Hotkeys.fill(THotKey{65, 4});
  Options.LanguageFile = "Deutsch.lang";
  LoadDefaultHotkeys();
  EXPECT_EQ(Options.Hotkeys, shipped);
  EXPECT_EQ(Options.LanguageFile, "English.lang");
}

TEST_F(ShippedFiles, OptimalPresetLeavesTheHotKeysAlone) {
  Options.Hotkeys[6] = THotKey{90, 1};
  LoadSettings(DataPath("Text/Optimal.stg"), true);
  EXPECT_EQ(Options.Hotkeys[6], (THotKey{90, 1}));
  EXPECT_TRUE(Options.DisplayCubes);
  EXPECT_EQ(Options.MaxFPS, 120);
}

TEST_F(ShippedFiles, SecondLanguageSwitchesEveryText) {
  Options.LanguageFile = "Deutsch.lang";
  ASSERT_TRUE(LoadLanguage());
  EXPECT_EQ(CubeTypeNames[0], "W\u00fcrfel");
  EXPECT_EQ(Lang(Text::Options), "Optionen");
}

}  // namespace
}  // namespace qj
