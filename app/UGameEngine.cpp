// Index: construction, start-up and appearance; the frame loop; input routing (the keys that work
// on every screen are TProgramKeys'); screen switches and the start of games; display changes and
// shutdown.
#include "app/UGameEngine.h"

#include <algorithm>
#include <cerrno>
#include <cfenv>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>

#include "controls/UControlImages.h"
#include "controls/UControls.h"
#include "controls/UInfoWindow.h"
#include "app/UMain.h"
#include "app/UModalWindows.h"
#include "app/UProgramKeys.h"
#include "core/UFailureText.h"
#include "core/UMiscelaneous.h"
#include "core/URegistry.h"
#include "core/UThemes.h"
#include "creation/UPuzzleDefaults.h"
#include "screens/UPuzzleMakerInterface.h"
#include "creation/URandom.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UAutosave.h"
#include "play/UBoardPlayInterface.h"
#include "play/UGameLauncher.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/FileProblem.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/SystemInfo.h"
#include "screens/UMainInterface.h"
#include "screens/UNoPuzzleNote.h"
#include "screens/UOptionsInterface.h"
#include "screens/UPictureLibrary.h"
#include "screens/UPuzzleSelectorInterface.h"

namespace qj {


namespace {

constexpr double kMsPerDay = 86400000.0;
const char* const kOutOfMemory = "Not enough memory for this jigsaw; Probabily too many pieces.";

// The table background named by the settings, or "" when there is none.
std::string BackgroundPath() {
  if (Options.Background < 0 || size_t(Options.Background) >= BackgroundFiles.size()) return "";
  return DataPath("Graphics/BackGrounds/" + BackgroundFiles[size_t(Options.Background)]);
}

template <class TScreen>
std::unique_ptr<TScreen> MakeScreen(TGraphicsEngine* graphics, double low, double high,
                                    TGameEngine& engine) {
  auto screen = std::make_unique<TScreen>(graphics);
  screen->SetDepthRange(low, high);
  screen->OnDone = [&engine](TInterface* sender) { engine.ScreenDone(sender); };
  screen->OnHelp = [&engine](int topic) { engine.Modal().ShowHelp(topic); };
  return screen;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Construction and start-up

TGameEngine::TGameEngine(IDisplay& display, TMainWindowHooks hooks)
    : FDXDraw(display), FHooks(std::move(hooks)) {
  std::fesetenv(FE_DFL_ENV);
  FGraphics = std::make_unique<TGraphicsEngine>(display, OperatingSystemVersion());
  FGraphics->OnRestore = [this] { SurfacesRestored(); };
  FGraphics->OnBackgroundPath = [] { return BackgroundPath(); };
  FGraphics->OnTimerEnabled = [this](bool on) { FTimer.Enabled = on; };
  FGraphics->OnFrameRate = [this] { return FTimer.PresentedRate(); };
  FGraphics->BlackWithoutTable = true;
  FGraphics->OnControlCount = [] { return TDXControl::LiveCount(); };
  FKeys = std::make_unique<TProgramKeys>(display, *FGraphics);
  FModal = std::make_unique<TModalWindows>(FGraphics.get());
  FKeys->OnMinimize = FHooks.Minimize;
  FKeys->OnClose = FHooks.Close;
  FKeys->OnModeSwitched = [this] {
    ForceRedraw();
    if (FActive) FActive->Resize();
    FModal->Resize();
  };
  ReloadAppearance();
  FOptionsScreen = MakeScreen<TOptionsInterface>(FGraphics.get(), 101000, 102000, *this);
  FOptionsScreen->OnMessage = [this](const std::string& title, const std::string& text) { ReportError(title, text); };
  FOptionsScreen->OnFrameInterval = [this](uint32_t interval) { FTimer.Interval = interval; };
  // The paused game would otherwise end with the program unsaved: leaving the play screen saves it.
  FOptionsScreen->OnLeaveToGame = [this] {
    if (FClosing && !FBoardPlay->Done()) FBoardPlay->Leave();
  };
  FOptionsScreen->OnAppearanceChanged = [this] { ReloadAppearance(); };
  FBoardPlay = MakeScreen<TBoardPlayInterface>(FGraphics.get(), 0, 99990, *this);
  FBoardPlay->OnError = [this](const std::string& title, const std::string& text) { ReportError(title, text); };
  // Until the game has its own question window, a failed save is reported and the old saved
  // game kept; the player is not asked whether to try again.
  FBoardPlay->OnSaveFailed = [this](const std::string& title, const std::string& text) {
    ReportError(title, text);
    return ESaveAnswer::Cancel;
  };
  FBoardPlay->OnBackgroundChanged = [this] { FGraphics->LoadBackground(); };
  FBoardPlay->OnProgress = [this](ETextId line, int64_t done, int64_t total) { ShowProgress(line, done, total); };
  FBoardPlay->OnThemeChanged = [this] { ReloadAppearance(); };
  FAutosave = std::make_unique<TAutosave>(*FBoardPlay);
  FBoardPlay->OnBeforeSave = [this] { FAutosave->BeforeSave(); };
  FBoardPlay->Menu().OnFrameRate = [this] { return FTimer.FrameRate(); };
  FLauncher = std::make_unique<TGameLauncher>(*FBoardPlay, display);
  FLauncher->OnLeaveScreen = [this] { FreeSprites(); };
  FPuzzleSelector = MakeScreen<TPuzzleSelectorInterface>(FGraphics.get(), 100000, 119990, *this);
  FPuzzleSelector->OnProgress = [this](ETextId line, int64_t done, int64_t total) { ShowProgress(line, done, total); };
  FPuzzleSelector->OnMessage = [this](const std::string& title, const std::string& text) { ReportError(title, text); };
  FPuzzleMaker = MakeScreen<TPuzzleMakerInterface>(FGraphics.get(), 120000, 129990, *this);
  FPuzzleMaker->OnMessage = [this](const std::string& title, const std::string& text) { ReportError(title, text); };
  FMainMenu = MakeScreen<TMainInterface>(FGraphics.get(), 130000, 139990, *this);
  FMainMenu->OnAppearanceChanged = [this] { ReloadAppearance(); };
  FTimer.Enabled = false;
  FTimer.Interval = 0;
  FClosing = false;
}

TGameEngine::~TGameEngine() {
  FModal.reset();
  FLauncher.reset();
  FAutosave.reset();
  FBoardPlay.reset();
  FPuzzleMaker.reset();
  FMainMenu.reset();
  FOptionsScreen.reset();
  FPuzzleSelector.reset();
  FGraphics.reset();
}

void TGameEngine::Initialize() {
  // The window is still empty: give the message a light ground to stand on.
  FDXDraw.Primary().Fill(MakePixel(240, 240, 240));
  TCanvas canvas(FDXDraw.Primary());
  canvas.BrushClear = true;
  canvas.Font = {"Times new roman", 36, 0, false};
  canvas.TextOut((FDXDraw.Width() - canvas.TextWidth("Loading...")) / 2, 150, "Loading...");
  FDXDraw.ShowPrimary();
  WriteRegistryRecord();
  InstallFonts();
  FTimer.Enabled = true;
  FTimer.OnTimer = [this] { TimerTick(); };
  LoadSettings(SettingsPath("Jigsaw.stg"), false);
  FGraphics->LoadBackground();
  ReloadAppearance();
  FTimer.Interval = FrameIntervalFor(Options.MaxFPS);
  if (!LoadLanguage()) {
    // Without its texts the game cannot speak to the player; say, in English, which file it lacks.
    const std::string text = "cannot read the language file " + DataPath("Text/" + Options.LanguageFile);
    LogError("%s", text.c_str());
    if (FHooks.MessageBox) FHooks.MessageBox(text, "Quorvane Jigsaw");
    FHooks.Terminate();
    return;
  }
  CreateInfoWindow();
  LoadSettings(SettingsPath("Jigsaw.stg"), false);
  TAutosave::AdoptMark();
  Randomize(GetTickCount());
  FMainMenu->Enter();
  FActive = FMainMenu.get();
  StartMusic();
  ForceRedraw();
}

// A theme whose widget images cannot be read is not taken: the one in use stays, with its
// colours, fonts and sounds.
void TGameEngine::ReloadAppearance() {
  LoadThemes();
  if (!LoadControlImages() && FImagesTheme >= 0) Options.Environment = FImagesTheme;
  LoadSounds();
}

// The widget images of the theme; a theme that cannot be read keeps the one in use, and every
// live control is painted again in the new one.
bool TGameEngine::LoadControlImages() {
  std::string error;
  if (!ReloadControlImages(error)) {
    // Without any images yet there is nothing to keep; the program goes on without widgets.
    if (FImagesTheme >= 0)
      ReportError(Lang(Text::GameTitle), FillIn(Text::ThemeCannotBeUsed, "\u201c" + CurrentTheme().Name + "\u201d") + "\n" + error);
    else
      LogError("The theme \"%s\" cannot be used: %s", CurrentTheme().Name.c_str(), error.c_str());
    return false;
  }
  FImagesTheme = Options.Environment;
  for (TInterface* screen : Screens())
    if (screen) screen->RestoreControls();
  if (FModal) FModal->RestoreControls();
  return true;
}

std::array<TInterface*, 5> TGameEngine::Screens() {
  return {FOptionsScreen.get(), FBoardPlay.get(), FPuzzleSelector.get(), FPuzzleMaker.get(), FMainMenu.get()};
}

void TGameEngine::LoadThemes() { qj::LoadThemes(); }
void TGameEngine::LoadSounds() { qj::LoadSounds(); }
void TGameEngine::InstallFonts() { FFonts = qj::InstallFonts(); }
void TGameEngine::StartMusic() { qj::StartMusic(); }
void TGameEngine::RestoreMidiVolumes() { qj::RestoreMidiVolumes(); }

// ---------------------------------------------------------------------------------------------
// The frame loop

void TGameEngine::TimerTick() {
  if (!FTimer.Enabled || !FDXDraw.CanDraw()) return;
  // While a window of its own is open over the screen, the screen waits.
  if (!FModal->Update() && FActive) FActive->Update();
  FAutosave->Step(GetTickCount());
  // A rest is the program's own choice, not time lost to the window.
  if (FRested) FLastTick = GetTickCount();
  CorrectPlayClock();
  // A frame that would show what is on screen already is neither composed nor shown.
  FComposed = FActive && (FTimer.Tag >= kFullRedraw || FGraphics->FrameWanted());
  if (FComposed) {
    DrawFrame();
    Present();
    TCanvas canvas(FDXDraw.BackBuffer());
    canvas.BrushClear = true;
    canvas.Font.Color = 0;
    canvas.TextOut(0, 0, ".");
  }
  SwitchScreens();
  if (FActive) ShowWaitingMessage();
  if (FClosing && OnClose) OnClose();
  FTimer.Rest(RestFor());
  FRested = FTimer.Resting();
}

// How long the loop may sleep before the next tick unless input comes: not at all after a frame
// that showed more than timed steps or while a switch (no active screen) or message waits; else
// until the first screen, control, hint or animation says something is due. The last finished
// screen stays named after its switch: it holds no rest back.
uint32_t TGameEngine::RestFor() const {
  if ((FComposed && !FGraphics->TimedStepsOnly()) || !FActive || FClosing || FModal->Waiting() || FTimer.Tag >= kFullRedraw) return 0;
  const uint32_t now = GetTickCount();
  const TInterface* screen = FModal->Top() ? static_cast<const TInterface*>(FModal->Top()) : FActive;
  return std::min({FGraphics->NextStepIn(), screen->RestFor(now), FAutosave->DueIn()});
}

// Input and the window's own events end a rest; the time rested was play. A change of the
// window shows the whole frame again.
void TGameEngine::Wake(bool windowChanged) {
  if (FRested) FLastTick = GetTickCount();
  FRested = false;
  FTimer.Wake();
  if (windowChanged) ForceRedraw();
}

// Time in which no frame ran (inactive, minimised, dragged window) does not count as play.
void TGameEngine::CorrectPlayClock() {
  const uint32_t now = GetTickCount();
  const uint32_t gap = now - FLastTick;
  if (gap > 3000 && FActive == FBoardPlay.get()) {
    const uint32_t hours = gap / 3600000;
    // A date-time can only hold a time of day; a longer gap is not added.
    if (hours < 24) FBoardPlay->ShiftClock(double(gap) / kMsPerDay);
  }
  FLastTick = now;
}

void TGameEngine::DrawFrame() {
  TSurface& back = FDXDraw.BackBuffer();
  if (FTimer.Tag >= kFullRedraw) {
    if (FTimer.Tag > kFullRedraw) FTimer.Tag = 0;
    FGraphics->TrimSprites();
    back.Fill(0);
    FGraphics->RedrawWhole();
  }
  FGraphics->DrawFrame();
  ++FTimer.Tag;
}

void TGameEngine::Present() {
  if (!FDXDraw.FullScreenOption()) WaitForWindowedCopy();
  FDXDraw.FlipAreas(FGraphics->Damage());
  FTimer.FramePresented();
}

// Copy into a window just after the beam has passed the window's upper three quarters, so the
// picture does not tear; where the window reaches below the screen, wait for the blank instead.
void TGameEngine::WaitForWindowedCopy() {
  if (Options.VBI == 1) {
    FDXDraw.WaitForVerticalBlank();
    return;
  }
  if (Options.VBI != 0) return;
  const TRect window = FDXDraw.WindowBounds();
  if (window.Bottom > FDXDraw.ScreenBounds().Bottom) {
    FDXDraw.WaitForVerticalBlank();
    return;
  }
  const int line = FDXDraw.ClientOrigin().Y + int(0.75 * FDXDraw.Height());
  while (FDXDraw.InVerticalBlank() || FDXDraw.ScanLine() <= line) {
  }
}

// ---------------------------------------------------------------------------------------------
// Input

int TGameEngine::MapButton(int button) const {
  if (!Options.ReverseMouse || button > mbRight) return button;
  return button == mbLeft ? mbRight : mbLeft;
}

int TGameEngine::MapShift(int shift) const {
  if (!Options.ReverseMouse) return shift;
  const int left = shift & ssLeft, right = shift & ssRight;
  return (shift & ~(ssLeft | ssRight)) | (left ? ssRight : 0) | (right ? ssLeft : 0);
}

void TGameEngine::MouseDown(int button, int shift, int x, int y) {
  button = MapButton(button);
  shift = MapShift(shift);
  TModalWindow* modal = FModal->Top();
  FPressInModal = modal != nullptr;
  if (modal) modal->MouseDown(button, shift, x, y);
  else if (FActive) FActive->MouseDown(button, shift, x, y);
  if (x == 0 && y == 0 && FHooks.Minimize) FHooks.Minimize();
}

// A press made on the screen before a window opened over it is released on the screen.
void TGameEngine::MouseUp(int button, int shift, int x, int y) {
  TModalWindow* modal = FPressInModal ? FModal->Top() : nullptr;
  if (modal) modal->MouseUp(MapButton(button), MapShift(shift), x, y);
  else if (FActive) FActive->MouseUp(MapButton(button), MapShift(shift), x, y);
}

void TGameEngine::MouseMove(int shift, int x, int y) {
  if (TModalWindow* modal = FModal->Top()) modal->MouseMove(MapShift(shift), x, y);
  else if (FActive) FActive->MouseMove(MapShift(shift), x, y);
}

// The keys go to the screen, or to the window open over it; the program-wide keys work on both.
TInterface* TGameEngine::KeyReceiver() {
  if (TModalWindow* modal = FModal->Top()) return modal;
  return FActive;
}

void TGameEngine::KeyDown(uint16_t& key, int& shift) {
  if (TInterface* receiver = KeyReceiver(); receiver && !TProgramKeys::OwnsKey(key, shift)) receiver->KeyDown(key, shift);
  shift &= ~(ssLeft | ssRight | ssMiddle | ssDouble);
  FKeys->KeyDown(key, shift);
}

void TGameEngine::KeyPress(char32_t& key) {
  if (TInterface* receiver = KeyReceiver()) receiver->KeyPress(key);
}

void TGameEngine::MouseWheel(int shift, int notches, int x, int y) {
  if (TModalWindow* modal = FModal->Top()) modal->MouseWheel(MapShift(shift), notches, x, y);
  else if (FActive) FActive->MouseWheel(MapShift(shift), notches, x, y);
}

// From the menus the player goes to the new picture; a game or the maker is not interrupted,
// and the picture waits in the library.
void TGameEngine::DropFile(const std::string& path) {
  std::string error;
  const std::string added = AddPictureToLibrary(path, error);
  if (added.empty()) {
    LogError("%s", error.c_str());
    ReportError(Lang(Text::AddingFailed), AddingFailure(path));
    return;
  }
  if (FActive == FPuzzleSelector.get()) FPuzzleSelector->ShowPicture(added);
  else ShowInSelector(added);
}

void TGameEngine::KeyUp(uint16_t& key, int shift) {
  FKeys->KeyUp(key, shift);
  if (TInterface* receiver = KeyReceiver(); receiver && !TProgramKeys::OwnsKey(key, shift)) receiver->KeyUp(key, shift);
}

// ---------------------------------------------------------------------------------------------
// Screen switches

void TGameEngine::TakePictures(const std::vector<std::string>& pictures) {
  std::string chosen;
  for (const std::string& picture : pictures) {
    std::string error;
    const std::string added = AddPictureToLibrary(picture, error);
    if (!added.empty()) chosen = added;
    else ReportError(Lang(Text::LoadingFailed), PictureFailure(picture));
  }
  if (!chosen.empty()) ShowInSelector(chosen);
}

void TGameEngine::ShowInSelector(const std::string& picture) {
  FPuzzleSelector->OpenOn(picture);
  if (FActive == FMainMenu.get() && !FMainMenu->Done() && TMainInterface::Showcase() == EShowcase::None)
    FMainMenu->Finish(MainMenuResult::Selector);
}

// A picture that cannot be read is named with its cause before anything is made of it.
void TGameEngine::PlayPicture(const std::string& picture) {
  if (PictureFileProblem(picture) != EFileProblem::None) {
    ReportError(Lang(Text::LoadingFailed), PictureFailure(picture));
    return;
  }
  std::string error;
  if (!FileExists(ChangeFileExt(picture, ".pzl")) && !MakeDefaultPuzzle(picture, GetTickCount(), error)) {
    LogError("%s: %s", picture.c_str(), error.c_str());
    ReportError(Lang(Text::LoadingFailed), PictureFailure(picture, LoadDetail(error)));
    return;
  }
  FPlayPicture = picture;
  FPuzzleSelector->OpenOn(picture);
  if (FActive == FMainMenu.get() && !FMainMenu->Done()) FMainMenu->Finish(MainMenuResult::PlayGiven);
}

void TGameEngine::ScreenDone(TInterface* sender) {
  FFinished = FActive;
  FActive = nullptr;
}

// Running out of memory is the one failure that ends the program. Anything else that goes wrong
// in a switch is reported and the player lands on the main menu.
void TGameEngine::SwitchScreens() {
  // A window open over the screen keeps it: the switch waits until the window is closed.
  if (!FFinished || FActive || FModal->Top()) return;
  FDXDraw.SetCursor(TCursorKind::Hourglass);
  try {
    SwitchFrom(FFinished, FFinished->Result());
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  } catch (const std::exception& e) {
    RecoverFromFailedSwitch(e.what());
  }
  FDXDraw.SetCursor(TCursorKind::Arrow);
  ForceRedraw();
}

// Acts on the finished screen's result. A combination not listed leaves no active screen, and
// the switch is tried again after the next frame.
bool TGameEngine::SwitchFrom(TInterface* finished, int result) {
  if (finished == FMainMenu.get()) return SwitchFromMainMenu(result);
  if (finished == FPuzzleSelector.get()) return SwitchFromSelector(result);
  if (finished == FOptionsScreen.get()) return SwitchFromOptions(result);
  if (finished == FBoardPlay.get()) return SwitchFromPlay(result);
  if (finished == FPuzzleMaker.get() && result == MakerResult::ToSelector) {
    Activate(*FPuzzleSelector, true, true);
    return true;
  }
  return false;
}

bool TGameEngine::SwitchFromMainMenu(int result) {
  switch (result) {
    case MainMenuResult::Selector: Activate(*FPuzzleSelector, true, true); return true;
    case MainMenuResult::Options: Activate(*FOptionsScreen, true, true); return true;
    case MainMenuResult::ContinueLast: ContinueJigsaw(Options.LastJigsaw); return true;
    case MainMenuResult::MakerOfLast: OpenMaker(Options.LastJigsaw, *FMainMenu); return true;
    case MainMenuResult::PlayGiven:
      if (FileExists(ChangeFileExt(FPlayPicture, ".zip"))) ContinueJigsaw(FPlayPicture);
      else NewGame(FPlayPicture);
      return true;
    case MainMenuResult::Quit:
      if (FHooks.Close) FHooks.Close();
      return true;
    default: return false;
  }
}

bool TGameEngine::SwitchFromSelector(int result) {
  const std::string picture = FPuzzleSelector->CurrentPath();
  switch (result) {
    case SelectorResult::Back: ReturnToMainMenu(false); return true;
    case SelectorResult::NewGame: NewGame(picture); return true;
    case SelectorResult::Maker: OpenMaker(picture, *FPuzzleSelector); return true;
    case SelectorResult::MakeFirst:
      OpenMaker(picture, *FPuzzleSelector);
      if (FActive == FPuzzleMaker.get()) ShowNoPuzzleNote(*FPuzzleMaker, FPuzzleMaker->Button(TPuzzleMakerInterface::Save));
      return true;
    case SelectorResult::Continue: ContinueJigsaw(picture); return true;
    default: return false;
  }
}

// From the options screen: back to the main menu, or back into the game it paused.
bool TGameEngine::SwitchFromOptions(int result) {
  if (result == OptionsResult::ToMainMenu) {
    ReturnToMainMenu(true);
    return true;
  }
  if (result != OptionsResult::ToGame) return false;
  FOptionsScreen->Leave();
  FActive = FBoardPlay.get();
  FBoardPlay->Resume();
  return true;
}

// From play: to the main menu, to the pictures with the finished one chosen, or to the options
// screen while the game waits suspended.
bool TGameEngine::SwitchFromPlay(int result) {
  if (result == PlayResult::ToMainMenu) {
    ReturnToMainMenu(true);
    return true;
  }
  if (result == PlayResult::ToPictures) {
    FPuzzleSelector->OpenOn(Options.LastJigsaw);
    Activate(*FPuzzleSelector, true, true);
    return true;
  }
  if (result != PlayResult::Options) return false;
  FOptionsScreen->EnterOverGame();
  FActive = FOptionsScreen.get();
  return true;
}

void TGameEngine::Activate(TInterface& screen, bool freeSprites, bool freshWorkSurface) {
  if (freeSprites) FreeSprites();
  screen.Enter();
  FActive = &screen;
  if (freshWorkSurface) FGraphics->ResetWorkSurface();
}

void TGameEngine::ReturnToMainMenu(bool freeSprites) {
  if (freeSprites) FreeSprites();
  FMainMenu->Enter();
  FActive = FMainMenu.get();
}

// Screens free what they made when they are left: a sprite still in use here was left behind.
void TGameEngine::FreeSprites() {
  const int leaked = FGraphics->FreeAllSprites();
  if (leaked == 0) return;
  FLeakedSprites += leaked;
  LogError("%d sprite(s) left behind by the screen before", leaked);
}

// A jigsaw that cannot be loaded is named with the cause, and the player stays where they were.
void TGameEngine::LoadFailed(const std::string& picture, const std::string& error, TInterface& from) {
  if (!picture.empty()) LogError("%s: %s", picture.c_str(), error.c_str());
  const bool unmade = !picture.empty() && !FileExists(ChangeFileExt(picture, ".pzl"));
  const std::string detail = unmade ? Lang(Text::NoPuzzleMadeOfIt) : LoadDetail(error);
  ReportError(Lang(Text::LoadingFailed), picture.empty() ? Lang(Text::NoPuzzlePlayedYet) : PictureFailure(picture, detail));
  ReturnTo(from);
}

void TGameEngine::ReturnTo(TInterface& from) {
  if (&from == FMainMenu.get())
    ReturnToMainMenu(true);
  else
    Activate(from, true, false);
}

void TGameEngine::OpenMaker(const std::string& picture, TInterface& from) {
  std::string error;
  if (!FPuzzleMaker->OpenPicture(picture, error)) {
    LoadFailed(picture, error, from);
    return;
  }
  FreeSprites();
  // Active before it enters: a maker that finds nothing to make leaves at once, and the next
  // switch takes the player back.
  FActive = FPuzzleMaker.get();
  FPuzzleMaker->Enter();
  FGraphics->ResetWorkSurface();
}

void TGameEngine::NewGame(const std::string& picture) {
  if (!FLauncher->NewGame(picture)) {
    LoadFailed(picture, FLauncher->LastError(), *FPuzzleSelector);
    return;
  }
  FActive = FBoardPlay.get();
}

// Continues the saved game of the picture; the selector's choice becomes the last jigsaw.
void TGameEngine::ContinueJigsaw(const std::string& picture) {
  TInterface& from = *FFinished;
  switch (FLauncher->ContinueGame(picture)) {
    case EContinueResult::Playing: FActive = FBoardPlay.get(); return;
    case EContinueResult::NotLoaded: LoadFailed(picture, FLauncher->LastError(), from); return;
    // The saved game reports its own trouble; the player goes back where they came from.
    case EContinueResult::NotRestored: ReturnTo(from); return;
  }
}

// A switch that failed half way: every screen lets go of what it made, and the main menu
// takes over.
void TGameEngine::RecoverFromFailedSwitch(const std::string& cause) {
  FPuzzleMaker->ReleasePicture();
  ReportError(Lang(Text::SomethingWentWrong), cause);
  for (TInterface* screen : Screens())
    if (!screen->Done()) screen->Leave();
  FGraphics->FreeAllSprites();
  ReturnToMainMenu(false);
}

// The cause behind a failed load in the player's words where the game knows it, else the
// system's own.
std::string TGameEngine::LoadDetail(const std::string& error) {
  return error == kTooSmallForPuzzle ? Lang(Text::PictureTooSmall) : FillIn(Text::ReasonGiven, error);
}

// Loading or cutting a jigsaw ran out of memory: the one case that ends the program.
void TGameEngine::OutOfMemory() {
  FPuzzleMaker->ReleasePicture();
  if (FHooks.MessageBox) FHooks.MessageBox(kOutOfMemory, "Error");
  if (FHooks.Terminate) FHooks.Terminate();
}

void TGameEngine::ReportError(const std::string& title, const std::string& text) {
  LogError("%s", text.c_str());
  FModal->Report(title, text);
}

void TGameEngine::ShowWaitingMessage() {
  if (!FModal->Waiting() || FModal->Messages().Shown()) return;
  FModal->ShowPending();
  ForceRedraw();
  if (FHooks.MessageShown) FHooks.MessageShown(FModal->Messages().Text(), FModal->Messages().Title());
}

// A save, a continue or the library's scan in the progress box.
void TGameEngine::ShowProgress(ETextId line, int64_t done, int64_t total) {
  if (InfoWindow().ShowProgress(Lang(line), done, total)) FDXDraw.ShowPrimary();
}

// ---------------------------------------------------------------------------------------------
// Display changes and shutdown

void TGameEngine::Resize() {
  if (FKeys->SwitchingMode() || !FTimer.Enabled) return;
  FGraphics->UpdateSurfaceSize();
  if (FActive) FActive->Resize();
  FModal->Resize();
}

void TGameEngine::SurfacesRestored() {
  if (FFirstRestore) {
    FFirstRestore = false;
    return;
  }
  FGraphics->LoadBackground();
  if (FActive) FActive->Restore();
  FModal->RestoreControls();
}

void TGameEngine::FocusChanged(bool active) { FAutosave->FocusChanged(active, GetTickCount()); }

void TGameEngine::WhileAway() { FAutosave->Step(GetTickCount()); }

void TGameEngine::Shutdown() {
  FClosing = true;
  FModal->CloseAll();
  if (FActive && !FActive->Done()) FActive->Leave();
  FTimer.Enabled = false;
  // Settings are kept on a best-effort basis: the game is over, and the player only learns why.
  if (!SaveSettings())
    LogError("cannot write the settings file %s: %s", SettingsPath("Jigsaw.stg").c_str(), std::strerror(errno));
  FActive = nullptr;
  RemoveFonts(FFonts);
  FFonts.clear();
}

}  // namespace qj
