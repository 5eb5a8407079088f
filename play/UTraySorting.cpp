// Colours, clusters, names and tray layouts of the sort into trays.
#include "play/UTraySorting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "platform/PixelBuffer.h"

namespace qj {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kIterations = 30;
constexpr uint32_t kClusterSeed = 0x5EED5u;

// The trays' colour names, in the order of their language lines.
enum EColourName : int { Reds, Oranges, Yellows, Greens, Teals, Blues, Purples, Pinks, Browns, Greys, Light, Dark };

const std::array<double, 256>& LinearTable() {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> t{};
    for (int i = 0; i < 256; ++i) {
      const double c = i / 255.0;
      t[size_t(i)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    }
    return t;
  }();
  return table;
}

double LabF(double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; }

// Linear sRGB to CIELAB under D65.
TLab LinearToLab(double r, double g, double b) {
  const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
  const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
  const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
  const double fx = LabF(x), fy = LabF(y), fz = LabF(z);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double Distance2(const TLab& a, const TLab& b) {
  const double dl = a.L - b.L, da = a.A - b.A, db = a.B - b.B;
  return dl * dl + da * da + db * db;
}

// A small generator of the sort's own, so that sorting leaves the game's random sequence alone.
class TSortRandom {
 public:
  double Next() {
    FSeed = FSeed * 1664525u + 1013904223u;
    return FSeed / 4294967296.0;
  }

 private:
  uint32_t FSeed = kClusterSeed;
};

// k-means++: each further centre drawn with a chance growing with its distance to those chosen.
std::vector<TLab> FirstCentres(const std::vector<TLab>& colours, int k) {
  TSortRandom random;
  std::vector<TLab> centres{colours[size_t(random.Next() * double(colours.size()))]};
  std::vector<double> nearest(colours.size());
  while (int(centres.size()) < k) {
    double total = 0;
    for (size_t i = 0; i < colours.size(); ++i) {
      nearest[i] = Distance2(colours[i], centres.back());
      for (const TLab& c : centres) nearest[i] = std::min(nearest[i], Distance2(colours[i], c));
      total += nearest[i];
    }
    if (total <= 0) break;  // fewer distinct colours than clusters
    double pick = random.Next() * total;
    size_t chosen = 0;
    while (chosen + 1 < colours.size() && (pick -= nearest[chosen]) > 0) ++chosen;
    centres.push_back(colours[chosen]);
  }
  return centres;
}

int NearestCentre(const TLab& colour, const std::vector<TLab>& centres) {
  int best = 0;
  for (int c = 1; c < int(centres.size()); ++c)
    if (Distance2(colour, centres[size_t(c)]) < Distance2(colour, centres[size_t(best)])) best = c;
  return best;
}

// Lloyd's steps until no colour changes its cluster; an emptied cluster keeps its centre.
std::vector<int> Refine(const std::vector<TLab>& colours, std::vector<TLab>& centres) {
  std::vector<int> cluster(colours.size(), -1);
  for (int step = 0; step < kIterations; ++step) {
    bool changed = false;
    for (size_t i = 0; i < colours.size(); ++i) {
      const int c = NearestCentre(colours[i], centres);
      changed |= c != cluster[i];
      cluster[i] = c;
    }
    if (!changed) break;
    for (size_t c = 0; c < centres.size(); ++c) {
      std::vector<TLab> members;
      for (size_t i = 0; i < colours.size(); ++i)
        if (cluster[i] == int(c)) members.push_back(colours[i]);
      if (!members.empty()) centres[c] = MeanOf(members);
    }
  }
  return cluster;
}

EColourName HueName(double hue, const TLab& colour) {
  if (hue >= 45 && hue < 100 && colour.L < 50) return Browns;
  if (hue < 55 || hue >= 345) return colour.L > 70 ? Pinks : Reds;
  if (hue < 85) return Oranges;
  if (hue < 115) return Yellows;
  if (hue < 170) return Greens;
  if (hue < 215) return Teals;
  if (hue < 310) return Blues;
  return colour.L > 65 ? Pinks : Purples;
}

std::string NameKey(int name) { return TextKey(Text::TrayColourNames + name); }

}  // namespace

TLab MeanLab(const TPixelBuffer& image) {
  const auto& linear = LinearTable();
  double r = 0, g = 0, b = 0;
  int64_t count = 0;
  for (int y = 0; y < image.Height(); ++y) {
    const TPixel* row = image.Row(y);
    for (int x = 0; x < image.Width(); ++x) {
      const TPixel p = row[x];
      if ((p & kRgbMask) == 0) continue;
      r += linear[PixelR(p)];
      g += linear[PixelG(p)];
      b += linear[PixelB(p)];
      ++count;
    }
  }
  return count == 0 ? TLab{} : LinearToLab(r / double(count), g / double(count), b / double(count));
}

TLab MeanOf(const std::vector<TLab>& colours) {
  TLab sum;
  for (const TLab& c : colours) sum = {sum.L + c.L, sum.A + c.A, sum.B + c.B};
  const double n = std::max<double>(1, double(colours.size()));
  return {sum.L / n, sum.A / n, sum.B / n};
}

std::vector<int> ClusterColours(const std::vector<TLab>& colours, int k) {
  if (colours.empty() || k <= 0) return std::vector<int>(colours.size(), 0);
  std::vector<TLab> centres = FirstCentres(colours, std::min<int>(k, int(colours.size())));
  std::vector<int> cluster = Refine(colours, centres);
  // Renumber the clusters that kept members from the lightest centre down.
  std::vector<int> used;
  for (int c = 0; c < int(centres.size()); ++c)
    if (std::find(cluster.begin(), cluster.end(), c) != cluster.end()) used.push_back(c);
  std::stable_sort(used.begin(), used.end(), [&](int a, int b) { return centres[size_t(a)].L > centres[size_t(b)].L; });
  std::vector<int> rank(centres.size(), 0);
  for (size_t i = 0; i < used.size(); ++i) rank[size_t(used[i])] = int(i);
  for (int& c : cluster) c = rank[size_t(c)];
  return cluster;
}

int ColourName(const TLab& colour) {
  const double chroma = std::hypot(colour.A, colour.B);
  if (chroma < 12) return colour.L > 80 ? Light : colour.L < 25 ? Dark : Greys;
  double hue = std::atan2(colour.B, colour.A) * 180 / kPi;
  if (hue < 0) hue += 360;
  return HueName(hue, colour);
}

// Trays that share a name: two read "light" and "dark", three keep the middle one plain; more,
// and the names "light" and "dark" themselves, are told apart by numbers from the lightest.
std::vector<std::string> ColourCaptions(const std::vector<TLab>& colours) {
  std::vector<int> names(colours.size());
  std::transform(colours.begin(), colours.end(), names.begin(), ColourName);
  std::vector<std::string> captions(colours.size());
  for (size_t i = 0; i < colours.size(); ++i) {
    std::vector<size_t> same;
    for (size_t j = 0; j < colours.size(); ++j)
      if (names[j] == names[i]) same.push_back(j);
    std::stable_sort(same.begin(), same.end(), [&](size_t a, size_t b) { return colours[a].L > colours[b].L; });
    const size_t place = size_t(std::find(same.begin(), same.end(), i) - same.begin());
    const bool numbered = same.size() > 3 || names[i] == Light || names[i] == Dark;
    captions[i] = NameKey(names[i]);
    if (same.size() == 1) continue;
    if (numbered) captions[i] += " " + std::to_string(place + 1);
    else if (place == 0) captions[i] = TextKey(Text::LightShade) + " " + captions[i];
    else if (place + 1 == same.size()) captions[i] = TextKey(Text::DarkShade) + " " + captions[i];
  }
  return captions;
}

TTrayLayout LayOutTray(const std::vector<TPoint>& sizes, int roomWidth, int roomHeight) {
  TTrayLayout layout;
  if (sizes.empty()) return layout;
  int cw = 1, ch = 1;
  for (const TPoint& s : sizes) cw = std::max(cw, s.X), ch = std::max(ch, s.Y);
  const int n = int(sizes.size());
  // The largest pitch (a share of the cell) at which the rows fit the room's height.
  const auto columnsAt = [&](double share) {
    return std::max(1, 1 + int((roomWidth - cw) / std::max(1.0, cw * share)));
  };
  const auto heightAt = [&](double share) {
    const int rows = (n + columnsAt(share) - 1) / columnsAt(share);
    return (rows - 1) * std::max(1.0, ch * share) + ch;
  };
  double share = 1;
  if (heightAt(1) > roomHeight) {
    double lo = 0.02, hi = 1;
    for (int k = 0; k < 20; ++k) (heightAt((lo + hi) / 2) <= roomHeight ? lo : hi) = (lo + hi) / 2;
    share = lo;
  }
  const int columns = std::min(n, columnsAt(share));
  const double px = std::max(1.0, cw * share), py = std::max(1.0, ch * share);
  for (int i = 0; i < n; ++i) {
    const TPoint s = sizes[size_t(i)];
    const TPoint at{int(std::lround((i % columns) * px)) + (cw - s.X) / 2,
                    int(std::lround((i / columns) * py)) + (ch - s.Y) / 2};
    layout.Offsets.push_back(at);
    layout.Width = std::max(layout.Width, at.X + s.X);
    layout.Height = std::max(layout.Height, at.Y + s.Y);
  }
  return layout;
}

}  // namespace qj
