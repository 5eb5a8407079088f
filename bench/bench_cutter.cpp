// Cutter figures: a whole cut of a large detailed picture, the maker's count check, and cuts
// of 100 to 2,000 pieces to show how the cost grows. Prints wall times and peak memory.
#include <sys/resource.h>

#include <time.h>

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

double CpuMillis() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Wall time of the work; its processor time goes to `cpu`.
double Millis(const std::function<void()>& work, double* cpu = nullptr) {
  const auto start = TClock::now();
  const double cpuStart = CpuMillis();
  work();
  if (cpu) *cpu = CpuMillis() - cpuStart;
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
  // The maker's largest displacement for the size, with spreads of 1: a sound cut.
  cutter.SetCutStyle(0, 1, pieceW, pieceH, std::round(pieceW / 10), std::round(pieceH / 10), 1, 1);
  TPuzzlePlayOptions& o = cutter.PuzzleOptions();
  o.AllowLoupe = o.AllowSmallPicture = o.AllowRotation = o.AllowGhost = o.AllowNeighbourHelp = 1;
  o.ShadowSize = 7;
  o.BevelStrength = 2;
  Randomize(12345);
  cutter.ScalePicture(1);
}

// Best of `runs` for the whole cut (cut map + pieces), as a game start does it.
// Best wall time of `runs`, with the processor time of that run.
double WholeCut(TPuzzleCutter& cutter, const TMyDib& picture, double pieceW, double pieceH, int runs,
                size_t& pieces, double& cpu) {
  double best = 1e30;
  for (int k = 0; k < runs; ++k) {
    Prepare(cutter, picture, pieceW, pieceH);
    double used = 0;
    const double wall = Millis([&] {
      cutter.DrawCutMap();
      cutter.CutPieces();
    }, &used);
    if (wall < best) best = wall, cpu = used;
    pieces = cutter.Pieces().size();
  }
  return best;
}

void SetShapeFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
  const auto source = std::filesystem::path(__FILE__).parent_path().parent_path() / "data";
  SetProgramFolder(std::filesystem::exists(exe / "Shapes") ? exe.string() : source.string());
}

}  // namespace

int main() {
  SetShapeFolder();
  const TMyDib picture = MakePicture(1600, 1200);
  TPuzzleCutter cutter;
  size_t pieces = 0;
  double cpu = 0;
  for (unsigned threads : {1u, 0u}) {
    cutter.Threads = threads;
    const double whole = WholeCut(cutter, picture, 48, 40, 5, pieces, cpu);
    std::printf("whole cut 1600x1200, 48x40, rotation, shadow 7, bevel 2, %s: %zu pieces, %.1f ms wall, "
                "%.1f ms cpu (best of 5)\n", threads == 1 ? "one thread" : "all cores", pieces, whole, cpu);
  }
  int shaped = 0, straight = 0;
  double count = 1e30;
  for (int k = 0; k < 5; ++k) {
    Prepare(cutter, picture, 48, 40);
    cutter.DrawCutMap();  // the maker's map is drawn already when the check starts
    count = std::min(count, Millis([&] {
      shaped = cutter.CountPieces();
      straight = cutter.CountStraightPieces();
    }));
  }
  std::printf("count check (CountPieces + CountStraightPieces): %d / %d pieces, %.1f ms wall (best of 5)\n",
              shaped, straight, count);
  const struct { double W, H; } sizes[] = {{152, 120}, {68, 54}, {48, 40}, {34, 28}};
  for (const auto& s : sizes) {
    const double ms = WholeCut(cutter, picture, s.W, s.H, 3, pieces, cpu);
    std::printf("cut %5zu pieces (%gx%g): %7.1f ms wall, %7.1f ms cpu, %.3f ms cpu per piece\n", pieces, s.W,
                s.H, ms, cpu, cpu / pieces);
  }
  cutter.Clear();
  std::printf("peak memory: %.0f MB\n", PeakMegabytes());
  return 0;
}
