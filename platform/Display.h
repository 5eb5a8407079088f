// The drawing-surface control: the main window's back buffer and visible surface, display modes,
// presentation, and the window itself. The SDL implementation lives in platform/sdl, a headless
// one (no window at all) in platform/headless.
#pragma once

#include <functional>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Surface.h"
#include "platform/Viewport.h"

namespace qj {

struct TDisplayMode {
  int Width = 0;
  int Height = 0;
  int BitCount = 32;
  int Refresh = 0;  // hertz; 0 = the display's default
};

enum class TCursorKind { Arrow, Hourglass, Hand, SizeNS, SizeWE, SizeNWSE, SizeNESW };

class IDisplay {
 public:
  virtual ~IDisplay() = default;

  // The surface everything is composed on, and the surface that is shown. Both have the size of
  // the window's client area up to 1600 x 1200 (or of the full-screen mode); the platform scales
  // them onto the window or the desktop.
  virtual TSurface& BackBuffer() = 0;
  virtual TSurface& Primary() = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // False while the window is minimised or the surfaces are being re-created.
  virtual bool CanDraw() const = 0;

  // Full screen: the option and the mode it uses. Takes effect at the next Initialize.
  virtual bool FullScreenOption() const = 0;
  virtual void SetFullScreenOption(bool on) = 0;
  virtual TDisplayMode FullScreenMode() const = 0;
  virtual void SetFullScreenMode(const TDisplayMode& mode) = 0;
  virtual std::vector<TDisplayMode> EnumDisplayModes() = 0;

  // Tear down and build up the surfaces (after a change of mode). Initialize raises
  // OnSurfacesCreated, then OnInitialize, then OnSurfacesRestored.
  virtual void Finalize() = 0;
  virtual void Initialize() = 0;
  std::function<void()> OnFinalize;         // surfaces about to be released
  std::function<void()> OnSurfacesCreated;  // new surfaces exist; old images are gone
  std::function<void()> OnInitialize;       // the control is ready to draw
  std::function<void()> OnSurfacesRestored;

  // Presentation. Flip: the back buffer becomes visible. ShowPrimary: whatever was drawn straight
  // onto the primary surface becomes visible.
  virtual void Flip() = 0;
  // The back buffer becomes visible where it was drawn since the last flip: only `areas` changed.
  virtual void FlipAreas(const std::vector<TRect>& areas) {
    (void)areas;
    Flip();
  }
  virtual void ShowPrimary() = 0;
  virtual void WaitForVerticalBlank() = 0;
  virtual bool InVerticalBlank() = 0;
  virtual int ScanLine() = 0;

  // The main window.
  virtual TRect WindowBounds() const = 0;  // screen coordinates, frame included
  virtual void SetWindowBounds(const TRect& r) = 0;
  virtual TPoint ClientOrigin() const = 0;  // client top-left in screen coordinates
  virtual TRect ScreenBounds() const = 0;   // the desktop the window is on
  virtual TRect UsableBounds() const = 0;   // the part of it that panels and docks leave free
  // The window manager's frame around the client area; all 0 until the window is shown under
  // a window manager, and without one.
  virtual TFrameExtents FrameExtents() const = 0;
  virtual bool Maximized() const = 0;
  virtual void Maximize() = 0;
  virtual void SetBorderless(bool on) = 0;
  virtual void SaveWindowPlacement() = 0;
  virtual void RestoreWindowPlacement() = 0;
  // Client size limits; a maximum of 0 leaves that direction unlimited.
  virtual void SetSizeLimits(int minW, int minH, int maxW, int maxH) = 0;
  virtual void Minimize() = 0;
  virtual void SetCaption(const char* caption) = 0;
  // Screen coordinates such that CursorPos() - ClientOrigin() is the back-buffer pixel under the
  // cursor, however the back buffer is scaled onto the screen.
  virtual TPoint CursorPos() const = 0;
  virtual void SetCursor(TCursorKind kind) = 0;
};

}  // namespace qj

namespace qj {

// The program's drawing surface, made known globally by the main window at start.
IDisplay* DXDraw();
void SetDXDraw(IDisplay* display);

}  // namespace qj
