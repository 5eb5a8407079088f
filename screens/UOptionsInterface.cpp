// Index: layout tables; entering and leaving; building; layout; loading values; control
// handlers; theme, language and background; display mode; presets and command buttons;
// painting; input.
#include "screens/UOptionsInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "controls/UControlImages.h"
#include "controls/UHints.h"
#include "core/UFrameTimer.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"
#include "platform/Help.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "screens/ULabelPainting.h"

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
constexpr int kHelpTopic = 9;
constexpr int kSmallestBold = 9;
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

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

std::string Number(int n) { return std::to_string(n); }

void SetShown(TDXControl* control, bool shown) {
  if (TMySprite* s = control ? control->FSprite.Get() : nullptr) s->Visible = shown;
}

TRect Inflate(const TRect& r, int by) { return {r.Left - by, r.Top - by, r.Right + by, r.Bottom + by}; }

}  // namespace

// ---- Entering and leaving ----------------------------------------------------------------------

TOptionsInterface::TOptionsInterface(TGraphicsEngine* engine) : TInterface(engine), FDisplayMode(*engine) {
  FDisplayMode.OnWaitStarted = [this] {
    AfterDisplaySwitch();
    ShowConfirmation(true);
  };
  FDisplayMode.OnSecond = [this] { FGroups[Confirm]->Paint(); };
  FDisplayMode.OnWaitEnded = [this] { ShowConfirmation(false); };
  FDisplayMode.OnReverted = [this] {
    LoadDisplayControls(Options.DisplayResolution, Options.DisplayRefresh, Options.FullScreen);
    AfterDisplaySwitch();
  };
}

void TOptionsInterface::Enter() {
  TInterface::Enter();
  if (TMySprite* table = FEngine->Background(); table && !table->Surfaces.empty()) {
    FEngine->FScrollX = std::clamp(FEngine->FScrollX, 0, std::max(0, table->Surfaces[0]->Width() - FEngine->FWidth));
    FEngine->FScrollY = std::clamp(FEngine->FScrollY, 0, std::max(0, table->Surfaces[0]->Height() - FEngine->FHeight));
    table->Visible = true;  // the preview hole shows it
  }
  FHotKeys.Reset();
  BuildWindows();
  BuildButtons();
  BuildSliders();
  BuildChecks();
  Options.FullScreen = FEngine->Display().FullScreenOption();
  LoadValues();
  FHotKeys.Attach(FGroups[HotKeys]);
  Place();
  ShowConfirmation(false);
  FReady = true;
  FEngine->OnDisplayChange = [this] {
    if (FDisplayMode.Switching() || FDone || FDisplayMode.Waiting()) return;
    LoadDisplayControls(Options.DisplayResolution, Options.DisplayRefresh, FEngine->Display().FullScreenOption());
  };
  RepaintAll();
}

// Leaving in any way while a new mode waits for Keep takes the stored mode back; closing the
// program over a paused game saves that game first.
void TOptionsInterface::Leave() {
  if (FDone) return;
  FReady = false;
  if (FDisplayMode.Waiting()) FDisplayMode.Abandon();
  if (FResult == OptionsResult::ToGame && OnLeaveToGame) OnLeaveToGame();
  FEngine->OnDisplayChange = nullptr;
  FMain = nullptr;
  FGroups.fill(nullptr);
  FButtons.fill(nullptr);
  FSliders.fill(nullptr);
  FChecks.fill(nullptr);
  FLanguageFiles.clear();
  FHotKeys.Reset();
  FHotKeys.Attach(nullptr);
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
  const auto on = [this](std::function<void()> action) {
    return [this, action](TDXControl*) {
      if (!FDone) action();
    };
  };
  const auto preset = [this](const std::string& file, bool hotkeys, bool keepLook) {
    return [this, file, hotkeys, keepLook](TDXControl*) {
      if (!FDone) LoadPreset(file, hotkeys, keepLook);
    };
  };
  const auto content = EControlLayer::Content;
  NewButton(Ok, 52, 41, true, content).OnPressed = on([this] { PressOk(); });
  NewButton(Reload, 51, 42, true, content).OnPressed = preset(SettingsPath("Jigsaw.stg"), true, false);
  NewButton(Safe, 47, 46, false, content).OnPressed = preset(DataPath("Text/Safe.stg"), true, false);
  NewButton(Optimal, 48, 45, false, content).OnPressed = preset(DataPath("Text/Optimal.stg"), false, true);
  NewButton(Close, 49, 44, false, content).OnPressed = on([this] { PressClose(); });
  NewButton(Apply, 86, 85, true, content).OnPressed = on([this] { PressApply(); });
  NewButton(Defaults, 112, 113, false, content).OnPressed = on([this] { FHotKeys.Defaults(); });
  NewButton(Keep, 107, 108, false, EControlLayer::Overlay).OnPressed = on([this] { FDisplayMode.Keep(); });
  NewButton(Revert, 109, 110, false, EControlLayer::Overlay).OnPressed = on([this] { FDisplayMode.Revert(); });
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
    if (Lower(FLanguageFiles[i]) == Lower(Options.LanguageFile)) FSliders[LanguageSlider]->SetPosition(int(i));
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
    if (!LoadLanguage()) std::fprintf(stderr, "quorvane-jigsaw: the language file %s is gone as well\n", old.c_str());
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

// The mode the controls show is tried at once; the settings take it when the player keeps it.
void TOptionsInterface::PressApply() {
  TDisplaySetting mode = ParseDisplayMode(FSliders[ResolutionSlider]->FPosition);
  mode.Refresh = FSliders[RefreshSlider]->FPosition;
  mode.FullScreen = FChecks[FullScreenBox]->FChecked;
  FDisplayMode.Apply(mode);
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

void TOptionsInterface::Update() {
  TInterface::Update();
  if (!FDone) FDisplayMode.Update();
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
  FDisplayMode.SwitchToStoredMode();
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

void TOptionsInterface::PressOk() {
  Finish(FResult == OptionsResult::ToGame ? OptionsResult::ToGame : OptionsResult::ToMainMenu);
}

void TOptionsInterface::PressClose() {
  FDisplayMode.Abandon();
  PressOk();
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
    case Confirm: return {Lang(135), Lang(136), Number(std::max(FDisplayMode.Countdown(), 0)), Lang(137)};
    case Selection:
    case HotKeys:
    case GroupCount: break;
  }
  return {};
}

// The value lines stand above their sliders.
void TOptionsInterface::PaintGroup(EGroup group) {
  TDXWindow& w = *FGroups[group];
  if (group == HotKeys) {
    FHotKeys.Paint(FButtons[Defaults]->FTop - w.FTop);
    return;
  }
  TCanvas canvas(*w.FSprite.Get()->Surfaces[WindowLayer::Client]);
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

void TOptionsInterface::Message(const std::string& title, const std::string& text) {
  if (OnMessage) OnMessage(title, text);
  else std::fprintf(stderr, "quorvane-jigsaw: %s: %s\n", title.c_str(), text.c_str());
}

// ---- Input ---------------------------------------------------------------------------------------

bool TOptionsInterface::Blocked(int x, int y) const {
  return FDone || (ConfirmShown() && !FGroups[Confirm]->BoundsRect().Contains(x, y));
}

void TOptionsInterface::MouseDown(int button, int shift, int x, int y) {
  if (Blocked(x, y)) return;
  TInterface::MouseDown(button, shift, x, y);
  if (!FDone) FHotKeys.MouseDown(x, y);
}

void TOptionsInterface::MouseUp(int button, int shift, int x, int y) {
  if (Blocked(x, y)) return;
  TInterface::MouseUp(button, shift, x, y);
  if (!FDone) FHotKeys.MouseUp(x, y);
}

void TOptionsInterface::MouseMove(int shift, int x, int y) {
  if (FDone) return;
  TInterface::MouseMove(shift, x, y);
  if (!FDone) FHotKeys.MouseMove(x, y);
}

void TOptionsInterface::StartCapture(int row) {
  if (!FDone) FHotKeys.StartCapture(row);
}

// While a key is awaited the program's own keys (minimise, close) must not act on it.
void TOptionsInterface::KeyDown(uint16_t& key, int shift) {
  if (!FDone && FHotKeys.Capturing()) key = 0;
}

// Escape leaves as OK does, unless it cancels a capture.
void TOptionsInterface::KeyUp(uint16_t& key, int shift) {
  if (FDone) return;
  if (FHotKeys.Capturing()) {
    FHotKeys.CaptureKey(key, shift);
    return;
  }
  if (key == VK_ESCAPE) PressOk();
  else if (key == VK_F5) ReloadTheme();
  else if (key == VK_F1 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) OpenHelpTopic(kHelpTopic);
}

}  // namespace qj
