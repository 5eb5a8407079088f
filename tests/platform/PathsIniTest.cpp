// File names spelled as on Windows, listing, atomic writes, text lines and INI files.
#include <gtest/gtest.h>

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

using Lines = std::vector<std::string>;

TEST(Paths, ResolvesEachComponentWithoutRegardToCase) {
  test::TTempFolder dir;
  dir.Write("Jigsaws/Shape1.txt", "x");
  dir.Write("Text/English.lang", "x");
  EXPECT_EQ(ResolvePath(dir.Path() + "/jigsaws/shape1.TXT"), dir.Path() + "/Jigsaws/Shape1.txt");
  EXPECT_EQ(ResolvePath(dir.Path() + "\\JIGSAWS\\Shape1.txt"), dir.Path() + "/Jigsaws/Shape1.txt");
  EXPECT_TRUE(FileExists(dir.Path() + "\\text\\english.LANG"));
  EXPECT_TRUE(DirectoryExists(dir.Path() + "/TEXT"));
  EXPECT_FALSE(FileExists(dir.Path() + "/TEXT"));
  // A missing component keeps its spelling, and so does everything after it.
  EXPECT_EQ(ResolvePath(dir.Path() + "/jigsaws/New/File.PZL"), dir.Path() + "/Jigsaws/New/File.PZL");
}

TEST(Paths, PrefersTheExactSpelling) {
  test::TTempFolder dir;
  dir.Write("shape1.txt", "lower");
  dir.Write("Shape1.txt", "upper");
  EXPECT_EQ(ResolvePath(dir.File("Shape1.txt")), dir.File("Shape1.txt"));
  EXPECT_EQ(ResolvePath(dir.File("shape1.txt")), dir.File("shape1.txt"));
  EXPECT_EQ(ResolvePath(dir.File("SHAPE1.TXT")), dir.File("Shape1.txt"));  // first in name order
}

TEST(Paths, DataPathStartsAtTheProgramFolder) {
  test::TTempFolder dir;
  dir.Write("Graphics/Backgrounds/Wood.jpg", "x");
  const std::string saved = ProgramFolder();
  SetProgramFolder(dir.Path() + "/");
  EXPECT_EQ(DataPath("\\graphics\\backgrounds\\wood.jpg"), dir.Path() + "/Graphics/Backgrounds/Wood.jpg");
  SetProgramFolder(saved);
}

TEST(Paths, ListsMatchingFilesSorted) {
  test::TTempFolder dir;
  for (const char* name : {"b.JPG", "a.jpg", "c.bmp", "C.jpeg", "noext"}) dir.Write(name, "x");
  dir.Write("sub.jpg/inner", "x");  // a folder is not listed
  EXPECT_EQ(ListFiles(dir.Path(), "*.jpg"), (Lines{"a.jpg", "b.JPG"}));
  EXPECT_EQ(ListFiles(dir.Path(), "*.jp*g"), (Lines{"a.jpg", "b.JPG", "C.jpeg"}));
  EXPECT_EQ(ListFiles(dir.Path(), "?.bmp"), (Lines{"c.bmp"}));
  EXPECT_EQ(ListFiles(dir.Path(), "*.*").size(), 5u);
  EXPECT_TRUE(ListFiles(dir.File("missing"), "*").empty());
}

TEST(Paths, NameHelpers) {
  EXPECT_EQ(ChangeFileExt("Jigsaws\\Cat.jpg", ".pzl"), "Jigsaws\\Cat.pzl");
  EXPECT_EQ(ChangeFileExt("a.b/name", ".zip"), "a.b/name.zip");
  EXPECT_EQ(ExtractFileName("C:\\x\\y/Cat.jpeg"), "Cat.jpeg");
  EXPECT_EQ(ExtractFileExt("dir.d/Cat.jpeg"), ".jpeg");
  EXPECT_EQ(ExtractFileExt("dir.d/Cat"), "");
}

TEST(Paths, WritesAtomicallyAndReadsLines) {
  test::TTempFolder dir;
  const std::string path = dir.File("t.txt");
  const std::string text = "one\r\ntwo\n\nlast";
  ASSERT_TRUE(WriteFileAtomic(path, text.data(), text.size()));
  Lines lines;
  ASSERT_TRUE(ReadTextLines(path, lines));
  EXPECT_EQ(lines, (Lines{"one", "two", "", "last"}));
  const std::string bom = "\xEF\xBB\xBFhead\r\n";
  ASSERT_TRUE(WriteFileAtomic(path, bom.data(), bom.size()));
  ASSERT_TRUE(ReadTextLines(path, lines));
  EXPECT_EQ(lines, (Lines{"head"}));
  EXPECT_EQ(ListFiles(dir.Path(), "*").size(), 1u);  // no temporary file left behind
  EXPECT_FALSE(ReadTextLines(dir.File("missing"), lines));
  EXPECT_FALSE(WriteFileAtomic(dir.File("no/such/folder/x"), "x", 1));
}

TEST(IniFile, MissingFileAndKeysGiveDefaults) {
  TIniFile ini("/nonexistent/Jigsaw.stg");
  EXPECT_EQ(ini.ReadInteger("Screen", "MaxFPS", 120), 120);
  EXPECT_EQ(ini.ReadString("Language", "LanguageFile", "English.lang"), "English.lang");
  EXPECT_TRUE(ini.ReadBool("Screen", "BlueShaddow", true));
  EXPECT_FALSE(ini.SectionExists("Screen"));
}

TEST(IniFile, ReadsAsTheProfileFunctionsDo) {
  test::TTempFolder dir;
  const std::string path = dir.Write("a.ini",
                                     "stray=before any section\r\n"
                                     "[Screen]\r\n"
                                     "  MaxFPS =  60  \r\n"
                                     "maxfps=30\r\n"
                                     "; VBI=5\r\n"
                                     "no equals sign here\r\n"
                                     "Hex=0x1F\r\n"
                                     "Neg=-12\r\n"
                                     "Word=12abc\r\n"
                                     "Big=99999999999\r\n"
                                     "Quoted=\"  spaced  \"\r\n"
                                     "Empty=\r\n"
                                     "[screen]\r\n"
                                     "VBI=7\r\n"
                                     "[Other]\n"
                                     "Last=yes");
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadInteger("SCREEN", "maxFPS", 0), 60);
  EXPECT_EQ(ini.ReadInteger("Screen", "VBI", -1), -1);  // commented out, and the repeat is not read
  EXPECT_EQ(ini.ReadInteger("Screen", "Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("Screen", "Neg", 0), -12);
  EXPECT_EQ(ini.ReadInteger("Screen", "Word", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Screen", "Big", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Screen", "Quoted", 5), 5);
  EXPECT_EQ(ini.ReadString("Screen", "Quoted", ""), "  spaced  ");
  EXPECT_TRUE(ini.ValueExists("Screen", "Empty"));
  EXPECT_EQ(ini.ReadString("Screen", "Empty", "def"), "");
  EXPECT_FALSE(ini.ValueExists("Screen", "no equals sign here"));
  EXPECT_EQ(ini.ReadString("Other", "Last", ""), "yes");
  EXPECT_EQ(ini.ReadString("", "stray", "none"), "none");
  EXPECT_TRUE(ini.ReadBool("Screen", "Neg", false));  // any non-zero number
}

TEST(IniFile, QuotesAroundAValueAreDroppedOnceEvenWhenNothingIsInside) {
  test::TTempFolder dir;
  const std::string path = dir.Write("q.stg",
                                     "[Language]\r\n"
                                     "LanguageFile=\"\"\r\n"
                                     "Single=''\r\n"
                                     "Spaced =  \"\"  \r\n"
                                     "Blank=\" \"\r\n"
                                     "Lone=\"\r\n"
                                     "Mixed=\"'\r\n"
                                     "Open=\"abc\r\n"
                                     "Twice=\"\"x\"\"\r\n"
                                     "Number=\"42\"\r\n");
  const TIniFile ini(path);
  EXPECT_TRUE(ini.ValueExists("Language", "LanguageFile"));
  EXPECT_EQ(ini.ReadString("Language", "LanguageFile", "English.lang"), "");
  EXPECT_EQ(ini.ReadString("Language", "Single", "def"), "");
  EXPECT_EQ(ini.ReadString("Language", "Spaced", "def"), "");
  EXPECT_EQ(ini.ReadString("Language", "Blank", "def"), " ");
  EXPECT_EQ(ini.ReadString("Language", "Lone", "def"), "\"");  // one quote is not a pair
  EXPECT_EQ(ini.ReadString("Language", "Mixed", "def"), "\"'");
  EXPECT_EQ(ini.ReadString("Language", "Open", "def"), "\"abc");
  EXPECT_EQ(ini.ReadString("Language", "Twice", "def"), "\"x\"");  // only the outer pair goes
  EXPECT_EQ(ini.ReadInteger("Language", "Number", 5), 42);
  EXPECT_EQ(ini.ReadInteger("Language", "LanguageFile", 5), 5);  // empty is no number

  // Written and read again, an empty quoted value stays empty, in memory and in the file.
  TIniFile writer(path);
  writer.WriteString("Language", "Other", "\"\"");
  EXPECT_EQ(writer.ReadString("Language", "Other", "def"), "");
  ASSERT_TRUE(writer.UpdateFile());
  EXPECT_EQ(TIniFile(path).ReadString("Language", "Other", "def"), "");
  EXPECT_EQ(TIniFile(path).ReadString("Language", "LanguageFile", "def"), "");
}

TEST(IniFile, WritesKeepTheOtherLines) {
  test::TTempFolder dir;
  const std::string path = dir.Write("s.stg", "; settings\n[Sound]\nSound = 80\nUnknown=keep me\n\n[Screen]\nVBI=1\n");
  TIniFile ini(path);
  ini.WriteInteger("sound", "SOUND", 55);
  ini.WriteBool("Sound", "NewFlag", true);
  ini.WriteString("Saving", "CompressionLevel", "9");
  ASSERT_TRUE(ini.UpdateFile());
  Lines lines;
  ASSERT_TRUE(ReadTextLines(path, lines));
  EXPECT_EQ(lines, (Lines{"; settings", "[Sound]", "Sound=55", "Unknown=keep me", "NewFlag=1", "", "[Screen]", "VBI=1",
                          "", "[Saving]", "CompressionLevel=9"}));
  std::vector<uint8_t> raw;
  ASSERT_TRUE(ReadWholeFile(path, raw));
  EXPECT_EQ(std::string(raw.begin(), raw.begin() + 12), "; settings\r\n");
  TIniFile again(path);
  EXPECT_EQ(again.ReadInteger("Sound", "Sound", 0), 55);
  EXPECT_TRUE(again.ReadBool("Sound", "NewFlag", false));
  EXPECT_EQ(again.ReadInteger("Saving", "CompressionLevel", 1), 9);
}

TEST(IniFile, UpdateFailureLeavesTheOldFile) {
  TIniFile ini("/nonexistent/folder/x.ini");
  ini.WriteInteger("A", "B", 1);
  EXPECT_FALSE(ini.UpdateFile());
}

}  // namespace
}  // namespace qj
