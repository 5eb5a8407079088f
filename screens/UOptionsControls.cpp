// Index: layout tables; the tables by name; placing; pages.
#include "screens/UOptionsControls.h"

#include <algorithm>
#include <string>
#include <utility>

#include "controls/UButtons.h"
#include "controls/UCheckBox.h"
#include "controls/UScrollBar.h"
#include "controls/UWindows.h"
#include "core/UTextIds.h"
#include "core/UThemes.h"
#include "controls/UHints.h"
#include "graphics/UGraphicsEngine.h"

namespace qj {
namespace {

// ---- Layout tables --------------------------------------------------------------------------------

constexpr int kGap = 4;              // between the groups and the main window's client edge
constexpr int kCommandWidth = 110;   // OK, reload, safe, optimal, close
constexpr int kPageWidth = 150;      // the button that turns the page
constexpr int kCommandRaise = 40;    // above the main window's bottom band
constexpr int kApplyWidth = 100, kWideButton = 120;
constexpr int kLabelAbove = 15;      // a value line stands this far above its slider
constexpr int kControlLeft = 12;

using T = TOptionsControls;
using G = T::EGroup;
constexpr T::TGroupEntry kGroups[T::GroupCount] = {
    {Text::Controls, 246, 92},         {Text::Pieces, 212, 140},           {Text::Table, 0, 193},
    {Text::Screen, 246, 100},          {Text::Sound, 246, 64},             {Text::Look, 212, 170},
    {Text::PickingUpPieces, 0, 62},    {Text::Advanced, 0, 177, T::MorePage}, {Text::HotKeys, 440, 0, T::MorePage},
    {Text::PleaseConfirm, 340, 120},
};
// Columns of groups from the left, page by page.
const std::vector<std::vector<G>> kColumns[T::PageCount] = {
    {{G::Controls, G::Screen, G::Sound}, {G::Pieces, G::Environment}, {G::Table, G::Selection}},
    {{G::HotKeys}, {G::Advanced}},
};

constexpr T::TSliderEntry kSliders[T::SliderCount] = {
    {G::Advanced, 110, 10, 500, &TOptions::AnimationMs}, {G::Controls, 15, 10, 1500, &TOptions::HintResponseMs},
    {G::Controls, 47, 10, 5000, &TOptions::HintMs},      {G::Pieces, 22, 0, 2, &TOptions::CubeType},
    {G::Pieces, 56, 1, 90},                              {G::Pieces, 90, 1, 20, &TOptions::PieceSlideSpeed},
    {G::Pieces, 124, 1, 100, &TOptions::ScoreUpdate},    {G::Table, 15, 0, 15, &TOptions::LoupeZoom},
    {G::Table, 47, 0, 15, &TOptions::StickRange},        {G::Table, 79, 10, 50, &TOptions::ScatterRange},
    {G::Advanced, 75, 50, 250, &TOptions::MaxFPS},       {G::Screen, 15, 0, 7},
    {G::Screen, 47, 0, 0},                               {G::Sound, 15, 0, 100, &TOptions::Sound},
    {G::Sound, 47, 0, 100, &TOptions::Music},            {G::Environment, 57, 0, 0},
    {G::Environment, 122, 0, 0},                         {G::Environment, 153, 0, 0},
    {G::Advanced, 145, 0, kMaxAutosaveMinutes, &TOptions::AutosaveMinutes},
};
// Where the environment group's preview of the table background lies, under the title band.
constexpr int kHoleTop = 95, kHoleBottom = 117;
// The apply button's place in the screen group, under the title band, from the right.
constexpr int kApplyTop = 72;

constexpr T::TCheckEntry kChecks[T::CheckCount] = {
    {G::Controls, 66, Text::HintsGetShorter},      {G::Pieces, 0, Text::Show},
    {G::Advanced, 0, Text::FollowTheBeam},         {G::Advanced, 19, Text::WaitForVerticalBlank},
    {G::Advanced, 38, Text::NoWaiting},            {G::Screen, 75, Text::FullScreen, -(kApplyWidth + 6)},
    {G::Table, 97, Text::RotateClockwise},         {G::Table, 116, Text::SwapMouseButtons},
    {G::Table, 135, Text::ShowStars},              {G::Environment, 0, Text::AutoHideMenuBar},
    {G::Environment, 20, Text::AutoHideScrolling}, {G::Selection, 1, Text::DragAndDrop},
    {G::Selection, 20, Text::ClickToTakeClickToDrop}, {G::Selection, 39, Text::DragOrClick},
    {G::Table, 154, Text::SpreadNewGames},
    {G::Table, 173, Text::ShowProgressOnTable},
};

void SetShown(TDXControl* control, bool shown) {
  if (TMySprite* s = control ? control->FSprite.Get() : nullptr) s->Visible = shown;
}

}  // namespace

// ---- The tables by name --------------------------------------------------------------------------

const T::TGroupEntry& TOptionsControls::Entry(EGroup group) { return kGroups[group]; }
const T::TSliderEntry& TOptionsControls::Entry(ESlider slider) { return kSliders[slider]; }
const T::TCheckEntry& TOptionsControls::Entry(ECheck box) { return kChecks[box]; }

int TOptionsControls::ButtonWidth(EButton button) {
  if (button == Page) return kPageWidth;
  return button == Apply ? kApplyWidth : button >= Defaults ? kWideButton : kCommandWidth;
}

// The value lines stand above their sliders; the environment group's second line stands above
// the preview of the table background.
std::vector<int> TOptionsControls::LabelTops(EGroup group) {
  std::vector<int> tops;
  switch (group) {
    case Pieces: tops = {RotationSlider, SlideSlider, ScoreSlider}; break;
    case Screen: tops = {ResolutionSlider, RefreshSlider}; break;
    case Advanced: tops = {FpsSlider, AnimationSlider, AutosaveSlider}; break;
    case Environment: tops = {ThemeSlider, BackgroundSlider, LanguageSlider}; break;
    case Controls: tops = {HintResponseSlider, HintSlider}; break;
    case Table: tops = {ZoomSlider, StickSlider, ScatterSlider}; break;
    case Sound: tops = {SoundSlider, MusicSlider}; break;
    default: break;
  }
  for (int& t : tops) t = kSliders[t].Top - kLabelAbove;
  if (group == Environment) tops[1] = kHoleTop - kLabelAbove - 2;
  if (group == Confirm) tops = {6, 24, 42, 60};
  return tops;
}

TRect TOptionsControls::HoleRect() const {
  const TDXWindow& w = *FGroups[Environment];
  return {kControlLeft + 2, w.TitleHeight() + kHoleTop, w.FWidth - kControlLeft - 2, w.TitleHeight() + kHoleBottom};
}

// ---- Placing -------------------------------------------------------------------------------------

// The main window is centred; the groups follow from its client area.
void TOptionsControls::Place(int screenWidth, int screenHeight) {
  FMain->SetBounds(std::max(0, (screenWidth - kMainWidth) / 2), std::max(0, (screenHeight - kMainHeight) / 2),
                   kMainWidth, kMainHeight);
  const int top = FMain->BottomBandY() - kCommandRaise;
  const int clientLeft = FMain->FLeft + FMain->FInsetLeft;
  FButtons[Ok]->SetBounds(clientLeft + 10, top, kCommandWidth, FButtons[Ok]->FHeight);
  FButtons[Reload]->SetBounds(FButtons[Ok]->Right() + 10, top, kCommandWidth, FButtons[Ok]->FHeight);
  FButtons[Page]->SetBounds(FButtons[Reload]->Right() + 10, top, kPageWidth, FButtons[Ok]->FHeight);
  int right = FMain->RightBandX() - 10;
  for (EButton b : {Close, Optimal, Safe}) {
    FButtons[b]->SetBounds(right - kCommandWidth, top, kCommandWidth, FButtons[b]->FHeight);
    right -= kCommandWidth + 10;
  }
  PlaceGroups();
  PlaceGroupContents();
  PlaceConfirmation(screenWidth, screenHeight);
}

// Each page's columns side by side; a group without a width of its own takes the rest of the
// client's width, one without a height the rest down to the command buttons.
void TOptionsControls::PlaceGroups() {
  const int clientLeft = FMain->FLeft + FMain->FInsetLeft, clientTop = FMain->FTop + FMain->FInsetTop;
  const int right = clientLeft + FMain->ClientWidth() - kGap, bottom = FButtons[Ok]->FTop - kGap;
  for (const std::vector<std::vector<G>>& page : kColumns) {
    int x = clientLeft + kGap;
    for (const std::vector<G>& column : page) {
      int y = clientTop + kGap, width = 0;
      for (const G g : column) {
        TDXWindow& w = *FGroups[g];
        const int frameX = w.FWidth - w.ClientWidth(), frameY = w.FHeight - w.ClientHeight();
        w.SetBounds(x, y, kGroups[g].Width != 0 ? kGroups[g].Width + frameX : right - x,
                    kGroups[g].Height != 0 ? kGroups[g].Height + frameY : bottom - y);
        y += w.FHeight + kGap;
        width = std::max(width, w.FWidth);
      }
      x += width + kGap;
    }
  }
}

void TOptionsControls::PlaceGroupContents() {
  for (int s = 0; s < SliderCount; ++s) {
    const TDXWindow& g = *FGroups[kSliders[s].Group];
    FSliders[s]->SetBounds(g.FLeft + kControlLeft, g.FTop + g.TitleHeight() + kSliders[s].Top, g.FWidth - 2 * kControlLeft,
                           kSliderHeight);
  }
  for (int c = 0; c < CheckCount; ++c) {
    const TDXWindow& g = *FGroups[kChecks[c].Group];
    const int left = c == HintDecreasesBox ? 10 : kControlLeft;
    const int width = kChecks[c].Width > 0 ? kChecks[c].Width : g.FWidth - 2 * left + kChecks[c].Width;
    FChecks[c]->SetBounds(g.FLeft + left, g.FTop + g.TitleHeight() + kChecks[c].Top, width, kCheckHeight);
  }
  for (int s = 0; s < SliderCount; ++s) {
    const TDXHScrollBar& bar = *FSliders[s];
    FSliderHints[s]->FHintRect = {bar.FLeft, bar.FTop - kLabelAbove, bar.FLeft + bar.FWidth, bar.FTop + bar.FHeight};
    FSliderHints[s]->FHintZone = true;
  }
  const TDXWindow& screen = *FGroups[Screen];
  FButtons[Apply]->SetBounds(screen.FLeft + screen.FWidth - kControlLeft - kApplyWidth, screen.FTop + screen.TitleHeight() + kApplyTop,
                             kApplyWidth, FButtons[Apply]->FHeight);
  const TDXWindow& keys = *FGroups[HotKeys];
  FButtons[Defaults]->SetBounds(keys.FLeft + (keys.FWidth - kWideButton) / 2, keys.FTop + keys.FHeight - 35, kWideButton,
                                FButtons[Defaults]->FHeight);
}

void TOptionsControls::PlaceConfirmation(int screenWidth, int screenHeight) {
  TDXWindow& w = *FGroups[Confirm];
  (void)w.SetClientSize(kGroups[Confirm].Width, kGroups[Confirm].Height);
  w.SetLeft((screenWidth - w.FWidth) / 2);
  w.SetTop((screenHeight - w.FHeight) / 2);
  const int top = w.FTop + w.FHeight - FButtons[Keep]->FHeight - 12;
  FButtons[Keep]->SetBounds(w.FLeft + 20, top, kWideButton, FButtons[Keep]->FHeight);
  FButtons[Revert]->SetBounds(w.FLeft + w.FWidth - 20 - kWideButton, top, kWideButton, FButtons[Revert]->FHeight);
}

// ---- Pages ---------------------------------------------------------------------------------------

void TOptionsControls::ShowPage(EPage page) {
  FPage = page;
  for (int g = 0; g < GroupCount; ++g)
    if (g != Confirm) SetShown(FGroups[g], kGroups[g].On == page);
  for (int s = 0; s < SliderCount; ++s) {
    const bool shown = kGroups[kSliders[s].Group].On == page;
    SetShown(FSliders[s], shown);
    FSliderHints[s]->SetEnabled(shown);
    if (!shown) FSliderHints[s]->HideHint();
  }
  for (int c = 0; c < CheckCount; ++c) {
    const bool shown = kGroups[kChecks[c].Group].On == page;
    SetShown(FChecks[c], shown);
    FChecks[c]->EnableHint(shown);
  }
  for (const auto& [button, group] : {std::pair{Apply, Screen}, std::pair{Defaults, HotKeys}}) {
    const bool shown = kGroups[group].On == page;
    SetShown(FButtons[button], shown);
    FButtons[button]->EnableHints(shown);
  }
  FButtons[Page]->SetCaption(TextKey(page == MainPage ? Text::MorePage : Text::MainPage));
  FButtons[Page]->FHintText2 = TextKey(page == MainPage ? Text::MorePageHint : Text::MainPageHint);
}

}  // namespace qj
