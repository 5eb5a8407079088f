// Cutter figures: a whole cut of a large detailed picture, the maker's count check, and cuts
// of 100 to 2,000 pieces to show how the cost grows. Prints wall times and peak memory.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "creation/UBitmapBuilder.h"
#include "creation/URandom.h"
#include "platform/Paths.h"

namespace {

using namespace qj;
using TClock = std::chrono::steady_clock;

// A busy picture: overlapping waves, rings and hashed grain, so every piece has detail.
TMyDib MakePicture(int w, int h) {
  TMyDib picture(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double u = x / double(w), v = y / double(h);
      const double ring = std::sin(std::hypot(u - 0.4, v - 0.6) * 60);
      const uint32_t grain = (uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u) * 2654435761u >> 26;
      const int r = int(128 + 100 * std::sin(u * 17 + v * 5) + grain);
      const int g = int(128 + 90 * ring + grain);
      const int b = int(128 + 110 * std::cos(v * 23 - u * 7));
      picture.At(x, y) = MakePixel(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
    }
  return picture;
}

double Millis(const std::function<void()>& work) {
  const auto start = TClock::now();
  work();
  return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

void Prepare(TPuzzleCutter& cutter, const TMyDib& picture, double pieceW, double pieceH) {
  cutter.Clear();
  cutter.SetPicture(picture);
  cutter.SetCutStyle(0, 1, pieceW, pieceH, std::round(pieceW / 10), std::round(pieceH / 10), 1.5, 1.5);
  TPuzzlePlayOptions& o = cutter.PuzzleOptions();
  o.AllowLoupe = o.AllowSmallPicture = o.AllowRotation = o.AllowGhost = o.AllowNeighbourHelp = 1;
  o.ShadowSize = 7;
  o.BevelStrength = 2;
  Randomize(12345);
  cutter.ScalePicture(1);
}

// Best of `runs` for the whole cut (cut map + pieces), as a game start does it.
double WholeCut(TPuzzleCutter& cutter, const TMyDib& picture, double pieceW, double pieceH, int runs,
                size_t& pieces) {
  double best = 1e30;
  for (int k = 0; k < runs; ++k) {
    Prepare(cutter, picture, pieceW, pieceH);
    best = std::min(best, Millis([&] {
      cutter.DrawCutMap();
      cutter.CutPieces();
    }));
    pieces = cutter.Pieces().size();
  }
  return best;
}

void SetShapeFolder(const char* argv0) {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
  const auto source = std::filesystem::path(__FILE__).parent_path().parent_path() / "data";
  SetProgramFolder(std::filesystem::exists(exe / "Shapes") ? exe.string() : source.string());
}

}  // namespace

int main(int argc, char** argv) {
  SetShapeFolder(argc > 0 ? argv[0] : "");
  const TMyDib picture = MakePicture(1600, 1200);
  TPuzzleCutter cutter;
  size_t pieces = 0;
  const double whole = WholeCut(cutter, picture, 48, 40, 3, pieces);
  std::printf("whole cut 1600x1200, 48x40, rotation, shadow 7, bevel 2: %zu pieces, %.1f ms (best of 3)\n",
              pieces, whole);
  Prepare(cutter, picture, 48, 40);
  cutter.DrawCutMap();
  int shaped = 0, straight = 0;
  double count = 1e30;
  for (int k = 0; k < 3; ++k)
    count = std::min(count, Millis([&] {
      shaped = cutter.CountPieces();
      straight = cutter.CountStraightPieces();
    }));
  std::printf("count check (CountPieces + CountStraightPieces): %d / %d pieces, %.1f ms (best of 3)\n", shaped,
              straight, count);
  const struct { double W, H; } sizes[] = {{152, 120}, {68, 54}, {48, 40}, {34, 28}};
  for (const auto& s : sizes) {
    const double ms = WholeCut(cutter, picture, s.W, s.H, 2, pieces);
    std::printf("cut %5zu pieces (%gx%g): %7.1f ms, %.3f ms per piece\n", pieces, s.W, s.H, ms, ms / pieces);
  }
  cutter.Clear();
  std::printf("peak memory: %.0f MB\n", PeakMegabytes());
  return 0;
}
