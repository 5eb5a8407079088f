// The layout readers: blocks of the layout list and rectangles of .coord files.
#include "controls/UButtons.h"
#include "tests/settings/SettingsFixture.h"

namespace qj::test {
namespace {

class Layout : public TProgramFolderTest {
 protected:
  std::vector<std::string> Block(const std::string& name) {
    std::vector<std::string> list{"stale"};
    ReadOptionsBlock(name, list);
    return list;
  }
  std::string Entry(const std::string& line) const { return Folder.Path() + "/" + line; }
  std::string ErrorOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const ELayoutError& e) {
      return e.what();
    }
    return "";
  }
};

TEST_F(Layout, BlockMarkersIgnoreCaseAndBlocksComeInAnyOrder) {
  Folder.Write("Text/VarEroRuze.rls",
               "[Trays]\nGraphics\\Tray\n[End Trays]\n"
               "[buttonoptions]\nGraphics\\Button1\n\nGraphics\\Button2\n[END BUTTONOPTIONS]\n"
               "outside\n");
  EXPECT_EQ(Block("ButtonOptions"),
            (std::vector<std::string>{Entry("Graphics\\Button1"), Entry(""), Entry("Graphics\\Button2")}));
  EXPECT_EQ(Block("Trays"), (std::vector<std::string>{Entry("Graphics\\Tray")}));
}

TEST_F(Layout, MarkersMustBeWholeLines) {
  Folder.Write("Text/VarEroRuze.rls", " [Sound]\na\n[End Sound]\n[Sound]\nb\n [End Sound]\n[End Sound]\n");
  EXPECT_EQ(Block("Sound"), (std::vector<std::string>{Entry("b"), Entry(" [End Sound]")}));
}

TEST_F(Layout, MissingBlockEndLineOrFileIsAClearError) {
  EXPECT_NE(ErrorOf([&] { Block("Sound"); }).find("VarEroRuze.rls"), std::string::npos);
  Folder.Write("Text/VarEroRuze.rls", "[Stars]\na\n[End Star]\n");
  EXPECT_NE(ErrorOf([&] { Block("Trays"); }).find("[Trays] is missing"), std::string::npos);
  EXPECT_NE(ErrorOf([&] { Block("Stars"); }).find("[Stars] has no end line"), std::string::npos);
}

TEST_F(Layout, RectanglesAreReadFromAnyFirstLine) {
  const std::string coord = Folder.Write("Graphics/Window-1.coord",
                                         "label\n1\n2\n 30 \n40\nlabel\n-5\n+6\r\n7\n8\n");
  TLayoutRect r;
  ReadLayoutRect(coord, r, 1);
  EXPECT_EQ(r, (TLayoutRect{1, 2, 30, 40}));
  ReadLayoutRect(coord, r, 6);
  EXPECT_EQ(r, (TLayoutRect{-5, 6, 7, 8}));
}

TEST_F(Layout, CoordFileFollowsTheThemedImageName) {
  UseThemes(1);
  Themes[0].FileNr = 2;
  Folder.Write("Graphics/Button-2.bmp", "x");
  Folder.Write("Graphics/Button-2.coord", "3\n4\n50\n60\n");
  const std::string coord = CoordFileName(Entry("Graphics\\Button"));
  TLayoutRect r;
  ReadLayoutRect(coord, r, 0);
  EXPECT_EQ(r, (TLayoutRect{3, 4, 50, 60}));
}

TEST_F(Layout, BadCoordFilesAreClearErrors) {
  TLayoutRect r{1, 1, 1, 1};
  const std::string missing = Folder.File("Graphics/none.coord");
  EXPECT_NE(ErrorOf([&] { ReadLayoutRect(missing, r, 0); }).find("none.coord"), std::string::npos);
  const std::string shortFile = Folder.Write("short.coord", "1\n2\n3\n");
  EXPECT_NE(ErrorOf([&] { ReadLayoutRect(shortFile, r, 0); }).find("has no line 4"), std::string::npos);
  EXPECT_NE(ErrorOf([&] { ReadLayoutRect(shortFile, r, -1); }), "");
  for (const char* bad : {"1\n2\nten\n4\n", "1\n2\n3.5\n4\n", "1\n2\n\n4\n", "1\n2\n99999999999\n4\n", "1\n2\n3 4\n4\n"}) {
    const std::string file = Folder.Write("bad.coord", bad);
    EXPECT_NE(ErrorOf([&] { ReadLayoutRect(file, r, 0); }).find("line 3 is not a whole number"), std::string::npos)
        << bad;
  }
  EXPECT_EQ(r, (TLayoutRect{1, 1, 1, 1}));  // untouched on failure
}

}  // namespace
}  // namespace qj::test
