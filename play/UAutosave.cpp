// The autosave's triggers, its worker, and the mark that lets Continue find a game autosaved by
// a program that never got to leave it.
#include "play/UAutosave.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "core/UFailureText.h"
#include "core/UMiscelaneous.h"
#include "core/UTextIds.h"
#include "play/UBoardPlayInterface.h"
#include "play/USavedGameFile.h"
#include "platform/IniFile.h"
#include "platform/Log.h"
#include "platform/Paths.h"

namespace qj {
namespace {

constexpr uint32_t kNever = UINT32_MAX;
constexpr const char* kSection = "Autosave";

std::string ClockTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[8];
  std::strftime(text, sizeof text, "%H:%M", &local);
  return text;
}

// Written only after the archive is complete, so a mark always names a readable game.
bool WriteMark(const std::string& picture, const std::string& time) {
  TIniFile ini(TAutosave::MarkPath());
  ini.WriteString(kSection, "Jigsaw", picture);
  ini.WriteString(kSection, "Time", time);
  return ini.UpdateFile();
}

}  // namespace

TAutosave::TAutosave(TBoardPlayInterface& board) : FBoard(board) {}

TAutosave::~TAutosave() { Wait(); }

std::string TAutosave::MarkPath() { return SettingsPath("Autosave.stg"); }

void TAutosave::AdoptMark() {
  const std::string path = MarkPath();
  if (!FileExists(path)) return;
  const TIniFile ini(path);
  const std::string picture = ini.ReadString(kSection, "Jigsaw", "");
  if (picture.empty() || !FileExists(ChangeFileExt(picture, ".zip"))) {
    (void)DeleteFile(path);
    return;
  }
  Options.LastJigsaw = picture;
  Options.AutosavedAt = ini.ReadString(kSection, "Time", "");
}

uint32_t TAutosave::IntervalMs() const {
  if (FIntervalOverride != kNever) return FIntervalOverride;
  return uint32_t(std::clamp(Options.AutosaveMinutes, 0, kMaxAutosaveMinutes)) * 60000u;
}

uint64_t TAutosave::PlayedMs() const { return uint64_t(std::llround(std::max(0.0, FBoard.ElapsedDays()) * 86400000.0)); }

// One at a time: a trigger while one runs waits, at least until the frame after it ended.
void TAutosave::Step(uint32_t now) {
  if (Running()) {
    if (FFinished.load(std::memory_order_acquire)) Wait();
    return;
  }
  TellFailure();
  if (!FBoard.GameSetUp()) {
    FGamePath.clear();
    return;
  }
  if (FBoard.SavPath() != FGamePath) NewGame();
  if (!Running() && FBoard.DragMode() == EDragMode::Idle && Due(now)) (void)Start();
}

void TAutosave::NewGame() {
  FGamePath = FBoard.SavPath();
  FSavedAtPlay = PlayedMs();
  FSavedWhole = FBoard.Completed();  // a finished game was saved finished when it was left
  FReported = false;
  FUntold = false;
}

// Paused play does not count towards the interval: a game waiting under the options is saved
// only when its interval had passed before.
bool TAutosave::Due(uint32_t now) const {
  if (FBoard.Completed()) return !FSavedWhole;
  if (FAway && !FSavedAway && now - FAwaySince >= kAwayMs) return true;
  const uint32_t interval = IntervalMs();
  return interval != 0 && PlayedMs() - FSavedAtPlay >= interval;
}

// A running autosave is looked at every few frames, so its end (and a failure's note) is not
// left waiting for the next input of a resting table.
uint32_t TAutosave::DueIn() const {
  static constexpr uint32_t kRunningLookMs = 50;
  if (Running()) return kRunningLookMs;
  const uint32_t interval = IntervalMs();
  if (FGamePath.empty() || interval == 0) return kNever;
  const uint64_t played = PlayedMs() - FSavedAtPlay;
  return played >= interval ? 0 : uint32_t(interval - played);
}

void TAutosave::FocusChanged(bool active, uint32_t now) {
  FAway = !active;
  FSavedAway = false;
  FAwaySince = now;
}

// The worker owns nothing but the job: the bitmaps it reads are shared with the sprites and are
// copied by the table before it changes one, and the job is freed here after the join.
bool TAutosave::Start() {
  if (Running() || !FBoard.GameSetUp()) return false;
  FJob = std::make_unique<TSaveJob>();
  FBoard.TakeSnapshot(FBoard.SavPath(), *FJob);
  FSavedAtPlay = PlayedMs();
  FSavedWhole = FBoard.Completed();
  FSavedAway = FAway;
  const std::string picture = ChangeFileExt(Options.LastJigsaw, ".sav") == FBoard.SavPath() ? Options.LastJigsaw : "";
  FFinished.store(false);
  FWorker = std::thread([this, picture, time = ClockTime()] {
    FOk = WriteSaveJob(*FJob, {}, FError);
    if (FOk && !picture.empty() && !WriteMark(picture, time))
      LogError("cannot write %s", MarkPath().c_str());
    FFinished.store(true, std::memory_order_release);
  });
  return true;
}

// A failure is told on the table, not over the options or a table being left; play goes on.
void TAutosave::TellFailure() {
  if (!FUntold || FBoard.Paused() || FBoard.Done()) return;
  FUntold = false;
  FBoard.ShowNote(FillIn(Text::AutosaveFailed, FError));
}

void TAutosave::Wait() {
  if (!Running()) return;
  FWorker.join();
  FJob.reset();
  if (FOk || FReported) return;
  LogError("autosave: %s", FError.c_str());
  FReported = true;
  FUntold = true;
}

void TAutosave::BeforeSave() {
  Wait();
  Options.AutosavedAt.clear();
  if (FileExists(MarkPath())) (void)DeleteFile(MarkPath());
}

}  // namespace qj
