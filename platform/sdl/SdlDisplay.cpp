#include "platform/sdl/SdlDisplay.h"

#include <SDL.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace qj::sdl {

TSdlDisplay::TSdlDisplay() {
  FWindow = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 790, 570,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!FWindow) throw std::runtime_error(std::string("cannot open the window: ") + SDL_GetError());
  FRenderer = SDL_CreateRenderer(FWindow, -1, 0);
  if (!FRenderer) FRenderer = SDL_CreateRenderer(FWindow, -1, SDL_RENDERER_SOFTWARE);
  if (!FRenderer) throw std::runtime_error(std::string("cannot draw in the window: ") + SDL_GetError());
  const SDL_SystemCursor ids[7] = {SDL_SYSTEM_CURSOR_ARROW,  SDL_SYSTEM_CURSOR_WAIT,
                                   SDL_SYSTEM_CURSOR_HAND,   SDL_SYSTEM_CURSOR_SIZENS,
                                   SDL_SYSTEM_CURSOR_SIZEWE, SDL_SYSTEM_CURSOR_SIZENWSE,
                                   SDL_SYSTEM_CURSOR_SIZENESW};
  for (int i = 0; i < 7; ++i) FCursors[i] = SDL_CreateSystemCursor(ids[i]);
  CreateSurfaces(790, 570);
}

TSdlDisplay::~TSdlDisplay() {
  for (SDL_Cursor* c : FCursors)
    if (c) SDL_FreeCursor(c);
  if (FTexture) SDL_DestroyTexture(FTexture);
  if (FRenderer) SDL_DestroyRenderer(FRenderer);
  if (FWindow) SDL_DestroyWindow(FWindow);
}

bool TSdlDisplay::CanDraw() const {
  return !FFinalized && !(SDL_GetWindowFlags(FWindow) & SDL_WINDOW_MINIMIZED);
}

std::vector<TDisplayMode> TSdlDisplay::EnumDisplayModes() {
  std::vector<TDisplayMode> modes;
  const int display = std::max(SDL_GetWindowDisplayIndex(FWindow), 0);
  for (int i = 0, n = SDL_GetNumDisplayModes(display); i < n; ++i) {
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(display, i, &m) == 0)
      modes.push_back({m.w, m.h, int(SDL_BITSPERPIXEL(m.format)), m.refresh_rate});
  }
  return modes;
}

void TSdlDisplay::Finalize() {
  if (OnFinalize) OnFinalize();
  FFinalized = true;
}

// Full screen asks the display for the mode (closest it has); where it cannot switch, the
// frame is scaled to the desktop with its aspect kept.
void TSdlDisplay::Initialize() {
  int w = 0, h = 0;
  if (FFullScreen) {
    SDL_DisplayMode want{SDL_PIXELFORMAT_UNKNOWN, FMode.Width, FMode.Height, FMode.Refresh, nullptr};
    SDL_DisplayMode got;
    const int display = std::max(SDL_GetWindowDisplayIndex(FWindow), 0);
    if (SDL_GetClosestDisplayMode(display, &want, &got)) SDL_SetWindowDisplayMode(FWindow, &got);
    SDL_SetWindowFullscreen(FWindow, SDL_WINDOW_FULLSCREEN);
    w = FMode.Width;
    h = FMode.Height;
  } else {
    SDL_SetWindowFullscreen(FWindow, 0);
    SDL_GetWindowSize(FWindow, &w, &h);
  }
  CreateSurfaces(w, h);
  FFinalized = false;
  if (OnSurfacesCreated) OnSurfacesCreated();
  if (OnInitialize) OnInitialize();
  if (OnSurfacesRestored) OnSurfacesRestored();
}

void TSdlDisplay::CreateSurfaces(int width, int height) {
  FBack.SetSize(width, height);
  FPrimary.SetSize(width, height);
  if (FTexture) SDL_DestroyTexture(FTexture);
  FTexture = SDL_CreateTexture(FRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                               std::max(width, 1), std::max(height, 1));
  SDL_RenderSetLogicalSize(FRenderer, width, height);
}

void TSdlDisplay::ClientResized(int width, int height) {
  if (FFullScreen || (width == FBack.Width() && height == FBack.Height())) return;
  CreateSurfaces(width, height);
}

void TSdlDisplay::Flip() {
  std::memcpy(FPrimary.Bits(), FBack.Bits(), FBack.ByteSize());
  Present(FPrimary);
}

void TSdlDisplay::ShowPrimary() { Present(FPrimary); }

void TSdlDisplay::Refresh() { Present(FPrimary); }

void TSdlDisplay::Present(const TSurface& surface) {
  if (!FTexture || surface.Empty()) return;
  if (FWantVSync != FVSync) {
    SDL_RenderSetVSync(FRenderer, FWantVSync ? 1 : 0);
    FVSync = FWantVSync;
  }
  FWantVSync = false;
  SDL_UpdateTexture(FTexture, nullptr, surface.Bits(), surface.Pitch() * 4);
  SDL_RenderClear(FRenderer);
  SDL_RenderCopy(FRenderer, FTexture, nullptr, nullptr);
  SDL_RenderPresent(FRenderer);
}

TRect TSdlDisplay::WindowBounds() const {
  int x = 0, y = 0, w = 0, h = 0, top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowPosition(FWindow, &x, &y);
  SDL_GetWindowSize(FWindow, &w, &h);
  SDL_GetWindowBordersSize(FWindow, &top, &left, &bottom, &right);
  return {x - left, y - top, x + w + right, y + h + bottom};
}

// The rectangle is the client area; the platform adds the frame around it.
void TSdlDisplay::SetWindowBounds(const TRect& r) {
  SDL_SetWindowSize(FWindow, r.Width(), r.Height());
  SDL_SetWindowPosition(FWindow, r.Left, r.Top);
  if (!FFullScreen) ClientResized(r.Width(), r.Height());
}

TPoint TSdlDisplay::ClientOrigin() const {
  TPoint p;
  SDL_GetWindowPosition(FWindow, &p.X, &p.Y);
  return p;
}

TRect TSdlDisplay::ScreenBounds() const {
  SDL_Rect r{0, 0, 1024, 768};
  SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(FWindow), 0), &r);
  return MakeRect(r.x, r.y, r.w, r.h);
}

void TSdlDisplay::SetBorderless(bool on) {
  SDL_SetWindowBordered(FWindow, on ? SDL_FALSE : SDL_TRUE);
  SDL_SetWindowResizable(FWindow, on ? SDL_FALSE : SDL_TRUE);
}

void TSdlDisplay::SetSizeLimits(int minW, int minH, int maxW, int maxH) {
  SDL_SetWindowMinimumSize(FWindow, minW, minH);
  SDL_SetWindowMaximumSize(FWindow, maxW, maxH);
}

void TSdlDisplay::Minimize() { SDL_MinimizeWindow(FWindow); }

void TSdlDisplay::SetCaption(const char* caption) { SDL_SetWindowTitle(FWindow, caption); }

// Over the window, the position the window's own mouse events reported: the global query is
// only refreshed by some servers' raw motion events and can lag or stand still.
TPoint TSdlDisplay::CursorPos() const {
  TPoint p;
  if (SDL_GetMouseFocus() == FWindow) {
    SDL_GetMouseState(&p.X, &p.Y);
    const TPoint origin = ClientOrigin();
    return {origin.X + p.X, origin.Y + p.Y};
  }
  SDL_GetGlobalMouseState(&p.X, &p.Y);
  return p;
}

void TSdlDisplay::SetCursor(TCursorKind kind) {
  if (SDL_Cursor* c = FCursors[int(kind)]) SDL_SetCursor(c);
}

void TSdlDisplay::Show() { SDL_ShowWindow(FWindow); }

}  // namespace qj::sdl
