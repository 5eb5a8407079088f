// The game's own message window: a title, the text wrapped to the window and an OK button, shown
// over whatever screen is active until the player closes it with OK, Enter or Escape.
#pragma once

#include <string>

#include "controls/UModalWindow.h"
#include "controls/UTextFlow.h"

namespace qj {

class TDXButton;
class TDXControl;
class TDXWindow;

class TMessageWindow : public TModalWindow {
 public:
  using TModalWindow::TModalWindow;

  // Builds the window centred on the screen.
  void Show(const std::string& title, const std::string& text);
  void Resize() override;
  void Leave() override;

  const std::string& Title() const { return FTitle; }
  const std::string& Text() const { return FText; }
  TDXButton* OkButton() const { return FOk; }

 protected:
  void KeyReleased(uint16_t key, int shift) override;

 private:
  void Layout();
  void PaintText(TDXControl* sender);

  std::string FTitle, FText;
  TTextLayout FLayout;
  TDXWindow* FWindow = nullptr;
  TDXButton* FOk = nullptr;
};

}  // namespace qj
