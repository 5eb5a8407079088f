// When the X server goes away, Xlib's default handler prints a cryptic I/O error and ends the
// process; the game says plainly what happened instead. libX11 belongs to SDL, which loads it at
// run time, so it is looked up rather than linked.
#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstring>

#include "platform/sdl/SdlInput.h"

namespace qj::sdl {
namespace {

using TIoErrorHandler = int (*)(void* display);
using TSetIoErrorHandler = TIoErrorHandler (*)(TIoErrorHandler handler);

// Nothing can be drawn or saved without the display; only async-signal-safe calls here, so the
// report is written directly rather than through LogError.
int DisplayLost(void*) {
  static const char kText[] = "quorvane-jigsaw: the connection to the display was lost\n";
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kText, sizeof kText - 1);
  _exit(1);
}

}  // namespace

void WatchDisplayConnection() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0) return;
  void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (!x11) return;
  if (auto set = reinterpret_cast<TSetIoErrorHandler>(dlsym(x11, "XSetIOErrorHandler"))) set(DisplayLost);
  dlclose(x11);
}

}  // namespace qj::sdl
