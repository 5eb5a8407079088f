// The shipped language files: one numbering for every language, and every line the program shows is there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/FontRasterizer.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace qj {
namespace {

enum class TLineKind { Text, Hint };  // a hint may split into two lines at one "|"

struct TLineRange {
  int First, Last;
  TLineKind Kind;
};

// Every line number the program takes from the language table, with what shows it.
constexpr TLineRange kUsedLines[] = {
    // Info window title, and the left hint of the in-game menu's exit button: no "|".
    {0, 0, TLineKind::Text},
    // In-game menu hints: left side of button i is line 2i, right side 2i + 1.
    {1, 22, TLineKind::Hint},
    // Info window footnote, and the right hint of the menu's main-menu button: no "|".
    {23, 23, TLineKind::Text},
    // Options: the 14 hot-key rows, then the prompts while a first, only or second key is awaited.
    {24, 40, TLineKind::Text},
    // Options: right hints of OK and Reload; left hints of Close, Optimal and Safe.
    {41, 42, TLineKind::Hint},
    {44, 46, TLineKind::Hint},
    // Options buttons Safe, Optimal, Close (49 also closes the exit dialog and the selector's
    // confirmation), Reload, OK (52 also the maker's error OK, save-and-quit, confirm), window title.
    {47, 49, TLineKind::Text},
    {51, 53, TLineKind::Text},
    // Maker info labels 54-59; selector thumbnail words 60-62 ("pieces", best score, puzzle).
    {54, 62, TLineKind::Text},
    // Maker: title, Save, Cancel, Check, option boxes (loupe, rotation, small picture, ghost), shadow, bevel.
    {64, 73, TLineKind::Text},
    // In-game menu: hints of helps the puzzle forbids (loupe, ghost, small picture).
    {75, 77, TLineKind::Hint},
    // Statistics and thumbnails: time, progress; options check boxes of the table and look groups.
    {78, 84, TLineKind::Text},
    {85, 85, TLineKind::Hint},  // options: apply button
    // Options: Apply, Full screen, the VBI boxes, pieces group, "show" + cube name, cube names 93-95,
    // group titles, hint-decrease box, piece selection boxes, confirmation caption 106, Keep.
    {86, 107, TLineKind::Text},
    {108, 108, TLineKind::Hint},  // options: Keep
    {109, 109, TLineKind::Text},  // options: revert
    {110, 110, TLineKind::Hint},
    {111, 112, TLineKind::Text},  // options: hot-key window title, Defaults
    {113, 113, TLineKind::Hint},
    // Options: cube box after a change, value labels 115-134, display confirmation text 135-137;
    // maker: neighbour-help box.
    {114, 138, TLineKind::Text},
    {139, 139, TLineKind::Hint},  // in-game menu: forbidden neighbour helps
    // Maker: check states (140 + state), unsound-cut explanation 143-147; in-game menu captions 148-159.
    {140, 160, TLineKind::Text},
    // Selector: Play, Make, Arrange, Back, each caption then hint.
    {161, 161, TLineKind::Hint},
    {162, 162, TLineKind::Text},
    {163, 163, TLineKind::Hint},
    {164, 164, TLineKind::Text},
    {165, 165, TLineKind::Hint},
    {166, 166, TLineKind::Text},
    {167, 167, TLineKind::Hint},
    // Save and load error boxes 168-171; statistics score parts 172-179 and the score 180;
    // Abandon (selector's Restart and the exit dialog's give-up button).
    {168, 181, TLineKind::Text},
    {182, 182, TLineKind::Hint},
    {183, 183, TLineKind::Text},  // selector: Add picture
    {184, 184, TLineKind::Hint},
    {185, 188, TLineKind::Text},  // selector: frame caption, confirmation text
    {189, 190, TLineKind::Hint},  // selector: confirmation buttons
    // Selector: copy failure caption and text; options: progress-hint label.
    {191, 193, TLineKind::Text},
    // Exit dialog hints 196-197; main menu hints 198-200, 202-203.
    {196, 200, TLineKind::Hint},
    {202, 203, TLineKind::Hint},
    {204, 206, TLineKind::Text},  // maker: the question before a puzzle of very many pieces is saved
    // Selector: picture without puzzle; options: default refresh rate; info window messages 209-212
    // (appended to line 0); options: music labels; main menu ticker 215.
    {207, 215, TLineKind::Text},
    // The picture chooser: its title, then Up, Add and Cancel, each a caption and its hint.
    {216, 216, TLineKind::Text},
    {217, 219, TLineKind::Hint},
    // Options: the notes under the hot-key list (two rows share a key; Escape cancels a capture).
    {230, 231, TLineKind::Text},
    // The maker: the names of the nine cut styles.
    {232, 240, TLineKind::Text},
    // The credits: their headings and lines, in rolling order.
    {241, 266, TLineKind::Text},
};

constexpr int kCubeNamesLine = 93;

std::vector<std::string> LanguageFiles() { return ListFiles(DataPath("Text"), "*.lang"); }

std::vector<std::string> ReadLanguage(const std::string& name) {
  std::vector<std::string> lines;
  EXPECT_TRUE(ReadTextLines(DataPath("Text/" + name), lines)) << name;
  return lines;
}

int HighestUsedLine() { return std::end(kUsedLines)[-1].Last; }

template <typename F>
void ForEachUsedLine(F&& f) {
  for (const TLineRange& range : kUsedLines)
    for (int n = range.First; n <= range.Last; ++n) f(n, range.Kind);
}

// Decodes UTF-8; false on a malformed sequence or a character any font may lack (beyond Latin-1).
bool Latin1Utf8(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = uint8_t(text[i]);
    if (c < 0x20 || c == 0x7F) return false;
    if (c < 0x80) continue;
    if (c != 0xC2 && c != 0xC3) return false;  // two-byte lead bytes of U+0080..U+00FF only
    if (++i >= text.size() || (uint8_t(text[i]) & 0xC0) != 0x80) return false;
    if (c == 0xC2 && uint8_t(text[i]) < 0xA0) return false;  // C1 control characters
  }
  return true;
}

// Replaces text keys like a control's caption does; false when a key names no line or never ends.
bool ExpandKeys(const std::vector<std::string>& table, std::string text, std::string& out) {
  for (int budget = 32; budget > 0; --budget) {
    const size_t dollar = text.find('$');
    if (dollar == std::string::npos) {
      out = text;
      return true;
    }
    size_t end = dollar + 1;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    if (end == dollar + 1 || end - dollar > 6) return false;
    const size_t n = std::stoul(text.substr(dollar + 1, end - dollar - 1));
    if (n >= table.size()) return false;
    text.replace(dollar, end - dollar, table[n]);
  }
  return false;
}

TEST(LanguageFiles, EnglishAndAtLeastOneMoreShareOneNumbering) {
  const auto names = LanguageFiles();
  ASSERT_GE(names.size(), 2u);
  ASSERT_TRUE(FileExists(DataPath("Text/English.lang")));
  const size_t count = ReadLanguage("English.lang").size();
  EXPECT_GT(count, size_t(HighestUsedLine()));
  for (const auto& name : names) EXPECT_EQ(ReadLanguage(name).size(), count) << name;
}

TEST(LanguageFiles, EveryUsedLineIsWrittenOutInEveryLanguage) {
  for (const auto& name : LanguageFiles()) {
    const auto lines = ReadLanguage(name);
    ASSERT_GT(lines.size(), size_t(HighestUsedLine())) << name;
    ForEachUsedLine([&](int n, TLineKind) {
      const std::string& line = lines[size_t(n)];
      EXPECT_FALSE(line.empty() || line == "-") << name << " line " << n << " is a placeholder";
      // Lines are glued to numbers and other lines by the code; blanks at the ends would double up.
      EXPECT_TRUE(!line.empty() && line.front() != ' ' && line.back() != ' ') << name << " line " << n;
    });
  }
}

TEST(LanguageFiles, EveryLineIsPrintableLatin1InUtf8) {
  for (const auto& name : LanguageFiles()) {
    const auto lines = ReadLanguage(name);
    for (size_t n = 0; n < lines.size(); ++n) {
      EXPECT_TRUE(Latin1Utf8(lines[n])) << name << " line " << n;
      EXPECT_FALSE(lines[n].empty()) << name << " line " << n << ": keep unused lines as \"-\"";
    }
  }
}

TEST(LanguageFiles, CubeTypeNamesSitAtTheirLines) {
  const auto english = ReadLanguage("English.lang");
  ASSERT_GT(english.size(), size_t(kCubeNamesLine + 2));
  EXPECT_EQ(english[kCubeNamesLine], "Cubes");
  EXPECT_EQ(english[kCubeNamesLine + 1], "Diamonds");
  EXPECT_EQ(english[kCubeNamesLine + 2], "Pyramids");
}

TEST(LanguageFiles, OnlyHintsSplitIntoTwoLines) {
  for (const auto& name : LanguageFiles()) {
    const auto lines = ReadLanguage(name);
    ASSERT_GT(lines.size(), size_t(HighestUsedLine()));
    ForEachUsedLine([&](int n, TLineKind kind) {
      const std::string& line = lines[size_t(n)];
      const size_t bar = line.find('|');
      if (kind == TLineKind::Text || bar == std::string::npos) {
        EXPECT_EQ(bar, std::string::npos) << name << " line " << n << " is not a hint";
        return;
      }
      EXPECT_EQ(line.find('|', bar + 1), std::string::npos) << name << " line " << n;
      EXPECT_TRUE(bar > 0 && bar + 1 < line.size()) << name << " line " << n << " has an empty half";
    });
  }
}

TEST(LanguageFiles, TextKeysNameExistingLinesAndEnd) {
  for (const auto& name : LanguageFiles()) {
    const auto lines = ReadLanguage(name);
    for (size_t n = 0; n < lines.size(); ++n) {
      std::string expanded;
      EXPECT_TRUE(ExpandKeys(lines, lines[n], expanded)) << name << " line " << n;
    }
  }
}

TEST(LanguageFiles, ConfirmationWindowIsAsWideAsItsLongestLine) {
  // The selector's confirmation window takes its width from line 186 alone.
  auto glyphs = [](const std::string& s) {
    size_t count = 0;
    for (char c : s) count += (uint8_t(c) & 0xC0) != 0x80;
    return count;
  };
  for (const auto& name : LanguageFiles()) {
    const auto lines = ReadLanguage(name);
    ASSERT_GT(lines.size(), 188u);
    EXPECT_GE(glyphs(lines[186]), glyphs(lines[187])) << name;
    EXPECT_GE(glyphs(lines[186]), glyphs(lines[188])) << name;
  }
}


// The fonts texts are drawn in: the fallback and every theme's own.
std::vector<std::string> ThemeFontNames() {
  std::vector<std::string> names = {"Times New Roman"};
  for (const auto& theme : ListFiles(DataPath("Graphics"), "*.ini"))
    names.push_back(TIniFile(DataPath("Graphics/" + theme)).ReadString("Default", "FontName", names[0]));
  return names;
}

TEST(LanguageFiles, MainMenuTickerPassesBeforeItStops) {
  // The ticker moves one pixel a step and stops after 1850 steps; it starts at the right edge of
  // the smallest window (790 pixels), so the whole line must have left by then.
  constexpr int kTickerSteps = 1850, kNarrowestWindow = 790, kTickerLine = 215;
  ASSERT_NE(FontRasterizer(), nullptr);
  for (const auto& name : LanguageFiles()) {
    const auto lines = ReadLanguage(name);
    ASSERT_GT(lines.size(), size_t(kTickerLine));
    for (const auto& fontName : ThemeFontNames()) {
      TFontSpec font;
      font.Name = fontName;
      font.Size = 14;
      int width = 0, height = 0;
      ASSERT_TRUE(FontRasterizer()->Measure(font, lines[kTickerLine], width, height));
      EXPECT_LE(width, kTickerSteps - kNarrowestWindow)
          << name << " in " << fontName << ": " << width << " pixels";
    }
  }
}

}  // namespace
}  // namespace qj
