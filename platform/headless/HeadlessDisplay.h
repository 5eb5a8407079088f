// A display without a window: the surfaces exist in memory, presentation counts frames.
// Tests and benchmarks run the engine on it.
#pragma once

#include "platform/Display.h"

namespace qj {

class THeadlessDisplay : public IDisplay {
 public:
  THeadlessDisplay(int width = 790, int height = 570);

  TSurface& BackBuffer() override { return FBack; }
  TSurface& Primary() override { return FPrimary; }
  int Width() const override { return FBack.Width(); }
  int Height() const override { return FBack.Height(); }
  bool CanDraw() const override { return FCanDraw; }

  bool FullScreenOption() const override { return FFullScreen; }
  void SetFullScreenOption(bool on) override { FFullScreen = on; }
  TDisplayMode FullScreenMode() const override { return FMode; }
  void SetFullScreenMode(const TDisplayMode& mode) override { FMode = mode; }
  std::vector<TDisplayMode> EnumDisplayModes() override { return Modes; }

  void Finalize() override;
  void Initialize() override;

  void Flip() override;
  void ShowPrimary() override { ++ShownPrimary; }
  void WaitForVerticalBlank() override { ++VerticalBlankWaits; }
  bool InVerticalBlank() override { return false; }
  int ScanLine() override { return 1 << 20; }

  TRect WindowBounds() const override {
    return {FWindow.Left - Frame.Left, FWindow.Top - Frame.Top, FWindow.Right + Frame.Right, FWindow.Bottom + Frame.Bottom};
  }
  void SetWindowBounds(const TRect& r) override;
  TPoint ClientOrigin() const override { return {FWindow.Left, FWindow.Top}; }
  TRect ScreenBounds() const override { return Screen; }
  TRect UsableBounds() const override { return Screen; }
  TFrameExtents FrameExtents() const override { return Frame; }
  bool Maximized() const override { return IsMaximized; }
  void Maximize() override { IsMaximized = true; }
  void SetBorderless(bool on) override { Borderless = on; }
  void SaveWindowPlacement() override { FSaved = FWindow; }
  void RestoreWindowPlacement() override { SetWindowBounds(FSaved); }
  void SetSizeLimits(int, int, int, int) override {}
  void Minimize() override { ++Minimized; }
  void SetCaption(const char*) override {}
  TPoint CursorPos() const override { return Cursor; }
  void SetCursor(TCursorKind kind) override { CursorKind = kind; }

  // Test controls and observations.
  void SetCanDraw(bool on) { FCanDraw = on; }
  std::vector<TDisplayMode> Modes;
  // The game's smallest size, so that a first window comes up at it unless a test asks for more.
  TRect Screen{0, 0, kMinClientWidth, kMinClientHeight};
  TFrameExtents Frame{};  // the window manager's, around the client area that SetWindowBounds takes
  bool IsMaximized = false;
  TPoint Cursor{};
  TCursorKind CursorKind = TCursorKind::Arrow;
  bool Borderless = false;
  int Flips = 0;
  int ShownPrimary = 0;
  int VerticalBlankWaits = 0;
  int Minimized = 0;

 private:
  TSurface FBack;
  TSurface FPrimary;
  TRect FWindow;
  TRect FSaved;
  TDisplayMode FMode{800, 600, 32, 0};
  bool FFullScreen = false;
  bool FCanDraw = true;
};

}  // namespace qj
