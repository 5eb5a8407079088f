// Cutter figures: every stage of a cut on one thread and on all cores, the whole cut of a
// 1200 x 900 picture in 990 pieces and of a 1600 x 1200 one in about 1,000, the maker's count
// check, and cuts of 100 to 2,000 pieces to show how the cost grows. Ends with peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "creation/UBitmapBuilder.h"
#include "creation/ULabelMap.h"
#include "creation/UPieceImages.h"
#include "creation/UPieceWorkers.h"
#include "creation/URandom.h"
#include "platform/Paths.h"

namespace {

using namespace qj;

constexpr int kShadow = 7, kBevel = 2;

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

struct TCase {
  int Width, Height;
  double PieceW, PieceH;
};

// The game's acceptance cut (990 pieces) and a larger picture cut in about as many.
constexpr TCase kMeadow{1200, 900, 36, 30};
constexpr TCase kLarge{1600, 1200, 48, 40};

void Prepare(TPuzzleCutter& cutter, const TMyDib& picture, double pieceW, double pieceH) {
  cutter.Clear();
  cutter.SetPicture(picture);
  // The maker's largest displacement for the size, with spreads of 1: a sound cut.
  cutter.SetCutStyle(0, 1, pieceW, pieceH, std::round(pieceW / 10), std::round(pieceH / 10), 1, 1);
  TPuzzlePlayOptions& o = cutter.PuzzleOptions();
  o.AllowLoupe = o.AllowSmallPicture = o.AllowRotation = o.AllowGhost = o.AllowNeighbourHelp = 1;
  o.ShadowSize = kShadow;
  o.BevelStrength = kBevel;
  Randomize(12345);
  cutter.ScalePicture(1);
}

const TMyDib& PictureOf(const TCase& c) {
  static const TMyDib meadow = MakePicture(kMeadow.Width, kMeadow.Height);
  static const TMyDib large = MakePicture(kLarge.Width, kLarge.Height);
  return c.Width == kMeadow.Width ? meadow : large;
}

unsigned ThreadsOf(const benchmark::State& state) { return unsigned(state.range(0)); }

void WholeCut(benchmark::State& state, TCase c) {
  TPuzzleCutter cutter;
  cutter.Threads = ThreadsOf(state);
  for (auto _ : state) {
    state.PauseTiming();
    Prepare(cutter, PictureOf(c), c.PieceW, c.PieceH);
    state.ResumeTiming();
    cutter.DrawCutMap();
    cutter.CutPieces();
  }
  state.counters["pieces"] = double(cutter.Pieces().size());
}

// The cut of the acceptance case stopped before one stage: the inputs that stage needs.
struct TStageInput {
  TMyDib CroppedMap;  // the cut map on the grid, not labelled yet
  TMyDib LabelMap, CutPicture;
  TPieceList Pieces;
};

// The per-piece stages in the order the cutter runs them.
enum class EStage { Extract, Turn, Shadows, Bevel, Finish };

void RunStage(EStage stage, TPiece& piece, const TStageInput& in) {
  const TMyDib& map = in.LabelMap;
  switch (stage) {
    case EStage::Extract: ExtractPiece(piece, map, in.CutPicture, kShadow); break;
    case EStage::Turn: TurnPiece(piece, map.Width(), map.Height()); break;
    case EStage::Shadows: MakeShadows(piece, kShadow, kOrientations - 1); break;
    case EStage::Bevel: MakeBevel(piece, kBevel, kOrientations - 1); break;
    case EStage::Finish: FinishImages(piece, kOrientations - 1); break;
  }
}

void RunStageOnAll(EStage stage, TPieceList& pieces, const TStageInput& in, unsigned threads) {
  RunPieceWork(pieces.size(), [](size_t) {}, [&](size_t k) { RunStage(stage, pieces[k], in); }, threads);
}

// Built once: the cutter cropped and labelled, the pieces brought up to (not through) `stage`.
std::unique_ptr<TStageInput> StageInput(EStage stage) {
  auto in = std::make_unique<TStageInput>();
  TPuzzleCutter cutter;
  Prepare(cutter, PictureOf(kMeadow), kMeadow.PieceW, kMeadow.PieceH);
  cutter.DrawCutMap();
  cutter.CropToGrid();
  in->CroppedMap = in->LabelMap = cutter.LabelMap();
  in->CutPicture = cutter.CutPicture();
  LabelPieces(in->LabelMap, in->Pieces);
  for (EStage s = EStage::Extract; s != stage; s = EStage(int(s) + 1)) RunStageOnAll(s, in->Pieces, *in, 0);
  return in;
}

void PieceStage(benchmark::State& state, EStage stage) {
  const std::unique_ptr<TStageInput> in = StageInput(stage);
  for (auto _ : state) {
    state.PauseTiming();
    TPieceList pieces = in->Pieces;
    state.ResumeTiming();
    RunStageOnAll(stage, pieces, *in, ThreadsOf(state));
    state.PauseTiming();
    pieces.clear();
    state.ResumeTiming();
  }
}

void GridAndShapes(benchmark::State& state) {
  TPuzzleCutter cutter;
  for (auto _ : state) {
    state.PauseTiming();
    Prepare(cutter, PictureOf(kMeadow), kMeadow.PieceW, kMeadow.PieceH);
    state.ResumeTiming();
    cutter.DrawCutMap();
  }
}

void LabelMap(benchmark::State& state) {
  const std::unique_ptr<TStageInput> in = StageInput(EStage::Extract);
  TPieceList pieces;
  for (auto _ : state) {
    state.PauseTiming();
    TMyDib map = in->CroppedMap;
    state.ResumeTiming();
    LabelPieces(map, pieces);
  }
}

void Neighbours(benchmark::State& state) {
  const std::unique_ptr<TStageInput> in = StageInput(EStage::Extract);
  for (auto _ : state) FindNeighbours(in->LabelMap, in->Pieces);
}

void CountCheck(benchmark::State& state) {
  TPuzzleCutter cutter;
  for (auto _ : state) {
    state.PauseTiming();
    Prepare(cutter, PictureOf(kLarge), kLarge.PieceW, kLarge.PieceH);
    cutter.DrawCutMap();  // the maker's map is drawn already when the check starts
    state.ResumeTiming();
    benchmark::DoNotOptimize(cutter.CountPieces() + cutter.CountStraightPieces());
  }
}

void Register() {
  // Fixed counts, so runs of two builds do the same work; medians of the repetitions, and the
  // best one, which other programs on the machine disturb least.
  const auto wall = [](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
    b->Iterations(3)->Repetitions(5)->ReportAggregatesOnly(true);
    b->ComputeStatistics("best", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
  };
  // Threads argument: 1 = one thread, 0 = one per core.
  const auto bothThreads = [&](benchmark::internal::Benchmark* b) {
    wall(b);
    b->ArgName("threads")->Arg(1)->Arg(0);
  };
  wall(benchmark::RegisterBenchmark("stage/grid_and_shapes", GridAndShapes));
  wall(benchmark::RegisterBenchmark("stage/label_map", LabelMap));
  const struct {
    const char* Name;
    EStage Stage;
  } stages[] = {{"stage/extract_orientation0", EStage::Extract},
                {"stage/turn_orientations1to3", EStage::Turn},
                {"stage/shadow", EStage::Shadows},
                {"stage/bevel", EStage::Bevel},
                {"stage/finish", EStage::Finish}};
  for (const auto& s : stages) bothThreads(benchmark::RegisterBenchmark(s.Name, PieceStage, s.Stage));
  wall(benchmark::RegisterBenchmark("stage/neighbours", Neighbours));
  bothThreads(benchmark::RegisterBenchmark("whole_cut/1200x900_36x30_990_pieces", WholeCut, kMeadow));
  bothThreads(benchmark::RegisterBenchmark("whole_cut/1600x1200_48x40_990_pieces", WholeCut, kLarge));
  wall(benchmark::RegisterBenchmark("count_check/1600x1200_48x40", CountCheck));
  for (const double size : {152.0, 68.0, 34.0}) {
    const TCase c{kLarge.Width, kLarge.Height, size, std::round(size * 0.82)};
    const std::string name = "growth/1600x1200_piece_width_" + std::to_string(int(size));
    wall(benchmark::RegisterBenchmark(name.c_str(), WholeCut, c)->Arg(0));
  }
}

void SetShapeFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
  const auto source = std::filesystem::path(__FILE__).parent_path().parent_path() / "data";
  SetProgramFolder(std::filesystem::exists(exe / "Shapes") ? exe.string() : source.string());
}

}  // namespace

int main(int argc, char** argv) {
  SetShapeFolder();
  Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory: %.0f MB\n", usage.ru_maxrss / 1024.0);
  return 0;
}
