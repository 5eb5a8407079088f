// Index: layout tables; the tables by name; placing; caption fonts.
#include "screens/UOptionsControls.h"

#include <algorithm>
#include <string>

#include "controls/UButtons.h"
#include "controls/UCheckBox.h"
#include "controls/UScrollBar.h"
#include "controls/UWindows.h"
#include "core/UTextIds.h"
#include "core/UThemes.h"
#include "platform/Canvas.h"
#include "platform/Dib.h"
#include "screens/ULabelPainting.h"

namespace qj {
namespace {

// ---- Layout tables --------------------------------------------------------------------------------

constexpr int kGap = 4;              // between the groups and the main window's client edge
constexpr int kCommandWidth = 110;   // OK, reload, safe, optimal, close
constexpr int kCommandRaise = 40;    // above the main window's bottom band
constexpr int kApplyWidth = 90, kWideButton = 120;
constexpr int kLabelAbove = 15;      // a value line stands this far above its slider
constexpr int kControlLeft = 12;
constexpr int kSmallestBold = 9;

using T = TOptionsControls;
using G = T::EGroup;
constexpr T::TGroupEntry kGroups[T::GroupCount] = {
    {Text::Controls, 210, 116},       {Text::Pieces, 160, 140}, {Text::Table, 180, 193},
    {Text::Screen, 210, 190},         {Text::Sound, 180, 64},   {Text::Look, 160, 170},
    {Text::PickingUpPieces, 180, 62}, {Text::HotKeys, 0, 0},    {Text::PleaseConfirm, 340, 120},
};
// Columns of groups from the left; the hot keys fill the rest of the width.
const std::vector<std::vector<G>> kColumns = {{G::Controls, G::Screen}, {G::Pieces, G::Environment},
                                              {G::Table, G::Selection, G::Sound}};

constexpr T::TSliderEntry kSliders[T::SliderCount] = {
    {G::Controls, 15, 10, 500, &TOptions::AnimationMs},  {G::Controls, 47, 10, 1500, &TOptions::HintResponseMs},
    {G::Controls, 79, 10, 5000, &TOptions::HintMs},      {G::Pieces, 22, 0, 2, &TOptions::CubeType},
    {G::Pieces, 56, 1, 90},                              {G::Pieces, 90, 1, 20, &TOptions::PieceSlideSpeed},
    {G::Pieces, 124, 1, 100, &TOptions::ScoreUpdate},    {G::Table, 15, 0, 15, &TOptions::LoupeZoom},
    {G::Table, 47, 0, 15, &TOptions::StickRange},        {G::Table, 79, 10, 50, &TOptions::ScatterRange},
    {G::Screen, 75, 50, 250, &TOptions::MaxFPS},         {G::Screen, 110, 0, 7},
    {G::Screen, 145, 0, 0},                              {G::Sound, 15, 0, 100, &TOptions::Sound},
    {G::Sound, 47, 0, 100, &TOptions::Music},            {G::Environment, 57, 0, 0},
    {G::Environment, 122, 0, 0},                         {G::Environment, 153, 0, 0},
};
// Where the environment group's preview of the table background lies, under the title band.
constexpr int kHoleTop = 95, kHoleBottom = 117;

constexpr T::TCheckEntry kChecks[T::CheckCount] = {
    {G::Controls, 96, Text::HintsGetShorter},      {G::Pieces, 0, Text::Show},
    {G::Screen, 0, Text::FollowTheBeam},           {G::Screen, 19, Text::WaitForVerticalBlank},
    {G::Screen, 38, Text::NoWaiting},              {G::Screen, 164, Text::FullScreen, 104},
    {G::Table, 97, Text::RotateClockwise},         {G::Table, 116, Text::SwapMouseButtons},
    {G::Table, 135, Text::ShowStars},              {G::Environment, 0, Text::AutoHideMenuBar},
    {G::Environment, 20, Text::AutoHideScrolling}, {G::Selection, 1, Text::DragAndDrop},
    {G::Selection, 20, Text::ClickToTakeClickToDrop}, {G::Selection, 39, Text::DragOrClick},
    {G::Table, 154, Text::SpreadNewGames},
    {G::Table, 173, Text::ShowProgressOnTable},
};

}  // namespace

// ---- The tables by name --------------------------------------------------------------------------

const T::TGroupEntry& TOptionsControls::Entry(EGroup group) { return kGroups[group]; }
const T::TSliderEntry& TOptionsControls::Entry(ESlider slider) { return kSliders[slider]; }
const T::TCheckEntry& TOptionsControls::Entry(ECheck box) { return kChecks[box]; }

int TOptionsControls::ButtonWidth(EButton button) {
  return button == Apply ? kApplyWidth : button >= Defaults ? kWideButton : kCommandWidth;
}

// The value lines stand above their sliders; the environment group's second line stands above
// the preview of the table background.
std::vector<int> TOptionsControls::LabelTops(EGroup group) {
  std::vector<int> tops;
  switch (group) {
    case Pieces: tops = {RotationSlider, SlideSlider, ScoreSlider}; break;
    case Screen: tops = {FpsSlider, ResolutionSlider, RefreshSlider}; break;
    case Environment: tops = {ThemeSlider, BackgroundSlider, LanguageSlider}; break;
    case Controls: tops = {AnimationSlider, HintResponseSlider, HintSlider}; break;
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
  int right = FMain->RightBandX() - 10;
  for (EButton b : {Close, Optimal, Safe}) {
    FButtons[b]->SetBounds(right - kCommandWidth, top, kCommandWidth, FButtons[b]->FHeight);
    right -= kCommandWidth + 10;
  }
  PlaceGroups();
  PlaceGroupContents();
  PlaceConfirmation(screenWidth, screenHeight);
}

void TOptionsControls::PlaceGroups() {
  const int clientLeft = FMain->FLeft + FMain->FInsetLeft, clientTop = FMain->FTop + FMain->FInsetTop;
  int x = clientLeft + kGap;
  for (const std::vector<G>& column : kColumns) {
    int y = clientTop + kGap, width = 0;
    for (const G g : column) {
      TDXWindow& w = *FGroups[g];
      (void)w.SetClientSize(kGroups[g].Width, kGroups[g].Height);
      w.SetLeft(x);
      w.SetTop(y);
      y += w.FHeight + kGap;
      width = std::max(width, w.FWidth);
    }
    x += width + kGap;
  }
  TDXWindow& keys = *FGroups[HotKeys];
  const int bottom = FButtons[Ok]->FTop - kGap;
  keys.SetBounds(x, clientTop + kGap, clientLeft + FMain->ClientWidth() - kGap - x, bottom - clientTop - kGap);
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
    const int width = kChecks[c].Width != 0 ? kChecks[c].Width : g.FWidth - 2 * left;
    FChecks[c]->SetBounds(g.FLeft + left, g.FTop + g.TitleHeight() + kChecks[c].Top, width, kCheckHeight);
  }
  const TDXWindow& screen = *FGroups[Screen];
  FButtons[Apply]->SetBounds(screen.FLeft + 120, screen.FTop + screen.TitleHeight() + 162, kApplyWidth, FButtons[Apply]->FHeight);
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

// ---- Caption fonts -------------------------------------------------------------------------------

// The boxes of a group keep one look, that of the longest caption.
void TOptionsControls::FitCheckCaptions() {
  TMyDib probe(1, 1, 32);
  TCanvas canvas(probe);
  std::array<TFontChoice, GroupCount> looks;
  looks.fill({CurrentTheme().FontName, CurrentTheme().FontSize, 0, true});
  for (int c = 0; c < CheckCount; ++c) {
    const std::string caption = FChecks[c]->GetCaption();
    const int room = FChecks[c]->FWidth - kCheckHeight - 12;  // the caption starts 3 pixels right of the box; bold runs wider
    // Bold as long as it stays large enough to read, then plain.
    canvas.Font = {CurrentTheme().FontName, CurrentTheme().FontSize, 0, true};
    (void)FitText(canvas, caption, room, CurrentTheme().FontSize);
    if (canvas.Font.Size < kSmallestBold || canvas.TextWidth(caption) > room) {
      canvas.Font.Bold = false;
      (void)FitText(canvas, caption, room, CurrentTheme().FontSize);
    }
    TFontChoice& look = looks[kChecks[c].Group];
    look.Size = std::min(look.Size, canvas.Font.Size);
    look.Bold = look.Bold && canvas.Font.Bold;
  }
  for (int c = 0; c < CheckCount; ++c) {
    FChecks[c]->FFontSize = looks[kChecks[c].Group].Size;
    FChecks[c]->FBold = looks[kChecks[c].Group].Bold;
  }
}

}  // namespace qj
