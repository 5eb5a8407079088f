// The main menu: the first screen and the one every other screen returns to. A picture at the
// right edge with buttons over it that show only under the mouse, a welcome line that scrolls
// once across the top, and the credits rolling up on request.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/UButtons.h"
#include "controls/UEngines.h"
#include "graphics/USpriteHandle.h"
#include "platform/Surface.h"
#include "screens/UShowcase.h"

namespace qj {

// What the finished main menu asks the engine to do next (its result).
namespace MainMenuResult {
enum : int { Quit = -1, Selector = 1, Options = 2, ContinueLast = 3, MakerOfLast = 4, PlayGiven = 5 };
}

class TGallery;

class TMainInterface : public TInterface {
 public:
  explicit TMainInterface(TGraphicsEngine* engine);
  ~TMainInterface() override;

  void Enter() override;
  void Leave() override;
  void MouseMove(int shift, int x, int y) override;
  void KeyDown(uint16_t& key, int shift) override;
  void KeyUp(uint16_t& key, int shift) override;
  void KeyPress(char32_t& key) override;
  void Resize() override;
  void Restore() override;
  void Update() override;
  // The welcome line's next step is due in at most 11 ms while it runs.
  uint32_t RestFor(uint32_t now) const override;

  // The buttons in the order the mouse tests them; each one's layout position in the picture's
  // .coord file comes with it.
  enum EChoice : uint8_t { Play, OptionsChoice, Continue, Credits, Quit, ChoiceCount };
  // The button of a choice, null while the menu is shown as text (its pictures are missing).
  TDXButton* Button(EChoice choice) const { return FButtons[choice]; }
  bool CreditsShown() const;
  bool ContinueDimmed() const;
  bool TickerShown() const;
  // Where the game's title is drawn; empty while there is none.
  TRect TitleRect() const;
  // Whether the last jigsaw's picture, saved game and puzzle file are all there and its game is
  // not finished.
  static bool CanContinueLast();
  // Whether the last jigsaw's saved game is a finished one.
  static bool LastGameFinished();
  // The Continue button's hint: the last puzzle and how far it has come, or why there is
  // nothing to continue.
  static std::string ContinueHint();

  // Started with --theme-preview or --gallery, the menu shows the current theme's control
  // images or a working example of every control instead, and T steps to the next theme.
  // A theme >= 0 is the one to begin with. Set before the menu is first shown.
  static void SetShowcase(EShowcase showcase, int theme);
  static EShowcase Showcase() { return FShowcase; }
  // The showcase moved to another theme: every screen's graphics must be made again.
  std::function<void()> OnAppearanceChanged;

 private:
  static EShowcase FShowcase;
  static int FPreviewTheme;

  void UsePreviewTheme();
  void NextPreviewTheme();
  void ShowMenu();
  [[nodiscard]] bool ShowPictureMenu();
  void ShowTextMenu();
  void LabelButtons();
  void PlaceHint(TDXButton& button);
  // The game's name centred over the surface's columns 0 to right - 1.
  void ShowTitle(int right);
  void ShadeContinue();
  void PlaceMenu();
  void AddRolls();
  void FreeMenu();
  void Choose(EChoice choice);
  void ToggleCredits();
  void StepTicker();
  void DrawTicker();
  void DrawCredits();

  std::vector<TSpriteHandle> FMenuSprites;
  std::unique_ptr<TGallery> FGallery;
  std::array<TDXButton*, ChoiceCount> FButtons{};
  std::array<TLayoutRect, ChoiceCount> FButtonPlaces{};
  TSpriteHandle FPicture;
  TSpriteHandle FContinueVeil;
  TSpriteHandle FTitle;
  TSpriteHandle FTicker;
  TSpriteHandle FCredits;
  TSurface FTickerText;
  std::vector<TSurface> FCreditText;  // empty where the roll leaves a gap
  std::vector<int> FCreditHeights;
  int FTickerOffset = 0;
  uint32_t FTickerTick = 0;
  uint32_t FCreditsTick = 0;
};

}  // namespace qj
