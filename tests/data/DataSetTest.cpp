// The shipped data set in the program folder: layout list, themed images, coordinates, themes,
// backgrounds, sounds, music and sample pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "platform/Dib.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"

namespace qj {
namespace {

std::vector<std::string> LayoutLines() {
  std::vector<std::string> lines;
  EXPECT_TRUE(ReadTextLines(DataPath("Text/VarEroRuze.rls"), lines));
  return lines;
}

// Entries of a block with the game's marker rules; fails the test when a marker is missing.
std::vector<std::string> Block(const std::string& name) {
  std::vector<std::string> lines = LayoutLines();
  auto start = std::find_if(lines.begin(), lines.end(), [&](auto& l) { return SameName(l, "[" + name + "]"); });
  EXPECT_NE(start, lines.end()) << name;
  if (start == lines.end()) return {};
  auto end = std::find_if(start, lines.end(), [&](auto& l) { return SameName(l, "[End " + name + "]"); });
  EXPECT_NE(end, lines.end()) << name;
  return end == lines.end() ? std::vector<std::string>{} : std::vector<std::string>(start + 1, end);
}

std::vector<int> ThemeNumbers() {
  std::vector<int> numbers;
  for (const std::string& f : ListFiles(DataPath("Graphics"), "*.ini"))
    numbers.push_back(TIniFile(DataPath("Graphics/" + f)).ReadInteger("Default", "FileNr", -1));
  return numbers;
}

// The game's themed lookup: .bmp, then .jpg, then .jpeg.
std::string Themed(const std::string& base, int theme) {
  std::string stem = DataPath(base + "-" + std::to_string(theme));
  for (const char* ext : {".bmp", ".jpg"})
    if (FileExists(stem + ext)) return stem + ext;
  return stem + ".jpeg";
}

void ExpectLoads(const std::string& path) {
  TMyDib dib;
  EXPECT_TRUE(dib.LoadFromFile(path)) << path << ": " << dib.LastError();
  EXPECT_FALSE(dib.Empty()) << path;
}

std::vector<int> CoordValues(const std::string& path, size_t minLines) {
  std::vector<std::string> lines;
  EXPECT_TRUE(ReadTextLines(path, lines)) << path;
  EXPECT_GE(lines.size(), minLines) << path;
  std::vector<int> values;
  for (const std::string& l : lines) {
    char* end = nullptr;
    long v = std::strtol(l.c_str(), &end, 10);
    values.push_back(end != l.c_str() && *end == 0 ? int(v) : INT32_MIN);
  }
  return values;
}

// Rectangles read from the 1-based groups of five lines must be integers.
void ExpectRects(const std::string& path, int count, bool labelled) {
  std::vector<int> v = CoordValues(path, size_t(labelled ? 5 * count : 4));
  for (int k = 0; k < count; ++k)
    for (int i = 0; i < 4; ++i) {
      size_t line = size_t(labelled ? 5 * k + 1 + i : i);
      ASSERT_LT(line, v.size()) << path;
      EXPECT_NE(v[line], INT32_MIN) << path << " line " << line;
    }
}

const char* kThemedBlocks[] = {"ButtonOptions", "HintOptions", "LargeWindowOptions", "SmallWindowOptions",
                               "HLargeScrollBarOptions", "VLargeScrollBarOptions", "HSmallScrollBarOptions",
                               "CheckBoxOptions", "Trays", "Stars", "PinOptions", "BoardMenuOptions",
                               "LoupeOptions", "MenuCursors", "ScrollButtons", "PuzzleSelector"};

TEST(DataSet, EveryBlockHasItsEntries) {
  const std::pair<const char*, size_t> counts[] = {
      {"ButtonOptions", 1}, {"HintOptions", 6}, {"LargeWindowOptions", 3}, {"SmallWindowOptions", 3},
      {"HLargeScrollBarOptions", 7}, {"VLargeScrollBarOptions", 7}, {"HSmallScrollBarOptions", 7},
      {"CheckBoxOptions", 1}, {"Trays", 6}, {"Sound", 3}, {"PuzzleCutterPieceShapes", 9}, {"Stars", 1},
      {"PinOptions", 3}, {"BoardMenuOptions", 1}, {"LoupeOptions", 1}, {"MenuCursors", 1}, {"Animations", 3},
      {"ScrollButtons", 1}, {"MainOptions", 8}, {"PuzzleSelector", 1}};
  for (auto [name, least] : counts) EXPECT_GE(Block(name).size(), least) << name;
  EXPECT_EQ(Block("PinOptions").size() % 3, 0u) << "pin frames come in three thirds";
}

TEST(DataSet, ThemeFilesHaveEveryKeyAndDistinctNumbers) {
  std::vector<std::string> files = ListFiles(DataPath("Graphics"), "*.ini");
  ASSERT_GE(files.size(), 2u);
  std::vector<std::string> backgrounds = ListFiles(DataPath("Graphics/Backgrounds"), "*.jpg");
  for (const std::string& f : files) {
    TIniFile ini(DataPath("Graphics/" + f));
    for (const char* key : {"Name", "FileNr", "SayColorR", "SayColorG", "SayColorB", "SelectColorR", "SelectColorG",
                            "SelectColorB", "FontName", "FontSize", "FontButtonSize", "FontMenuSize", "FontTitleSize",
                            "BackGround"})
      EXPECT_TRUE(ini.ValueExists("Default", key)) << f << " " << key;
    std::string bg = ini.ReadString("Default", "BackGround", "");
    EXPECT_TRUE(std::any_of(backgrounds.begin(), backgrounds.end(), [&](auto& b) { return SameName(b, bg); })) << f;
  }
  std::vector<int> numbers = ThemeNumbers();
  EXPECT_EQ(std::set<int>(numbers.begin(), numbers.end()).size(), numbers.size());
}

TEST(DataSet, EveryThemedImageLoadsForEveryTheme) {
  for (int theme : ThemeNumbers()) {
    for (const char* block : kThemedBlocks)
      for (const std::string& base : Block(block)) ExpectLoads(Themed(base, theme));
    ExpectLoads(Themed("Graphics\\Menus\\Menu", theme));
    for (const std::string& base : Block("Animations")) {
      ExpectLoads(DataPath(base + "00.bmp"));
      ExpectLoads(Themed(base + "00", theme));
    }
  }
}

TEST(DataSet, PlainImagesOfTheScreensLoad) {
  for (const std::string& base : Block("PuzzleCutterPieceShapes")) ExpectLoads(DataPath(base + ".bmp"));
  std::vector<std::string> main = Block("MainOptions");
  ASSERT_EQ(main.size(), 8u);
  ExpectLoads(DataPath(main[0] + ".jpg"));
  for (size_t p = 1; p < main.size(); ++p) ExpectLoads(DataPath(main[p] + ".bmp"));
  ExpectRects(DataPath(main[0] + ".coord"), 7, true);
}

TEST(DataSet, CoordinateFilesParse) {
  for (int theme : ThemeNumbers()) {
    auto coord = [&](const std::string& base) { return ChangeFileExt(Themed(base, theme), ".coord"); };
    ExpectRects(coord(Block("ButtonOptions")[0]), 1, false);
    ExpectRects(coord(Block("LargeWindowOptions")[0]), 10, true);
    ExpectRects(coord(Block("SmallWindowOptions")[0]), 10, true);
    std::vector<int> menu = CoordValues(coord("Graphics\\Menus\\Menu"), 9);
    for (size_t i = 1; i < 9 && i < menu.size(); ++i) EXPECT_NE(menu[i], INT32_MIN) << "menu line " << i;
    std::vector<int> loupe = CoordValues(coord(Block("LoupeOptions")[0]), 2);
    EXPECT_GT(loupe[0], 0);
    EXPECT_GT(loupe[1], 0);
  }
}

TEST(DataSet, WindowRectanglesLieInsideTheirFrame) {
  for (int theme : ThemeNumbers()) {
    std::string frame = Themed(Block("LargeWindowOptions")[0], theme);
    TMyDib dib;
    ASSERT_TRUE(dib.LoadFromFile(frame));
    std::vector<int> v = CoordValues(ChangeFileExt(frame, ".coord"), 50);
    for (int k = 0; k < 10; ++k) {
      int l = v[5 * k + 1], t = v[5 * k + 2], r = v[5 * k + 3], b = v[5 * k + 4];
      EXPECT_TRUE(0 <= l && l < r && r <= dib.Width() && 0 <= t && t < b && b <= dib.Height()) << frame << " " << k;
    }
    EXPECT_EQ(dib.At(0, 0) & kRgbMask, 0u) << "the rounded corner is transparent";
  }
}

TEST(DataSet, BackgroundsAreTableSizedJpegs) {
  std::vector<std::string> files = ListFiles(DataPath("Graphics/Backgrounds"), "*.jpg");
  ASSERT_GE(files.size(), 3u);
  for (const std::string& f : files) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(DataPath("Graphics/Backgrounds/" + f), bytes));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_TRUE(bytes[0] == 0xFF && bytes[1] == 0xD8) << f;
    TMyDib dib;
    ASSERT_TRUE(dib.LoadFromFile(DataPath("Graphics/Backgrounds/" + f)));
    EXPECT_EQ(dib.Width(), 1600);
    EXPECT_EQ(dib.Height(), 1200);
  }
}

void ExpectWave(const std::string& path) {
  std::vector<uint8_t> b;
  ASSERT_TRUE(ReadWholeFile(path, b)) << path;
  ASSERT_GE(b.size(), 44u) << path;
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(b[24] | (b[25] << 8) | (b[26] << 16), 44100) << path;
  EXPECT_EQ(b[34], 16) << path;
}

TEST(DataSet, SoundsAreWavesAndMusicIsAMidiFile) {
  std::vector<std::string> sound = Block("Sound");
  ASSERT_EQ(sound.size(), 3u);
  for (int theme : ThemeNumbers())
    for (int i = 0; i < 2; ++i) ExpectWave(DataPath(sound[i] + "-" + std::to_string(theme) + ".wav"));
  ExpectWave(DataPath(sound[2] + ".wav"));
  std::vector<uint8_t> mid;
  ASSERT_TRUE(ReadWholeFile(DataPath("sound/music.mid"), mid));
  ASSERT_GE(mid.size(), 22u);
  EXPECT_EQ(std::string(mid.begin(), mid.begin() + 4), "MThd");
  EXPECT_EQ(mid[9], 1) << "type 1";
  EXPECT_GE(mid[11], 2) << "tracks";
  EXPECT_EQ(std::string(mid.begin() + 14, mid.begin() + 18), "MTrk");
}

// Variance of the brightness inside one block of a picture.
double BlockVariance(const TMyDib& dib, int bx, int by, int size) {
  double sum = 0, sq = 0;
  for (int y = by; y < by + size; ++y)
    for (int x = bx; x < bx + size; ++x) {
      TPixel p = dib.At(x, y);
      double l = 0.3 * PixelR(p) + 0.59 * PixelG(p) + 0.11 * PixelB(p);
      sum += l;
      sq += l * l;
    }
  double n = double(size) * size;
  return sq / n - (sum / n) * (sum / n);
}

TEST(DataSet, SamplePicturesHaveDetailEverywhere) {
  std::vector<std::string> files = ListFiles(DataPath("Jigsaws"), "*.jpg");
  ASSERT_GE(files.size(), 4u);
  for (const std::string& f : files) {
    TMyDib dib;
    ASSERT_TRUE(dib.LoadFromFile(DataPath("Jigsaws/" + f))) << f;
    EXPECT_GE(dib.Width(), 1200);
    EXPECT_GE(dib.Height(), 900);
    int flat = 0;
    for (int y = 0; y + 64 <= dib.Height(); y += 64)
      for (int x = 0; x + 64 <= dib.Width(); x += 64) flat += BlockVariance(dib, x, y, 64) < 20.0;
    EXPECT_EQ(flat, 0) << f << " has flat 64 x 64 blocks";
  }
}

}  // namespace
}  // namespace qj
