// The options screen, shown from the main menu or over a paused game: one framed window of
// groups whose sliders and check boxes change the live settings at once, a hot-key editor, the
// presets, and a display-mode change that must be confirmed within ten seconds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "controls/UButtons.h"
#include "controls/UCheckBox.h"
#include "controls/UScrollBar.h"
#include "controls/UWindows.h"
#include "controls/UEngines.h"
#include "core/UTextIds.h"
#include "screens/UDisplayModeConfirm.h"
#include "screens/UHotKeyEditor.h"
#include "screens/UOptionsControls.h"

namespace qj {

// What the finished options screen asks the engine to do next (its result).
namespace OptionsResult {
enum : int { ToMainMenu = -1, ToGame = 1 };
}

class TOptionsInterface : public TInterface {
 public:
  using EButton = TOptionsControls::EButton;
  using EGroup = TOptionsControls::EGroup;
  using ESlider = TOptionsControls::ESlider;
  using ECheck = TOptionsControls::ECheck;
  using EPage = TOptionsControls::EPage;
  using enum TOptionsControls::EButton;
  using enum TOptionsControls::EGroup;
  using enum TOptionsControls::ESlider;
  using enum TOptionsControls::ECheck;
  using enum TOptionsControls::EPage;
  static constexpr int kHotKeyRows = THotKeyEditor::kRows;
  static constexpr int kCountdownSeconds = TDisplayModeConfirm::kCountdownSeconds;

  explicit TOptionsInterface(TGraphicsEngine* engine);

  void Enter() override;
  // Shown over a paused game: leaving goes back to that game.
  void EnterOverGame() {
    Enter();
    FResult = OptionsResult::ToGame;
  }
  void Leave() override;
  void Update() override;
  // Its frame work runs every tick.
  uint32_t RestFor(uint32_t) const override { return 0; }
  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void MouseMove(int shift, int x, int y) override;
  void KeyDown(uint16_t& key, int shift) override;
  void KeyUp(uint16_t& key, int shift) override;
  void Resize() override;
  void Restore() override;

  TDXWindow* MainWindow() const { return FControls.FMain; }
  TDXWindow* Group(EGroup group) const { return FControls.FGroups[group]; }
  TDXButton* Button(EButton button) const { return FControls.FButtons[button]; }
  TDXHScrollBar* Slider(ESlider slider) const { return FControls.FSliders[slider]; }
  TDXCheckBox* CheckBox(ECheck box) const { return FControls.FChecks[box]; }
  TDXHint* SliderHint(ESlider slider) const { return FControls.FSliderHints[slider]; }
  // The page shown: the everyday settings, or the hot keys and the settings for experts.
  EPage ShownPage() const { return FControls.FPage; }
  void ShowPage(EPage page);
  // The hint over the hot-key row under the mouse.
  TDXHint* HotKeyHint() const { return FHotKeys.Hint(); }
  // The value lines a group draws, top to bottom.
  std::vector<std::string> GroupLabels(EGroup group) const;
  // The hot-key list as shown: one line per row.
  std::string HotKeyRowText(int row) const { return FHotKeys.RowText(row); }
  std::pair<std::string, std::string> HotKeyRowParts(int row) const { return FHotKeys.RowParts(row); }
  // Whether a key of the row is also a key of another row.
  bool RowConflicts(int row) const { return FHotKeys.RowConflicts(row); }
  // Seconds left to confirm a new display mode, -1 when none is waiting.
  int Countdown() const { return FDisplayMode.Countdown(); }
  bool ConfirmShown() const;
  // Waits for the keys of a hot-key row, as a click on the row does.
  void StartCapture(int row);
  bool Capturing() const { return FHotKeys.Capturing(); }
  int HighlightedRow() const { return FHotKeys.HighlightedRow(); }

  // A message for the player: title and text.
  std::function<void(const std::string& title, const std::string& text)> OnMessage;
  // The frame timer's interval changed (ms; 0 for no limit).
  std::function<void(uint32_t interval)> OnFrameInterval;
  // The screen is being left back to a paused game (the engine saves that game when the program
  // is closing).
  std::function<void()> OnLeaveToGame;
  // The theme changed: every screen's graphics must be made again.
  std::function<void()> OnAppearanceChanged;

 private:
  // ---- building and layout
  void BuildWindows();
  void BuildButtons();
  void BuildSliders();
  void BuildChecks();
  TDXButton& NewButton(EButton which, ETextId caption, ETextId hint, bool hintRight, EControlLayer layer);
  void Place();
  void RepaintAll();
  // ---- values
  void LoadValues();
  void LoadDisplayControls(int resolution, int refresh, bool fullScreen);
  void SetRadio(ECheck first, int chosen);
  void CubeCaption();
  // ---- handlers
  void SliderChanged(ESlider slider);
  void CheckClicked(ECheck box);
  void LanguageChanged();
  void UseLanguage(const std::string& file);
  void ThemeChanged();
  [[nodiscard]] bool UseTheme(int theme);
  void BackgroundChanged();
  [[nodiscard]] bool ThemeComplete(int theme, std::string& error) const;
  void ReloadTheme();
  void SetFrameInterval();
  // ---- display mode
  void PressApply();
  void ShowConfirmation(bool shown);
  void AfterDisplaySwitch();
  // ---- presets and leaving
  void LoadPreset(const std::string& file, bool withHotkeys, bool keepLook);
  void ApplyLook(int oldTheme, int oldBackground, const std::string& oldLanguage);
  void PressOk();
  void PressClose();
  // ---- painting and input
  bool Blocked(int x, int y) const;
  bool KeysShown() const;
  void PaintGroup(EGroup group);
  void PaintMainHole();
  void Message(const std::string& title, const std::string& text);

  TOptionsControls FControls;
  std::vector<std::string> FLanguageFiles;
  bool FReady = false;
  THotKeyEditor FHotKeys;
  TDisplayModeConfirm FDisplayMode;
};

}  // namespace qj
