// Index: layout tables; entering and leaving; building; layout; loading values; control
// handlers; theme, language and background; display mode; presets and command buttons; hot
// keys; painting; input.
#include "screens/UOptionsInterface.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "controls/UControlImages.h"
#include "controls/UHints.h"
#include "core/UFrameTimer.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Help.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"

namespace qj {
namespace {

// ---- Layout tables --------------------------------------------------------------------------------

constexpr int kMainWidth = 780, kMainHeight = 450;
constexpr int kGap = 4;              // between the groups and the main window's client edge
constexpr int kCommandWidth = 110;   // OK, reload, safe, optimal, close
constexpr int kCommandRaise = 40;    // above the main window's bottom band
constexpr int kApplyWidth = 90, kWideButton = 120;
constexpr int kSliderHeight = 25;    // the theme's arrows decide; this is the least asked for
constexpr int kLabelAbove = 15;      // a value line stands this far above its slider
constexpr int kCheckHeight = 20;
constexpr int kLabelLeft = 20, kControlLeft = 12;
constexpr int kRowTop = 8, kRowHeight = 19;  // hot-key rows under the title band, leaving room for a note
constexpr int kListBottomMargin = 58;        // below the list: the conflict note and Defaults
constexpr int kHelpTopic = 9;
constexpr int kSmallestFont = 7;
constexpr int kSmallestBold = 9;
constexpr int kSmallestListFont = 8;
constexpr int kWarningNoteLine = 230;
constexpr int kCancelNoteLine = 231;
constexpr int kNoteGap = 6;  // between the note under the hot-key list and the defaults button
const TPixel kWarning = MakePixel(235, 45, 45);
const TPixel kHoleOuter = MakePixel(109, 109, 167), kHoleInner = MakePixel(189, 189, 247);

struct TGroupSpec {
  int TitleLine;
  int Width, Height;  // of the client area; the hot keys take what the others leave
};
constexpr TGroupSpec kGroups[TOptionsInterface::GroupCount] = {
    {96, 210, 116}, {91, 160, 140}, {101, 180, 155}, {98, 210, 190}, {99, 180, 64},
    {100, 160, 170}, {102, 180, 62}, {111, 0, 0},    {106, 340, 120},
};
// Columns of groups from the left; the hot keys fill the rest of the width.
using G = TOptionsInterface::EGroup;
const std::vector<std::vector<G>> kColumns = {{G::Controls, G::Screen}, {G::Pieces, G::Environment},
                                              {G::Table, G::Selection, G::Sound}};

struct TSliderSpec {
  G Group;
  int Top;  // under the title band
  int Min, Max;
  int TOptions::*Setting = nullptr;  // the setting it shows and writes; null: its handler decides
};
constexpr TSliderSpec kSliders[TOptionsInterface::SliderCount] = {
    {G::Controls, 15, 10, 500, &TOptions::AnimationMs},  {G::Controls, 47, 10, 1500, &TOptions::HintResponseMs},
    {G::Controls, 79, 10, 5000, &TOptions::HintMs},      {G::Pieces, 22, 0, 2, &TOptions::CubeType},
    {G::Pieces, 56, 1, 90},                              {G::Pieces, 90, 1, 20, &TOptions::PieceSlideSpeed},
    {G::Pieces, 124, 1, 100, &TOptions::ScoreUpdate},    {G::Table, 15, 0, 15, &TOptions::LoupeZoom},
    {G::Table, 47, 0, 15, &TOptions::StickRange},        {G::Table, 79, 10, 50, &TOptions::ScatterRange},
    {G::Screen, 75, 50, 250, &TOptions::MaxFPS},         {G::Screen, 110, 0, 6},
    {G::Screen, 145, 0, 0},                              {G::Sound, 15, 0, 100, &TOptions::Sound},
    {G::Sound, 47, 0, 100, &TOptions::Music},            {G::Environment, 57, 0, 0},
    {G::Environment, 122, 0, 0},                         {G::Environment, 153, 0, 0},
};
// Where the environment group's preview of the table background lies, under the title band.
constexpr int kHoleTop = 95, kHoleBottom = 117;

struct TCheckSpec {
  G Group;
  int Top;
  const char* Caption;  // text keys; the cube box makes its own
  int Width = 0;        // 0: the group's width less the margins
};
constexpr TCheckSpec kChecks[TOptionsInterface::CheckCount] = {
    {G::Controls, 96, "$97"},   {G::Pieces, 0, ""},        {G::Screen, 0, "$90"},     {G::Screen, 19, "$89"},
    {G::Screen, 38, "$88"},     {G::Screen, 164, "$87", 104},  {G::Table, 97, "$80"},  {G::Table, 116, "$81"},
    {G::Table, 135, "$82"},     {G::Environment, 0, "$83"},    {G::Environment, 20, "$84"},
    {G::Selection, 1, "$103"},  {G::Selection, 20, "$104"},    {G::Selection, 39, "$105"},
};
// PieceSelectType of the three selection boxes.
constexpr int kSelectTypes[3] = {1, 2, 0};
constexpr double kZoom[16] = {1, 1.25, 1.5, 1.75, 2, 2.25, 2.5, 2.75, 3, 3.5, 4, 4.5, 5, 6, 7, 8};

bool OneKeyRow(int row) { return row <= 2 || row == 13; }

bool ModifierOnly(uint16_t key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || (key >= 160 && key <= 165);
}

std::string Number(int n) { return std::to_string(n); }

void SetShown(TDXControl* control, bool shown) {
  if (TMySprite* s = control ? control->FSprite.Get() : nullptr) s->Visible = shown;
}

void Outline(TCanvas& canvas, const TRect& r, TPixel colour) {
  canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1}, colour);
  canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, colour);
  canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, colour);
  canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, colour);
}

// The text with as much of `head` as leaves room for "..." and the tail within width.
std::string Shorten(TCanvas& canvas, std::string head, const std::string& tail, int width) {
  if (canvas.TextWidth(head + tail) <= width) return head + tail;
  while (!head.empty() && canvas.TextWidth(head + "..." + tail) > width) {
    head.pop_back();
    while (!head.empty() && (uint8_t(head.back()) & 0xC0) == 0x80) head.pop_back();  // a whole UTF-8 character
  }
  return head + "..." + tail;
}

// The words of `text` in lines no wider than `width` (a single longer word gets a line of its own).
std::vector<std::string> WrapWords(TCanvas& canvas, const std::string& text, int width) {
  std::vector<std::string> lines;
  std::string line, word;
  std::istringstream words(text);
  while (words >> word) {
    if (!line.empty() && canvas.TextWidth(line + " " + word) > width) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Shrinks the canvas's font from `size` until the text fits, down to the smallest readable size;
// beyond that the text is shortened.
std::string FitText(TCanvas& canvas, const std::string& text, int width, int size) {
  canvas.Font.Size = size;
  while (canvas.Font.Size > kSmallestFont && canvas.TextWidth(text) > width) --canvas.Font.Size;
  return Shorten(canvas, text, "", width);
}

TFontSpec LabelFont(int size) {
  const TTheme& theme = CurrentTheme();
  return {theme.FontName, size, theme.SayColor.ToPixel(), false};
}

}  // namespace

// ---- Entering and leaving ----------------------------------------------------------------------

void TOptionsInterface::Enter() {
  TInterface::Enter();
  if (TMySprite* table = FEngine->Background(); table && !table->Surfaces.empty()) {
    FEngine->FScrollX = std::clamp(FEngine->FScrollX, 0, std::max(0, table->Surfaces[0]->Width() - FEngine->FWidth));
    FEngine->FScrollY = std::clamp(FEngine->FScrollY, 0, std::max(0, table->Surfaces[0]->Height() - FEngine->FHeight));
    table->Visible = true;  // the preview hole shows it
  }
  FCountdown = -1;
  FCapturing = FRowHighlighted = FRowClicked = FSecondKey = false;
  BuildWindows();
  BuildButtons();
  BuildSliders();
  BuildChecks();
  Options.FullScreen = FEngine->Display().FullScreenOption();
  LoadValues();
  Place();
  ShowConfirmation(false);
  FReady = true;
  FEngine->OnDisplayChange = [this] {
    if (FSwitching || FDone || FCountdown >= 0) return;
    LoadDisplayControls(Options.DisplayResolution, Options.DisplayRefresh, FEngine->Display().FullScreenOption());
  };
  RepaintAll();
}

// Leaving in any way while a new mode waits for Keep takes the stored mode back; closing the
// program over a paused game saves that game first.
void TOptionsInterface::Leave() {
  if (FDone) return;
  FReady = false;
  if (FCountdown >= 0) {
    FCountdown = -1;
    SwitchToStoredMode();
  }
  if (FResult == OptionsResult::ToGame && OnLeaveToGame) OnLeaveToGame();
  FEngine->OnDisplayChange = nullptr;
  FMain = nullptr;
  FGroups.fill(nullptr);
  FButtons.fill(nullptr);
  FSliders.fill(nullptr);
  FChecks.fill(nullptr);
  FLanguageFiles.clear();
  FCapturing = false;
  TInterface::Leave();
}

// ---- Building ------------------------------------------------------------------------------------

void TOptionsInterface::BuildWindows() {
  FMain = &AddOwnedControl<TDXWindow>();
  FMain->Setup("$53", 0, 0, kMainWidth, kMainHeight, {.Style = 0, .Movable = false, .Activatable = false},
               [this](TDXControl*) { PaintMainHole(); });
  for (int g = 0; g < GroupCount; ++g) {
    const auto group = EGroup(g);
    TDXWindow& w = AddOwnedControl<TDXWindow>(group == Confirm ? EControlLayer::Overlay : EControlLayer::Content);
    w.Setup("$" + Number(kGroups[g].TitleLine), 0, 0, 100, 100, {.Style = 1, .Movable = false, .Activatable = false},
            [this, group](TDXControl*) { PaintGroup(group); });
    FGroups[g] = &w;
  }
}

TDXButton& TOptionsInterface::NewButton(EButton which, int captionLine, int hintLine, bool hintRight, EControlLayer layer) {
  TDXButton& button = AddOwnedControl<TDXButton>(layer);
  const int width = which == Apply ? kApplyWidth : which >= Defaults ? kWideButton : kCommandWidth;
  button.SetButton("$" + Number(captionLine), 0, 0, width, button.FHeight, 0);
  (hintRight ? button.FHintText2 : button.FHintText) = "$" + Number(hintLine);
  FButtons[which] = &button;
  return button;
}

// Every button acts once its press has been shown.
void TOptionsInterface::BuildButtons() {
  const auto on = [this](void (TOptionsInterface::*action)()) {
    return [this, action](TDXControl*) {
      if (!FDone) (this->*action)();
    };
  };
  const auto preset = [this](const std::string& file, bool hotkeys, bool keepLook) {
    return [this, file, hotkeys, keepLook](TDXControl*) {
      if (!FDone) LoadPreset(file, hotkeys, keepLook);
    };
  };
  const auto content = EControlLayer::Content;
  NewButton(Ok, 52, 41, true, content).OnPressed = on(&TOptionsInterface::PressOk);
  NewButton(Reload, 51, 42, true, content).OnPressed = preset(SettingsPath("Jigsaw.stg"), true, false);
  NewButton(Safe, 47, 46, false, content).OnPressed = preset(DataPath("Text/Safe.stg"), true, false);
  NewButton(Optimal, 48, 45, false, content).OnPressed = preset(DataPath("Text/Optimal.stg"), false, true);
  NewButton(Close, 49, 44, false, content).OnPressed = on(&TOptionsInterface::PressClose);
  NewButton(Apply, 86, 85, true, content).OnPressed = on(&TOptionsInterface::PressApply);
  NewButton(Defaults, 112, 113, false, content).OnPressed = on(&TOptionsInterface::PressDefaults);
  NewButton(Keep, 107, 108, false, EControlLayer::Overlay).OnPressed = on(&TOptionsInterface::PressKeep);
  NewButton(Revert, 109, 110, false, EControlLayer::Overlay).OnPressed = on(&TOptionsInterface::RevertDisplay);
}

// The theme and the table background are taken when a drag ends: loading them at every step of
// a drag would stall it.
void TOptionsInterface::BuildSliders() {
  for (int s = 0; s < SliderCount; ++s) {
    const auto slider = ESlider(s);
    TDXHScrollBar& bar = AddOwnedControl<TDXHScrollBar>();
    bar.Setup(0, 0, 100, kSliderHeight, kSliders[s].Min, kSliders[s].Max, kSliders[s].Min, ScrollBarStyle::Small,
              [this, slider](TDXControl*) { SliderChanged(slider); });
    FSliders[s] = &bar;
  }
  FSliders[ThemeSlider]->OnChanged = [this](TDXControl*) { ThemeChanged(); };
  FSliders[BackgroundSlider]->OnChanged = [this](TDXControl*) { BackgroundChanged(); };
}

void TOptionsInterface::BuildChecks() {
  for (int c = 0; c < CheckCount; ++c) {
    const auto box = ECheck(c);
    TDXCheckBox& check = AddOwnedControl<TDXCheckBox>();
    check.Setup(kChecks[c].Caption, 0, 0, 100, kCheckHeight, 0, true, false, [this, box](TDXControl*) { CheckClicked(box); });
    FChecks[c] = &check;
  }
}

// ---- Layout --------------------------------------------------------------------------------------

// The main window is centred; the groups follow from its client area.
void TOptionsInterface::Place() {
  FMain->SetBounds(std::max(0, (FEngine->FWidth - kMainWidth) / 2), std::max(0, (FEngine->FHeight - kMainHeight) / 2),
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
  PlaceConfirmation();
}

void TOptionsInterface::PlaceGroups() {
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

void TOptionsInterface::PlaceGroupContents() {
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

void TOptionsInterface::PlaceConfirmation() {
  TDXWindow& w = *FGroups[Confirm];
  (void)w.SetClientSize(kGroups[Confirm].Width, kGroups[Confirm].Height);
  w.SetLeft((FEngine->FWidth - w.FWidth) / 2);
  w.SetTop((FEngine->FHeight - w.FHeight) / 2);
  const int top = w.FTop + w.FHeight - FButtons[Keep]->FHeight - 12;
  FButtons[Keep]->SetBounds(w.FLeft + 20, top, kWideButton, FButtons[Keep]->FHeight);
  FButtons[Revert]->SetBounds(w.FLeft + w.FWidth - 20 - kWideButton, top, kWideButton, FButtons[Revert]->FHeight);
}

// Long captions (German ones above all) take a smaller font rather than run out of their group;
// the boxes of a group keep one look, that of the longest.
void TOptionsInterface::FitCheckCaptions() {
  TMyDib probe(1, 1, 32);
  TCanvas canvas(probe);
  std::array<TFontSpec, GroupCount> looks;
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
    TFontSpec& look = looks[kChecks[c].Group];
    look.Size = std::min(look.Size, canvas.Font.Size);
    look.Bold = look.Bold && canvas.Font.Bold;
  }
  for (int c = 0; c < CheckCount; ++c) {
    FChecks[c]->FFontSize = looks[kChecks[c].Group].Size;
    FChecks[c]->FBold = looks[kChecks[c].Group].Bold;
  }
}

void TOptionsInterface::RepaintAll() {
  FitCheckCaptions();
  RestoreControls();
  for (TDXWindow* w : FGroups) w->Paint();
  FMain->Paint();
}

void TOptionsInterface::Resize() {
  if (FDone) return;
  Place();
  RepaintAll();
}

void TOptionsInterface::Restore() {
  if (FDone) return;
  RestoreControls();
  Place();
}

// ---- Loading values ------------------------------------------------------------------------------

// The handlers are quiet meanwhile: the settings are being read, not changed.
void TOptionsInterface::LoadValues() {
  const TFlagScope quiet(FReady, false);
  for (int s = 0; s < SliderCount; ++s)
    if (kSliders[s].Setting) FSliders[s]->SetPosition(Options.*kSliders[s].Setting);
  FSliders[RotationSlider]->SetPosition(Options.RotationIncrement);
  const std::pair<ECheck, bool> checks[] = {
      {HintDecreasesBox, Options.HintDecreases}, {CubesBox, Options.DisplayCubes},
      {ClockwiseBox, Options.RotateClockwise},   {ReverseMouseBox, Options.ReverseMouse},
      {StarsBox, Options.ShowStars},             {AutoHideMenuBox, Options.AutoHideMenu},
      {AutoHideScrollBox, Options.AutoHideScroll},
  };
  for (const auto& [box, value] : checks) FChecks[box]->SetChecked(value);
  FChecks[CubesBox]->SetCaption("$92 " + Lower(CubeTypeNames[size_t(std::clamp(Options.CubeType, 0, 2))]));
  SetRadio(SmoothBox, Options.VBI);
  SetRadio(DragBox, int(std::find(std::begin(kSelectTypes), std::end(kSelectTypes), Options.PieceSelectType) - kSelectTypes));
  LoadDisplayControls(Options.DisplayResolution, Options.DisplayRefresh, Options.FullScreen);
  FSliders[ThemeSlider]->SetMax(std::max(0, int(Themes.size()) - 1));
  FSliders[ThemeSlider]->SetPosition(Options.Environment);
  FSliders[BackgroundSlider]->SetMax(std::max(0, int(BackgroundFiles.size()) - 1));
  FSliders[BackgroundSlider]->SetPosition(Options.Background);
  FLanguageFiles = ListFiles(DataPath("Text"), "*.lang");
  FSliders[LanguageSlider]->SetMax(std::max(0, int(FLanguageFiles.size()) - 1));
  for (size_t i = 0; i < FLanguageFiles.size(); ++i)
    if (SameName(FLanguageFiles[i], Options.LanguageFile)) FSliders[LanguageSlider]->SetPosition(int(i));
}

void TOptionsInterface::LoadDisplayControls(int resolution, int refresh, bool fullScreen) {
  const TFlagScope quiet(FReady, false);
  FSliders[ResolutionSlider]->SetPosition(resolution);
  BuildRefreshRates(FSliders[ResolutionSlider]->FPosition);
  FSliders[RefreshSlider]->SetMax(int(RefreshRates.size()) - 1);
  FSliders[RefreshSlider]->SetPosition(refresh);
  FChecks[FullScreenBox]->SetChecked(fullScreen);
  FGroups[Screen]->Paint();
}

// One of three boxes: a click on the checked one leaves it checked.
void TOptionsInterface::SetRadio(ECheck first, int chosen) {
  for (int i = 0; i < 3; ++i) FChecks[first + i]->SetChecked(i == chosen);
}

void TOptionsInterface::CubeCaption() {
  FChecks[CubesBox]->SetCaption("$114 " + Lower(CubeTypeNames[size_t(std::clamp(Options.CubeType, 0, 2))]));
  FChecks[CubesBox]->Paint();
}

// ---- Control handlers ------------------------------------------------------------------------------

void TOptionsInterface::SliderChanged(ESlider slider) {
  if (!FReady) return;
  const int value = FSliders[slider]->FPosition;
  if (kSliders[slider].Setting) Options.*kSliders[slider].Setting = value;
  switch (slider) {
    case CubeSlider: CubeCaption(); break;
    case RotationSlider: Options.RotationIncrement = uint8_t(value); break;
    case FpsSlider: SetFrameInterval(); break;
    case ResolutionSlider: LoadDisplayControls(value, FSliders[RefreshSlider]->FPosition, true); break;
    case RefreshSlider: FChecks[FullScreenBox]->SetChecked(true); break;
    case SoundSlider: SetSoundVolume(value); break;
    case MusicSlider: SetMusicVolume(value); break;
    case LanguageSlider: LanguageChanged(); break;
    default: break;  // the setting alone, or taken when a drag ends
  }
  FGroups[kSliders[slider].Group]->Paint();
}

void TOptionsInterface::CheckClicked(ECheck box) {
  if (!FReady) return;
  const bool on = FChecks[box]->FChecked;
  switch (box) {
    case HintDecreasesBox: Options.HintDecreases = on; break;
    case CubesBox: Options.DisplayCubes = on; break;
    case SmoothBox:
    case BlankBox:
    case NoWaitBox:
      Options.VBI = box - SmoothBox;
      SetRadio(SmoothBox, Options.VBI);
      break;
    case ClockwiseBox: Options.RotateClockwise = on; break;
    case ReverseMouseBox: Options.ReverseMouse = on; break;
    case StarsBox: Options.ShowStars = on; break;
    case AutoHideMenuBox: Options.AutoHideMenu = on; break;
    case AutoHideScrollBox: Options.AutoHideScroll = on; break;
    case DragBox:
    case ClickBox:
    case EitherBox:
      Options.PieceSelectType = kSelectTypes[box - DragBox];
      SetRadio(DragBox, box - DragBox);
      break;
    case FullScreenBox:  // taken by Apply
    case CheckCount: break;
  }
  FGroups[kChecks[box].Group]->Paint();
}

void TOptionsInterface::SetFrameInterval() {
  if (OnFrameInterval) OnFrameInterval(FrameIntervalFor(Options.MaxFPS));
}

// ---- Theme, language and background ----------------------------------------------------------

// Every control takes the new language at once: captions and hints are text keys.
void TOptionsInterface::LanguageChanged() {
  const size_t index = size_t(FSliders[LanguageSlider]->FPosition);
  if (index >= FLanguageFiles.size()) return;
  UseLanguage(FLanguageFiles[index]);
}

void TOptionsInterface::UseLanguage(const std::string& file) {
  const std::string old = Options.LanguageFile;
  Options.LanguageFile = file;
  if (!LoadLanguage()) {
    const std::string failed = DataPath("Text/" + file);
    Options.LanguageFile = old;
    if (!LoadLanguage()) LogError("the language file %s is gone as well", old.c_str());
    Message(Lang(132), "cannot read the language file " + failed);
  }
  CubeCaption();
  RepaintAll();
}

void TOptionsInterface::ThemeChanged() {
  if (!FReady || FSliders[ThemeSlider]->FPosition == Options.Environment) return;
  if (!UseTheme(FSliders[ThemeSlider]->FPosition)) {
    const TFlagScope quiet(FReady, false);
    FSliders[ThemeSlider]->SetPosition(Options.Environment);
  }
  FGroups[Environment]->Paint();
}

// A theme whose files are incomplete is refused before anything changes, with the file it lacks.
bool TOptionsInterface::UseTheme(int theme) {
  std::string error;
  if (!ThemeComplete(theme, error)) {
    const std::string name = theme >= 0 && size_t(theme) < Themes.size() ? Themes[size_t(theme)].Name : Number(theme);
    Message(Lang(130), "The theme \"" + name + "\" cannot be used: " + error);
    return false;
  }
  Options.Environment = theme;
  ReloadTheme();
  return true;
}

bool TOptionsInterface::ThemeComplete(int theme, std::string& error) const {
  if (theme < 0 || size_t(theme) >= Themes.size()) {
    error = "there is no theme number " + Number(theme);
    return false;
  }
  const int current = Options.Environment;
  Options.Environment = theme;
  TControlImages images;
  bool complete = false;
  try {
    complete = LoadControlImages(images, error);
  } catch (const std::exception& e) {
    error = e.what();
  }
  Options.Environment = current;
  return complete;
}

// Every control of every screen takes the theme's images; the frames' sizes may differ, so the
// screen is laid out again.
void TOptionsInterface::ReloadTheme() {
  IDisplay& display = FEngine->Display();
  display.SetCursor(TCursorKind::Hourglass);
  if (OnAppearanceChanged) OnAppearanceChanged();
  Place();
  RepaintAll();
  display.SetCursor(TCursorKind::Arrow);
}

void TOptionsInterface::BackgroundChanged() {
  if (!FReady || FSliders[BackgroundSlider]->FPosition == Options.Background) return;
  Options.Background = FSliders[BackgroundSlider]->FPosition;
  FEngine->LoadBackground();
  FGroups[Environment]->Paint();
}

// ---- Display mode --------------------------------------------------------------------------------

// The mode is tried at once and kept apart from the settings until the player confirms it.
void TOptionsInterface::PressApply() {
  if (FCountdown >= 0) return;
  TDisplaySetting mode = ParseDisplayMode(FSliders[ResolutionSlider]->FPosition);
  mode.Refresh = FSliders[RefreshSlider]->FPosition;
  mode.FullScreen = FChecks[FullScreenBox]->FChecked;
  const TDisplayMode wanted = FullScreenMode(mode.Resolution, mode.Refresh);
  {
    const TFlagScope switching(FSwitching, true);
    if (!FEngine->SetDisplayMode(wanted.Width, wanted.Height, mode.FullScreen, wanted.BitCount, wanted.Refresh)) return;
  }
  FPending = mode;
  FCountdown = kCountdownSeconds;
  FCountdownTick = GetTickCount();
  AfterDisplaySwitch();
  ShowConfirmation(true);
}

void TOptionsInterface::PressKeep() {
  Options.DisplayResolution = FPending.Resolution;
  Options.DisplayRefresh = FPending.Refresh;
  Options.FullScreen = FPending.FullScreen;
  FCountdown = -1;
  ShowConfirmation(false);
}

void TOptionsInterface::RevertDisplay() {
  FCountdown = -1;
  ShowConfirmation(false);
  SwitchToStoredMode();
  LoadDisplayControls(Options.DisplayResolution, Options.DisplayRefresh, Options.FullScreen);
  AfterDisplaySwitch();
}

// The stored mode again: within full screen a change of mode, between window and full screen a
// toggle. Already in it, nothing happens.
void TOptionsInterface::SwitchToStoredMode() {
  BuildRefreshRates(Options.DisplayResolution);
  const TDisplayMode stored = FullScreenMode(Options.DisplayResolution, Options.DisplayRefresh);
  const TFlagScope switching(FSwitching, true);
  if (FEngine->Display().FullScreenOption() != Options.FullScreen)
    (void)FEngine->ToggleFullScreen(stored);
  else if (Options.FullScreen)
    (void)FEngine->SetDisplayMode(stored.Width, stored.Height, true, stored.BitCount, stored.Refresh);
}

void TOptionsInterface::AfterDisplaySwitch() {
  FEngine->UpdateSurfaceSize();
  Place();
  RepaintAll();
}

bool TOptionsInterface::ConfirmShown() const {
  const TMySprite* s = FGroups[Confirm] ? FGroups[Confirm]->FSprite.Get() : nullptr;
  return s && s->Visible;
}

void TOptionsInterface::ShowConfirmation(bool shown) {
  for (TDXControl* c : {static_cast<TDXControl*>(FGroups[Confirm]), static_cast<TDXControl*>(FButtons[Keep]),
                        static_cast<TDXControl*>(FButtons[Revert])})
    SetShown(c, shown);
  for (EButton b : {Keep, Revert}) {
    FButtons[b]->FHint->FEnabled = shown;
    FButtons[b]->FHint2->FEnabled = shown;
    if (!shown) FButtons[b]->FHint->HideHint();
  }
  FGroups[Confirm]->Paint();
}

// Counted by the clock, not by frames: a window that was inactive or a display that showed
// nothing for a while still gets its old mode back in time.
void TOptionsInterface::Update() {
  TInterface::Update();
  if (FDone || FCountdown < 0) return;
  const uint32_t now = GetTickCount();
  while (FCountdown > 0 && now - FCountdownTick > 1000) {
    --FCountdown;
    FCountdownTick += 1000;
    FGroups[Confirm]->Paint();
  }
  if (FCountdown == 0) RevertDisplay();
}

// ---- Presets and command buttons ---------------------------------------------------------------

// A preset never forgets the last jigsaw; Optimal keeps the look the player chose and takes the
// best refresh rate of its resolution.
void TOptionsInterface::LoadPreset(const std::string& file, bool withHotkeys, bool keepLook) {
  const std::string lastJigsaw = Options.LastJigsaw, language = Options.LanguageFile;
  const int theme = Options.Environment, background = Options.Background;
  LoadSettings(file, !withHotkeys);
  Options.LastJigsaw = lastJigsaw;
  if (keepLook) {
    Options.Environment = theme;
    Options.Background = background;
    Options.LanguageFile = language;
    BuildRefreshRates(Options.DisplayResolution);
    Options.DisplayRefresh = int(RefreshRates.size()) - 1;
  }
  ApplyLook(theme, background, language);
  SwitchToStoredMode();
  SetFrameInterval();
  LoadValues();
  AfterDisplaySwitch();
}

// What a settings file changed of the look is put in force; a theme it names that cannot be
// used leaves the old one.
void TOptionsInterface::ApplyLook(int oldTheme, int oldBackground, const std::string& oldLanguage) {
  const int theme = Options.Environment;
  const std::string language = Options.LanguageFile;
  Options.Environment = oldTheme;
  Options.LanguageFile = oldLanguage;
  if (theme != oldTheme) (void)UseTheme(theme);
  if (language != oldLanguage) UseLanguage(language);
  if (Options.Background != oldBackground) FEngine->LoadBackground();
}

// The hot keys come back; the language stays the player's.
void TOptionsInterface::PressDefaults() {
  const std::string language = Options.LanguageFile;
  LoadDefaultHotkeys();
  Options.LanguageFile = language;
  FCapturing = FSecondKey = false;
  FGroups[HotKeys]->Paint();
}

void TOptionsInterface::PressOk() {
  Finish(FResult == OptionsResult::ToGame ? OptionsResult::ToGame : OptionsResult::ToMainMenu);
}

void TOptionsInterface::PressClose() {
  FCountdown = -1;
  SwitchToStoredMode();
  PressOk();
}

// ---- Hot keys ------------------------------------------------------------------------------------

std::string TOptionsInterface::HotKeyRowText(int row) const {
  const auto [name, keys] = HotKeyRowParts(row);
  return name + keys;
}

// The row's name and its keys (" (F12)"); while the row awaits a key, the prompt alone.
std::pair<std::string, std::string> TOptionsInterface::HotKeyRowParts(int row) const {
  if (row < 0 || row >= kHotKeyRows) return {};
  if (FCapturing && row == FHotKeyRow) return {Lang(OneKeyRow(row) ? 38 : FSecondKey ? 40 : 39), ""};
  std::string keys = HotKeyText(Options.Hotkeys[size_t(2 * row)]);
  if (!OneKeyRow(row)) keys += "," + HotKeyText(Options.Hotkeys[size_t(2 * row + 1)]);
  return {Lang(24 + row), " (" + keys + ")"};
}

bool TOptionsInterface::RowConflicts(int row) const {
  const auto keysOf = [](int r) {
    std::vector<THotKey> keys = {Options.Hotkeys[size_t(2 * r)]};
    if (!OneKeyRow(r)) keys.push_back(Options.Hotkeys[size_t(2 * r + 1)]);
    std::erase_if(keys, [](const THotKey& k) { return k.Key == 0; });
    return keys;
  };
  const std::vector<THotKey> mine = keysOf(row);
  for (int other = 0; other < kHotKeyRows; ++other) {
    if (other == row) continue;
    for (const THotKey& k : keysOf(other))
      if (std::find(mine.begin(), mine.end(), k) != mine.end()) return true;
  }
  return false;
}

// The list's row under the point, or -1.
int TOptionsInterface::RowAt(int x, int y) const {
  const TDXWindow* w = FGroups[HotKeys];
  if (!w || x < w->FLeft || x >= w->FLeft + w->FWidth) return -1;
  const int listTop = w->FTop + w->TitleHeight() + kRowTop;
  if (y < listTop || y >= w->FTop + w->FHeight - kListBottomMargin) return -1;
  const int row = (y - listTop) / kRowHeight;
  return row < kHotKeyRows ? row : -1;
}

void TOptionsInterface::StartCapture(int row) {
  if (FDone || row < 0 || row >= kHotKeyRows) return;
  FHotKeyRow = row;
  FRowHighlighted = true;
  FCapturing = true;
  FSecondKey = false;
  FCaptureOld = {Options.Hotkeys[size_t(2 * row)], Options.Hotkeys[size_t(2 * row + 1)]};
  FGroups[HotKeys]->Paint();
}

void TOptionsInterface::EndCapture() {
  FCapturing = FSecondKey = false;
  FGroups[HotKeys]->Paint();
}

// Escape gives the row its old keys back; Shift, Ctrl and Alt alone wait for the key they go with.
void TOptionsInterface::CaptureKey(uint16_t key, int shift) {
  const size_t entry = size_t(2 * FHotKeyRow);
  if (key == VK_ESCAPE) {
    Options.Hotkeys[entry] = FCaptureOld.first;
    Options.Hotkeys[entry + 1] = FCaptureOld.second;
    EndCapture();
    return;
  }
  if (ModifierOnly(key)) return;
  Options.Hotkeys[entry + (FSecondKey ? 1 : 0)] = THotKey{key, shift & (ssShift | ssAlt | ssCtrl)};
  if (FSecondKey || OneKeyRow(FHotKeyRow)) {
    EndCapture();
    return;
  }
  FSecondKey = true;
  FGroups[HotKeys]->Paint();
}

// ---- Painting ------------------------------------------------------------------------------------

std::vector<std::string> TOptionsInterface::GroupLabels(EGroup group) const {
  const auto at = [this](ESlider s) { return FSliders[s] ? FSliders[s]->FPosition : 0; };
  const auto ms = [&](int line, ESlider s) { return Lang(line) + " (" + Number(at(s)) + Lang(118) + ")"; };
  const auto percent = [&](int line, int offLine, ESlider s) {
    return at(s) == 0 ? Lang(offLine) : Lang(line) + " (" + Number(at(s)) + "%)";
  };
  switch (group) {
    case Controls: return {ms(115, AnimationSlider), ms(116, HintResponseSlider), ms(117, HintSlider)};
    case Table:
      return {Lang(119) + " (" + Number(int(std::lround(kZoom[std::clamp(at(ZoomSlider), 0, 15)] * 100))) + "%)",
              Lang(120) + " (" + Number(at(StickSlider)) + ")", Lang(121) + " (" + Number(at(ScatterSlider)) + ")"};
    case Pieces:
      return {at(RotationSlider) == kSliders[RotationSlider].Max ? Lang(123) : Lang(122) + " (" + Number(at(RotationSlider)) + ")",
              Lang(124) + " (" + Number(at(SlideSlider)) + ")", Lang(193) + " " + Number(at(ScoreSlider)) + "%"};
    case Screen: {
      const size_t refresh = size_t(at(RefreshSlider));
      std::string rate = Lang(128);
      if (refresh < RefreshRates.size())
        rate += RefreshRates[refresh] != 0 ? " (" + Number(int(RefreshRates[refresh])) + Lang(129) + ")" : " " + Lang(208);
      return {at(FpsSlider) == 250 ? Lang(126) : Lang(125) + ": (" + Number(at(FpsSlider)) + ")",
              Lang(127) + " (" + DisplayModes[size_t(std::clamp(at(ResolutionSlider), 0, 6))] + ")", rate};
    }
    case Environment: {
      const size_t theme = size_t(at(ThemeSlider));
      return {Lang(130) + ": (" + (theme < Themes.size() ? Themes[theme].Name : std::string()) + ")", Lang(131),
              Lang(132) + ": " + ChangeFileExt(Options.LanguageFile, "")};
    }
    case Sound: return {percent(133, 134, SoundSlider), percent(213, 214, MusicSlider)};
    case Confirm: return {Lang(135), Lang(136), Number(std::max(FCountdown, 0)), Lang(137)};
    case Selection:
    case HotKeys:
    case GroupCount: break;
  }
  return {};
}

// The value lines stand above their sliders.
void TOptionsInterface::PaintGroup(EGroup group) {
  TDXWindow& w = *FGroups[group];
  TSurface& layer = *w.FSprite.Get()->Surfaces[WindowLayer::Client];
  if (group == HotKeys) {
    PaintHotKeys(w, layer);
    return;
  }
  TCanvas canvas(layer);
  canvas.BrushClear = true;
  canvas.Font = LabelFont(CurrentTheme().FontSize);
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
  const std::vector<std::string> labels = GroupLabels(group);
  const int room = w.FWidth - kLabelLeft - 8;
  for (size_t i = 0; i < labels.size() && i < tops.size(); ++i)
    canvas.TextOut(kLabelLeft, w.TitleHeight() + tops[i], FitText(canvas, labels[i], room, CurrentTheme().FontSize));
  if (group != Environment) return;
  const TRect hole = HoleRect();
  canvas.FillRect(hole, 0);
  Outline(canvas, Inflate(hole, 1), kHoleInner);
  Outline(canvas, Inflate(hole, 2), kHoleOuter);
}

TRect TOptionsInterface::HoleRect() const {
  const TDXWindow& w = *FGroups[Environment];
  return {kControlLeft + 2, w.TitleHeight() + kHoleTop, w.FWidth - kControlLeft - 2, w.TitleHeight() + kHoleBottom};
}

// The main window lies under the group: the hole goes through both.
void TOptionsInterface::PaintMainHole() {
  if (!FGroups[Environment]) return;
  const TDXWindow& env = *FGroups[Environment];
  TRect hole = HoleRect();
  const int dx = env.FLeft - FMain->FLeft, dy = env.FTop - FMain->FTop;
  hole = {hole.Left + dx, hole.Top + dy, hole.Right + dx, hole.Bottom + dy};
  TCanvas canvas(*FMain->FSprite.Get()->Surfaces[WindowLayer::Client]);
  canvas.FillRect(hole, 0);
}

// Rows whose keys clash with another row's are written in the warning colour, with a note under
// the list. The font gets smaller until the longest row fits; a row still too long keeps its keys
// and loses the end of its name.
void TOptionsInterface::PaintHotKeys(TDXWindow& w, TSurface& layer) {
  TCanvas canvas(layer);
  canvas.BrushClear = true;
  canvas.Font = LabelFont(CurrentTheme().FontSize);
  const int room = w.FWidth - 2 * 10;
  const auto widest = [&] {
    int width = 0;
    for (int row = 0; row < kHotKeyRows; ++row) width = std::max(width, canvas.TextWidth(HotKeyRowText(row)));
    return width;
  };
  while (canvas.Font.Size > kSmallestListFont && widest() > room) --canvas.Font.Size;
  const TPixel say = canvas.Font.Color, select = CurrentTheme().SelectColor.ToPixel();
  bool conflicts = false;
  for (int row = 0; row < kHotKeyRows; ++row) {
    const TRect band = MakeRect(7, w.TitleHeight() + kRowTop + kRowHeight * row, w.FWidth - 14, kRowHeight);
    const bool capturing = FCapturing && row == FHotKeyRow;
    if (capturing) canvas.FillRect(band, select);
    else if (FRowHighlighted && row == FHotKeyRow) Outline(canvas, band, select);
    const bool clash = !capturing && RowConflicts(row);
    conflicts = conflicts || clash;
    canvas.Font.Color = clash ? kWarning : say;
    const auto [name, keys] = HotKeyRowParts(row);
    const std::string text = Shorten(canvas, name, keys, room);
    canvas.TextOut(10, band.Top + (kRowHeight - canvas.TextHeight(text)) / 2, text);
  }
  const int noteTop = w.TitleHeight() + kRowTop + kRowHeight * kHotKeyRows + 2;
  PaintHotKeyNote(canvas, {10, noteTop, 10 + room, FButtons[Defaults]->FTop - w.FTop - kNoteGap}, conflicts);
}

// Under the list, above the defaults button: while a key is awaited, the whole prompt (the row
// has room for its start only) and how to keep the old keys; otherwise the warning about keys used
// twice, if any are. The font gets smaller until the note fits; the advice on keeping the old keys
// goes first when it cannot; a prompt that still does not fit is left to its row, and the warning
// is cut to one line.
void TOptionsInterface::PaintHotKeyNote(TCanvas& canvas, const TRect& room, bool conflicts) {
  if (!FCapturing && !conflicts) return;
  const std::string prompt = FCapturing ? HotKeyRowParts(FHotKeyRow).first : Lang(kWarningNoteLine);
  canvas.Font.Color = FCapturing ? CurrentTheme().SayColor.ToPixel() : kWarning;
  const auto fits = [&](const std::vector<std::string>& lines) {
    return int(lines.size()) * canvas.TextHeight("Wg") <= room.Height();
  };
  const std::string whole = FCapturing ? prompt + " " + Lang(kCancelNoteLine) : prompt;
  std::vector<std::string> lines = WrapWords(canvas, whole, room.Width());
  while (!fits(lines) && canvas.Font.Size > kSmallestListFont) {
    --canvas.Font.Size;
    lines = WrapWords(canvas, whole, room.Width());
  }
  if (!fits(lines)) lines = WrapWords(canvas, prompt, room.Width());
  if (!fits(lines) && FCapturing) return;
  if (!fits(lines)) lines = {Shorten(canvas, prompt, "", room.Width())};
  int y = room.Top;
  for (const std::string& line : lines) {
    canvas.TextOut(room.Left, y, line);
    y += canvas.TextHeight("Wg");
  }
}

void TOptionsInterface::Message(const std::string& title, const std::string& text) {
  if (OnMessage) OnMessage(title, text);
  else LogError("%s: %s", title.c_str(), text.c_str());
}

// ---- Input ---------------------------------------------------------------------------------------

bool TOptionsInterface::Blocked(int x, int y) const {
  return FDone || (ConfirmShown() && !FGroups[Confirm]->BoundsRect().Contains(x, y));
}

void TOptionsInterface::MouseDown(int button, int shift, int x, int y) {
  if (Blocked(x, y)) return;
  TInterface::MouseDown(button, shift, x, y);
  FRowClicked = !FDone && FRowHighlighted && RowAt(x, y) == FHotKeyRow;
}

// A click on a highlighted row (press and release on it) waits for its keys.
void TOptionsInterface::MouseUp(int button, int shift, int x, int y) {
  if (Blocked(x, y)) return;
  TInterface::MouseUp(button, shift, x, y);
  if (!FDone && FRowClicked && FRowHighlighted && RowAt(x, y) == FHotKeyRow) StartCapture(FHotKeyRow);
  FRowClicked = false;
}

void TOptionsInterface::MouseMove(int shift, int x, int y) {
  if (FDone) return;
  TInterface::MouseMove(shift, x, y);
  if (FDone || FCapturing) return;
  const int row = RowAt(x, y);
  if (row < 0 ? !FRowHighlighted : FRowHighlighted && row == FHotKeyRow) return;
  FRowHighlighted = row >= 0;
  if (row >= 0) FHotKeyRow = row;
  FGroups[HotKeys]->Paint();
}

// While a key is awaited the program's own keys (minimise, close) must not act on it.
void TOptionsInterface::KeyDown(uint16_t& key, int shift) {
  if (!FDone && FCapturing) key = 0;
}

// Escape leaves as OK does, unless it cancels a capture.
void TOptionsInterface::KeyUp(uint16_t& key, int shift) {
  if (FDone) return;
  if (FCapturing) {
    CaptureKey(key, shift);
    return;
  }
  if (key == VK_ESCAPE) PressOk();
  else if (key == VK_F5) ReloadTheme();
  else if (key == VK_F1 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) OpenHelpTopic(kHelpTopic);
}

}  // namespace qj
