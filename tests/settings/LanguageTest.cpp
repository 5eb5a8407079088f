// Language files: the fallback chain, missing files, text keys in captions.
#include <fstream>

#include "tests/settings/SettingsFixture.h"

namespace qj::test {
namespace {

class Language : public TProgramFolderTest {};

TEST_F(Language, DefaultNameFallsBackToEnglishLangAndIsStored) {
  WriteLanguage("English.lang", 100);
  ASSERT_EQ(Options.LanguageFile, "Text\\English.txt");
  ASSERT_TRUE(LoadLanguage());
  EXPECT_EQ(Options.LanguageFile, "English.lang");
  EXPECT_EQ(LanguageText.size(), 100u);
  EXPECT_EQ(Lang(ETextId(42)), "line 42");
  ASSERT_TRUE(SaveSettings());
  Options = TOptions();
  LoadSettings(Folder.File("Text/Jigsaw.stg"), true);
  EXPECT_EQ(Options.LanguageFile, "English.lang");
}

TEST_F(Language, BackslashNameIsLookedUpInsideTheTextFolderWithoutRegardToCase) {
  WriteLanguage("English.lang", 10);
  Folder.Write("Text/text/ENGLISH.TXT", "nested\n");
  ASSERT_TRUE(LoadLanguage());
  EXPECT_EQ(Options.LanguageFile, "Text\\English.txt");
  ASSERT_EQ(LanguageText.size(), 1u);
  EXPECT_EQ(Lang(ETextId(0)), "nested");
}

TEST_F(Language, NoLanguageAtAllMeansTheProgramMustEnd) {
  LanguageText = {"old"};
  EXPECT_FALSE(LoadLanguage());
  EXPECT_TRUE(LanguageText.empty());
  EXPECT_EQ(Lang(ETextId(0)), "");
}

TEST_F(Language, CubeNamesComeFromLines93To95) {
  WriteLanguage("English.lang", 96);
  ASSERT_TRUE(LoadLanguage());
  EXPECT_EQ(CubeTypeNames[0], "line 93");
  EXPECT_EQ(CubeTypeNames[2], "line 95");
  WriteLanguage("English.lang", 94);  // too short: the missing names stay English
  ASSERT_TRUE(LoadLanguage());
  EXPECT_EQ(CubeTypeNames[0], "line 93");
  EXPECT_EQ(CubeTypeNames[1], "Diamonds");
  EXPECT_EQ(CubeTypeNames[2], "Pyramids");
}

TEST_F(Language, TextKeysAreReplacedIncludingKeysInsideLines) {
  LanguageText = {"zero", "one is $0", "two has $1 and $0", "$$", "x"};
  EXPECT_EQ(ReplaceTextKeys("$4 "), "x ");
  EXPECT_EQ(ReplaceTextKeys("[$2]"), "[two has one is zero and zero]");
  EXPECT_EQ(ReplaceTextKeys("$04"), "x");
  EXPECT_EQ(ReplaceTextKeys("no keys"), "no keys");
}

TEST_F(Language, BrokenTextKeysStayAsWritten) {
  LanguageText = {"zero", "self $1", "$", "cost $"};
  EXPECT_EQ(ReplaceTextKeys("5 $ left"), "5 $ left");
  EXPECT_EQ(ReplaceTextKeys("$99 missing"), "$99 missing");
  EXPECT_EQ(ReplaceTextKeys("$99999999999999999999"), "$99999999999999999999");
  EXPECT_EQ(ReplaceTextKeys("$2$0"), "$zero");
  EXPECT_EQ(ReplaceTextKeys("$3"), "cost $");
  EXPECT_EQ(Lang(ETextId(-1)), "");
  EXPECT_EQ(Lang(ETextId(4)), "");
  // A line that names itself ends after a bounded number of replacements.
  const std::string looped = ReplaceTextKeys("$1");
  EXPECT_TRUE(looped.starts_with("self self self"));
  EXPECT_TRUE(looped.ends_with("$1"));
}

}  // namespace
}  // namespace qj::test
