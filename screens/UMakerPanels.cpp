#include "screens/UMakerPanels.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "controls/UControls.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "creation/USplineDraw.h"
#include "platform/Canvas.h"

namespace qj {
namespace {

constexpr int kSmallestFont = 7;
constexpr int kPreviewWidth = 110, kPreviewHeight = 35;

TFontChoice ThemeFont(int size, bool bold = false) {
  const TTheme& theme = CurrentTheme();
  return {theme.FontName, size, theme.SayColor.ToPixel(), bold};
}

}  // namespace

bool Shown(const TDXControl* c) {
  const TMySprite* s = c ? c->FSprite.Get() : nullptr;
  return s && s->Visible;
}

void SetShown(TDXControl* c, bool shown) {
  if (TMySprite* s = c ? c->FSprite.Get() : nullptr) s->Visible = shown;
}

TMyDib TextImage(int width, int height, const std::vector<TTextRow>& rows, int fontSize) {
  TMyDib image(std::max(width, 1), std::max(height, 1), 32);
  image.Fill(0);
  TCanvas canvas(image);
  canvas.Font = ThemeFont(fontSize);
  canvas.BrushClear = true;
  for (const TTextRow& row : rows) canvas.TextOut(row.X, row.Y, row.Text);
  return image;
}

TMyDib LabelPlate(const std::string& text, int fontSize) {
  constexpr int kMargin = 4;
  TMyDib plate(TextWidthAt(text, fontSize) + 2 * kMargin, TextHeightAt(fontSize) + 2, 32);
  plate.Fill(MakePixel(24, 28, 24));
  TCanvas canvas(plate);
  canvas.Font = ThemeFont(fontSize);
  canvas.Font.Color = MakePixel(240, 240, 228);
  canvas.BrushClear = true;
  canvas.TextOut(kMargin, 1, text);
  return plate;
}

TMyDib TurnedLeft(const TMyDib& image) {
  const int w = image.Width(), h = image.Height();
  TMyDib turned(h, w, 32);
  for (int y = 0; y < w; ++y) {
    TPixel* row = turned.Row(y);
    for (int x = 0; x < h; ++x) row[x] = image.Row(x)[w - 1 - y];
  }
  return turned;
}

void BlitKeyed(TMyDib& target, const TMyDib& image, int x, int y) {
  const TRect area = Intersect(MakeRect(x, y, image.Width(), image.Height()), target.Bounds());
  for (int ty = area.Top; ty < area.Bottom; ++ty) {
    const TPixel* in = image.Row(ty - y) + (area.Left - x);
    TPixel* out = target.Row(ty) + area.Left;
    for (int n = 0; n < area.Width(); ++n)
      if (in[n] & 0xFFFFFF) out[n] = in[n];
  }
}

int TextWidthAt(const std::string& text, int fontSize, bool bold) {
  TMyDib probe(1, 1, 32);
  TCanvas canvas(probe);
  canvas.Font = ThemeFont(fontSize, bold);
  return canvas.TextWidth(text);
}

int TextHeightAt(int fontSize) {
  TMyDib probe(1, 1, 32);
  TCanvas canvas(probe);
  canvas.Font = ThemeFont(fontSize);
  return canvas.TextHeight("Wg");
}

int FittingFontSize(const std::vector<std::string>& lines, int width, int largest, bool bold) {
  int size = std::max(largest, kSmallestFont);
  const auto fits = [&](int s) {
    return std::all_of(lines.begin(), lines.end(), [&](const std::string& l) { return TextWidthAt(l, s, bold) <= width; });
  };
  while (size > kSmallestFont && !fits(size)) --size;
  return size;
}

namespace {

constexpr int kRowMargin = 5;

std::vector<TTextRow> RowsAt(const std::vector<std::string>& labels, const std::vector<std::string>& values, int width,
                             int size) {
  std::vector<TTextRow> rows;
  const int step = TextHeightAt(size) + 1;
  int y = 0;
  for (size_t n = 0; n < labels.size(); ++n) {
    const std::string line = labels[n] + " " + values[n];
    if (TextWidthAt(line, size) <= width - 2 * kRowMargin) {
      rows.push_back({kRowMargin, y, line});
    } else {
      rows.push_back({kRowMargin, y, labels[n]});
      y += step;
      rows.push_back({std::max(kRowMargin, width - kRowMargin - TextWidthAt(values[n], size)), y, values[n]});
    }
    y += step;
  }
  return rows;
}

}  // namespace

std::vector<TTextRow> LabelledRows(const std::vector<std::string>& labels, const std::vector<std::string>& values,
                                   int width, int height, int& size) {
  size = std::max(size, kSmallestFont);
  std::vector<TTextRow> rows = RowsAt(labels, values, width, size);
  while (size > kSmallestFont && !rows.empty() && rows.back().Y + TextHeightAt(size) > height)
    rows = RowsAt(labels, values, width, --size);
  const int used = rows.empty() ? 0 : rows.back().Y + TextHeightAt(size);
  for (TTextRow& row : rows) row.Y += std::max(0, (height - used) / 2);
  return rows;
}

std::string Filled(const std::string& format, std::initializer_list<std::string> values) {
  std::string text = format;
  int n = 0;
  for (const std::string& value : values) {
    const std::string mark = "%" + std::to_string(++n);
    if (const size_t at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), value);
  }
  return text;
}

std::string SaveFailureCause(int error) {
  switch (error) {
    case EACCES:
    case EPERM: return Lang(Text::SaveFailureCauses);
    case ENOSPC:
    case EDQUOT: return Lang(Text::SaveFailureCauses + 1);
    case EROFS: return Lang(Text::SaveFailureCauses + 2);
    case EISDIR:
    case EEXIST:
    case ENOTEMPTY:
    case ENOTDIR: return Lang(Text::SaveFailureCauses + 3);
    default: return Filled(Lang(Text::SaveFailureCauses + 4), {std::strerror(error)});
  }
}

namespace {

constexpr uint32_t kLineBoost = 3;   // a line covering a third of a pixel shows at full white
constexpr uint32_t kShadeKeep = 100;  // of 256: what the left-out parts keep of their light

inline TPixel Shaded(TPixel p) {
  return (((p & 0x00FF00FF) * kShadeKeep >> 8) & 0x00FF00FF) | (((p & 0x0000FF00) * kShadeKeep >> 8) & 0x0000FF00);
}

// The picture's pixel towards white by the line's share; never pure black (the window's key).
inline TPixel Lined(TPixel p, uint32_t line) {
  const uint32_t a = std::min<uint32_t>(255, line * kLineBoost);
  const auto up = [a](uint32_t c) { return c + ((255 - c) * a + 127) / 255; };
  const TPixel out = (up((p >> 16) & 0xFF) << 16) | (up((p >> 8) & 0xFF) << 8) | up(p & 0xFF);
  return out == 0 ? MakePixel(8, 8, 8) : out;
}

}  // namespace

TMyDib ComposePreview(const TPixelBuffer& picture, const TPixelBuffer& lines, TRect covered) {
  const int w = picture.Width(), h = picture.Height();
  TMyDib out(std::max(w, 1), std::max(h, 1), 24);
  if (picture.Empty()) return out;
  const bool hasLines = lines.Width() == w && lines.Height() == h;
  covered = Intersect(covered, picture.Bounds());
  for (int y = 0; y < h; ++y) {
    const TPixel* in = picture.Row(y);
    const TPixel* line = hasLines ? lines.Row(y) : nullptr;
    TPixel* row = out.Row(y);
    const bool inside = y >= covered.Top && y < covered.Bottom;
    const int from = inside ? covered.Left : w, to = inside ? covered.Right : w;
    for (int x = 0; x < w; ++x) {
      TPixel p = in[x] & 0x00FFFFFF;
      if (x < from || x >= to) p = Shaded(p);
      row[x] = line && (line[x] & 0xFF) ? Lined(p, line[x] & 0xFF) : p ? p : MakePixel(8, 8, 8);
    }
  }
  return out;
}

TMyDib SelectionFrame(int width, int height) {
  TMyDib image(std::max(width, 5), std::max(height, 5), 32);
  image.Fill(CurrentTheme().SelectColor.ToPixel());
  TCanvas canvas(image);
  canvas.FillRect({2, 2, image.Width() - 2, image.Height() - 2}, 0);
  return image;
}

// Shapes 1 and 5 bulge downwards: they are drawn a little lower to stay inside the button.
TMyDib ShapePreview(const TSplineDraw& shape, int shapeSet) {
  TMyDib image(kPreviewWidth, kPreviewHeight, 32);
  image.Fill(0);
  TCanvas canvas(image);
  canvas.PenWidth = 2;
  const float y = (shapeSet == 1 || shapeSet == 5) ? 23.0f : 18.0f;
  canvas.PenColor = MakePixel(8, 8, 8);
  shape.DrawShapeEdge(canvas, {25, y}, {85, y});
  canvas.PenColor = MakePixel(255, 255, 255);
  shape.DrawShapeEdge(canvas, {24, y - 1}, {84, y - 1});
  return image;
}

}  // namespace qj
