#include "screens/UMainInterface.h"

#include "core/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Help.h"
#include "screens/UThemePreview.h"
#include "platform/Input.h"

namespace qj {

bool TMainInterface::ShowThemePreview = false;
int TMainInterface::PreviewTheme = -1;

void TMainInterface::Enter() {
  TInterface::Enter();
  if (!ShowThemePreview) return;
  if (PreviewTheme >= 0 && size_t(PreviewTheme) < Themes.size() && PreviewTheme != Options.Environment) {
    Options.Environment = PreviewTheme;
    if (ReloadAppearanceHook) ReloadAppearanceHook();
  }
  BuildThemePreview(*this);
}

void TMainInterface::NextPreviewTheme() {
  if (Themes.empty()) return;
  FEngine->FreeAllSprites();
  PreviewTheme = int((size_t(Options.Environment) + 1) % Themes.size());
  Enter();
}

// Until the menu's buttons exist, its choices are on the keys 1 to 4: the selector, the
// options, continue the last jigsaw, and the maker; Escape quits.
void TMainInterface::KeyDown(uint16_t& key, int shift) {
  if (FDone) return;
  if (key == VK_ESCAPE) Finish(-1);
  if (key >= '1' && key <= '4') Finish(key - '0');
  if (key == 'T' && ShowThemePreview) NextPreviewTheme();
}

}  // namespace qj

namespace qj {

void TMainInterface::KeyUp(uint16_t& key, int shift) {
  if (key == VK_F1 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) OpenHelpTopic(22);
}

}  // namespace qj
