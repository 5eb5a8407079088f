// The message window's making and layout: its width follows the longest line, within the screen.
#include "controls/UMessageWindow.h"

#include <algorithm>

#include "controls/UButtons.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Input.h"

namespace qj {
namespace {

constexpr int kMargin = 18, kButtonWidth = 100, kNarrowest = 360, kWidest = 640, kScreenMargin = 20;

}  // namespace

void TMessageWindow::Show(const std::string& title, const std::string& text) {
  FTitle = title;
  FText = text;
  Open();
  FWindow = &AddOwnedControl<TDXWindow>();
  FWindow->Setup(title, 0, 0, kNarrowest, 200, {.Style = 0, .Movable = false, .Activatable = false},
                 [this](TDXControl* sender) { PaintText(sender); });
  FOk = &AddOwnedControl<TDXButton>();
  FOk->SetButton(TextKey(Text::Ok), 0, 0, kButtonWidth, 0, 0);
  FOk->OnClick = [this](TDXControl*) { Close(); };
  Layout();
}

void TMessageWindow::Leave() {
  TModalWindow::Leave();
  FWindow = nullptr;
  FOk = nullptr;
}

// As wide as the longest line wants, as tall as the wrapped text, centred on the screen.
void TMessageWindow::Layout() {
  if (!FWindow) return;
  const TFlowStyle style = ThemeFlowStyle();
  const int frame = FWindow->FWidth - FWindow->ClientWidth();
  const int widest = std::max(kNarrowest, FEngine->FWidth - 2 * kScreenMargin);
  const int width = std::clamp(WidestLine(FText, style) + 2 * kMargin + frame, kNarrowest, std::min(kWidest, widest));
  const int textWidth = width - frame - 2 * kMargin;
  FLayout = LayoutTextBlocks(PlainBlocks(FText), textWidth, style);
  const int clientHeight = kMargin + FLayout.Height + kMargin / 2 + FOk->FHeight + kMargin;
  const int height = clientHeight + FWindow->FHeight - FWindow->ClientHeight();
  const int left = (FEngine->FWidth - width) / 2, top = std::max(0, (FEngine->FHeight - height) / 2);
  FWindow->SetBounds(left, top, width, height);
  FWindow->Paint();
  const TRect client = FWindow->ClientRect();
  FOk->SetButton(FOk->FCaption, left + client.Left + (client.Width() - kButtonWidth) / 2,
                 top + client.Bottom - kMargin - FOk->FHeight, kButtonWidth, 0, 0);
}

void TMessageWindow::Resize() { Layout(); }

// The text goes straight onto the client layer, so its letters blend with the theme's ground.
void TMessageWindow::PaintText(TDXControl* sender) {
  TMySprite* sprite = FWindow ? FWindow->FSprite.Get() : nullptr;
  if (!sprite) return;
  TCanvas canvas(*sprite->Surfaces[WindowLayer::Client]);
  const TRect client = FWindow->ClientRect();
  DrawTextLayout(canvas, FLayout, client.Left + kMargin, client.Top + kMargin, client.Top, client.Bottom);
}

void TMessageWindow::KeyReleased(uint16_t key, int shift) {
  if (key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE) Close();
}

}  // namespace qj
