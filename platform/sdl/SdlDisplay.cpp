#include "platform/sdl/SdlDisplay.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace qj::sdl {
namespace {

// Bands of changed rows further apart than this are sent apart; nearer ones as one.
constexpr int kBandGap = 32;

// The first and one past the last pixel where two rows differ; an empty span when they agree.
std::pair<int, int> ChangedSpan(const TPixel* a, const TPixel* b, int width) {
  constexpr int kChunk = 64;
  int left = 0;
  while (left < width && std::memcmp(a + left, b + left, sizeof(TPixel) * size_t(std::min(kChunk, width - left))) == 0)
    left += kChunk;
  if (left >= width) return {0, 0};
  int right = width;
  while (right - kChunk > left && std::memcmp(a + right - kChunk, b + right - kChunk, sizeof(TPixel) * kChunk) == 0)
    right -= kChunk;
  return {left, right};
}

}  // namespace

// Where `now` differs from `shown`, as bands of rows with the columns that changed in them.
std::vector<TRect> ChangedAreas(const TPixelBuffer& now, const TPixelBuffer& shown) {
  std::vector<TRect> areas;
  if (now.Width() != shown.Width() || now.Height() != shown.Height()) return {now.Bounds()};
  const size_t rowBytes = size_t(now.Width()) * sizeof(TPixel);
  for (int y = 0; y < now.Height(); ++y) {
    if (std::memcmp(now.Row(y), shown.Row(y), rowBytes) == 0) continue;
    const auto [left, right] = ChangedSpan(now.Row(y), shown.Row(y), now.Width());
    if (!areas.empty() && y - areas.back().Bottom < kBandGap) {
      TRect& band = areas.back();
      band = {std::min(band.Left, left), band.Top, std::max(band.Right, right), y + 1};
    } else {
      areas.push_back({left, y, right, y + 1});
    }
  }
  return areas;
}

TSdlDisplay::TSdlDisplay() {
  FWindow = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 790, 570,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (!FWindow) throw std::runtime_error(std::string("cannot open the window: ") + SDL_GetError());
  // The window's own surface is written by the display server's plain image calls, never
  // through a hidden renderer: that is what makes it cheap where drawing is done in software.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (!CreateRenderer()) throw std::runtime_error(std::string("cannot draw in the window: ") + SDL_GetError());
  const SDL_SystemCursor ids[7] = {SDL_SYSTEM_CURSOR_ARROW,  SDL_SYSTEM_CURSOR_WAIT,
                                   SDL_SYSTEM_CURSOR_HAND,   SDL_SYSTEM_CURSOR_SIZENS,
                                   SDL_SYSTEM_CURSOR_SIZEWE, SDL_SYSTEM_CURSOR_SIZENWSE,
                                   SDL_SYSTEM_CURSOR_SIZENESW};
  for (int i = 0; i < 7; ++i) FCursors[i] = SDL_CreateSystemCursor(ids[i]);
  CreateSurfaces(790, 570);
}

bool TSdlDisplay::CreateRenderer() {
  FRenderer = SDL_CreateRenderer(FWindow, -1, 0);
  if (!FRenderer) FRenderer = SDL_CreateRenderer(FWindow, -1, SDL_RENDERER_SOFTWARE);
  if (!FRenderer) return false;
  SDL_SetRenderDrawColor(FRenderer, 0, 0, 0, 255);  // the bars beside a scaled picture
  FVSync = false;
  CreateTexture();
  return true;
}

void TSdlDisplay::CreateTexture() {
  if (FTexture) SDL_DestroyTexture(FTexture);
  FTexture = nullptr;
  if (!FRenderer) return;
  FTexture = SDL_CreateTexture(FRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                               std::max(FBack.Width(), 1), std::max(FBack.Height(), 1));
  FSharp = true;  // a new texture starts unfiltered
}

void TSdlDisplay::DestroyRenderer() {
  if (FEnlarged) SDL_DestroyTexture(FEnlarged);
  if (FTexture) SDL_DestroyTexture(FTexture);
  if (FRenderer) SDL_DestroyRenderer(FRenderer);
  FEnlarged = FTexture = nullptr;
  FRenderer = nullptr;
}

// A picture shown 1:1 in a window, without waiting for the blank, goes straight onto the
// window's surface, changed rectangles only; a scaled one, full screen and vertical sync take the
// renderer. Measured under a software display server: a resting table's animation costs a
// fraction of the renderer's full-window draw this way.
bool TSdlDisplay::ShowsDirectly(const TSurface& surface, const TViewport& view, bool vsync) const {
  if (FFullScreen || vsync || FDirectFailed) return false;
  int w = 0, h = 0;
  SDL_GetWindowSize(FWindow, &w, &h);
  const TRect& p = view.Picture;
  return w == surface.Width() && h == surface.Height() && p.Left == 0 && p.Top == 0 && p.Width() == w && p.Height() == h;
}

// False when the window has no surface of our pixel layout; the renderer then takes over for good.
bool TSdlDisplay::PresentDirectly(const TSurface& surface, const std::vector<TRect>& changed) {
  if (FRenderer) {
    DestroyRenderer();
    FStale = true;
  }
  SDL_Surface* target = SDL_GetWindowSurface(FWindow);
  if (!target || target->format->BytesPerPixel != 4 || target->format->Rmask != 0xFF0000 ||
      target->format->Gmask != 0xFF00 || target->format->Bmask != 0xFF || target->w < surface.Width() ||
      target->h < surface.Height()) {
    FDirectFailed = true;
    return false;
  }
  const std::vector<TRect> areas = FStale ? std::vector<TRect>{surface.Bounds()} : changed;
  std::vector<SDL_Rect> rects;
  if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
  for (const TRect& r : areas) {
    for (int y = r.Top; y < r.Bottom; ++y)
      std::memcpy(static_cast<uint8_t*>(target->pixels) + size_t(y) * size_t(target->pitch) + size_t(r.Left) * 4,
                  surface.Row(y) + r.Left, size_t(r.Width()) * sizeof(TPixel));
    rects.push_back({r.Left, r.Top, r.Width(), r.Height()});
  }
  if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
  SDL_UpdateWindowSurfaceRects(FWindow, rects.data(), int(rects.size()));
  FStale = false;
  return true;
}

TSdlDisplay::~TSdlDisplay() {
  for (SDL_Cursor* c : FCursors)
    if (c) SDL_FreeCursor(c);
  DestroyRenderer();
  if (FWindow) SDL_DestroyWindow(FWindow);
}

bool TSdlDisplay::CanDraw() const {
  return !FFinalized && !(SDL_GetWindowFlags(FWindow) & SDL_WINDOW_MINIMIZED);
}

int TSdlDisplay::DisplayIndex() const { return std::max(SDL_GetWindowDisplayIndex(FWindow), 0); }

std::vector<TDisplayMode> TSdlDisplay::EnumDisplayModes() {
  std::vector<TDisplayMode> modes;
  const int display = DisplayIndex();
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

// Full screen is the desktop's own full screen: the monitor keeps its mode and the mode asked
// for only sizes the back buffer, which is then scaled onto the desktop. Any mode and rate work.
void TSdlDisplay::Initialize() {
  TPoint size;
  if (FFullScreen) {
    SDL_SetWindowFullscreen(FWindow, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_DisplayMode desktop{};
    SDL_GetDesktopDisplayMode(DisplayIndex(), &desktop);
    FFullScreenVSync = FullScreenVSync(FMode.Refresh, desktop.refresh_rate);
    size = {std::max(FMode.Width, 1), std::max(FMode.Height, 1)};
  } else {
    SDL_SetWindowFullscreen(FWindow, 0);
    SDL_GetWindowSize(FWindow, &size.X, &size.Y);
    size = WindowedSurfaceSize(size.X, size.Y);
  }
  CreateSurfaces(size.X, size.Y);
  FFinalized = false;
  if (OnSurfacesCreated) OnSurfacesCreated();
  if (OnInitialize) OnInitialize();
  if (OnSurfacesRestored) OnSurfacesRestored();
}

void TSdlDisplay::CreateSurfaces(int width, int height) {
  FBack.SetSize(width, height);
  FPrimary.SetSize(width, height);
  CreateTexture();
  FStale = true;
}

void TSdlDisplay::ClientResized(int width, int height) {
  FStale = true;  // the picture is scaled anew even where the surfaces keep their size
  if (FFullScreen) return;
  const TPoint size = WindowedSurfaceSize(width, height);
  if (size.X == FBack.Width() && size.Y == FBack.Height()) return;
  CreateSurfaces(size.X, size.Y);
}

// The window is made without SDL's high-DPI flag, so its coordinates are the renderer's pixels.
TViewport TSdlDisplay::View() const {
  int w = 0, h = 0;
  if (!FRenderer || SDL_GetRendererOutputSize(FRenderer, &w, &h) != 0) SDL_GetWindowSize(FWindow, &w, &h);
  return FitViewport(FBack.Width(), FBack.Height(), w, h);
}

// Only what changed is copied, sent and shown; a frame like the one shown is not shown again.
void TSdlDisplay::Flip() {
  const std::vector<TRect> changed = ChangedAreas(FBack, FPrimary);
  if (changed.empty() && !FStale) return;
  const size_t rowBytes = size_t(FBack.Width()) * sizeof(TPixel);
  for (const TRect& r : changed)
    std::memcpy(FPrimary.Row(r.Top), FBack.Row(r.Top), rowBytes * size_t(r.Height()));
  FPrimary.MarkChanged();
  Present(FPrimary, changed);
}

// A frame drawn whole is compared with the one shown, so that only its changed rows are sent.
void TSdlDisplay::FlipAreas(const std::vector<TRect>& areas) {
  if (areas.size() == 1 && areas[0] == FBack.Bounds()) return Flip();
  if (areas.empty() && !FStale) return;
  std::vector<TRect> changed;
  for (const TRect& area : areas) {
    const TRect r = Intersect(area, FBack.Bounds());
    if (r.IsEmpty()) continue;
    for (int y = r.Top; y < r.Bottom; ++y)
      std::memcpy(FPrimary.Row(y) + r.Left, FBack.Row(y) + r.Left, size_t(r.Width()) * sizeof(TPixel));
    changed.push_back(r);
  }
  FPrimary.MarkChanged();
  Present(FPrimary, changed);
}

void TSdlDisplay::ShowPrimary() { Refresh(); }

void TSdlDisplay::Refresh() {
  FStale = true;
  Present(FPrimary, {});
}

void TSdlDisplay::Present(const TSurface& surface, const std::vector<TRect>& changed) {
  if (surface.Empty()) return;
  const bool vsync = FFullScreen ? FFullScreenVSync : FWantVSync;
  FWantVSync = false;
  const TViewport view = View();
  FPresented.fetch_add(1, std::memory_order_relaxed);
  if (ShowsDirectly(surface, view, vsync) && PresentDirectly(surface, changed)) return;
  if (!FRenderer && !CreateRenderer()) return;
  if (!FTexture) return;
  SetVSync(vsync);
  SDL_Texture* texture = TextureFor(surface, view, changed);
  SDL_RenderClear(FRenderer);
  const TRect& p = view.Picture;
  const SDL_Rect dest{p.Left, p.Top, p.Width(), p.Height()};
  SDL_RenderCopy(FRenderer, texture, nullptr, p.IsEmpty() ? nullptr : &dest);
  SDL_RenderPresent(FRenderer);
}

// A whole factor is drawn with plain pixel copies; a larger picture at any other factor is
// enlarged by the sharp scaler and shown as it is, since the renderer's own filter would soften
// every edge; a smaller one is left to the renderer's filter, so that no row looks doubled. So is
// a picture beyond a 2560 x 1600 screen, which the scaler could not fill at a good frame rate.
SDL_Texture* TSdlDisplay::TextureFor(const TSurface& surface, const TViewport& view, const std::vector<TRect>& changed) {
  constexpr int64_t kMostEnlargedPixels = 2560 * 1600;
  const TRect& p = view.Picture;
  const bool enlarged = p.Width() >= surface.Width() && p.Height() >= surface.Height();
  if (!view.WholeFactor() && enlarged && int64_t(p.Width()) * p.Height() <= kMostEnlargedPixels) {
    const TPixelBuffer& enlarged = FScaler.Enlarge(surface, p.Width(), p.Height());
    int w = 0, h = 0;
    if (FEnlarged) SDL_QueryTexture(FEnlarged, nullptr, nullptr, &w, &h);
    if (w != enlarged.Width() || h != enlarged.Height()) {
      if (FEnlarged) SDL_DestroyTexture(FEnlarged);
      FEnlarged = SDL_CreateTexture(FRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                    enlarged.Width(), enlarged.Height());
    }
    if (FEnlarged) {
      SDL_UpdateTexture(FEnlarged, nullptr, enlarged.Bits(), enlarged.Pitch() * 4);
      FStale = true;  // FTexture missed this frame
      return FEnlarged;
    }
  }
  if (view.WholeFactor() != FSharp) {
    FSharp = view.WholeFactor();
    SDL_SetTextureScaleMode(FTexture, FSharp ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
  }
  if (FStale) {
    SDL_UpdateTexture(FTexture, nullptr, surface.Bits(), surface.Pitch() * 4);
    FStale = false;
    return FTexture;
  }
  for (const TRect& r : changed) {
    const SDL_Rect rect{r.Left, r.Top, r.Width(), r.Height()};
    SDL_UpdateTexture(FTexture, &rect, surface.Row(r.Top) + r.Left, surface.Pitch() * 4);
  }
  return FTexture;
}

void TSdlDisplay::SetVSync(bool on) {
  if (on == FVSync) return;
  SDL_RenderSetVSync(FRenderer, on ? 1 : 0);
  FVSync = on;
}

TRect TSdlDisplay::WindowBounds() const {
  int x = 0, y = 0, w = 0, h = 0, top = 0, left = 0, bottom = 0, right = 0;
  SDL_GetWindowPosition(FWindow, &x, &y);
  SDL_GetWindowSize(FWindow, &w, &h);
  SDL_GetWindowBordersSize(FWindow, &top, &left, &bottom, &right);
  return {x - left, y - top, x + w + right, y + h + bottom};
}

// The rectangle is the client area; the platform adds the frame around it. In full screen the
// window covers the desktop whatever is asked; the mode only sizes the back buffer.
void TSdlDisplay::SetWindowBounds(const TRect& r) {
  if (FFullScreen) return;
  SDL_SetWindowSize(FWindow, r.Width(), r.Height());
  SDL_SetWindowPosition(FWindow, r.Left, r.Top);
  ClientResized(r.Width(), r.Height());
}

// The client rectangle, which is what SetWindowBounds takes back.
void TSdlDisplay::SaveWindowPlacement() {
  int w = 0, h = 0;
  SDL_GetWindowSize(FWindow, &w, &h);
  const TPoint origin = ClientOrigin();
  FSavedPlacement = MakeRect(origin.X, origin.Y, w, h);
}

void TSdlDisplay::RestoreWindowPlacement() {
  if (!FSavedPlacement.IsEmpty()) SetWindowBounds(FSavedPlacement);
}

TPoint TSdlDisplay::ClientOrigin() const {
  TPoint p;
  SDL_GetWindowPosition(FWindow, &p.X, &p.Y);
  return p;
}

TRect TSdlDisplay::ScreenBounds() const {
  SDL_Rect r{0, 0, 1024, 768};
  SDL_GetDisplayBounds(DisplayIndex(), &r);
  return MakeRect(r.x, r.y, r.w, r.h);
}

TRect TSdlDisplay::UsableBounds() const {
  SDL_Rect r;
  if (SDL_GetDisplayUsableBounds(DisplayIndex(), &r) != 0) return ScreenBounds();
  return MakeRect(r.x, r.y, r.w, r.h);
}

TFrameExtents TSdlDisplay::FrameExtents() const {
  TFrameExtents f;
  if (SDL_GetWindowBordersSize(FWindow, &f.Top, &f.Left, &f.Bottom, &f.Right) != 0) return {};
  return f;
}

bool TSdlDisplay::Maximized() const { return (SDL_GetWindowFlags(FWindow) & SDL_WINDOW_MAXIMIZED) != 0; }

void TSdlDisplay::Maximize() { SDL_MaximizeWindow(FWindow); }

// The desktop's full screen takes the frame away by itself. Taking it here would also be lasting:
// SDL ignores frame and resizability changes while a window is full screen, so the window would
// come back from full screen without its frame.
void TSdlDisplay::SetBorderless(bool) {}

void TSdlDisplay::SetSizeLimits(int minW, int minH, int maxW, int maxH) {
  SDL_SetWindowMinimumSize(FWindow, minW, minH);
  if (maxW > 0 && maxH > 0) SDL_SetWindowMaximumSize(FWindow, maxW, maxH);
}

void TSdlDisplay::Minimize() { SDL_MinimizeWindow(FWindow); }

void TSdlDisplay::SetCaption(const char* caption) { SDL_SetWindowTitle(FWindow, caption); }

// Over the window, the position the window's own mouse events reported: the global query is
// only refreshed by some servers' raw motion events and can lag or stand still. Either way the
// point goes through the scaling, so that subtracting ClientOrigin gives a back-buffer pixel.
TPoint TSdlDisplay::CursorPos() const {
  const TPoint origin = ClientOrigin();
  TPoint p;
  if (SDL_GetMouseFocus() == FWindow) {
    SDL_GetMouseState(&p.X, &p.Y);
  } else {
    SDL_GetGlobalMouseState(&p.X, &p.Y);
    p = {p.X - origin.X, p.Y - origin.Y};
  }
  const TPoint s = ToSurface(p.X, p.Y);
  return {origin.X + s.X, origin.Y + s.Y};
}

void TSdlDisplay::SetCursor(TCursorKind kind) {
  if (SDL_Cursor* c = FCursors[int(kind)]) SDL_SetCursor(c);
}

void TSdlDisplay::Show() { SDL_ShowWindow(FWindow); }

}  // namespace qj::sdl
