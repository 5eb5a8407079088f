// The main menu: the first screen and the one every other screen returns to.
#pragma once

#include <vector>

#include "core/UEngines.h"
#include "graphics/USpriteHandle.h"

namespace qj {

class TMainInterface : public TInterface {
 public:
  using TInterface::TInterface;

  void Enter() override;
  void Leave() override;
  void KeyDown(uint16_t& key, int shift) override;
  void KeyUp(uint16_t& key, int shift) override;
  void Resize() override;
  void Restore() override { Resize(); }

  // Started with --theme-preview: the menu shows the current theme's control images instead,
  // and T steps to the next theme. PreviewTheme >= 0 picks the theme to begin with.
  static bool ShowThemePreview;
  static int PreviewTheme;

 private:
  void NextPreviewTheme();
  void ShowMenu();
  void FreeMenu();

  std::vector<TSpriteHandle> FMenuSprites;
};

}  // namespace qj
