// The main window and the display-mode routines it shares with the options screen and the
// game engine.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Display.h"

namespace qj {

struct TDisplaySetting {
  int Resolution = 0;  // index into DisplayModes
  int Width = 0;
  int Height = 0;
  int Refresh = 0;  // index into RefreshRates
  int BitCount = 0;
  bool FullScreen = false;
};

extern const std::array<std::string, 7> DisplayModes;
// Element 0 is always 0: the display's default rate.
extern std::vector<uint32_t> RefreshRates;

// Fills Width, Height and BitCount from element `index` of DisplayModes (clamped into range).
TDisplaySetting ParseDisplayMode(int index);
void ParseDisplayMode(int index, TDisplaySetting& setting);
// Rebuilds RefreshRates for the mode's width and height from the display's reported modes.
void BuildRefreshRates(int resolution);
// The full-screen mode of DisplayModes entry `resolution` at element `refresh` of RefreshRates;
// an index the display does not offer gives its default rate.
TDisplayMode FullScreenMode(int resolution, int refresh);

}  // namespace qj

#include <functional>
#include <memory>

#include "core/UGameEngine.h"
#include "platform/Input.h"

namespace qj {

class IDisplay;

// What the main window needs from the platform beyond the drawing surface.
struct TPlatformServices {
  std::function<void(const std::string& text, const std::string& title)> MessageBox;
  std::function<void()> ProcessMessages;
};

// The main window: reads the display settings, creates the engine when the surface is first
// ready, forwards every input event to it, and keeps the program alive through faults in a
// handler or a frame.
class Tmf {
 public:
  Tmf(IDisplay& display, TPlatformServices services);
  ~Tmf();
  Tmf(const Tmf&) = delete;
  Tmf& operator=(const Tmf&) = delete;

  void FormCreate();
  void DXDrawInitialize();
  // One input or window event; exceptions are reported and swallowed.
  void HandleEvent(TInputEvent& event);
  // The message loop is idle: run the frame timer. True when a frame ran.
  bool Idle();
  // Holds a proposed client size to the game's own size at least, once the engine exists; a
  // larger window shows the surface scaled up beyond 1600 x 1200.
  void FormCanResize(int& width, int& height) const;

  // The game's own window size: the smallest the window gets.
  static constexpr int kWindowWidth = 790;
  static constexpr int kWindowHeight = 570;

  bool Terminated() const { return FTerminated; }
  TGameEngine* Engine() const { return FEngine.get(); }
  int Tag = 0;

 private:
  template <class F>
  void Guarded(F&& action);
  void Forward(TInputEvent& event);
  void FormResize();
  void FormCloseQuery();
  void FormDestroy();
  void EngineClosed();
  void Close();
  void Terminate();
  void PlaceFirstWindow();
  void ApplyFullScreenSettings(int resolution, int refresh);

  IDisplay& FDXDraw;
  TPlatformServices FServices;
  std::unique_ptr<TGameEngine> FEngine;
  bool FActiveApp = true;
  bool FCloseRequested = false;
  bool FTerminated = false;
};

}  // namespace qj
