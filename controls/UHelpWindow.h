// The help shown in the game: a topic's page laid out in a window over the screen, scrolled by
// its bar, the wheel and the keys, with a button that opens the page in the desktop's browser
// where the desktop has one.
#pragma once

#include <functional>
#include <string>

#include "controls/UModalWindow.h"
#include "controls/UTextFlow.h"
#include "core/UHelpPage.h"
#include "core/UTextIds.h"

namespace qj {

class TDXButton;
class TDXControl;
class TDXVScrollBar;
class TDXWindow;

class THelpWindow : public TModalWindow {
 public:
  using TModalWindow::TModalWindow;

  // Opens the window on the page of `topic`. False, with nothing shown, when the page cannot be
  // read; OnMessage has then been told which page and why.
  bool ShowTopic(int topic);
  void Resize() override;
  void Leave() override;
  void KeyDown(uint16_t& key, int shift) override;
  void MouseWheel(int shift, int notches, int x, int y) override;

  // Moves the text to row `y` of the page (kept within the page).
  void ScrollTo(int y);
  int Scroll() const { return FScroll; }
  // The most the text can scroll: 0 when the page fits.
  int ScrollRange() const;

  TDXButton* BrowserButton() const { return FBrowser; }
  const THelpPage& Page() const { return FPage; }

  // Whether a desktop browser can be asked to open the page; by default, whether xdg-open is on
  // the PATH.
  std::function<bool()> OnCanBrowse;
  // Asks the desktop to open the page; false when that could not be started.
  std::function<bool(int topic)> OnBrowse;
  std::function<void(const std::string& title, const std::string& text)> OnMessage;

 protected:
  void KeyReleased(uint16_t key, int shift) override;

 private:
  void Build();
  TDXButton& AddButton(ETextId line, std::function<void()> action);
  void Layout();
  void OpenInBrowser();
  void PaintText(TDXControl* sender);
  int ViewHeight() const;

  int FTopic = 0;
  THelpPage FPage;
  TTextLayout FText;
  int FScroll = 0;
  TDXWindow* FWindow = nullptr;
  TDXVScrollBar* FBar = nullptr;
  TDXButton* FBrowser = nullptr;
  TDXButton* FClose = nullptr;
};

}  // namespace qj
