// The main menu: the first screen and the one every other screen returns to.
#pragma once

#include <memory>
#include <vector>

#include "core/UEngines.h"
#include "graphics/USpriteHandle.h"

namespace qj {

enum class EShowcase { None, ThemePreview, Gallery };

class TGallery;

class TMainInterface : public TInterface {
 public:
  explicit TMainInterface(TGraphicsEngine* engine);
  ~TMainInterface() override;

  void Enter() override;
  void Leave() override;
  void KeyDown(uint16_t& key, int shift) override;
  void KeyUp(uint16_t& key, int shift) override;
  void Resize() override;
  void Restore() override { Resize(); }

  // Started with --theme-preview or --gallery, the menu shows the current theme's control
  // images or a working example of every control instead, and T steps to the next theme.
  // PreviewTheme >= 0 picks the theme to begin with.
  static EShowcase Showcase;
  static int PreviewTheme;

 private:
  void UsePreviewTheme();
  void NextPreviewTheme();
  void ShowMenu();
  void FreeMenu();

  std::vector<TSpriteHandle> FMenuSprites;
  std::unique_ptr<TGallery> FGallery;
};

}  // namespace qj
