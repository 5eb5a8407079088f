#include "tools/cut/CutSheets.h"

#include <algorithm>
#include <cmath>

#include "platform/Paths.h"
#include "platform/PngCodec.h"
#include "platform/TextUtil.h"

namespace qj::cuttool {

namespace {

constexpr unsigned kTable = 0x60;

void DrawPieceImage(TMyDib& sheet, const TMyDib& image, int left, int top) {
  for (int y = 0; y < image.Height(); ++y) {
    const TPixel* s = image.Row(y);
    TPixel* d = sheet.Row(top + y) + left;
    for (int x = 0; x < image.Width(); ++x) {
      if (s[x] & kRgbMask) {
        d[x] = s[x] & kRgbMask;
        continue;
      }
      const unsigned v = kTable * (255 - PixelA(s[x])) / 255;
      d[x] = MakePixel(v, v, v);
    }
  }
}

}  // namespace

TMyDib ContactSheet(const TPieceList& pieces) {
  int cellW = 1, cellH = 1, count = 0;
  for (const TPiece& p : pieces)
    for (const TMyDib& image : p.Images) {
      if (image.Empty()) continue;
      cellW = std::max(cellW, image.Width());
      cellH = std::max(cellH, image.Height());
      ++count;
    }
  const int columns = std::max(1, int(std::ceil(std::sqrt(double(count) * cellH / cellW))));
  const int rows = std::max(1, (count + columns - 1) / columns);
  TMyDib sheet(columns * cellW, rows * cellH, 24);
  sheet.Fill(MakePixel(kTable, kTable, kTable));
  int k = 0;
  for (const TPiece& p : pieces)
    for (const TMyDib& image : p.Images) {
      if (image.Empty()) continue;
      DrawPieceImage(sheet, image, (k % columns) * cellW, (k / columns) * cellH);
      ++k;
    }
  return sheet;
}

TMyDib LabelPicture(const TMyDib& labels) {
  TMyDib out(labels.Width(), labels.Height(), 24);
  for (int y = 0; y < labels.Height(); ++y)
    for (int x = 0; x < labels.Width(); ++x) {
      const uint32_t v = labels.At(x, y) & kRgbMask;
      const uint32_t mixed = v * 2654435761u;
      out.At(x, y) = v ? ((mixed >> 8) | 0x404040) & kRgbMask : 0;
    }
  return out;
}

bool SavePicture(const TMyDib& picture, const std::string& path, std::string& error) {
  const std::string ext = Lower(ExtractFileExt(path));
  if (ext == ".jpg" || ext == ".jpeg") return SaveJpeg(picture, path, 90, &error);
  if (ext == ".png") return SaveOpaquePng(picture, path, error);
  if (picture.SaveToFile(path)) return true;
  error = picture.LastError().empty() ? "cannot write " + path : picture.LastError();
  return false;
}

}  // namespace qj::cuttool
