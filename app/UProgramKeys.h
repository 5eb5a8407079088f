// The keys that work on every screen: the player's hot keys that minimise and close the window,
// Alt+Enter between window and full screen, F10 for a pause notice over a full screen, and
// Ctrl+Alt with F6 to F11 for the developer's aids (surface dumps, the pulse, the statistics
// overlay, the table background).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace qj {

class IDisplay;
class TGraphicsEngine;
class TSurface;

class TProgramKeys {
 public:
  TProgramKeys(IDisplay& display, TGraphicsEngine& graphics);

  // After the active screen had the key: the hot keys that minimise and close the window.
  void KeyDown(uint16_t key, int shift);
  // Keys that only the program acts on (Alt+Enter switches full screen): no screen sees them.
  static bool OwnsKey(uint16_t key, int shift);
  // Acted upon at release, before the active screen has the key. True when the key was one of them.
  bool KeyUp(uint16_t key, int shift);
  // Between window and full screen, in the full-screen mode the settings name.
  void ToggleFullScreen();
  // A switch of the display mode is under way: the size changes it brings are its own.
  bool SwitchingMode() const { return FSwitchingMode; }

  std::function<void()> OnMinimize;
  std::function<void()> OnClose;
  // The display mode has changed: the frame is drawn again in full, at the new size.
  std::function<void()> OnModeSwitched;

 private:
  void WritePause();
  void RememberSurfaces();
  void DumpSurfaces(bool onlyRemembered);

  IDisplay& FDisplay;
  TGraphicsEngine& FGraphics;
  std::vector<const TSurface*> FRememberedSurfaces;
  bool FSwitchingMode = false;
};

}  // namespace qj
