// Theme files, the background list, themed file names and the built-in theme.
#include "tests/settings/SettingsFixture.h"

namespace qj::test {
namespace {

class ThemeFiles : public TProgramFolderTest {};

TEST_F(ThemeFiles, MissingKeysTakeTheirDefaults) {
  Folder.Write("Graphics/Plain.ini", "[Default]\nFileNr=2\n");
  LoadThemes();
  ASSERT_EQ(Themes.size(), 1u);
  const TTheme expected{"Unknown", 2, {8, 8, 8}, {127, 140, 250}, "Times New Roman", 8, 12, 6, 14, 0};
  EXPECT_TRUE(Themes[0] == expected);
  EXPECT_TRUE(ThemedFileName(Folder.File("Graphics/Button")).ends_with("Button-2.jpeg"));
}

TEST_F(ThemeFiles, EveryKeyIsReadAndColourBytesKeepTheLowByte) {
  Folder.Write("Graphics/Night.ini",
               "[default]\nName=Night\nFileNr=7\nSayColorR=300\nSayColorG=1\nSayColorB=2\n"
               "SelectColorR=3\nSelectColorG=4\nSelectColorB=oops\nFontName=DejaVu Serif\n"
               "FontSize=9\nFontButtonSize=13\nFontMenuSize=7\nFontTitleSize=15\n");
  LoadThemes();
  ASSERT_EQ(Themes.size(), 1u);
  const TTheme expected{"Night", 7, {44, 1, 2}, {3, 4, 250}, "DejaVu Serif", 9, 13, 7, 15, 0};
  EXPECT_TRUE(Themes[0] == expected);
}

TEST_F(ThemeFiles, BackgroundNamesAreFoundWithoutRegardToCase) {
  Folder.Write("Graphics/Backgrounds/Wood.jpg", "x");
  Folder.Write("Graphics/Backgrounds/Marble.JPG", "x");
  Folder.Write("Graphics/Backgrounds/notes.txt", "x");
  Folder.Write("Graphics/A.ini", "[Default]\nBackGround=wood.JPG\n");
  Folder.Write("Graphics/B.ini", "[Default]\nBackGround=Sand.jpg\n");
  Folder.Write("Graphics/C.ini", "[Default]\n");
  Folder.Write("Graphics/D.INI", "[Default]\nBackGround=marble\n");
  BuildBackgroundFiles();  // the list is built once per run; this test changed the folder
  LoadThemes();
  EXPECT_EQ(BackgroundFiles, (std::vector<std::string>{"Marble.JPG", "Wood.jpg"}));
  ASSERT_EQ(Themes.size(), 4u);
  EXPECT_EQ(Themes[0].BackGround, 1);
  EXPECT_EQ(Themes[1].BackGround, 0);  // not in the list
  EXPECT_EQ(Themes[2].BackGround, 1);  // the default name "Wood"
  EXPECT_EQ(Themes[3].BackGround, 0);
}

TEST_F(ThemeFiles, ThemedFileNamePrefersBmpThenJpgThenJpeg) {
  Themes.resize(1);
  Themes[0].FileNr = 2;
  const std::string base = Folder.File("Graphics/Controls/Button");
  EXPECT_EQ(ThemedFileName(base), base + "-2.jpeg");  // none exists
  Folder.Write("Graphics/Controls/Button-2.jpg", "x");
  EXPECT_EQ(ThemedFileName(base), base + "-2.jpg");
  Folder.Write("Graphics/Controls/Button-2.bmp", "x");
  EXPECT_EQ(ThemedFileName(base), base + "-2.bmp");
  Folder.Write("Graphics/Controls/Knob-2.BMP", "x");
  EXPECT_EQ(ThemedFileName(Folder.File("graphics/controls/knob")), Folder.File("Graphics/Controls/Knob-2.BMP"));
}

TEST_F(ThemeFiles, WithoutThemesTheBuiltInThemeNumberZeroIsUsed) {
  LoadThemes();
  EXPECT_TRUE(Themes.empty());
  Options.Environment = -1;
  EXPECT_EQ(CurrentTheme().FileNr, 0);
  EXPECT_EQ(CurrentTheme().Name, "Unknown");
  EXPECT_TRUE(ThemedFileName(Folder.File("B")).ends_with("B-0.jpeg"));
  UseThemes(2);
  Themes[1].FileNr = 5;
  Options.Environment = 1;
  EXPECT_EQ(CurrentTheme().FileNr, 5);
  Options.Environment = 2;  // out of range never indexes past the end
  EXPECT_EQ(CurrentTheme().FileNr, 0);
}

TEST_F(ThemeFiles, FontsFolderIsListed) {
  Folder.Write("Graphics/Fonts/Fancy.ttf", "not really a font");
  Folder.Write("Graphics/Fonts/Other.otf", "x");
  std::vector<std::string> fonts = InstallFonts();
  EXPECT_EQ(fonts, (std::vector<std::string>{"Fancy.ttf", "Other.otf"}));
  RemoveFonts(fonts);
  EXPECT_TRUE(fonts.empty());
}

}  // namespace
}  // namespace qj::test
