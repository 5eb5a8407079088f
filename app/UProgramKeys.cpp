// The program-wide keys: what they do does not depend on the screen they are pressed on.
#include "app/UProgramKeys.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"
#include "platform/Dib.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Surface.h"

namespace qj {

TProgramKeys::TProgramKeys(IDisplay& display, TGraphicsEngine& graphics) : FDisplay(display), FGraphics(graphics) {}

void TProgramKeys::KeyDown(uint16_t key, int shift) {
  const THotKey pressed{key, shift};
  if (pressed == Options.Hotkeys[0] && OnMinimize) OnMinimize();
  if (pressed == Options.Hotkeys[2] && OnClose) OnClose();
}

bool TProgramKeys::OwnsKey(uint16_t key, int shift) {
  return key == VK_RETURN && (shift & (ssShift | ssAlt | ssCtrl)) == ssAlt;
}

bool TProgramKeys::KeyUp(uint16_t key, int shift) {
  const int mods = shift & (ssShift | ssAlt | ssCtrl);
  if (OwnsKey(key, shift)) {
    ToggleFullScreen();
  } else if (key == VK_F10 && mods == 0) {
    if (FDisplay.FullScreenOption()) WritePause();
  } else if (mods != (ssCtrl | ssAlt)) {
    return false;
  } else if (key == VK_F6) {
    RememberSurfaces();
  } else if (key == VK_F7 || key == VK_F8) {
    DumpSurfaces(key == VK_F7);
  } else if (key == VK_F9) {
    FGraphics.FPulseStep = FGraphics.FPulseStep == 0 ? 10 : 0;
  } else if (key == VK_F10) {
    OverlayVisible = !OverlayVisible;
  } else if (key == VK_F11) {
    if (TMySprite* background = BackgroundSprite()) background->Visible = !background->Visible;
  } else {
    return false;
  }
  return true;
}

void TProgramKeys::ToggleFullScreen() {
  FSwitchingMode = true;
  BuildRefreshRates(ChosenResolution());
  Options.FullScreen = FGraphics.ToggleFullScreen(FullScreenMode(ChosenResolution(), Options.DisplayRefresh));
  FSwitchingMode = false;
  if (OnModeSwitched) OnModeSwitched();
}

void TProgramKeys::WritePause() {
  TCanvas canvas(FDisplay.Primary());
  canvas.BrushClear = true;
  canvas.Font = {"Times New Roman", 72, MakePixel(255, 255, 0), false};
  canvas.TextOut((FDisplay.Width() - canvas.TextWidth("Pause")) / 2, 100, "Pause");
  FDisplay.ShowPrimary();
}

void TProgramKeys::RememberSurfaces() {
  FRememberedSurfaces.clear();
  for (size_t i = 0; i < TSurface::LiveCount(); ++i) FRememberedSurfaces.push_back(TSurface::LiveItem(i));
}

// Surface dumps for hunting leaks: F7 writes the surfaces that survived since F6 into the
// current folder, F8 every surface into the user's data folder (the program folder in a build).
void TProgramKeys::DumpSurfaces(bool onlyRemembered) {
  for (size_t i = 0; i < TSurface::LiveCount(); ++i) {
    const TSurface* surface = TSurface::LiveItem(i);
    char number[24];
    std::snprintf(number, sizeof number, "%03zu", i);
    std::string path;
    if (onlyRemembered) {
      if (std::find(FRememberedSurfaces.begin(), FRememberedSurfaces.end(), surface) ==
          FRememberedSurfaces.end())
        continue;
      path = std::string("Identical") + number + ".bmp";
    } else {
      path = UserPath(std::string("Surf") + number + ".bmp");
    }
    TMyDib dib(surface->Width(), surface->Height(), 32);
    if (dib.Empty()) continue;
    std::copy(surface->Bits(), surface->Bits() + size_t(dib.Width()) * dib.Height(), dib.Bits());
    if (!dib.SaveToFile(path)) LogError("%s", dib.LastError().c_str());
  }
}

}  // namespace qj
