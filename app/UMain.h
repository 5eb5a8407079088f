// The main window: display settings at start, the engine's creation, input forwarding and
// closing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/UGameEngine.h"
#include "platform/Input.h"
#include "platform/Viewport.h"

namespace qj {

class IDisplay;

// What the main window needs from the platform beyond the drawing surface.
struct TPlatformServices {
  // The system's message box, for what the game cannot show in its own window.
  std::function<void(const std::string& text, const std::string& title)> MessageBox;
  // Told of every message the game shows in its own window.
  std::function<void(const std::string& text, const std::string& title)> MessageShown;
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
  static constexpr int kWindowWidth = kMinClientWidth;
  static constexpr int kWindowHeight = kMinClientHeight;
  // A moved window's place reaches the settings file once it has rested this long.
  static constexpr uint32_t kPlacementSaveMs = 1000;

  bool Terminated() const { return FTerminated; }
  TGameEngine* Engine() const { return FEngine.get(); }
  int Tag = 0;

 private:
  template <class F>
  void Guarded(F&& action);
  void Forward(TInputEvent& event);
  void Focus(bool active, TInputKind kind);
  static bool ChangesWindow(TInputKind kind);
  void Report(const std::string& what);
  void FormResize();
  void FormCloseQuery();
  void FormDestroy();
  void EngineClosed();
  void Close();
  void Terminate();
  void PlaceWindow();
  TRect ClientRect() const;
  void WindowPlaced();
  void FitToFrame();
  void SavePlacementWhenRested();
  void ApplyFullScreenSettings(int resolution, int refresh);

  IDisplay& FDXDraw;
  TPlatformServices FServices;
  std::unique_ptr<TGameEngine> FEngine;
  bool FActiveApp = true;
  bool FCloseRequested = false;
  bool FTerminated = false;
  TFrameExtents FFrame;             // the window manager's frame the window was last fitted with
  TRect FPlaced;                    // where PlaceWindow put the client area, until the frame is known
  bool FFirstStart = false;         // no place was kept: the window takes the first start's size
  bool FPlacementUnsaved = false;  // the settings file does not have the window's place yet
  uint32_t FPlacedTick = 0;
};

}  // namespace qj
