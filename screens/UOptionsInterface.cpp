// Index: entering and leaving; building; layout; loading values; control handlers; theme,
// language and background; display mode; presets and command buttons; painting; input.
#include "screens/UOptionsInterface.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "controls/UControlImages.h"
#include "controls/UHints.h"
#include "core/UFailureText.h"
#include "core/UFrameTimer.h"
#include "core/UTextIds.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"
#include "screens/ULabelPainting.h"

namespace qj {
namespace {

constexpr int kLabelLeft = 20;
constexpr int kHelpTopic = 9;
const TPixel kHoleOuter = MakePixel(109, 109, 167), kHoleInner = MakePixel(189, 189, 247);
using C = TOptionsControls;

// PieceSelectType of the three selection boxes.
constexpr int kSelectTypes[3] = {1, 2, 0};
constexpr double kZoom[16] = {1, 1.25, 1.5, 1.75, 2, 2.25, 2.5, 2.75, 3, 3.5, 4, 4.5, 5, 6, 7, 8};

std::string Number(int n) { return std::to_string(n); }

// The resolution slider: the desktop's own first, then the display modes in their order.
int ResolutionAt(int position) { return position <= 0 ? kDesktopResolution : position - 1; }
int PositionOf(int resolution) { return resolution == kDesktopResolution ? 0 : resolution + 1; }

void SetShown(TDXControl* control, bool shown) {
  if (TMySprite* s = control ? control->FSprite.Get() : nullptr) s->Visible = shown;
}

// A display mode in plain words: its size, and a warning for one with fewer colours.
std::string ScreenSizeName(int resolution) {
  if (resolution == kDesktopResolution) return ResolutionName(resolution);
  const TDisplaySetting mode = ParseDisplayMode(resolution);
  return Number(mode.Width) + "\u00d7" + Number(mode.Height) + (mode.BitCount < 32 ? ", " + Lang(Text::FewerColours) : "");
}

}  // namespace

// ---- Entering and leaving ----------------------------------------------------------------------

TOptionsInterface::TOptionsInterface(TGraphicsEngine* engine) : TInterface(engine), FDisplayMode(*engine) {
  FDisplayMode.OnWaitStarted = [this] {
    AfterDisplaySwitch();
    ShowConfirmation(true);
  };
  FDisplayMode.OnSecond = [this] { Group(Confirm)->Paint(); };
  FDisplayMode.OnWaitEnded = [this] { ShowConfirmation(false); };
  FDisplayMode.OnReverted = [this] {
    LoadDisplayControls(ChosenResolution(), Options.DisplayRefresh, Options.FullScreen);
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
  FHotKeys.Attach(Group(HotKeys), &AddOwnedControl<TDXHint>());
  BuildButtons();
  BuildSliders();
  BuildChecks();
  Options.FullScreen = FEngine->Display().FullScreenOption();
  LoadValues();
  Place();
  FControls.ShowPage(MainPage);
  ShowConfirmation(false);
  FReady = true;
  FEngine->OnDisplayChange = [this] {
    if (FDisplayMode.Switching() || FDone || FDisplayMode.Waiting()) return;
    LoadDisplayControls(ChosenResolution(), Options.DisplayRefresh, FEngine->Display().FullScreenOption());
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
  FControls = {};
  FLanguageFiles.clear();
  FHotKeys.Reset();
  FHotKeys.Attach(nullptr, nullptr);
  TInterface::Leave();
}

// ---- Building ------------------------------------------------------------------------------------

void TOptionsInterface::BuildWindows() {
  TDXWindow& main = AddOwnedControl<TDXWindow>();
  main.Setup(TextKey(Text::Options), 0, 0, C::kMainWidth, C::kMainHeight, {.Style = 0, .Movable = false, .Activatable = false},
             [this](TDXControl*) { PaintMainHole(); });
  FControls.FMain = &main;
  for (int g = 0; g < GroupCount; ++g) {
    const auto group = EGroup(g);
    TDXWindow& w = AddOwnedControl<TDXWindow>(group == Confirm ? EControlLayer::Overlay : EControlLayer::Content);
    w.Setup(TextKey(C::Entry(group).Title), 0, 0, 100, 100, {.Style = 1, .Movable = false, .Activatable = false},
            [this, group](TDXControl*) { PaintGroup(group); });
    FControls.FGroups[g] = &w;
  }
}

TDXButton& TOptionsInterface::NewButton(EButton which, ETextId caption, ETextId hint, bool hintRight, EControlLayer layer) {
  TDXButton& button = AddOwnedControl<TDXButton>(layer);
  button.SetButton(TextKey(caption), 0, 0, C::ButtonWidth(which), button.FHeight, 0);
  (hintRight ? button.FHintText2 : button.FHintText) = TextKey(hint);
  FControls.FButtons[which] = &button;
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
  NewButton(Ok, Text::Ok, Text::KeepTheseSettings, true, content).OnPressed = on([this] { PressOk(); });
  NewButton(Reload, Text::Reload, Text::UndoTheChanges, true, content).OnPressed = preset(SettingsPath("Jigsaw.stg"), true, false);
  NewButton(Safe, Text::Safe, Text::SettingsThatWork, false, content).OnPressed = preset(DataPath("Text/Safe.stg"), true, false);
  NewButton(Optimal, Text::Optimal, Text::TheBestLook, false, content).OnPressed = preset(DataPath("Text/Optimal.stg"), false, true);
  NewButton(Close, Text::Close, Text::LeaveForTheSavedMode, false, content).OnPressed = on([this] { PressClose(); });
  NewButton(Apply, Text::Apply, Text::SwitchToThisMode, true, content).OnPressed = on([this] { PressApply(); });
  NewButton(Defaults, Text::Defaults, Text::RestoreTheStandardKeys, false, content).OnPressed = on([this] { FHotKeys.Defaults(); });
  NewButton(Keep, Text::Keep, Text::KeepTheNewMode, false, EControlLayer::Overlay).OnPressed = on([this] { FDisplayMode.Keep(); });
  NewButton(Revert, Text::Undo, Text::GoBackToTheOldMode, false, EControlLayer::Overlay).OnPressed = on([this] { FDisplayMode.Revert(); });
  NewButton(Page, Text::MorePage, Text::MorePageHint, true, content).OnPressed = on([this] {
    ShowPage(FControls.FPage == MainPage ? MorePage : MainPage);
  });
}

// The theme and the table background are taken when a drag ends: loading them at every step of
// a drag would stall it.
void TOptionsInterface::BuildSliders() {
  for (int s = 0; s < SliderCount; ++s) {
    const auto slider = ESlider(s);
    TDXHScrollBar& bar = AddOwnedControl<TDXHScrollBar>();
    bar.Setup(0, 0, 100, C::kSliderHeight, C::Entry(slider).Min, C::Entry(slider).Max, C::Entry(slider).Min, ScrollBarStyle::Small,
              [this, slider](TDXControl*) { SliderChanged(slider); });
    FControls.FSliders[s] = &bar;
    TDXHint& hint = AddOwnedControl<TDXHint>();
    hint.SetCaption(TextKey(C::HintOf(slider)));
    hint.OnBeforeShow = [&hint](TDXControl*) { hint.PlaceBeside(false); };
    FControls.FSliderHints[s] = &hint;
  }
  Slider(ThemeSlider)->OnChanged = [this](TDXControl*) { ThemeChanged(); };
  Slider(BackgroundSlider)->OnChanged = [this](TDXControl*) { BackgroundChanged(); };
}

void TOptionsInterface::BuildChecks() {
  for (int c = 0; c < CheckCount; ++c) {
    const auto box = ECheck(c);
    TDXCheckBox& check = AddOwnedControl<TDXCheckBox>();
    check.Setup(TextKey(C::Entry(box).Caption), 0, 0, 100, C::kCheckHeight, 0, false, false, [this, box](TDXControl*) { CheckClicked(box); });
    check.SetHint(TextKey(C::HintOf(box)));
    FControls.FChecks[c] = &check;
  }
}

// ---- Layout --------------------------------------------------------------------------------------

void TOptionsInterface::Place() { FControls.Place(FEngine->FWidth, FEngine->FHeight); }

void TOptionsInterface::RepaintAll() {
  RestoreControls();
  for (TDXWindow* w : FControls.FGroups) w->Paint();
  MainWindow()->Paint();
}

void TOptionsInterface::Resize() {
  if (FDone) return;
  Place();
  RepaintAll();
}

// The main window loses the preview hole with the page that has it; a wait for keys ends.
void TOptionsInterface::ShowPage(EPage page) {
  if (FHotKeys.Capturing()) FHotKeys.CaptureKey(VK_ESCAPE, 0);
  FHotKeys.Reset();
  FControls.ShowPage(page);
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
    if (const auto setting = C::Entry(ESlider(s)).Setting) Slider(ESlider(s))->SetPosition(Options.*setting);
  Slider(RotationSlider)->SetPosition(Options.RotationIncrement);
  const std::pair<ECheck, bool> checks[] = {
      {HintDecreasesBox, Options.HintDecreases}, {CubesBox, Options.DisplayCubes},
      {ClockwiseBox, Options.RotateClockwise},   {ReverseMouseBox, Options.ReverseMouse},
      {StarsBox, Options.ShowStars},             {AutoHideMenuBox, Options.AutoHideMenu},
      {AutoHideScrollBox, Options.AutoHideScroll}, {SpreadBox, Options.SpreadNewGames},
      {ProgressBox, Options.ShowProgress},
  };
  for (const auto& [box, value] : checks) CheckBox(box)->SetChecked(value);
  CheckBox(CubesBox)->SetCaption(TextKey(Text::Show) + " " + CubeTypeNames[size_t(std::clamp(Options.CubeType, 0, 2))]);
  SetRadio(SmoothBox, Options.VBI);
  SetRadio(DragBox, int(std::find(std::begin(kSelectTypes), std::end(kSelectTypes), Options.PieceSelectType) - kSelectTypes));
  LoadDisplayControls(ChosenResolution(), Options.DisplayRefresh, Options.FullScreen);
  Slider(ThemeSlider)->SetMax(std::max(0, int(Themes.size()) - 1));
  Slider(ThemeSlider)->SetPosition(Options.Environment);
  Slider(BackgroundSlider)->SetMax(std::max(0, int(BackgroundFiles.size()) - 1));
  Slider(BackgroundSlider)->SetPosition(Options.Background);
  FLanguageFiles = ListFiles(DataPath("Text"), "*.lang");
  Slider(LanguageSlider)->SetMax(std::max(0, int(FLanguageFiles.size()) - 1));
  for (size_t i = 0; i < FLanguageFiles.size(); ++i)
    if (SameName(FLanguageFiles[i], Options.LanguageFile)) Slider(LanguageSlider)->SetPosition(int(i));
}

void TOptionsInterface::LoadDisplayControls(int resolution, int refresh, bool fullScreen) {
  const TFlagScope quiet(FReady, false);
  Slider(ResolutionSlider)->SetPosition(PositionOf(resolution));
  BuildRefreshRates(ResolutionAt(Slider(ResolutionSlider)->FPosition));
  Slider(RefreshSlider)->SetMax(int(RefreshRates.size()) - 1);
  Slider(RefreshSlider)->SetPosition(refresh);
  CheckBox(FullScreenBox)->SetChecked(fullScreen);
  Group(Screen)->Paint();
}

// One of three boxes: a click on the checked one leaves it checked.
void TOptionsInterface::SetRadio(ECheck first, int chosen) {
  for (int i = 0; i < 3; ++i) CheckBox(ECheck(first + i))->SetChecked(i == chosen);
}

void TOptionsInterface::CubeCaption() {
  CheckBox(CubesBox)->SetCaption(TextKey(Text::ShowChanged) + " " + CubeTypeNames[size_t(std::clamp(Options.CubeType, 0, 2))]);
  CheckBox(CubesBox)->Paint();
}

// ---- Control handlers ------------------------------------------------------------------------------

void TOptionsInterface::SliderChanged(ESlider slider) {
  if (!FReady) return;
  const int value = Slider(slider)->FPosition;
  if (const auto setting = C::Entry(slider).Setting) Options.*setting = value;
  switch (slider) {
    case CubeSlider: CubeCaption(); break;
    case RotationSlider: Options.RotationIncrement = uint8_t(value); break;
    case FpsSlider: SetFrameInterval(); break;
    case ResolutionSlider: LoadDisplayControls(ResolutionAt(value), Slider(RefreshSlider)->FPosition, true); break;
    case RefreshSlider: CheckBox(FullScreenBox)->SetChecked(true); break;
    case SoundSlider: SetSoundVolume(value); break;
    case MusicSlider: SetMusicVolume(value); break;
    case LanguageSlider: LanguageChanged(); break;
    default: break;  // the setting alone, or taken when a drag ends
  }
  Group(C::Entry(slider).Group)->Paint();
}

void TOptionsInterface::CheckClicked(ECheck box) {
  if (!FReady) return;
  const bool on = CheckBox(box)->FChecked;
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
    case ProgressBox: Options.ShowProgress = on; break;
    case AutoHideMenuBox: Options.AutoHideMenu = on; break;
    case AutoHideScrollBox: Options.AutoHideScroll = on; break;
    case SpreadBox: Options.SpreadNewGames = on; break;
    case DragBox:
    case ClickBox:
    case EitherBox:
      Options.PieceSelectType = kSelectTypes[box - DragBox];
      SetRadio(DragBox, box - DragBox);
      break;
    case FullScreenBox:  // taken by Apply
    case CheckCount: break;
  }
  Group(C::Entry(box).Group)->Paint();
}

void TOptionsInterface::SetFrameInterval() {
  if (OnFrameInterval) OnFrameInterval(FrameIntervalFor(Options.MaxFPS));
}

// ---- Theme, language and background ----------------------------------------------------------

// Every control takes the new language at once: captions and hints are text keys.
void TOptionsInterface::LanguageChanged() {
  const size_t index = size_t(Slider(LanguageSlider)->FPosition);
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
    Message(Lang(Text::Language), "cannot read the language file " + failed);
  }
  CubeCaption();
  RepaintAll();
}

void TOptionsInterface::ThemeChanged() {
  if (!FReady || Slider(ThemeSlider)->FPosition == Options.Environment) return;
  if (!UseTheme(Slider(ThemeSlider)->FPosition)) {
    const TFlagScope quiet(FReady, false);
    Slider(ThemeSlider)->SetPosition(Options.Environment);
  }
  Group(Environment)->Paint();
}

// A theme whose files are incomplete is refused before anything changes, with the file it lacks.
bool TOptionsInterface::UseTheme(int theme) {
  std::string error;
  if (!ThemeComplete(theme, error)) {
    const std::string name = theme >= 0 && size_t(theme) < Themes.size() ? Themes[size_t(theme)].Name : Number(theme);
    Message(Lang(Text::Theme), FillIn(Text::ThemeCannotBeUsed, "\u201c" + name + "\u201d") + "\n" + error);
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
  if (!FReady || Slider(BackgroundSlider)->FPosition == Options.Background) return;
  Options.Background = Slider(BackgroundSlider)->FPosition;
  FEngine->LoadBackground();
  Group(Environment)->Paint();
}

// ---- Display mode --------------------------------------------------------------------------------

// The mode the controls show is tried at once; the settings take it when the player keeps it.
void TOptionsInterface::PressApply() {
  TDisplaySetting mode = ParseDisplayMode(ResolutionAt(Slider(ResolutionSlider)->FPosition));
  mode.Refresh = Slider(RefreshSlider)->FPosition;
  mode.FullScreen = CheckBox(FullScreenBox)->FChecked;
  FDisplayMode.Apply(mode);
}

void TOptionsInterface::AfterDisplaySwitch() {
  FEngine->UpdateSurfaceSize();
  Place();
  RepaintAll();
}

bool TOptionsInterface::ConfirmShown() const {
  const TMySprite* s = Group(Confirm) ? Group(Confirm)->FSprite.Get() : nullptr;
  return s && s->Visible;
}

void TOptionsInterface::ShowConfirmation(bool shown) {
  for (TDXControl* c : {static_cast<TDXControl*>(Group(Confirm)), static_cast<TDXControl*>(Button(Keep)),
                        static_cast<TDXControl*>(Button(Revert))})
    SetShown(c, shown);
  for (EButton b : {Keep, Revert}) {
    Button(b)->EnableHints(shown);
    if (!shown) Button(b)->FHint->HideHint();
  }
  Group(Confirm)->Paint();
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
    BuildRefreshRates(ChosenResolution());
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
  const auto at = [this](ESlider s) { return Slider(s) ? Slider(s)->FPosition : 0; };
  const auto ms = [&](ETextId line, ESlider s) {
    return Lang(line) + " (" + Number(at(s)) + Lang(Text::Milliseconds) + ")";
  };
  const auto percent = [&](ETextId line, ETextId offLine, ESlider s) {
    return at(s) == 0 ? Lang(offLine) : Lang(line) + " (" + Number(at(s)) + "%)";
  };
  switch (group) {
    case Controls: return {ms(Text::HintDelay, HintResponseSlider), ms(Text::HintTime, HintSlider)};
    case Advanced:
      return {at(FpsSlider) == 250 ? Lang(Text::FramesPerSecondNoLimit)
                                   : Lang(Text::FramesPerSecond) + ": (" + Number(at(FpsSlider)) + ")",
              ms(Text::AnimationStep, AnimationSlider),
              at(AutosaveSlider) == 0 ? Lang(Text::AutosaveOff) : FillIn(Text::AutosaveEvery, Number(at(AutosaveSlider)))};
    case Table:
      return {Lang(Text::LoupeZoom) + " (" + Number(int(std::lround(kZoom[std::clamp(at(ZoomSlider), 0, 15)] * 100))) + "%)",
              Lang(Text::SnapRange) + " (" + Number(at(StickSlider)) + ")",
              Lang(Text::ScatterRange) + " (" + Number(at(ScatterSlider)) + ")"};
    case Pieces:
      return {at(RotationSlider) == C::Entry(RotationSlider).Max ? Lang(Text::TurnSpeedInstant) : Lang(Text::TurnSpeed) + " (" + Number(at(RotationSlider)) + ")",
              Lang(Text::SlideSpeed) + " (" + Number(at(SlideSlider)) + ")", Lang(Text::ProgressHintEvery) + " " + Number(at(ScoreSlider)) + "%"};
    case Screen: {
      const size_t refresh = size_t(at(RefreshSlider));
      std::string rate = Lang(Text::RefreshRate);
      if (refresh < RefreshRates.size())
        rate += RefreshRates[refresh] != 0 ? " (" + Number(int(RefreshRates[refresh])) + Lang(Text::Hertz) + ")"
                                           : " " + Lang(Text::DisplayDefault);
      return {Lang(Text::Resolution) + " (" + ScreenSizeName(ResolutionAt(at(ResolutionSlider))) + ")", rate};
    }
    case Environment: {
      const size_t theme = size_t(at(ThemeSlider));
      return {Lang(Text::Theme) + ": (" + (theme < Themes.size() ? Themes[theme].Name : std::string()) + ")",
              Lang(Text::TableBackground),
              Lang(Text::Language) + ": " + ChangeFileExt(Options.LanguageFile, "")};
    }
    case Sound: return {percent(Text::SoundEffects, Text::SoundEffectsOff, SoundSlider), percent(Text::Music, Text::MusicOff, MusicSlider)};
    case Confirm: return {Lang(Text::CanYouSeeThisClearly), Lang(Text::TheOldModeReturnsIn), Number(std::max(FDisplayMode.Countdown(), 0)), Lang(Text::SecondsUnlessYouPressKeep)};
    case Selection:
    case HotKeys:
    case GroupCount: break;
  }
  return {};
}

void TOptionsInterface::PaintGroup(EGroup group) {
  TDXWindow& w = *Group(group);
  if (group == HotKeys) {
    FHotKeys.Paint(Button(Defaults)->FTop - w.FTop);
    return;
  }
  TCanvas canvas(*w.FSprite.Get()->Surfaces[WindowLayer::Client]);
  canvas.BrushClear = true;
  canvas.Font = LabelFont(CurrentTheme().FontSize);
  const std::vector<int> tops = C::LabelTops(group);
  const std::vector<std::string> labels = GroupLabels(group);
  const int room = w.FWidth - kLabelLeft - 8;
  for (size_t i = 0; i < labels.size() && i < tops.size(); ++i) {
    w.NoteText(MeasureTextRoom(canvas.Font, labels[i], room, C::kSliderHeight));
    canvas.TextOut(kLabelLeft, w.TitleHeight() + tops[i], FitText(canvas, labels[i], room, CurrentTheme().FontSize));
  }
  if (group != Environment) return;
  const TRect hole = FControls.HoleRect();
  canvas.FillRect(hole, 0);
  Outline(canvas, Inflate(hole, 1), kHoleInner);
  Outline(canvas, Inflate(hole, 2), kHoleOuter);
}

// The main window lies under the group: the hole goes through both.
void TOptionsInterface::PaintMainHole() {
  if (!Group(Environment) || FControls.FPage != C::PageOf(Environment)) return;
  const TDXWindow& env = *Group(Environment);
  TRect hole = FControls.HoleRect();
  const int dx = env.FLeft - MainWindow()->FLeft, dy = env.FTop - MainWindow()->FTop;
  hole = {hole.Left + dx, hole.Top + dy, hole.Right + dx, hole.Bottom + dy};
  TCanvas canvas(*MainWindow()->FSprite.Get()->Surfaces[WindowLayer::Client]);
  canvas.FillRect(hole, 0);
}

void TOptionsInterface::Message(const std::string& title, const std::string& text) {
  if (OnMessage) OnMessage(title, text);
  else LogError("%s: %s", title.c_str(), text.c_str());
}

// ---- Input ---------------------------------------------------------------------------------------

bool TOptionsInterface::Blocked(int x, int y) const {
  return FDone || (ConfirmShown() && !Group(Confirm)->BoundsRect().Contains(x, y));
}

void TOptionsInterface::MouseDown(int button, int shift, int x, int y) {
  if (Blocked(x, y)) return;
  TInterface::MouseDown(button, shift, x, y);
  if (KeysShown()) FHotKeys.MouseDown(x, y);
}

void TOptionsInterface::MouseUp(int button, int shift, int x, int y) {
  if (Blocked(x, y)) return;
  TInterface::MouseUp(button, shift, x, y);
  if (KeysShown()) FHotKeys.MouseUp(x, y);
}

void TOptionsInterface::MouseMove(int shift, int x, int y) {
  if (FDone) return;
  TInterface::MouseMove(shift, x, y);
  if (KeysShown()) FHotKeys.MouseMove(x, y);
}

bool TOptionsInterface::KeysShown() const { return !FDone && FControls.FPage == C::PageOf(HotKeys); }

// The keys are waited for on the page that shows them.
void TOptionsInterface::StartCapture(int row) {
  if (FDone) return;
  if (!KeysShown()) ShowPage(C::PageOf(HotKeys));
  FHotKeys.StartCapture(row);
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
  else if (key == VK_F1 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) ShowHelp(kHelpTopic);
}

}  // namespace qj
