// The program's entry point: the program folder, SDL, the main window and its message loop.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "core/UMain.h"
#include "core/UThemes.h"
#include "platform/Paths.h"
#include "screens/UMainInterface.h"
#include "platform/sdl/SdlDisplay.h"
#include "platform/sdl/SdlFonts.h"
#include "platform/sdl/SdlInput.h"
#include "platform/sdl/SdlSound.h"

namespace {

// Runs until the main window has closed: input first, then a frame whenever the timer is due.
void RunMessageLoop(qj::Tmf& mainWindow, qj::sdl::TSdlDisplay& display) {
  qj::TInputEvent event;
  while (!mainWindow.Terminated()) {
    while (!mainWindow.Terminated() && qj::sdl::PollInput(display, event)) mainWindow.HandleEvent(event);
    if (mainWindow.Terminated()) break;
    if (!mainWindow.Idle()) {
      qj::TGameEngine* engine = mainWindow.Engine();
      const uint32_t due = engine && engine->Timer().Enabled ? engine->Timer().DueIn() : 20;
      qj::sdl::WaitForInput(due == 0 ? 1 : due);
    }
  }
}

// --theme-preview [N]: the control images of theme N (or the configured one);
// --gallery [N]: a working example of every control in theme N.
void ReadArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--theme-preview")
      qj::TMainInterface::Showcase = qj::EShowcase::ThemePreview;
    else if (argument == "--gallery")
      qj::TMainInterface::Showcase = qj::EShowcase::Gallery;
    else
      continue;
    if (i + 1 < argc) qj::TMainInterface::PreviewTheme = std::atoi(argv[i + 1]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  qj::InitProgramFolder(argc > 0 ? argv[0] : nullptr);
  ReadArguments(argc, argv);
  std::string error;
  if (!qj::sdl::InitSdl(error)) {
    std::fprintf(stderr, "quorvane-jigsaw: cannot start SDL: %s\n", error.c_str());
    return 1;
  }
  qj::sdl::InitFontRasterizer();
  qj::sdl::InitSound();
  int result = 0;
  try {
    qj::sdl::TSdlDisplay display;
    qj::TPlatformServices services;
    services.MessageBox = qj::sdl::ShowMessage;
    services.ProcessMessages = qj::sdl::PumpMessages;
    qj::Tmf mainWindow(display, services);
    mainWindow.FormCreate();
    display.Show();
    display.Initialize();
    RunMessageLoop(mainWindow, display);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quorvane-jigsaw: %s\n", e.what());
    result = 1;
  }
  // The effects belong to the audio device: both go before SDL does.
  qj::ReleaseSounds();
  qj::SetSoundDevice(nullptr);
  qj::sdl::QuitSdl();
  return result;
}
