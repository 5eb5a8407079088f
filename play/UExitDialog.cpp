// The exit dialog: its making, its text in the language of the moment, and the modal hold it
// keeps on the mouse while open.
#include "play/UExitDialog.h"

#include <algorithm>
#include <string>
#include <vector>

#include "controls/UButtons.h"
#include "controls/UHints.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UMenuSprites.h"
#include "platform/Canvas.h"

namespace qj {

namespace {

constexpr int kWidth = 380, kHeight = 170, kButtonWidth = 100, kButtonRise = 60, kTextTop = 10;

// The part of a "title|text" language line after the bar.
std::string AfterBar(ETextId line) {
  const std::string& text = Lang(line);
  const size_t bar = text.find('|');
  return bar == std::string::npos ? text : text.substr(bar + 1);
}

}  // namespace

void TExitDialog::Enter() { FShown = FWantQuit = FAbandon = false; }

void TExitDialog::Make() {
  FWindow = &FOwner.AddOwnedControl<TDXWindow>(EControlLayer::Overlay);
  FWindow->Setup(TextKey(Text::PleaseConfirm), 0, 0, kWidth, kHeight, {.Style = 0, .Movable = false});
  static constexpr ETextId kCaptions[3][2] = {{Text::Ok, Text::LeaveTheTable}, {Text::Abandon, Text::GiveUpThisGame}, {Text::Close, Text::BackToThePuzzle}};
  for (size_t i = 0; i < 3; ++i) {
    auto& button = FOwner.AddOwnedControl<TDXButton>(EControlLayer::Overlay);
    button.SetButton(TextKey(kCaptions[i][0]), 0, 0, kButtonWidth, 0, 0);
    button.FHintText = TextKey(kCaptions[i][1]);
    FButtons[i] = &button;
  }
  FButtons[0]->OnClick = [this](TDXControl*) { FWantQuit = true; };
  FButtons[1]->OnClick = [this](TDXControl*) { FWantQuit = FAbandon = true; };
  FButtons[2]->OnClick = [this](TDXControl*) { Show(false); };
  Show(false);
}

void TExitDialog::Reset() {
  FWindow = nullptr;
  FButtons.fill(nullptr);
}

void TExitDialog::Layout(int screenWidth, int screenHeight) {
  FWindow->SetBounds((screenWidth - kWidth) / 2, (screenHeight - kHeight) / 2, kWidth, kHeight);
  const int gap = (kWidth - 3 * kButtonWidth) / 4;
  for (size_t i = 0; i < FButtons.size(); ++i)
    FButtons[i]->SetButton(FButtons[i]->FCaption, FWindow->FLeft + gap + int(i) * (kButtonWidth + gap),
                           FWindow->FTop + kHeight - kButtonRise, kButtonWidth, 0, 0);
}

// The question, and what the two ways out do, in the language shown now.
void TExitDialog::PaintText() {
  const std::string& leave = Lang(Text::LeaveThisPuzzle);
  const std::vector<std::string> lines = {leave.substr(0, leave.find('|')) + "?",
                                          Lang(Text::Ok) + " \u2013 " + AfterBar(Text::LeaveTheTable),
                                          Lang(Text::Abandon) + " \u2013 " + AfterBar(Text::GiveUpThisGame)};
  const TTheme& theme = CurrentTheme();
  TMyDib text(FWindow->ClientWidth(), FWindow->ClientHeight(), 32);
  text.Fill(0);
  TCanvas canvas(text);
  canvas.Font = {theme.FontName, theme.FontSize + 2, theme.SayColor.ToPixel(), false};
  canvas.BrushClear = true;
  const int step = canvas.TextHeight("Wg") + 4;
  for (size_t i = 0; i < lines.size(); ++i)
    canvas.TextOut((text.Width() - canvas.TextWidth(lines[i])) / 2, kTextTop + int(i) * step, lines[i]);
  FWindow->SetImage(text);
}

void TExitDialog::Show(bool shown) {
  FShown = shown;
  if (shown) PaintText();
  ShowWithButtons(FWindow, FButtons, shown);
}

TRect TExitDialog::Rect() const { return FShown && FWindow ? FWindow->BoundsRect() : TRect{}; }

// Modal: only the dialog and its buttons take presses.
bool TExitDialog::Blocks(int x, int y) const {
  if (!FShown || !FWindow) return false;
  const int hit = FOwner.FEngine->SpriteAt(x, y);
  return !FWindow->HasSprite(hit) &&
         std::none_of(FButtons.begin(), FButtons.end(), [hit](const TDXButton* b) { return b->HasSprite(hit); });
}

}  // namespace qj
