// The options screen, shown from the main menu or over a paused game: one framed window of
// groups whose sliders and check boxes change the live settings at once, a hot-key editor, the
// presets, and a display-mode change that must be confirmed within ten seconds.
#pragma once

#include <array>
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
#include "core/UMiscelaneous.h"
#include "core/UMiscelaneous.h"

namespace qj {

class TCanvas;
class TSurface;

// What the finished options screen asks the engine to do next (its result).
namespace OptionsResult {
enum : int { ToMainMenu = -1, ToGame = 1 };
}

class TOptionsInterface : public TInterface {
 public:
  enum EButton : uint8_t { Ok, Reload, Safe, Optimal, Close, Apply, Defaults, Keep, Revert, ButtonCount };
  enum EGroup : uint8_t { Controls, Pieces, Table, Screen, Sound, Environment, Selection, HotKeys, Confirm, GroupCount };
  enum ESlider : uint8_t {
    AnimationSlider, HintResponseSlider, HintSlider, CubeSlider, RotationSlider, SlideSlider, ScoreSlider,
    ZoomSlider, StickSlider, ScatterSlider, FpsSlider, ResolutionSlider, RefreshSlider, SoundSlider,
    MusicSlider, ThemeSlider, BackgroundSlider, LanguageSlider, SliderCount
  };
  enum ECheck : uint8_t {
    HintDecreasesBox, CubesBox, SmoothBox, BlankBox, NoWaitBox, FullScreenBox, ClockwiseBox, ReverseMouseBox,
    StarsBox, AutoHideMenuBox, AutoHideScrollBox, DragBox, ClickBox, EitherBox, CheckCount
  };
  static constexpr int kHotKeyRows = 14;
  static constexpr int kCountdownSeconds = 10;

  using TInterface::TInterface;

  void Enter() override;
  // Shown over a paused game: leaving goes back to that game.
  void EnterOverGame() {
    Enter();
    FResult = OptionsResult::ToGame;
  }
  void Leave() override;
  void Update() override;
  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void MouseMove(int shift, int x, int y) override;
  void KeyDown(uint16_t& key, int shift) override;
  void KeyUp(uint16_t& key, int shift) override;
  void Resize() override;
  void Restore() override;

  TDXWindow* MainWindow() const { return FMain; }
  TDXWindow* Group(EGroup group) const { return FGroups[group]; }
  TDXButton* Button(EButton button) const { return FButtons[button]; }
  TDXHScrollBar* Slider(ESlider slider) const { return FSliders[slider]; }
  TDXCheckBox* CheckBox(ECheck box) const { return FChecks[box]; }
  // The value lines a group draws, top to bottom.
  std::vector<std::string> GroupLabels(EGroup group) const;
  // The hot-key list as shown: one line per row.
  std::string HotKeyRowText(int row) const;
  std::pair<std::string, std::string> HotKeyRowParts(int row) const;
  // Whether a key of the row is also a key of another row.
  bool RowConflicts(int row) const;
  // Seconds left to confirm a new display mode, -1 when none is waiting.
  int Countdown() const { return FCountdown; }
  bool ConfirmShown() const;
  // Waits for the keys of a hot-key row, as a click on the row does.
  void StartCapture(int row);
  bool Capturing() const { return FCapturing; }
  int HighlightedRow() const { return FRowHighlighted ? FHotKeyRow : -1; }

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
  TDXButton& NewButton(EButton which, int captionLine, int hintLine, bool hintRight, EControlLayer layer);
  void Place();
  void PlaceGroups();
  void PlaceGroupContents();
  void PlaceConfirmation();
  void FitCheckCaptions();
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
  void PressKeep();
  void RevertDisplay();
  void SwitchToStoredMode();
  void ShowConfirmation(bool shown);
  void AfterDisplaySwitch();
  // ---- presets and leaving
  void LoadPreset(const std::string& file, bool withHotkeys, bool keepLook);
  void ApplyLook(int oldTheme, int oldBackground, const std::string& oldLanguage);
  void PressDefaults();
  void PressOk();
  void PressClose();
  // ---- hot keys
  bool Blocked(int x, int y) const;
  int RowAt(int x, int y) const;
  void EndCapture();
  void CaptureKey(uint16_t key, int shift);
  // ---- painting
  void PaintGroup(EGroup group);
  void PaintHotKeyNote(TCanvas& canvas, const TRect& room, bool conflicts);
  void PaintHotKeys(TDXWindow& window, TSurface& layer);
  void PaintMainHole();
  TRect HoleRect() const;  // in the environment group's coordinates
  void Message(const std::string& title, const std::string& text);

  TDXWindow* FMain = nullptr;
  std::array<TDXWindow*, GroupCount> FGroups{};
  std::array<TDXButton*, ButtonCount> FButtons{};
  std::array<TDXHScrollBar*, SliderCount> FSliders{};
  std::array<TDXCheckBox*, CheckCount> FChecks{};
  std::vector<std::string> FLanguageFiles;
  bool FReady = false;
  int FCountdown = -1;
  uint32_t FCountdownTick = 0;
  TDisplaySetting FPending;  // the applied mode waiting for Keep
  bool FSwitching = false;   // our own display switch: the display hook leaves the controls alone
  int FHotKeyRow = 0;
  bool FRowHighlighted = false;
  bool FCapturing = false;
  bool FSecondKey = false;
  bool FRowClicked = false;
  std::pair<THotKey, THotKey> FCaptureOld;  // the row's keys before the capture
};

}  // namespace qj
