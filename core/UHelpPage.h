// The help pages' simple HTML read into blocks of styled text that the game lays out itself:
// headings, paragraphs, list items and table rows, with bold runs.
#pragma once

#include <string>
#include <vector>

namespace qj {

enum class ETextBlock { Heading, Subheading, Paragraph, ListItem };

struct TTextRun {
  std::string Text;
  bool Bold = false;
};

struct TTextBlock {
  ETextBlock Kind = ETextBlock::Paragraph;
  std::vector<TTextRun> Runs;
};

struct THelpPage {
  std::string Title;  // of the <title>, without the game's name after it
  std::vector<TTextBlock> Blocks;
};

// False, with `error` in English for stderr, when the text is no help page: a tag left open at
// the end, bytes that are not text, or no words in its body. Never throws on any input.
[[nodiscard]] bool ParseHelpPage(const std::string& html, THelpPage& page, std::string& error);
// The file read and parsed; false with `error` when it cannot be read or parsed.
[[nodiscard]] bool LoadHelpPage(const std::string& path, THelpPage& page, std::string& error);

}  // namespace qj
