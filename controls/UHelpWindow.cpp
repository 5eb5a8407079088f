// The help window: reading the topic's page, laying it out at the window's width, and scrolling.
#include "controls/UHelpWindow.h"

#include <algorithm>

#include "controls/UButtons.h"
#include "controls/UScrollBar.h"
#include "controls/UTextFlow.h"
#include "controls/UWindows.h"
#include "core/UFailureText.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Help.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"

namespace qj {
namespace {

constexpr int kMargin = 16, kButtonWidth = 160, kWidest = 860, kScreenMargin = 30, kLowest = 300, kLineStep = 40, kWheelStep = 3;

}  // namespace

bool THelpWindow::ShowTopic(int topic) {
  const std::string path = HelpTopicPath(topic);
  std::string error;
  if (!LoadHelpPage(path, FPage, error)) {
    LogError("%s", error.c_str());
    const std::string cause = FileExists(path) ? Lang(Text::HelpPageDamaged) : Lang(Text::FileNotFound);
    if (OnMessage) OnMessage(Lang(Text::HelpTitle), FillIn(Text::HelpPageCannotBeShown, QuotedName(path)) + "\n" + cause + "\n" + path);
    return false;
  }
  FTopic = topic;
  Open();
  Build();
  Layout();
  return true;
}

void THelpWindow::Build() {
  const std::string title = Lang(Text::HelpTitle) + (FPage.Title.empty() ? "" : " \u2013 " + FPage.Title);
  FWindow = &AddOwnedControl<TDXWindow>();
  FWindow->Setup(title, 0, 0, 400, 300, {.Style = 0, .Movable = false, .Activatable = false},
                 [this](TDXControl* sender) { PaintText(sender); });
  FBar = &AddOwnedControl<TDXVScrollBar>();
  FBar->Setup(0, 0, 16, 100, 0, 0, 0, ScrollBarStyle::Large, [this](TDXControl*) { ScrollTo(FBar->FPosition); });
  const bool browse = OnCanBrowse ? OnCanBrowse() : BrowserAvailable();
  if (browse) FBrowser = &AddButton(Text::OpenInBrowser, [this] { OpenInBrowser(); });
  FClose = &AddButton(Text::CloseHelp, [this] { Close(); });
}

// A button captioned with the part of a "caption|text" line before the bar, the line its hint.
TDXButton& THelpWindow::AddButton(ETextId line, std::function<void()> action) {
  TDXButton& button = AddOwnedControl<TDXButton>();
  const std::string& text = Lang(line);
  button.SetButton(text.substr(0, text.find('|')), 0, 0, kButtonWidth, 0, 0);
  button.FHintText = TextKey(line);
  button.OnClick = [action = std::move(action)](TDXControl*) { action(); };
  return button;
}

void THelpWindow::Leave() {
  TModalWindow::Leave();
  FScroll = 0;
  FWindow = nullptr;
  FBar = nullptr;
  FBrowser = FClose = nullptr;
}

// Nearly the screen's height, at most a comfortable reading width; the text laid out anew.
void THelpWindow::Layout() {
  if (!FWindow) return;
  const int width = std::min(kWidest, FEngine->FWidth - 2 * kScreenMargin);
  const int frameWidth = FWindow->FWidth - FWindow->ClientWidth(), frameHeight = FWindow->FHeight - FWindow->ClientHeight();
  FText = LayoutTextBlocks(FPage.Blocks, width - frameWidth - 3 * kMargin - FBar->FWidth, ThemeFlowStyle());
  // As tall as the page wants, within the screen.
  const int wanted = frameHeight + kMargin + FText.Height + kMargin + FClose->FHeight + kMargin;
  const int height = std::clamp(wanted, std::min(kLowest, FEngine->FHeight), FEngine->FHeight - 2 * kScreenMargin);
  const int left = (FEngine->FWidth - width) / 2, top = (FEngine->FHeight - height) / 2;
  FWindow->SetBounds(left, top, width, height);
  const TRect client = FWindow->ClientRect();
  FBar->SetBounds(left + client.Right - FBar->FWidth - 2, top + client.Top + 2, FBar->FWidth, ViewHeight() - 4);
  const int buttonTop = top + client.Bottom - kMargin / 2 - FClose->FHeight;
  FClose->SetButton(FClose->FCaption, left + client.Right - kMargin - kButtonWidth, buttonTop, kButtonWidth, 0, 0);
  if (FBrowser)
    FBrowser->SetButton(FBrowser->FCaption, left + client.Left + kMargin, buttonTop, kButtonWidth, 0, 0);
  FBar->SetMax(ScrollRange());
  FScroll = std::clamp(FScroll, 0, ScrollRange());
  FBar->SetPosition(FScroll);
  FWindow->Paint();
}

// The rows of the client area above the buttons.
int THelpWindow::ViewHeight() const {
  return FWindow ? FWindow->ClientHeight() - FClose->FHeight - kMargin : 0;
}

int THelpWindow::ScrollRange() const { return std::max(0, FText.Height + kMargin - ViewHeight()); }

void THelpWindow::ScrollTo(int y) {
  y = std::clamp(y, 0, ScrollRange());
  if (y == FScroll) return;
  FScroll = y;
  if (FBar && FBar->FPosition != y) FBar->SetPosition(y);
  if (FWindow) FWindow->Paint();
}

// The lines in view go straight onto the client layer; a line cut by the view's edges waits
// until it is wholly in view.
void THelpWindow::PaintText(TDXControl* sender) {
  TMySprite* sprite = FWindow ? FWindow->FSprite.Get() : nullptr;
  if (!sprite) return;
  TCanvas canvas(*sprite->Surfaces[WindowLayer::Client]);
  const TRect client = FWindow->ClientRect();
  DrawTextLayout(canvas, FText, client.Left + kMargin, client.Top + kMargin - FScroll, client.Top,
                 client.Top + ViewHeight());
}

void THelpWindow::Resize() { Layout(); }

void THelpWindow::OpenInBrowser() {
  const bool opened = OnBrowse ? OnBrowse(FTopic) : OpenHelpTopic(FTopic);
  if (!opened && OnMessage) OnMessage(Lang(Text::HelpTitle), Lang(Text::BrowserDidNotStart));
}

void THelpWindow::KeyDown(uint16_t& key, int shift) {
  TModalWindow::KeyDown(key, shift);
  const int page = std::max(kLineStep, ViewHeight() - kLineStep);
  switch (key) {
    case VK_UP: ScrollTo(FScroll - kLineStep); break;
    case VK_DOWN: ScrollTo(FScroll + kLineStep); break;
    case VK_PRIOR: ScrollTo(FScroll - page); break;
    case VK_NEXT: case VK_SPACE: ScrollTo(FScroll + page); break;
    case VK_HOME: ScrollTo(0); break;
    case VK_END: ScrollTo(ScrollRange()); break;
    default: break;
  }
}

void THelpWindow::MouseWheel(int shift, int notches, int x, int y) { ScrollTo(FScroll - notches * kWheelStep * kLineStep / 2); }

void THelpWindow::KeyReleased(uint16_t key, int shift) {
  if (key == VK_ESCAPE) Close();
}

}  // namespace qj
