// Play figures for 1,000 and 5,000 pieces on a 1600 x 1200 picture with rotation: the join check
// of a drop early and late in the game, a frame with nothing moving and while carrying, a whole
// game solved by the headless player, saving and continuing, and the memory peak of each phase;
// and the cases Sort/5000, sorting 5,000 loose pieces into trays, and Snapshot/1000, what an
// autosave of 1,000 pieces costs the main thread.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <libdeflate.h>
#include <zlib.h>

#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "creation/URandom.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPieceList.h"
#include "platform/Deflate.h"
#include "platform/Paths.h"
#include "platform/ZipMaster.h"
#include "play/USavedGame.h"
#include "play/USavedGameFile.h"
#include "tools/autoplay/AutoPlayer.h"
#include "tools/autoplay/PeakMemory.h"
#include "tools/cut/CutRun.h"

namespace {

using namespace qj;
using TClock = std::chrono::steady_clock;

double Millis(const std::function<void()>& work) {
  const auto start = TClock::now();
  work();
  return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

// The phases lower the kernel's high-water mark as they end, so the run's peak is kept here.
double RunPeak = 0;

double EndPhase(autoplay::TPeakMeter& meter) {
  const double peak = meter.EndPhase();
  RunPeak = std::max(RunPeak, peak);
  return peak;
}

// Waves and grain, so that pieces have detail to compress.
TMyDib MakePicture(int w, int h) {
  TMyDib picture(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t grain = (uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u) * 2654435761u >> 27;
      const int r = int(128 + 100 * std::sin(x * 0.011 + y * 0.003) + grain);
      const int g = int(128 + 90 * std::sin(std::hypot(x - 600.0, y - 700.0) * 0.02) + grain);
      const int b = int(128 + 110 * std::cos(y * 0.014 - x * 0.004));
      picture.At(x, y) = MakePixel(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
    }
  return picture;
}

cuttool::TCutOptions CutOptions(const std::string& picture, int pieceW, int pieceH) {
  return cuttool::ParseCutOptions({picture, "--piece-size", std::to_string(pieceW), std::to_string(pieceH),
                                   "--options", "11111", "--seed", "4711", "--program-folder", ProgramFolder()});
}

// Median of the samples.
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The join check alone of single drops of piece `index` at random places, in microseconds.
double JoinCheckMicros(TPieces& set, autoplay::TTable& table, int index, int drops) {
  std::vector<double> samples;
  for (int k = 0; k < drops; ++k) {
    set.Board().Mouse = {set.Piece(index).FPosition.X + 2, set.Piece(index).FPosition.Y + 2};
    if (!set.PickUp(index)) break;
    set.StartCarrying(table.Screen().DragDepth());
    set.Board().Mouse = {Random(1400) + 100, Random(1000) + 100};
    table.Frame();
    for (TBPiece* p : set.Selection()) p->EndDrag();
    samples.push_back(Millis([&] { set.TryJoinSelection(); }) * 1000);
    set.ReleaseSelection();
    table.Frame();
  }
  return Median(samples);
}

// A frame's update, median of `frames`, in milliseconds; with a piece carried across the table
// when `carry` is set.
double FrameMillis(TPieces& set, autoplay::TTable& table, int frames, bool carry) {
  if (carry) {
    set.Board().Mouse = {set.Piece(0).FPosition.X + 2, set.Piece(0).FPosition.Y + 2};
    if (set.PickUp(0)) set.StartCarrying(table.Screen().DragDepth());
  }
  std::vector<double> samples;
  for (int k = 0; k < frames; ++k) {
    set.Board().Mouse = {200 + k % 1000, 300 + k % 600};
    samples.push_back(Millis([&] { table.Frame(); }));
  }
  if (carry) set.DropSelection(10, 10, false);
  return Median(samples);
}

void InGameFigures(const cuttool::TCutOptions& options, int pieces) {
  autoplay::TPeakMeter meter(true);
  TPuzzleCutter cutter;
  if (cuttool::PreparePuzzle(options, cutter) != 0) return;
  cuttool::Redraw(cutter);
  cutter.CutPieces();
  autoplay::TTable table;
  table.Screen().Enter();
  table.Screen().NewGame(cutter, 600, 300);
  const TMyDib& picture = cutter.CutPicture();
  autoplay::TCarefulPlayer player(table, picture.Width(), picture.Height());
  cutter.Clear();
  const double cut = EndPhase(meter);
  TPieces& set = table.Pieces();
  std::printf("%d pieces: join check early %.2f us; frame idle %.1f us, carrying %.1f us\n", pieces,
              JoinCheckMicros(set, table, set.Count() / 2, 200), 1000 * FrameMillis(set, table, 300, false),
              1000 * FrameMillis(set, table, 300, true));
  const double solving = Millis([&] { player.Play(set.Count() / 2); });
  const int late = set.Count() - 1;
  std::printf("%d pieces: half solved in %.0f ms; join check late (piece of %zu neighbours) %.2f us\n", pieces, solving,
              set.Piece(late).FNeighbours.size(), JoinCheckMicros(set, table, late, 50));
  const double play = EndPhase(meter);
  std::printf("%d pieces: peak memory of the cut and new game %.0f MB, of half a game %.0f MB\n", pieces, cut, play);
  table.Screen().Abandon();
  table.Screen().Leave();
}

// The median of three runs of `work`, in milliseconds.
double Median3(const std::function<void()>& work) { return Median({Millis(work), Millis(work), Millis(work)}); }

// One whole-buffer raw deflate at `level`: zlib's, or libdeflate's when `fast` is set.
size_t DeflateWhole(const std::vector<uint8_t>& in, int level, bool fast) {
  std::vector<uint8_t> out(in.size() + in.size() / 16 + 4096);
  if (fast) {
    libdeflate_compressor* c = libdeflate_alloc_compressor(level);
    const size_t n = libdeflate_deflate_compress(c, in.data(), in.size(), out.data(), out.size());
    libdeflate_free_compressor(c);
    return n;
  }
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  z.next_in = const_cast<uint8_t*>(in.data());
  z.avail_in = uInt(in.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  deflateEnd(&z);
  return z.total_out;
}

size_t DeflateChunked(const std::vector<uint8_t>& in, int level, unsigned threads) {
  TParallelDeflate deflate(level, threads);
  deflate.Write(in.data(), in.size());
  std::string error;
  return deflate.Finish(error) ? deflate.Output().size() : 0;
}

// Where a save's and a continue's time goes, each step on its own, on the stream the game just
// saved: building the stream, deflating it (zlib and libdeflate, whole, in chunks on one core and
// on all), the archive written and synced, reading it back and parsing it. Only with
// QJ_BENCH_SAVE_STEPS set: holding the stream several times over would raise the peak memory
// reported after it.
void SaveSteps(const std::string& archive, int pieces) {
  if (!std::getenv("QJ_BENCH_SAVE_STEPS")) return;
  TZipMaster zip;
  zip.ZipFileName = archive;
  const TMemoryStream* member = zip.ExtractMemberToStream(ExtractFileName(ChangeFileExt(archive, ".sav")));
  if (!member) return;
  const std::vector<uint8_t>& stream = member->Data;
  TSavedGameLimits limits{3, 1 << 20, 1 << 14};  // the cut made about `pieces`, a few more or less
  TSavedGame game;
  std::string error;
  if (!DecodeSavedGame(stream.data(), stream.size(), limits, game, error)) return;
  const int level = std::clamp(Options.CompressionLevel, 0, 9);
  std::printf("%d pieces: stream %.1f MB; build %.0f ms, into memory %.0f ms\n", pieces, stream.size() / 1048576.0,
              Median3([&] { EncodeSavedGame(game, 3, [](const uint8_t*, size_t) {}); }),
              Median3([&] { (void)EncodeSavedGame(game, 3); }));
  std::printf("%d pieces: deflate level %d whole: zlib %.0f ms, libdeflate %.0f ms; in chunks: one core %.0f ms, all %.0f ms\n",
              pieces, level, Median3([&] { DeflateWhole(stream, level, false); }),
              Median3([&] { DeflateWhole(stream, level, true); }), Median3([&] { DeflateChunked(stream, level, 1); }),
              Median3([&] { DeflateChunked(stream, level, 0); }));
  TZipMaster writer;
  writer.ZipFileName = archive + ".bench.zip";
  writer.AddCompLevel = level;
  const double write = Median3([&] {
    (void)writer.AddMemberFromWriter("bench.sav", [&](const TByteSink& sink) { EncodeSavedGame(game, 3, sink); });
  });
  const double read = Median3([&] { (void)writer.ExtractMemberToStream("bench.sav"); });
  std::printf("%d pieces: archive written and synced %.0f ms; read back %.0f ms, parsed %.0f ms\n", pieces, write, read,
              Median3([&] { (void)DecodeSavedGame(stream.data(), stream.size(), limits, game, error); }));
  std::filesystem::remove(writer.ZipFileName);
}

void SaveAndContinue(const cuttool::TCutOptions& options, int pieces) {
  autoplay::TAutoPlayOptions play;
  play.Cut = options;
  play.Joins = 0;
  play.PhasePeaks = true;
  autoplay::TAutoPlayResult fresh, continued, finished;
  if (autoplay::RunAutoPlay(play, fresh) != 0) return;
  play.Continue = true;
  play.Cut.FromPzl = true;
  if (autoplay::RunAutoPlay(play, continued) != 0) return;
  std::printf("%d pieces: cut %.0f ms, save %.0f ms, continue (re-cut + load) %.0f ms, archive %.1f MB\n", pieces,
              fresh.CutMs, continued.SaveMs, continued.LoadMs,
              std::filesystem::file_size(ChangeFileExt(options.Picture, ".zip")) / 1048576.0);
  SaveSteps(ChangeFileExt(options.Picture, ".zip"), pieces);
  play.Joins = -1;
  if (autoplay::RunAutoPlay(play, finished) != 0) return;
  std::printf("%d pieces: whole game from the save: %d joins in %.0f ms, of which fusing %.0f ms, finished=%d\n",
              pieces, finished.Joins, finished.PlayMs, finished.FuseMs, finished.Finished ? 1 : 0);
  for (const autoplay::TAutoPlayResult* r : {&fresh, &continued, &finished}) RunPeak = std::max(RunPeak, r->PeakMb);
  std::printf("%d pieces: peak memory: cut %.0f MB, save %.0f MB, continue %.0f MB, whole game %.0f MB\n", pieces,
              fresh.PeakCutMb, continued.PeakSaveMb, finished.PeakContinueMb, finished.PeakPlayMb);
}

// A game of the picture cut into pieces of about w x h, cut once and kept for every run.
autoplay::TTable& CutTable(int pieceW, int pieceH) {
  static std::map<std::pair<int, int>, std::unique_ptr<autoplay::TTable>> tables;
  std::unique_ptr<autoplay::TTable>& table = tables[{pieceW, pieceH}];
  if (table) return *table;
  table = std::make_unique<autoplay::TTable>(1600, 1200);
  const std::string picture = std::filesystem::temp_directory_path() / "qj-bench-play" / "cases.bmp";
  std::filesystem::create_directories(std::filesystem::path(picture).parent_path());
  TPuzzleCutter cutter;
  if (!MakePicture(1600, 1200).SaveToFile(picture)) std::abort();
  if (cuttool::PreparePuzzle(CutOptions(picture, pieceW, pieceH), cutter) != 0) std::abort();
  cuttool::Redraw(cutter);
  cutter.CutPieces();
  table->Screen().Enter();
  table->Screen().NewGame(cutter, 600, 300);
  table->Frame();
  return *table;
}

// Sorting the loose pieces into trays as a game's first sort does: edges, every piece's mean colour
// (forgotten before each run), clusters and the trays' layout. The first run takes the pieces from
// the table, the later ones from the trays.
void Sort(benchmark::State& state) {
  TPieces& set = CutTable(22, 17).Pieces();
  state.counters["pieces"] = set.Count();
  for (auto _ : state) {
    for (int i = 0; i < set.Count(); ++i) set.Piece(i).FMeanColour.reset();
    benchmark::DoNotOptimize(set.SortIntoTrays({0, 0, 1600, 1100}).Moves.size());
  }
}
BENCHMARK(Sort)->Arg(5000)->Unit(benchmark::kMillisecond);

// What an autosave takes on the main thread: the table of a 1,000-piece game with rotation taken
// into a save job (and let go again), the pixels shared rather than copied.
void Snapshot(benchmark::State& state) {
  autoplay::TTable& table = CutTable(48, 40);
  state.counters["pieces"] = table.Screen().Pieces().Count();
  for (auto _ : state) {
    TSaveJob job;
    table.Screen().TakeSnapshot("snapshot.sav", job);
    benchmark::DoNotOptimize(job.Game.Pieces.data());
  }
}
BENCHMARK(Snapshot)->Arg(1000)->Unit(benchmark::kMillisecond);

bool PlayFigures() {
  const std::string folder = std::filesystem::temp_directory_path() / "qj-bench-play";
  std::filesystem::create_directories(folder);
  const std::string picture = folder + "/bench.bmp";
  if (!MakePicture(1600, 1200).SaveToFile(picture)) return false;
  for (const auto& [pieces, w, h] : {std::tuple{1000, 48, 40}, std::tuple{5000, 22, 17}}) {
    const cuttool::TCutOptions options = CutOptions(picture, w, h);
    InGameFigures(options, pieces);
    SaveAndContinue(options, pieces);
    std::printf("%d pieces: peak memory so far %.0f MB\n", pieces, RunPeak);
  }
  if (!std::getenv("QJ_BENCH_KEEP")) std::filesystem::remove_all(folder);
  return true;
}

}  // namespace

// The play figures first, so that the sort's table of 5,000 pieces stays out of their memory
// peaks; then the registered cases. Given any flag (--benchmark_filter=Sort), only the cases run.
int main(int argc, char** argv) {
  SetProgramFolder(DataSetFolder(cuttool::ExecutableFolder()));
  const bool casesOnly = argc > 1;
  benchmark::Initialize(&argc, argv);
  if (!casesOnly && !PlayFigures()) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
