// Tooltips: a box with one or two lines of text on a themed background that fades in beside the
// control it explains, stays a while and fades out again.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "controls/UControls.h"

namespace qj {

// Hints are drawn above everything else on every screen.
constexpr double kHintDepth = 10'000'000;

class TDXHint : public TDXControl {
 public:
  // Steps of a shown hint besides those it holds at full opacity: 10 fading in, 30 at full
  // opacity, 10 fading out, and the step at which it hides.
  static constexpr int kFadeSteps = 10;
  static constexpr int kFullSteps = 30;
  static constexpr int kShowSteps = 2 * kFadeSteps + kFullSteps + 1;
  static constexpr int kDefaultFontSize = 10;

  explicit TDXHint(TInterface* owner);

  void SetTop(int value) override;
  void SetLeft(int value) override;
  // Redraws a shown box at once when the text changes.
  void SetCaption(const std::string& text) override;
  // Creates and shows the box: false when the hint is shown already, disabled, or has no text.
  bool ShowHint() override;
  // The fade: the opacity of the current step, and the end of the hint after the last one.
  void Paint() override;
  void Restore() override {}

  // The hover zone becomes the control's rectangle.
  void AttachTo(const TDXControl& control);
  // Chooses the background for the text's width and places the box on top of the hover zone,
  // standing out to the left or to the right of it.
  void PlaceBeside(bool leftSide);
  void HideHint();
  // Extra steps at full opacity (none below 0).
  void SetHoldSteps(int steps);
  bool Shown() const { return FSprite.Get() != nullptr; }
  // A disabled hint is not shown; one shown already stays until it fades or is hidden.
  void SetEnabled(bool value) { FEnabled = value; }

  // The caption's first line (up to "|") and second line (after it, empty without one).
  std::pair<std::string, std::string> Lines() const;
  std::vector<TTextRoom> TextRooms() const override { return LineRooms(GetCaption()); }
  // The lines of a hint caption against the room of the widest background.
  static std::vector<TTextRoom> LineRooms(const std::string& caption);

  TImage FBackground;
  bool FLeftSide = false;
  const TDXControl* FControl = nullptr;
  int FHoldSteps = 0;
  TControlEvent OnBeforeShow;
  TControlEvent OnHide;
  int FFontSize = kDefaultFontSize;

 private:
  bool FEnabled = true;

  void DrawBox();
  uint8_t FadeAlpha() const;
};

}  // namespace qj
