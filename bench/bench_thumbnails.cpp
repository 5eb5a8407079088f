// Thumbnail figures for the puzzle selector: a library of 200 pictures whose thumbnails are
// cached (listing the folder included), the same library with an empty cache, the selector
// entered on it, and the thumbnail of a new 12-megapixel photo, upright and stored sideways,
// beside a full decode of it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "controls/UControlImages.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/JpegCodec.h"
#include "platform/Paths.h"
#include "platform/PictureLibrary.h"
#include "platform/headless/HeadlessDisplay.h"
#include "platform/sdl/SdlFonts.h"
#include "screens/UPuzzleSelectorInterface.h"

namespace {

using namespace qj;
namespace fs = std::filesystem;

constexpr int kLibrarySize = 200;

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

// Smooth random hills of the given cell size, 0 to 1.
double ValueNoise(double x, double y, int cell, uint32_t seed) {
  const double fx = x / cell, fy = y / cell;
  const uint32_t ix = uint32_t(fx), iy = uint32_t(fy);
  const double tx = fx - ix, ty = fy - iy;
  const auto corner = [&](uint32_t dx, uint32_t dy) { return (Hash(ix + dx, iy + dy, seed) & 0xFFFF) / 65535.0; };
  const double top = corner(0, 0) + (corner(1, 0) - corner(0, 0)) * tx;
  const double bottom = corner(0, 1) + (corner(1, 1) - corner(0, 1)) * tx;
  return top + (bottom - top) * ty;
}

// Like a photo to a JPEG encoder: large soft shapes, texture at every scale and sensor grain.
TPixelBuffer MakePhoto(int w, int h, uint32_t seed) {
  TPixelBuffer photo(w, h);
  for (int y = 0; y < h; ++y) {
    TPixel* row = photo.Row(y);
    for (int x = 0; x < w; ++x) {
      const double shape = ValueNoise(x, y, 600, seed), texture = ValueNoise(x, y, 37, seed + 1),
                   fine = ValueNoise(x, y, 5, seed + 2);
      const double light = 40 + 150 * shape + 45 * texture + 20 * fine + int(Hash(x, y, seed + 3) & 15) - 8;
      const double tint = ValueNoise(x, y, 300, seed + 4);
      const auto channel = [](double v) { return unsigned(std::clamp(v, 0.0, 255.0)); };
      row[x] = MakePixel(channel(light * (0.8 + 0.4 * tint)), channel(light), channel(light * (1.2 - 0.4 * tint)));
    }
  }
  return photo;
}

std::vector<uint8_t> Jpeg(const TPixelBuffer& pixels) {
  std::vector<uint8_t> file;
  std::string error;
  if (!EncodeJpeg(pixels, 90, file, error)) std::abort();
  return file;
}

// An EXIF block saying "turn a quarter clockwise", as a phone held upright writes it.
std::vector<uint8_t> Sideways(std::vector<uint8_t> jpeg) {
  static constexpr uint8_t kSegment[] = {0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 0x2A, 0x00,
                                         0x08, 0x00, 0x00, 0x00, 0x01, 0x00, 0x12, 0x01, 0x03, 0x00, 0x01, 0x00,
                                         0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  jpeg.insert(jpeg.begin() + 2, std::begin(kSegment), std::end(kSegment));
  return jpeg;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (!WriteFileAtomic(path, bytes.data(), bytes.size())) std::abort();
}

// Made once for every benchmark and removed at exit.
class TPictures {
 public:
  TPictures() {
    std::string pattern = (fs::temp_directory_path() / "qj-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    FRoot = pattern;
    fs::create_directories(Library());
    const std::vector<uint8_t> photo = Jpeg(MakePhoto(4000, 3000, 7));
    Write(Photo(), photo);
    Write(SidewaysPhoto(), Sideways(photo));
    FPhotoBytes = photo.size();
    for (int i = 0; i < kLibrarySize; ++i)
      Write(Library() + "/Picture " + std::to_string(i) + ".jpg", Jpeg(MakePhoto(1024, 768, 100 + uint32_t(i))));
  }
  ~TPictures() {
    std::error_code ignored;
    fs::remove_all(FRoot, ignored);
  }
  std::string Library() const { return FRoot + "/Jigsaws"; }
  std::string Cache() const { return FRoot + "/cache"; }
  std::string Photo() const { return FRoot + "/photo.jpg"; }
  std::string SidewaysPhoto() const { return FRoot + "/sideways.jpg"; }
  size_t PhotoBytes() const { return FPhotoBytes; }

 private:
  std::string FRoot;
  size_t FPhotoBytes = 0;
};

const TPictures& Pictures() {
  static const TPictures pictures;
  return pictures;
}

// Every thumbnail of the library, as the selector gets them when it opens.
void LoadLibrary(benchmark::State& state) {
  size_t loaded = 0;
  for (const std::string& path : ListPictures(Pictures().Library())) {
    TMyDib thumbnail;
    std::string error;
    if (!LoadThumbnail(path, kThumbnailWidth, Pictures().Cache(), thumbnail, error)) state.SkipWithError(error.c_str());
    loaded += !thumbnail.Empty();
  }
  if (loaded != kLibrarySize) state.SkipWithError("not every picture gave a thumbnail");
}

void BM_LibraryCached(benchmark::State& state) {
  LoadLibrary(state);  // fills the cache, untimed
  for (auto _ : state) LoadLibrary(state);
  state.SetLabel(std::to_string(kLibrarySize) + " pictures of 1024x768");
}
BENCHMARK(BM_LibraryCached)->Unit(benchmark::kMillisecond)->Iterations(10)->Repetitions(3)->ReportAggregatesOnly();

void BM_LibraryEmptyCache(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(Pictures().Cache());
    state.ResumeTiming();
    LoadLibrary(state);
  }
  state.SetLabel(std::to_string(kLibrarySize) + " pictures of 1024x768, thumbnails made and written");
}
BENCHMARK(BM_LibraryEmptyCache)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PhotoThumbnail(benchmark::State& state) {
  const std::string path = state.range(0) ? Pictures().SidewaysPhoto() : Pictures().Photo();
  TMyDib thumbnail;
  for (auto _ : state) {
    std::string error;
    if (!DecodeThumbnail(path, kThumbnailWidth, thumbnail, error)) state.SkipWithError(error.c_str());
  }
  state.SetLabel(std::string(state.range(0) ? "sideways " : "") + "4000x3000 JPEG of " +
                 std::to_string(Pictures().PhotoBytes() / 1024) + " KB -> " + std::to_string(thumbnail.Width()) + "x" +
                 std::to_string(thumbnail.Height()));
}
BENCHMARK(BM_PhotoThumbnail)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Entering the selector on that library with its thumbnails cached: the folder read, every
// picture's window made and the desk laid out, as the player waits for it.
void BM_SelectorEnter(benchmark::State& state) {
  setenv("XDG_CACHE_HOME", (Pictures().Library() + "/../xdg-cache").c_str(), 1);
  if (!InitProgramFolder(nullptr)) state.SkipWithError("no program folder");
  const std::string program = ProgramFolder();
  SetInstalledFolders({program, program, Pictures().Library() + "/..", Pictures().Library() + "/.."});
  sdl::InitFontRasterizer();
  TManualClock clock;
  THeadlessDisplay display(1600, 1200);
  SetClock(&clock);
  SetDXDraw(&display);
  LoadThemes();
  std::string error;
  if (!ReloadControlImages(error)) state.SkipWithError(error.c_str());
  TGraphicsEngine engine(display);
  TPuzzleSelectorInterface selector(&engine);
  selector.SetDepthRange(100000, 119990);
  selector.Enter();  // fills the cache, untimed
  selector.Leave();
  for (auto _ : state) {
    selector.Enter();
    state.PauseTiming();
    if (selector.Thumbs().size() != size_t(kLibrarySize)) state.SkipWithError("not every picture got its window");
    selector.Leave();
    engine.FreeAllSprites();
    state.ResumeTiming();
  }
  SetControlImages(nullptr);
  SetDXDraw(nullptr);
  SetClock(nullptr);
  state.SetLabel(std::to_string(kLibrarySize) + " pictures of 1024x768, thumbnails cached");
}
BENCHMARK(BM_SelectorEnter)->Unit(benchmark::kMillisecond)->Iterations(5);

// What the thumbnail would cost without reduced decoding.
void BM_PhotoFullDecode(benchmark::State& state) {
  for (auto _ : state) {
    TMyDib photo;
    if (!photo.LoadFromFile(Pictures().Photo())) state.SkipWithError(photo.LastError().c_str());
  }
}
BENCHMARK(BM_PhotoFullDecode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
