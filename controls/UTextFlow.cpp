// Laying out text blocks: a first pass places the words, a second draws them.
#include "controls/UTextFlow.h"

#include <algorithm>
#include <sstream>

#include "core/UThemes.h"
#include "platform/Canvas.h"
#include "platform/Dib.h"

namespace qj {
namespace {

constexpr int kListIndent = 22;

struct TWord {
  std::string Text;
  bool Bold = false;
  bool SpaceBefore = false;
};

// The words of the runs; a word whose run began without a space clings to the one before.
std::vector<TWord> Words(const std::vector<TTextRun>& runs) {
  std::vector<TWord> words;
  bool space = false;
  for (const TTextRun& run : runs) {
    std::string word;
    for (char c : run.Text) {
      if (c != ' ') {
        word += c;
        continue;
      }
      if (!word.empty()) words.push_back({word, run.Bold, space});
      word.clear();
      space = true;
    }
    if (!word.empty()) words.push_back({word, run.Bold, space});
    if (!word.empty()) space = false;
  }
  return words;
}

TFontChoice BlockFont(ETextBlock kind, const TFlowStyle& style) {
  switch (kind) {
    case ETextBlock::Heading: return {style.Font, style.Size + 8, style.HeadingColor, true};
    case ETextBlock::Subheading: return {style.Font, style.Size + 3, style.HeadingColor, true};
    default: return {style.Font, style.Size, style.Color, false};
  }
}

class TFlow {
 public:
  TFlow(int width, const TFlowStyle& style) : FWidth(width), FStyle(style), FCanvas(FScratch) {}

  void Block(const TTextBlock& block);
  TTextLayout Result() { return {std::move(FPlaced), FY}; }

 private:
  void Place(std::string text, const TFontChoice& font, bool spaceBefore);
  void NewLine();

  int FWidth;
  TFlowStyle FStyle;
  TMyDib FScratch{1, 1};
  TCanvas FCanvas;
  std::vector<TPlacedWord> FPlaced;
  int FLeft = 0, FX = 0, FY = 0, FLineHeight = 0;
  bool FInList = false;
};

void TFlow::NewLine() {
  FY += FLineHeight;
  FX = FLeft;
}

// Onto the line, or the next one; a word wider than a line is cut into pieces that fit.
void TFlow::Place(std::string text, const TFontChoice& font, bool spaceBefore) {
  FCanvas.Font = font;
  const int space = spaceBefore && FX > FLeft ? FCanvas.TextWidth(" ") : 0;
  int width = FCanvas.TextWidth(text);
  if (FX > FLeft && FX + space + width > FWidth) {
    NewLine();
    return Place(text, font, false);
  }
  while (width > FWidth - FX && text.size() > 1) {
    size_t cut = text.size() - 1;
    while (cut > 1 && FCanvas.TextWidth(text.substr(0, cut)) > FWidth - FX) --cut;
    while (cut > 1 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole letters
    FPlaced.push_back({FX, FY, FLineHeight, text.substr(0, cut), font});
    text.erase(0, cut);
    NewLine();
    width = FCanvas.TextWidth(text);
  }
  FPlaced.push_back({FX + space, FY, FLineHeight, text, font});
  FX += space + width;
}

void TFlow::Block(const TTextBlock& block) {
  const TFontChoice base = BlockFont(block.Kind, FStyle);
  FCanvas.Font = base;
  FLineHeight = FCanvas.TextHeight("Wg") + 2;
  if (block.Kind == ETextBlock::Heading || (block.Kind == ETextBlock::Subheading && FY > 0)) FY += FLineHeight / 2;
  // A list ends with the room a paragraph leaves.
  if (FInList && block.Kind != ETextBlock::ListItem) FY += FLineHeight / 4;
  FInList = block.Kind == ETextBlock::ListItem;
  FLeft = block.Kind == ETextBlock::ListItem ? kListIndent : 0;
  FX = FLeft;
  if (block.Kind == ETextBlock::ListItem) FPlaced.push_back({FLeft - 14, FY, FLineHeight, "\u2022", base});
  for (const TWord& word : Words(block.Runs)) {
    TFontChoice font = base;
    font.Bold = base.Bold || word.Bold;
    Place(word.Text, font, word.SpaceBefore);
  }
  NewLine();
  FY += block.Kind == ETextBlock::ListItem ? FLineHeight / 4 : FLineHeight / 2;
}

}  // namespace

TFlowStyle ThemeFlowStyle() {
  const TTheme& theme = CurrentTheme();
  return {theme.FontName, theme.FontButtonSize, theme.SayColor.ToPixel(), theme.SelectColor.ToPixel()};
}

TTextLayout LayoutTextBlocks(const std::vector<TTextBlock>& blocks, int width, const TFlowStyle& style) {
  TFlow flow(std::max(width, 1), style);
  for (const TTextBlock& block : blocks) flow.Block(block);
  return flow.Result();
}

void DrawTextLayout(TCanvas& canvas, const TTextLayout& layout, int x, int y, int top, int bottom) {
  canvas.BrushClear = true;
  for (const TPlacedWord& word : layout.Words) {
    if (y + word.Y < top || y + word.Y + word.Height > bottom) continue;
    canvas.Font = word.Font;
    canvas.TextOut(x + word.X, y + word.Y, word.Text);
  }
}

std::vector<TTextBlock> PlainBlocks(const std::string& text) {
  std::vector<TTextBlock> blocks;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) blocks.push_back({ETextBlock::Paragraph, {{line, false}}});
  return blocks;
}

int WidestLine(const std::string& text, const TFlowStyle& style) {
  TMyDib scratch(1, 1);
  TCanvas canvas(scratch);
  canvas.Font = {style.Font, style.Size, style.Color, false};
  int widest = 0;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) widest = std::max(widest, canvas.TextWidth(line));
  return widest;
}

}  // namespace qj
