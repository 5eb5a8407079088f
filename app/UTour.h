// The tour: a walk through every screen in every theme that writes a screenshot of each, for a
// person to look the whole game over and for tests to compare. It drives the game through the
// same input events the window delivers, waits for each screen to settle, and saves what was
// last shown as <theme>-<screen>.png.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Input.h"
#include "platform/PictureScale.h"

namespace qj {

class IDisplay;
class TDXControl;
class TGameEngine;

class TTour {
 public:
  // `send` hands an input event to the main window; `picture` is played on the table.
  TTour(TGameEngine& engine, IDisplay& display, std::function<void(TInputEvent&)> send,
        std::string folder, std::string picture);

  // After every frame: takes the screenshot of a settled step and starts the next one. False once
  // the last screenshot has been written.
  bool AfterFrame();
  // The screenshots that could not be written, with the causes.
  const std::vector<std::string>& Errors() const { return FErrors; }
  int Written() const { return FWritten; }

 private:
  struct TStep {
    std::string Screen;
    std::function<void()> Go;
    uint32_t SettleMs;  // how long the screen is left to animate before the shot
    std::function<bool()> Ready = [] { return true; };
    TPoint ShownOn{};  // the shot is what a screen of this size shows; 0 x 0: the frame itself
  };

  void PlanTheme(int theme);
  void PlanFinish(int theme);
  void PlanWindows(int theme);
  void StartSmallGame();
  bool CarryNextPieceHome();
  void StartStep();
  void Shoot();
  void Stroke(uint16_t key, char32_t typed = 0);
  void Wheel(int notches, int shift, TPoint at);
  void Hover(const TDXControl* control);
  void Click(const TDXControl* control);
  void Send(TInputKind kind, int x = 0, int y = 0, uint16_t key = 0, char32_t typed = 0);
  void ShowGameExtras();
  // Full screen at the desktop's own resolution as a desktop of that size has it, or back.
  void FullScreenAsOn(TPoint desktop);
  void LeaveFullScreen();
  TPixelBuffer ShownOn(TPoint screen);
  void UseTheme(int theme);

  TGameEngine& FEngine;
  IDisplay& FDisplay;
  std::function<void(TInputEvent&)> FSend;
  std::string FFolder;
  std::string FPicture;
  // The picture had a saved game before the tour: the tour keeps it, else each theme's table is a
  // new game (the tour gives up its own game when it leaves).
  bool FKeepSavedGame = false;
  std::string FFinishPicture;  // made into a small puzzle and finished in every theme
  std::vector<TStep> FSteps;
  std::vector<int> FStepTheme;
  size_t FStep = 0;
  bool FStarted = false;
  uint32_t FStepStart = 0;
  int FWritten = 0;
  std::vector<std::string> FErrors;
  TSharpScaler FScaler;
};

}  // namespace qj
