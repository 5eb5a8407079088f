// The soak run's frame: a library in a folder of its own over the build's data set, input as
// the platform delivers it, the program started again whenever it closes, and the checks made at
// checkpoints and at every arrival at the main menu. Sections: set-up; the run; input; checks.
#include "tests/soak/SoakFixture.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime's allocator interface (its header is not always installed).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

#include "controls/UControls.h"
#include "app/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPieceList.h"
#include "platform/Dib.h"
#include "platform/Paths.h"
#include "screens/UMainInterface.h"
#include "screens/UOptionsInterface.h"
#include "screens/UPuzzleMakerInterface.h"
#include "screens/UPuzzleSelectorInterface.h"
#include "tests/creation/CutterTestSupport.h"

namespace qj::test {
namespace {

constexpr int kHeapSampleEvery = 100;
constexpr int kCheckEvery = 500;
// A player's setting: a quarter turn in 4 frames rather than 32 keeps the run's frames for play.
constexpr const char* kFastTurns = "RotationIncrement=16";
// The heap at the main menu may wander by caches and fragmentation, not by games played.
constexpr double kMenuHeapGrowthMb = 4.0;
// No screen is active only between a screen's end and the next frame's switch.
constexpr int kMaxFramesWithoutScreen = 3;
// The one message a player's moves bring up by right: continuing or making "the last jigsaw"
// before any was played.
constexpr const char* kNoJigsawYet = "no jigsaw has been chosen yet";
// Snaps end within a few frames; a pull crosses the table at a pixel every second frame.
constexpr int kMaxSettlingFrames = 2 * (kTableWidth + kTableHeight);

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double Mb(size_t bytes) { return double(bytes) / (1024.0 * 1024.0); }

// A picture of the library and, when `pieceSide` is given, its puzzle: helps and turning allowed.
void AddPicture(const std::string& path, int width, int height, double pieceSide) {
  const TMyDib picture = MakeTestPicture(width, height);
  const bool saved = ExtractFileExt(path) == ".jpg" ? SaveJpeg(picture, path, 90) : picture.SaveToFile(path);
  ASSERT_TRUE(saved) << path;
  if (pieceSide <= 0) return;
  TPuzzleCutter cutter;
  TCutSetup setup;
  setup.PieceW = setup.PieceH = pieceSide;
  SetUpCutter(cutter, picture, setup);
  cutter.DrawCutMap();
  cutter.CountPieces();
  ASSERT_TRUE(cutter.SavePuzzleFile(ChangeFileExt(path, ".pzl"))) << path;
}

}  // namespace

size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

// ---- Set-up -----------------------------------------------------------------------------------

// Laid out as an installed game: the build's data set is only read, the settings (with the
// shipped hot keys) and the library are the run's own.
void TSoakTest::SetUp() {
  SetInstalledFolders({folder.Path(), QJ_PROGRAM_DIR, folder.File("Text"), folder.Path()});
  std::vector<std::string> settings;
  ASSERT_TRUE(ReadTextLines(std::string(QJ_PROGRAM_DIR) + "/Text/Jigsaw.stg", settings));
  std::string text;
  for (const std::string& line : settings) text += (line.rfind("RotationIncrement=", 0) == 0 ? kFastTurns : line) + "\n";
  folder.Write("Text/Jigsaw.stg", text);
  MakeLibrary();
  Start();
}

void TSoakTest::TearDown() { mainWindow.reset(); }

// Two puzzles of 96 and 54 pieces, and a picture not yet made into one.
void TSoakTest::MakeLibrary() {
  AddPicture(folder.File("Jigsaws/Harbour.bmp"), 480, 320, 40);
  AddPicture(folder.File("Jigsaws/Meadow.jpg"), 360, 240, 40);
  AddPicture(folder.File("Jigsaws/Unmade.bmp"), 200, 150, 0);
}

uint64_t TSoakTest::SeedFromEnvironment(uint64_t fallback) {
  const char* text = std::getenv("QJ_SOAK_SEED");
  return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

int TSoakTest::EventsFromEnvironment(int fallback) {
  const char* text = std::getenv("QJ_SOAK_EVENTS");
  return text && *text ? std::atoi(text) : fallback;
}

// ---- The run ----------------------------------------------------------------------------------

void TSoakTest::Soak(uint64_t seed, int events) {
  figures = TSoakFigures{};
  figures.Seed = seed;
  FRandom.seed(seed);
  FWarmUpEvents = std::min(events / 5, 4000);
  FStartSeconds = Now();
  std::printf("soak seed=%llu events=%d (replay: QJ_SOAK_SEED=%llu QJ_SOAK_EVENTS=%d)\n",
              static_cast<unsigned long long>(seed), events, static_cast<unsigned long long>(seed), events);
  std::fflush(stdout);
  Tick();
  // Pixel buffers keep the room of the largest size they had: the window is at its largest
  // once in the warm-up, so that later sizes do not look like growth.
  Resize(kLargestWindow.X, kLargestWindow.Y);
  Resize(Tmf::kWindowWidth, Tmf::kWindowHeight);
  while (figures.Events < events && !HasFailure()) Step();
  figures.Seconds = Now() - FStartSeconds;
  if (HasFailure()) {
    ADD_FAILURE() << "the fault showed at " << Where() << "; replay with QJ_SOAK_SEED=" << seed
                  << " QJ_SOAK_EVENTS=" << figures.Events;
    return;
  }
  CheckMemoryFlat();
  std::printf("%s\n", Summary(figures).c_str());
}

std::string TSoakTest::Summary(const TSoakFigures& f) {
  char line[400];
  std::snprintf(line, sizeof line,
                "soak seed=%llu events=%d frames=%d games=%d continues=%d saves=%d abandons=%d finished=%d "
                "joins=%d restarts=%d menu_visits=%d peak_heap_mb=%.1f seconds=%.1f",
                static_cast<unsigned long long>(f.Seed), f.Events, f.Frames, f.NewGames, f.Continues, f.Saves,
                f.Abandons, f.Finished, f.Joins, f.Restarts, f.MenuVisits, f.PeakHeapMb, f.Seconds);
  return line;
}

std::string TSoakTest::Where() const {
  std::ostringstream out;
  out << "event " << figures.Events << " (frame " << figures.Frames << ", last move: " << FLastAction << ")";
  return out.str();
}

void TSoakTest::AfterEvent() {
  ++figures.Events;
  Tick();
  if (figures.Events % kHeapSampleEvery == 0) figures.PeakHeapMb = std::max(figures.PeakHeapMb, Mb(HeapInUse()));
  if (figures.Events % kCheckEvery == 0) Checkpoint();
}

void TSoakTest::Tick() {
  Frame();
  ++figures.Frames;
  RestartIfClosed();
  FStalledFrames = Engine().Active() ? 0 : FStalledFrames + 1;
  EXPECT_LE(FStalledFrames, kMaxFramesWithoutScreen) << "no screen takes over after " << Where();
  ScreenChanged();
  if (TBoardPlayInterface* play = Play(); play && !play->Done()) {
    const int pieces = play->PieceCount();
    if (pieces < FLastPieceCount) figures.Joins += FLastPieceCount - pieces;
    FLastPieceCount = pieces;
    if (play->Completed() && !FWasCompleted) ++figures.Finished;
    FWasCompleted = play->Completed();
    FSettlingFrames = play->Pieces().Settling() ? FSettlingFrames + 1 : 0;
    EXPECT_LE(FSettlingFrames, kMaxSettlingFrames) << "joined pieces are never fused, " << Where();
  }
}

// The program ended (quit from the main menu, the close hot key, the window's close button):
// it is started again, as the player would.
void TSoakTest::RestartIfClosed() {
  if (!mainWindow->Terminated()) return;
  ++figures.Restarts;
  mainWindow.reset();
  Start();
  Frame();
  FScreen = nullptr;
}

void TSoakTest::ScreenChanged() {
  TGameEngine& engine = Engine();
  const TInterface* now = engine.Active();
  if (now == FScreen || !now) return;
  const TInterface* before = static_cast<const TInterface*>(FScreen);
  FScreen = now;
  const bool saved = FileExists(ChangeFileExt(Options.LastJigsaw, ".zip"));
  TBoardPlayInterface* play = &engine.BoardPlay();
  if (now == play && before != &engine.OptionsScreen()) {
    ++(saved ? figures.Continues : figures.NewGames);
    FLastPieceCount = play->PieceCount();
    FWasCompleted = play->Completed();
    FSettlingFrames = 0;
  }
  if (before == play && now == &engine.MainMenu()) ++(saved ? figures.Saves : figures.Abandons);
  if (now == &engine.MainMenu()) {
    ++figures.MenuVisits;
    CheckAtMainMenu();
  }
}

// ---- Input ------------------------------------------------------------------------------------

void TSoakTest::Down(TPoint p, int button, int keys) {
  MouseDown(p.X, p.Y, button, keys);
  AfterEvent();
}

void TSoakTest::Move(TPoint p, int keys) {
  MouseMove(p.X, p.Y, keys);
  AfterEvent();
}

void TSoakTest::Up(TPoint p, int button, int keys) {
  MouseUp(p.X, p.Y, button, keys);
  AfterEvent();
}

void TSoakTest::Tap(uint16_t key, int keys) {
  KeyDown(key, keys);
  AfterEvent();
  KeyUp(key, keys);
  AfterEvent();
}

void TSoakTest::Window(TInputKind kind) {
  TInputEvent event{kind};
  mainWindow->HandleEvent(event);
  AfterEvent();
}

// As the platform does it: the window asks the main window for its limits, takes the size and
// reports it.
void TSoakTest::Resize(int width, int height) {
  mainWindow->FormCanResize(width, height);
  const TRect bounds = display.WindowBounds();
  display.SetWindowBounds(MakeRect(bounds.Left, bounds.Top, width, height));
  TInputEvent event{TInputKind::Resized};
  event.Width = width;
  event.Height = height;
  mainWindow->HandleEvent(event);
  AfterEvent();
}

void TSoakTest::Wait(int frames) {
  for (int i = 0; i < frames; ++i) Tick();
}

int TSoakTest::Random(int low, int high) { return std::uniform_int_distribution<int>(low, high)(FRandom); }

TPoint TSoakTest::RandomPoint() { return {Random(0, display.Width() - 1), Random(0, display.Height() - 1)}; }

// ---- Checks -----------------------------------------------------------------------------------

void TSoakTest::Checkpoint() {
  EXPECT_EQ(Engine().LeakedSprites(), 0) << "at " << Where();
  EXPECT_EQ(Engine().Graphics().StaleHandleUses(), 0) << "at " << Where();
  for (const std::string& message : messages)
    if (message.find(kNoJigsawYet) == std::string::npos) ADD_FAILURE() << "message box at " << Where() << ": " << message;
  messages.clear();
  if (TBoardPlayInterface* play = Play()) CheckPieceSet(*play);
}

// Every piece's index is its place, its sprite draws it, its neighbours exist, its tray is one
// of the five, and what is carried belongs to the set.
void TSoakTest::CheckPieceSet(TBoardPlayInterface& play) {
  TPieces& set = play.Pieces();
  for (int i = 0; i < set.Count(); ++i) {
    const TBPiece& p = set.Piece(i);
    ASSERT_EQ(p.FIndex, i) << "at " << Where();
    ASSERT_NE(p.Sprite(), nullptr) << "piece " << i << " at " << Where();
    EXPECT_EQ(p.Sprite()->DrawTag, i) << "at " << Where();
    EXPECT_LE(p.FTray, uint32_t(kTrayCount)) << "piece " << i << " at " << Where();
    for (const int32_t n : p.FNeighbours) {
      EXPECT_TRUE(n >= 0 && n < set.Count() && n != i) << "piece " << i << " neighbour " << n << " at " << Where();
    }
  }
  for (const TBPiece* carried : set.Selection()) {
    ASSERT_TRUE(carried->FIndex >= 0 && carried->FIndex < set.Count()) << "at " << Where();
    EXPECT_EQ(&set.Piece(carried->FIndex), carried) << "at " << Where();
  }
}

// Every screen frees what it made: back at the main menu the program holds the same sprites,
// controls and bitmaps as at its first arrival there in the same theme.
void TSoakTest::CheckAtMainMenu() {
  const TAccounts now{Engine().Graphics().LiveSpriteCount(), TDXControl::LiveCount(), int64_t(TMyDib::LiveCount())};
  const auto [first, fresh] = FMenuAccounts.try_emplace(Options.Environment, now);
  if (!fresh) {
    EXPECT_EQ(now.Sprites, first->second.Sprites) << "sprites at the main menu, " << Where();
    EXPECT_EQ(now.Controls, first->second.Controls) << "controls at the main menu, " << Where();
    EXPECT_EQ(now.Bitmaps, first->second.Bitmaps) << "bitmaps at the main menu, " << Where();
  }
  if (figures.Events >= FWarmUpEvents) FMenuHeapMb.push_back(Mb(HeapInUse()));
}

// After the warm-up the heap at the main menu stays within a small bound of its first value.
void TSoakTest::CheckMemoryFlat() {
  if (FMenuHeapMb.size() < 2) return;
  const double first = FMenuHeapMb.front();
  const double most = *std::max_element(FMenuHeapMb.begin(), FMenuHeapMb.end());
  std::printf("soak heap at the main menu after the warm-up: first %.2f MB, last %.2f MB, most %.2f MB (%zu visits)\n",
              first, FMenuHeapMb.back(), most, FMenuHeapMb.size());
  EXPECT_LE(most - first, kMenuHeapGrowthMb) << "the heap at the main menu grows from game to game";
}

}  // namespace qj::test
