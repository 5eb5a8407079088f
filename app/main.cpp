// The program's entry point: the command line, the game's folders, SDL, the main window and its
// message loop.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/UCommandLine.h"
#include "app/UFrameProbe.h"
#include "app/UMain.h"
#include "core/UThemes.h"
#include "app/UTour.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "screens/UMainInterface.h"
#include "screens/UPictureLibrary.h"
#include "screens/UPuzzleSelectorInterface.h"
#include "platform/sdl/SdlDisplay.h"
#include "platform/sdl/SdlFonts.h"
#include "platform/sdl/SdlInput.h"
#include "platform/sdl/SdlSound.h"

namespace {

// The mouse and the keys belong to the tour while it runs; the window's own events still count.
bool IsPlayerInput(const qj::TInputEvent& event) {
  switch (event.Kind) {
    case qj::TInputKind::MouseDown: case qj::TInputKind::MouseUp: case qj::TInputKind::MouseMove:
    case qj::TInputKind::KeyDown: case qj::TInputKind::KeyUp: case qj::TInputKind::KeyPress:
    case qj::TInputKind::MouseWheel: case qj::TInputKind::DropFile:
      return true;
    default:
      return false;
  }
}

// Runs until the main window has closed: input first, then a frame whenever the timer is due.
// A tour takes its step after each frame and closes the window when it is over.
void RunMessageLoop(qj::Tmf& mainWindow, qj::sdl::TSdlDisplay& display, qj::TTour* tour) {
  qj::TInputEvent event;
  while (!mainWindow.Terminated()) {
    while (!mainWindow.Terminated() && qj::sdl::PollInput(display, event))
      if (!tour || !IsPlayerInput(event)) mainWindow.HandleEvent(event);
    if (mainWindow.Terminated()) break;
    qj::TGameEngine* engine = mainWindow.Engine();
    if (!mainWindow.Idle()) {
      const uint32_t due = engine && engine->Timer().Enabled ? engine->Timer().DueIn() : 20;
      qj::sdl::WaitForInput(due == 0 ? 1 : due);
      continue;
    }
    // The tour steps after every tick, so the engine never rests while it runs.
    if (tour && engine) engine->Timer().Wake();
    if (tour && !tour->AfterFrame()) {
      qj::TInputEvent close;
      close.Kind = qj::TInputKind::CloseQuery;
      mainWindow.HandleEvent(close);
      tour = nullptr;
    }
  }
}

// The tour plays and saves in a folder of its own beside the screenshots, removed at the end.
std::string TourScratchFolder(const std::string& shots) { return shots + "/.tour-home"; }

bool PrepareTour(const std::string& shots) {
  std::error_code ec;
  std::filesystem::create_directories(shots, ec);
  std::filesystem::remove_all(TourScratchFolder(shots), ec);
  std::string error;
  if (qj::UseScratchUserFolders(TourScratchFolder(shots), error)) return true;
  qj::LogError("%s", error.c_str());
  return false;
}

// What the tour did, on stderr; true when every screenshot was written.
bool ReportTour(const qj::TTour& tour, const std::string& shots) {
  for (const std::string& error : tour.Errors()) qj::LogError("%s", error.c_str());
  qj::LogError("the tour wrote %d screenshots into %s", tour.Written(), shots.c_str());
  std::error_code ec;
  std::filesystem::remove_all(TourScratchFolder(shots), ec);
  return tour.Errors().empty() && tour.Written() > 0;
}

// Help and version go to stdout with status 0; a wrong argument to stderr with status 2.
int AnswerWithoutPlaying(const qj::TCommandLine& line) {
  if (line.Command == qj::ECommand::Error) {
    qj::LogError("%s", line.Error.c_str());
    return 2;
  }
  std::fputs(line.Command == qj::ECommand::Help ? qj::UsageText().c_str() : qj::VersionText().c_str(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  qj::TCommandLine line = qj::ParseCommandLine(std::vector<std::string>(argv + (argc > 0), argv + argc));
  if (line.Command != qj::ECommand::Play) return AnswerWithoutPlaying(line);
  qj::TMainInterface::SetShowcase(line.Showcase, line.Theme);
  // Names as the shell gave them, made absolute before the program changes its current folder.
  std::error_code ec;
  qj::MakePathsAbsolute(line, std::filesystem::current_path(ec).string());
  const std::vector<std::string>& pictures = line.Pictures;
  const std::string& play = line.Play;
  const std::string& shots = line.Tour;
  if (!qj::InitProgramFolder(argc > 0 ? argv[0] : nullptr)) return 1;
  if (!shots.empty() && !PrepareTour(shots)) return 1;
  std::string error;
  if (!qj::sdl::InitSdl(error)) {
    qj::LogError("cannot start SDL: %s", error.c_str());
    return 1;
  }
  qj::sdl::InitFontRasterizer();
  qj::sdl::InitSound();
  int result = 0;
  try {
    qj::sdl::TSdlDisplay display;
    qj::WatchFrameCount(display.PresentedFrames());
    qj::TPlatformServices services;
    services.MessageBox = qj::sdl::ShowMessage;
    services.ProcessMessages = qj::sdl::PumpMessages;
    qj::Tmf mainWindow(display, services);
    mainWindow.FormCreate();
    display.Show();
    display.Initialize();
    if (qj::TGameEngine* engine = mainWindow.Engine(); engine && !pictures.empty()) engine->TakePictures(pictures);
    if (qj::TGameEngine* engine = mainWindow.Engine(); engine && !play.empty()) engine->PlayPicture(play);
    std::unique_ptr<qj::TTour> tour;
    if (qj::TGameEngine* engine = mainWindow.Engine(); engine && !shots.empty()) {
      const std::vector<std::string> pictures = qj::LibraryPictures();
      tour = std::make_unique<qj::TTour>(
          *engine, display, [&mainWindow](qj::TInputEvent& e) { mainWindow.HandleEvent(e); }, shots,
          pictures.empty() ? "" : pictures.front());
    }
    RunMessageLoop(mainWindow, display, tour.get());
    if (tour && !ReportTour(*tour, shots)) result = 1;
  } catch (const std::exception& e) {
    qj::LogError("%s", e.what());
    result = 1;
  }
  // The effects belong to the audio device: both go before SDL does.
  qj::ReleaseSounds();
  qj::SetSoundDevice(nullptr);
  qj::sdl::QuitSdl();
  return result;
}
