// Label fitting: a smaller font first, a shortened text last.
#include "screens/ULabelPainting.h"

#include <cstdint>
#include <sstream>

#include "core/UThemes.h"

namespace qj {
namespace {

constexpr int kSmallestFont = 7;

}  // namespace

TFontChoice LabelFont(int size) {
  const TTheme& theme = CurrentTheme();
  return {theme.FontName, size, theme.SayColor.ToPixel(), false};
}

void Outline(TCanvas& canvas, const TRect& r, TPixel colour) {
  canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1}, colour);
  canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, colour);
  canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, colour);
  canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, colour);
}

std::string Shorten(TCanvas& canvas, std::string head, const std::string& tail, int width) {
  if (canvas.TextWidth(head + tail) <= width) return head + tail;
  while (!head.empty() && canvas.TextWidth(head + "..." + tail) > width) {
    head.pop_back();
    while (!head.empty() && (uint8_t(head.back()) & 0xC0) == 0x80) head.pop_back();  // a whole UTF-8 character
  }
  return head + "..." + tail;
}

std::vector<std::string> WrapWords(TCanvas& canvas, const std::string& text, int width) {
  std::vector<std::string> lines;
  std::string line, word;
  std::istringstream words(text);
  while (words >> word) {
    if (!line.empty() && canvas.TextWidth(line + " " + word) > width) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string FitText(TCanvas& canvas, const std::string& text, int width, int size) {
  canvas.Font.Size = size;
  while (canvas.Font.Size > kSmallestFont && canvas.TextWidth(text) > width) --canvas.Font.Size;
  return Shorten(canvas, text, "", width);
}

}  // namespace qj
