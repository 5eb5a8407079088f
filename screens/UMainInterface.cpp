#include "screens/UMainInterface.h"

#include <algorithm>

#include "core/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Help.h"
#include "platform/Input.h"
#include "screens/UGallery.h"
#include "screens/UScreenText.h"
#include "screens/UThemePreview.h"

namespace qj {

EShowcase TMainInterface::Showcase = EShowcase::None;
int TMainInterface::PreviewTheme = -1;

TMainInterface::TMainInterface(TGraphicsEngine* engine) : TInterface(engine) {}

TMainInterface::~TMainInterface() = default;

void TMainInterface::Enter() {
  TInterface::Enter();
  if (Showcase == EShowcase::None) {
    ShowMenu();
    return;
  }
  UsePreviewTheme();
  if (Showcase == EShowcase::Gallery)
    FGallery = std::make_unique<TGallery>(*this);
  else
    FMenuSprites = BuildThemePreview(*this);
}

void TMainInterface::UsePreviewTheme() {
  if (PreviewTheme < 0 || size_t(PreviewTheme) >= Themes.size() || PreviewTheme == Options.Environment) return;
  Options.Environment = PreviewTheme;
  if (ReloadAppearanceHook) ReloadAppearanceHook();
}

// The preview is laid out again for the next theme; the gallery's controls stay and take on the
// new theme themselves, as every live control does.
void TMainInterface::NextPreviewTheme() {
  if (Themes.empty()) return;
  PreviewTheme = int((size_t(Options.Environment) + 1) % Themes.size());
  if (Showcase == EShowcase::Gallery) {
    UsePreviewTheme();
    FGallery->ThemeChanged();
    return;
  }
  FreeMenu();
  UsePreviewTheme();
  FMenuSprites = BuildThemePreview(*this);
}

void TMainInterface::Leave() {
  FGallery.reset();
  FreeMenu();
  TInterface::Leave();
}

// A new size or a new display (whose surfaces start empty): everything shown is made again.
void TMainInterface::Resize() {
  if (FDone) return;
  switch (Showcase) {
    case EShowcase::None:
      ShowMenu();
      break;
    case EShowcase::ThemePreview:
      FreeMenu();
      FMenuSprites = BuildThemePreview(*this);
      break;
    case EShowcase::Gallery:
      FGallery.reset();
      FreeOwnedControls();
      FGallery = std::make_unique<TGallery>(*this);
      break;
  }
}

// Until the menu's buttons exist, its choices are written on the table with their keys: the
// caption of each button's hint (the part before "|").
void TMainInterface::ShowMenu() {
  FreeMenu();
  const int width = FEngine->FWidth, height = FEngine->FHeight;
  const std::string title = Lang(0);
  const TTextSize titleSize = MeasureScreenText(title, 36);
  FMenuSprites.push_back(AddTextSprite(*this, title, 36, (width - titleSize.Width) / 2, height / 6));
  const std::pair<const char*, int> choices[] = {{"1", 198}, {"2", 199}, {"3", 200}, {"Esc", 203}};
  int y = height / 6 + titleSize.Height + 30;
  for (const auto& [key, line] : choices) {
    const std::string caption = Lang(line).substr(0, Lang(line).find('|'));
    FMenuSprites.push_back(AddTextSprite(*this, key, 16, width / 2 - 120, y));
    FMenuSprites.push_back(AddTextSprite(*this, caption, 16, width / 2 - 50, y));
    y += MeasureScreenText(caption, 16).Height + 12;
  }
  const std::string ticker = Lang(215);
  const TTextSize tickerSize = MeasureScreenText(ticker, 11);
  FMenuSprites.push_back(
      AddTextSprite(*this, ticker, 11, std::max(10, (width - tickerSize.Width) / 2), height - tickerSize.Height - 16));
}

void TMainInterface::FreeMenu() { FMenuSprites.clear(); }

// The choices are on the keys 1 to 4: the selector, the options, continue the last jigsaw, and
// the maker; Escape quits.
void TMainInterface::KeyDown(uint16_t& key, int shift) {
  if (FDone) return;
  if (key == VK_ESCAPE) Finish(MainMenuResult::Quit);
  if (key >= '1' && key <= '4') Finish(key - '0');
  if (key == 'T' && Showcase != EShowcase::None) NextPreviewTheme();
}

void TMainInterface::KeyUp(uint16_t& key, int shift) {
  if (key == VK_F1 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) OpenHelpTopic(22);
}

}  // namespace qj
