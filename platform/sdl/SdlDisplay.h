// The drawing-surface control over an SDL window: our software back buffer is presented through
// a streaming texture, scaled with its aspect kept (enlarged by our own sharp scaler). Full
// screen covers the desktop without changing the monitor's mode; the back buffer keeps the
// chosen mode's size.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Display.h"
#include "platform/PictureScale.h"
#include "platform/Viewport.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;

namespace qj::sdl {

// Where `now` differs from `shown`: bands of rows, each as wide as its changed columns.
std::vector<TRect> ChangedAreas(const TPixelBuffer& now, const TPixelBuffer& shown);

class TSdlDisplay : public IDisplay {
 public:
  TSdlDisplay();  // creates the (hidden) window; throws std::runtime_error when SDL cannot
  ~TSdlDisplay() override;

  TSurface& BackBuffer() override { return FBack; }
  TSurface& Primary() override { return FPrimary; }
  int Width() const override { return FBack.Width(); }
  int Height() const override { return FBack.Height(); }
  bool CanDraw() const override;

  bool FullScreenOption() const override { return FFullScreen; }
  void SetFullScreenOption(bool on) override { FFullScreen = on; }
  TDisplayMode FullScreenMode() const override { return FMode; }
  void SetFullScreenMode(const TDisplayMode& mode) override { FMode = mode; }
  std::vector<TDisplayMode> EnumDisplayModes() override;

  void Finalize() override;
  void Initialize() override;

  void Flip() override;
  void FlipAreas(const std::vector<TRect>& areas) override;
  void ShowPrimary() override;
  void WaitForVerticalBlank() override { FWantVSync = true; }
  bool InVerticalBlank() override { return false; }
  // No scan-line query here: report the beam past every line so the copy never waits for it.
  int ScanLine() override { return 1 << 30; }

  TRect WindowBounds() const override;
  void SetWindowBounds(const TRect& r) override;
  TPoint ClientOrigin() const override;
  TRect ScreenBounds() const override;
  TRect UsableBounds() const override;
  TFrameExtents FrameExtents() const override;
  bool Maximized() const override;
  void Maximize() override;
  void SetBorderless(bool on) override;
  void SaveWindowPlacement() override;
  void RestoreWindowPlacement() override;
  void SetSizeLimits(int minW, int minH, int maxW, int maxH) override;
  void Minimize() override;
  void SetCaption(const char* caption) override;
  TPoint CursorPos() const override;
  void SetCursor(TCursorKind kind) override;

  // The window's client area changed size: the surfaces follow it up to the play table's size.
  void ClientResized(int width, int height);
  // Where the back buffer is shown in the window now.
  TViewport View() const;
  // The back-buffer pixel under a point of the window's client area.
  TPoint ToSurface(int x, int y) const { return View().ToSurface({x, y}); }
  void Show();
  // Presents the last shown frame again (after the window was uncovered).
  void Refresh();
  // Frames shown since the window was made.
  const std::atomic<uint64_t>& PresentedFrames() const { return FPresented; }

 private:
  int DisplayIndex() const;
  void CreateSurfaces(int width, int height);
  // Shows `surface`, of which only the `changed` areas are new unless the texture is stale.
  void Present(const TSurface& surface, const std::vector<TRect>& changed);
  bool CreateRenderer();
  void CreateTexture();
  void DestroyRenderer();
  bool ShowsDirectly(const TSurface& surface, const TViewport& view, bool vsync) const;
  bool PresentDirectly(const TSurface& surface, const std::vector<TRect>& changed);
  // The texture that shows `surface` in the picture rectangle of `view`, filled for this frame.
  SDL_Texture* TextureFor(const TSurface& surface, const TViewport& view, const std::vector<TRect>& changed);
  void SetVSync(bool on);

  SDL_Window* FWindow = nullptr;
  SDL_Renderer* FRenderer = nullptr;
  SDL_Texture* FTexture = nullptr;
  SDL_Texture* FEnlarged = nullptr;  // the frame enlarged by FScaler, shown 1:1
  TSharpScaler FScaler;
  SDL_Cursor* FCursors[7] = {};
  TSurface FBack;
  TSurface FPrimary;
  TDisplayMode FMode{800, 600, 32, 0};
  TRect FSavedPlacement;
  bool FFullScreen = false;
  bool FFinalized = false;
  bool FWantVSync = false;       // the next windowed frame waits for the vertical blank
  bool FFullScreenVSync = false;  // full-screen frames wait for it (see FullScreenVSync)
  bool FVSync = false;
  bool FSharp = true;             // FTexture is drawn without filtering
  bool FStale = true;             // the texture or window surface lacks the primary: send all of it
  bool FDirectFailed = false;     // the window's surface cannot be written: the renderer shows all
  std::atomic<uint64_t> FPresented{0};
};

}  // namespace qj::sdl
