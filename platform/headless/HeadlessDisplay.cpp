#include "platform/headless/HeadlessDisplay.h"

#include <algorithm>

namespace qj {

THeadlessDisplay::THeadlessDisplay(int width, int height) {
  FWindow = MakeRect(0, 0, width, height);
  FSaved = FWindow;
  FBack.SetSize(width, height);
  FPrimary.SetSize(width, height);
}

void THeadlessDisplay::Finalize() {
  if (OnFinalize) OnFinalize();
  FCanDraw = false;
}

void THeadlessDisplay::Initialize() {
  const int w = FFullScreen ? FMode.Width : FWindow.Width();
  const int h = FFullScreen ? FMode.Height : FWindow.Height();
  FBack.SetSize(w, h);
  FPrimary.SetSize(w, h);
  FCanDraw = true;
  if (OnSurfacesCreated) OnSurfacesCreated();
  if (OnInitialize) OnInitialize();
  if (OnSurfacesRestored) OnSurfacesRestored();
}

void THeadlessDisplay::Flip() {
  std::copy(FBack.Bits(), FBack.Bits() + size_t(FBack.Width()) * FBack.Height(), FPrimary.Bits());
  ++Flips;
}

void THeadlessDisplay::SetWindowBounds(const TRect& r) {
  FWindow = r;
  if (!FFullScreen) {
    FBack.SetSize(r.Width(), r.Height());
    FPrimary.SetSize(r.Width(), r.Height());
  }
}

}  // namespace qj
