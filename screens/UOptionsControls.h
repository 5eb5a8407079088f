// The options screen's controls by name, what each one is and where it goes: two pages of groups
// in columns inside a centred main window (the everyday settings; the hot keys beside the settings
// only an expert needs), and the display-mode question in the middle of the screen.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/UMiscelaneous.h"
#include "core/UTextIds.h"
#include "platform/Geometry.h"

namespace qj {

class TDXButton;
class TDXCheckBox;
class TDXHScrollBar;
class TDXHint;
class TDXWindow;

struct TOptionsControls {
  enum EButton : uint8_t { Ok, Reload, Safe, Optimal, Close, Apply, Defaults, Keep, Revert, Page, ButtonCount };
  enum EGroup : uint8_t {
    Controls, Pieces, Table, Screen, Sound, Environment, Selection, Advanced, HotKeys, Confirm, GroupCount
  };
  // The everyday settings, and the hot keys with the settings only an expert needs.
  enum EPage : uint8_t { MainPage, MorePage, PageCount };
  enum ESlider : uint8_t {
    AnimationSlider, HintResponseSlider, HintSlider, CubeSlider, RotationSlider, SlideSlider, ScoreSlider,
    ZoomSlider, StickSlider, ScatterSlider, FpsSlider, ResolutionSlider, RefreshSlider, SoundSlider,
    MusicSlider, ThemeSlider, BackgroundSlider, LanguageSlider, AutosaveSlider, SliderCount
  };
  enum ECheck : uint8_t {
    HintDecreasesBox, CubesBox, SmoothBox, BlankBox, NoWaitBox, FullScreenBox, ClockwiseBox, ReverseMouseBox,
    StarsBox, AutoHideMenuBox, AutoHideScrollBox, DragBox, ClickBox, EitherBox, SpreadBox, ProgressBox,
    CheckCount
  };
  static constexpr int kMainWidth = 780, kMainHeight = 490;
  static constexpr int kSliderHeight = 25;  // the theme's arrows decide; this is the least asked for
  static constexpr int kCheckHeight = 20;

  struct TGroupEntry {
    ETextId Title;
    int Width, Height;  // of the client area; 0: the rest of the page's width or height
    EPage On = MainPage;
  };
  struct TSliderEntry {
    EGroup Group;
    int Top;  // under the title band
    int Min, Max;
    int TOptions::*Setting = nullptr;  // the setting it shows and writes; null: its handler decides
  };
  struct TCheckEntry {
    EGroup Group;
    int Top;
    ETextId Caption;  // the cube box adds the name of the cube type
    int Width = 0;        // 0: the group's width less the margins; below 0: that much less
  };
  static const TGroupEntry& Entry(EGroup group);
  static const TSliderEntry& Entry(ESlider slider);
  static const TCheckEntry& Entry(ECheck box);
  static int ButtonWidth(EButton button);
  // The page a control of the group stands on; the confirmation stands over both.
  static EPage PageOf(EGroup group) { return Entry(group).On; }
  // What a check box or slider changes, for its hint.
  static ETextId HintOf(ECheck box) { return Text::OptionsCheckHints + int(box); }
  static ETextId HintOf(ESlider slider) {
    return slider == AutosaveSlider ? Text::AutosaveSliderHint : Text::OptionsSliderHints + int(slider);
  }
  // Where a group's value lines stand, under its title band, top to bottom.
  static std::vector<int> LabelTops(EGroup group);

  // Every control in its place on a screen of the given size.
  void Place(int screenWidth, int screenHeight);
  // Shows the controls of one page and hides the other's, hints included.
  void ShowPage(EPage page);
  // The environment group's preview of the table background, in the group's coordinates.
  TRect HoleRect() const;

  TDXWindow* FMain = nullptr;
  std::array<TDXWindow*, GroupCount> FGroups{};
  std::array<TDXButton*, ButtonCount> FButtons{};
  std::array<TDXHScrollBar*, SliderCount> FSliders{};
  std::array<TDXCheckBox*, CheckCount> FChecks{};
  std::array<TDXHint*, SliderCount> FSliderHints{};  // over the slider and its value line
  EPage FPage = MainPage;

 private:
  void PlaceGroups();
  void PlaceGroupContents();
  void PlaceConfirmation(int screenWidth, int screenHeight);
};

}  // namespace qj
