// The shipped language files: one numbering for every language, and every line the program names is there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "core/UTextIds.h"
#include "platform/FontRasterizer.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace qj {
namespace {

enum class TLineKind { Plain, Hint };  // a hint may split into two lines at one "|"

struct TNamedLines {
  const char* Name;
  int First, Count;
  TLineKind Kind;
};

// Every line the program takes from the language, by the name the code knows it by.
constexpr TNamedLines kNamedLines[] = {
#define QJ_NAMED_LINES(name, line, count, kind) {#name, line, count, TLineKind::kind},
    QJ_TEXT_IDS(QJ_NAMED_LINES)
#undef QJ_NAMED_LINES
};

std::vector<std::string> LanguageFiles() { return ListFiles(DataPath("Text"), "*.lang"); }

std::vector<std::string> ReadLanguage(const std::string& name) {
  std::vector<std::string> lines;
  EXPECT_TRUE(ReadTextLines(DataPath("Text/" + name), lines)) << name;
  return lines;
}

int HighestUsedLine() {
  int highest = 0;
  for (const TNamedLines& lines : kNamedLines) highest = std::max(highest, lines.First + lines.Count - 1);
  return highest;
}

template <typename F>
void ForEachUsedLine(F&& f) {
  for (const TNamedLines& lines : kNamedLines)
    for (int n = lines.First; n < lines.First + lines.Count; ++n) f(n, lines.Kind);
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
  ASSERT_TRUE(FileExists(DataPath("Text/Deutsch.lang")));
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

TEST(LanguageFiles, ALineNoCodeNamesIsAPlaceholder) {
  std::vector<bool> named(size_t(HighestUsedLine()) + 1, false);
  ForEachUsedLine([&](int n, TLineKind) { named[size_t(n)] = true; });
  for (const auto& name : LanguageFiles()) {
    const auto lines = ReadLanguage(name);
    for (size_t n = 0; n < lines.size(); ++n) {
      if (n < named.size() && named[n]) continue;
      EXPECT_EQ(lines[n], "-") << name << " line " << n << " is written out, but no name in core/UTextIds.h covers it";
    }
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
  const auto cubes = size_t(Text::CubeNames);
  ASSERT_GT(english.size(), cubes + 2);
  EXPECT_EQ(english[cubes], "Cubes");
  EXPECT_EQ(english[cubes + 1], "Diamonds");
  EXPECT_EQ(english[cubes + 2], "Pyramids");
}

TEST(LanguageFiles, OnlyHintsSplitIntoTwoLines) {
  for (const auto& name : LanguageFiles()) {
    const auto lines = ReadLanguage(name);
    ASSERT_GT(lines.size(), size_t(HighestUsedLine()));
    ForEachUsedLine([&](int n, TLineKind kind) {
      const std::string& line = lines[size_t(n)];
      const size_t bar = line.find('|');
      if (kind == TLineKind::Plain || bar == std::string::npos) {
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
  // The selector's confirmation window takes its width from its first line alone.
  auto glyphs = [](const std::string& s) {
    size_t count = 0;
    for (char c : s) count += (uint8_t(c) & 0xC0) != 0x80;
    return count;
  };
  for (const auto& name : LanguageFiles()) {
    const auto lines = ReadLanguage(name);
    ASSERT_GT(lines.size(), size_t(Text::LostForGood));
    const size_t widest = glyphs(lines[size_t(Text::ReallyAbandon)]);
    EXPECT_GE(widest, glyphs(lines[size_t(Text::ThePuzzleStays)])) << name;
    EXPECT_GE(widest, glyphs(lines[size_t(Text::LostForGood)])) << name;
  }
}


// ---- The names against the program's code -----------------------------------------------------

struct TCodeLine {
  std::string File;
  int Number;
  std::string Code;  // without its // comment
};

// The program's own code: everything but the tests, the fuzz targets and the build folders.
std::vector<TCodeLine> ProgramCode() {
  namespace fs = std::filesystem;
  const fs::path root(QJ_SOURCE_DIR);
  std::vector<TCodeLine> code;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const std::string name = it->path().filename().string();
    if (it->is_directory() && (name == "tests" || name == "fuzz" || name.starts_with("build") || name.starts_with(".")))
      it.disable_recursion_pending();
    const std::string ext = it->path().extension().string();
    if (!it->is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    const std::string file = fs::relative(it->path(), root).string();
    std::ifstream in(it->path());
    int number = 0;
    for (std::string line; std::getline(in, line);) code.push_back({file, ++number, line.substr(0, line.find("//"))});
  }
  return code;
}

bool IdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// True when `word` stands in `text` as a whole name, not as part of a longer one.
bool MentionsWord(const std::string& text, const std::string& word) {
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    const size_t end = at + word.size();
    if ((at == 0 || !IdentifierChar(text[at - 1])) && (end == text.size() || !IdentifierChar(text[end]))) return true;
  }
  return false;
}

TEST(NamedLines, EveryNameIsShownByTheProgram) {
  std::string all;
  for (const TCodeLine& line : ProgramCode()) all += line.Code + "\n";
  ASSERT_TRUE(MentionsWord(all, "Lang")) << "no program code under " << QJ_SOURCE_DIR;
  for (const TNamedLines& lines : kNamedLines)
    EXPECT_TRUE(MentionsWord(all, std::string("Text::") + lines.Name))
        << "Text::" << lines.Name << " (line " << lines.First << ") is named, but no code uses it";
}

TEST(NamedLines, TheProgramTakesLinesByNameNotByNumber) {
  // Lang(170) or a caption "$170" would show whatever line 170 becomes, and escape the checks above.
  const std::regex number(R"(\bLang\(\s*[0-9]|"\$[0-9])");
  for (const TCodeLine& line : ProgramCode()) {
    if (line.Code.find("Lang(") == std::string::npos && line.Code.find("\"$") == std::string::npos) continue;
    EXPECT_FALSE(std::regex_search(line.Code, number)) << line.File << ":" << line.Number << ": " << line.Code;
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
  constexpr int kTickerSteps = 1850, kNarrowestWindow = 790;
  constexpr auto kTickerLine = size_t(Text::Welcome);
  ASSERT_NE(FontRasterizer(), nullptr);
  for (const auto& name : LanguageFiles()) {
    const auto lines = ReadLanguage(name);
    ASSERT_GT(lines.size(), kTickerLine);
    for (const auto& fontName : ThemeFontNames()) {
      TFontChoice font;
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
