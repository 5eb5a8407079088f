// Area scaling in two passes over whole rows: the old rows a new row covers are summed by their
// shares into one band of floating-point colours, which is then cut into the new pixels.
#include "platform/PictureScale.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace qj {
namespace {

// For each new pixel along one side: the first old pixel it covers, how many it covers and, from
// Offset on in Share, the share of each in it (the shares of one new pixel add up to 1).
struct TAreaWeights {
  std::vector<int> First, Count;
  std::vector<size_t> Offset;
  std::vector<float> Share;
};

TAreaWeights AreaWeights(int from, int to) {
  TAreaWeights w;
  const double step = double(from) / to;
  for (int i = 0; i < to; ++i) {
    const double start = i * step, end = std::min(double(from), (i + 1) * step);
    const int first = std::min(from - 1, int(start));
    const int last = std::clamp(int(std::ceil(end)) - 1, first, from - 1);
    w.First.push_back(first);
    w.Count.push_back(last - first + 1);
    w.Offset.push_back(w.Share.size());
    for (int j = first; j <= last; ++j)
      w.Share.push_back(float((std::min(end, j + 1.0) - std::max(start, double(j))) / step));
  }
  return w;
}

void AddRow(const TPixel* row, int width, float share, std::vector<float>& band) {
  float* b = band.data();
  for (int x = 0; x < width; ++x, b += 3) {
    b[0] += share * float(PixelR(row[x]));
    b[1] += share * float(PixelG(row[x]));
    b[2] += share * float(PixelB(row[x]));
  }
}

unsigned Channel(float v) { return unsigned(std::clamp(v + 0.5f, 0.f, 255.f)); }

void CutRow(const std::vector<float>& band, const TAreaWeights& columns, TPixel* out) {
  for (size_t x = 0; x < columns.First.size(); ++x) {
    const float* b = band.data() + 3 * size_t(columns.First[x]);
    const float* share = columns.Share.data() + columns.Offset[x];
    float r = 0, g = 0, bl = 0;
    for (int k = 0; k < columns.Count[x]; ++k, b += 3) {
      r += share[k] * b[0];
      g += share[k] * b[1];
      bl += share[k] * b[2];
    }
    out[x] = MakePixel(Channel(r), Channel(g), Channel(bl));
  }
}

}  // namespace

int HeightAtWidth(const TPixelBuffer& picture, int width) {
  if (picture.Empty() || width < 1) return 0;
  const double height = std::round(double(picture.Height()) * width / picture.Width());
  return int(std::clamp(height, 1.0, double(INT_MAX)));
}

TPixelBuffer ScaleByArea(const TPixelBuffer& picture, int width, int height) {
  TPixelBuffer out;
  if (picture.Empty() || width < 1 || height < 1) return out;
  out.ResizeUninitialised(width, height);
  const TAreaWeights columns = AreaWeights(picture.Width(), width), rows = AreaWeights(picture.Height(), height);
  std::vector<float> band(size_t(picture.Width()) * 3);
  for (int y = 0; y < height; ++y) {
    std::fill(band.begin(), band.end(), 0.f);
    const size_t row = size_t(y);
    for (int k = 0; k < rows.Count[row]; ++k)
      AddRow(picture.Row(rows.First[row] + k), picture.Width(), rows.Share[rows.Offset[row] + size_t(k)], band);
    CutRow(band, columns, out.Row(y));
  }
  return out;
}

namespace {

// (a * (256 - share) + b * share) / 256, rounded, for each byte: two bytes at a time through the
// masks (a byte's sum stays below 65536, so the lanes never meet).
inline TPixel Mix(TPixel a, TPixel b, uint32_t share) {
  const uint32_t keep = 256 - share;
  const uint32_t rb = (((a & 0x00FF00FF) * keep + (b & 0x00FF00FF) * share + 0x00800080) >> 8) & 0x00FF00FF;
  const uint32_t ag = (((a >> 8) & 0x00FF00FF) * keep + ((b >> 8) & 0x00FF00FF) * share + 0x00800080) & 0xFF00FF00;
  return rb | ag;
}

}  // namespace

// Screen pixel i covers frame positions [i * from / to, (i + 1) * from / to), at most one frame
// pixel boundary when the frame is enlarged; the share is what lies beyond it.
void TSharpScaler::Prepare(TSteps& steps, int from, int to) {
  if (steps.From == from && steps.To == to) return;
  steps = {from, to, std::vector<int>(size_t(to)), std::vector<uint32_t>(size_t(to))};
  for (int i = 0; i < to; ++i) {
    const int64_t start = int64_t(i) * from, end = start + from, boundary = (start / to + 1) * to;
    steps.First[size_t(i)] = int(start / to);
    const int64_t beyond = end > boundary && start / to + 1 < from ? end - boundary : 0;
    steps.Next[size_t(i)] = uint32_t((beyond * 256 + from / 2) / from);
  }
}

void TSharpScaler::WidenRow(const TPixel* row, TPixel* out) const {
  const int* first = FColumns.First.data();
  const uint32_t* next = FColumns.Next.data();
  for (int x = 0; x < FColumns.To; ++x) {
    const TPixel a = row[first[x]];
    out[x] = next[x] == 0 ? a : Mix(a, row[first[x] + 1], next[x]);
  }
}

const TPixel* TSharpScaler::WideRow(const TPixelBuffer& frame, int index) {
  for (int k = 0; k < 2; ++k)
    if (FWideIndex[k] == index) return FWide[k].data();
  // The rows are asked for in rising order: the lower of the two is no longer needed.
  const int k = FWideIndex[0] < FWideIndex[1] ? 0 : 1;
  FWide[k].resize(size_t(FColumns.To));
  WidenRow(frame.Row(index), FWide[k].data());
  FWideIndex[k] = index;
  return FWide[k].data();
}

const TPixelBuffer& TSharpScaler::Enlarge(const TPixelBuffer& frame, int width, int height) {
  if (frame.Empty() || width < frame.Width() || height < frame.Height()) {
    FScreen.Resize(0, 0);
    return FScreen;
  }
  if (FScreen.Width() != width || FScreen.Height() != height) FScreen.ResizeUninitialised(width, height);
  Prepare(FColumns, frame.Width(), width);
  Prepare(FRows, frame.Height(), height);
  FWideIndex[0] = FWideIndex[1] = -1;
  for (int y = 0; y < height; ++y) {
    const int first = FRows.First[size_t(y)];
    const uint32_t share = FRows.Next[size_t(y)];
    TPixel* out = FScreen.Row(y);
    const TPixel* a = WideRow(frame, first);
    if (share == 0) {
      std::copy(a, a + width, out);
      continue;
    }
    const TPixel* b = WideRow(frame, first + 1);  // the two buffers now hold both rows
    for (int x = 0; x < width; ++x) out[x] = Mix(a[x], b[x], share);
  }
  FScreen.MarkChanged();
  return FScreen;
}

}  // namespace qj
