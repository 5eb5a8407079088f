#include "app/UTour.h"

#include <algorithm>

#include "controls/UButtons.h"
#include "controls/UWindows.h"
#include "controls/UControls.h"
#include "controls/UTrayWindow.h"
#include "controls/UEngines.h"
#include "app/UGameEngine.h"
#include "app/UModalWindows.h"
#include "core/UFailureText.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Paths.h"
#include "platform/PngCodec.h"
#include "platform/Viewport.h"
#include "creation/UPuzzleDefaults.h"
#include "play/UBoardMenu.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPiece.h"
#include "play/UPieceList.h"
#include "platform/Paths.h"
#include "screens/UPictureLibrary.h"
#include "screens/UMainInterface.h"
#include "screens/UOptionsInterface.h"
#include "screens/UPuzzleMakerInterface.h"
#include "screens/UPuzzleSelectorInterface.h"

namespace qj {
namespace {

// A screen that has not come up by then will not: the tour stops instead of waiting forever.
constexpr uint32_t kStepTimeoutMs = 30000;
constexpr int kTrayPieces = 6;
constexpr int kCaptureRow = 5;  // a hot key with two keys: its row shows the prompt for the first
// The desktop whose full screen is shown, whatever screen the tour runs on.
constexpr TPoint kFullHd{1920, 1080};
constexpr int kFinishWidth = 480;  // the finished picture, in the middle of any window
constexpr uint32_t kFinishSeed = 12;

}  // namespace

TTour::TTour(TGameEngine& engine, IDisplay& display, std::function<void(TInputEvent&)> send, std::string folder,
             std::string picture)
    : FEngine(engine), FDisplay(display), FSend(std::move(send)), FFolder(std::move(folder)), FPicture(std::move(picture)) {
  FKeepSavedGame = FileExists(ChangeFileExt(FPicture, ".zip"));
  const std::vector<std::string> pictures = LibraryPictures();
  // Another picture than the one played, whose saved game the tour keeps.
  for (const std::string& p : pictures)
    if (p != FPicture) FFinishPicture = p;
  for (int theme = 0; theme < int(Themes.size()); ++theme) PlanTheme(theme);
}

// Each theme is chosen on the options screen, as a player would, and its tour starts from the
// main menu that screen returns to. Steps without a screen name only move on.
void TTour::PlanTheme(int theme) {
  TGameEngine& e = FEngine;
  auto on = [&e](auto screen) { return [&e, screen] { return e.Active() == &(e.*screen)(); }; };
  auto add = [&](std::string screen, std::function<void()> go, uint32_t settleMs, std::function<bool()> ready) {
    FSteps.push_back({std::move(screen), std::move(go), settleMs, std::move(ready)});
    FStepTheme.push_back(theme);
  };
  add("", [this] { Stroke('O', 'o'); }, 0, on(&TGameEngine::OptionsScreen));
  add("", [this, theme] { UseTheme(theme); Stroke(VK_ESCAPE); }, 0, on(&TGameEngine::MainMenu));
  // Continue's hint: the game the tour left in the theme before, or why there is none.
  add("main-menu",
      [this] {
        TDXButton* resume = FEngine.MainMenu().Button(TMainInterface::Continue);
        Hover(resume);
        if (resume) resume->ShowHints();
      },
      1500, on(&TGameEngine::MainMenu));
  add("credits", [this] { Click(FEngine.MainMenu().Button(TMainInterface::Credits)); }, 4000, on(&TGameEngine::MainMenu));
  add("selector", [this] { Stroke('P', 'p'); }, 1000, on(&TGameEngine::Selector));
  add("maker", [this] { Stroke('M', 'm'); }, 1000, on(&TGameEngine::Maker));
  // The wheel over the picture zooms in towards the mouse.
  add("maker-zoomed",
      [this] {
        const TDXWindow& view = *FEngine.Maker().View();
        Wheel(3, 0, {view.FLeft + view.FWidth / 3, view.FTop + view.FHeight / 3});
      },
      800, on(&TGameEngine::Maker));
  add("", [this] { Stroke(VK_ESCAPE); }, 0, on(&TGameEngine::Selector));
  add("", [this] { Stroke(VK_ESCAPE); }, 0, on(&TGameEngine::MainMenu));
  add("", [this] { FEngine.PlayPicture(FPicture); }, 0,
      [&e] { return e.Active() == &e.BoardPlay() && e.BoardPlay().GameSetUp(); });
  add("spread-new-game", [this] { Send(TInputKind::MouseMove, FDisplay.Width() / 2, FDisplay.Height() / 3); }, 1200,
      on(&TGameEngine::BoardPlay));
  // Ctrl + wheel towards the player shows the whole table; away from the player at its top left
  // corner brings the close view back there.
  add("overview", [this] { Wheel(-1, ssCtrl, {FDisplay.Width() / 2, FDisplay.Height() / 2}); }, 1200,
      on(&TGameEngine::BoardPlay));
  add("game",
      [this] {
        Wheel(1, ssCtrl, {0, 0});
        ShowGameExtras();
      },
      1500, on(&TGameEngine::BoardPlay));
  add("menu-bar-hint",
      [this] {
        TBoardMenuButton* loupe = FEngine.BoardPlay().Menu().Button(MenuButton::Loupe);
        Hover(loupe);
        if (loupe) (void)loupe->ShowHint();
      },
      800, on(&TGameEngine::BoardPlay));
  const auto fullScreen = [this, &e](bool on) {
    return [this, &e, on] { return e.Active() == &e.BoardPlay() && FDisplay.FullScreenOption() == on; };
  };
  add("fullscreen", [this] { FullScreenAsOn(kFullHd); }, 1500, fullScreen(true));
  FSteps.back().ShownOn = kFullHd;
  add("", [this] { LeaveFullScreen(); }, 0, fullScreen(false));
  add("trays-after-sort", [this] { FEngine.BoardPlay().Menu().ClickSide(MenuButton::Sort, EMenuSide::Left); }, 1200,
      on(&TGameEngine::BoardPlay));
  add("exit-dialog", [this] { FEngine.BoardPlay().Menu().ClickSide(MenuButton::Exit, EMenuSide::Left); }, 800,
      on(&TGameEngine::BoardPlay));
  add("", [this] { Click(FEngine.BoardPlay().Menu().ExitButton(FKeepSavedGame ? 0 : 1)); }, 0,
      on(&TGameEngine::MainMenu));
  PlanWindows(theme);
  PlanFinish(theme);
  add("options", [this] { Stroke('O', 'o'); }, 1000, on(&TGameEngine::OptionsScreen));
  add("hotkeys", [this] { FEngine.OptionsScreen().StartCapture(kCaptureRow); }, 800, on(&TGameEngine::OptionsScreen));
  add("", [this] { Stroke(VK_ESCAPE); Stroke(VK_ESCAPE); }, 0, on(&TGameEngine::MainMenu));
}

// The game's own windows over the main menu: the message a picture that cannot be opened brings,
// and the help of F1; each closed with its key.
void TTour::PlanWindows(int theme) {
  TGameEngine& e = FEngine;
  const auto add = [this, theme](std::string screen, std::function<void()> go, uint32_t settleMs, std::function<bool()> ready) {
    FSteps.push_back({std::move(screen), std::move(go), settleMs, std::move(ready)});
    FStepTheme.push_back(theme);
  };
  add("message", [this] { FEngine.ReportError(Lang(Text::LoadingFailed), PictureFailure(FFolder + "/Holiday.jpg")); },
      800, [&e] { return e.Modal().Messages().Shown(); });
  add("", [this] { Stroke(VK_RETURN); }, 0, [&e] { return e.Modal().Top() == nullptr; });
  add("help", [this] { Stroke(VK_F1); }, 800, [&e] { return e.Modal().Help().Shown(); });
  add("", [this] { Stroke(VK_ESCAPE); }, 0, [&e] { return e.Modal().Top() == nullptr; });
}

// A 12-piece puzzle finished by a scripted player, the panel that greets it, the picture the
// player stays to look at and the statistics window; then away through the exit dialog.
void TTour::PlanFinish(int theme) {
  TGameEngine& e = FEngine;
  auto add = [&](std::string screen, std::function<void()> go, uint32_t settleMs, std::function<bool()> ready) {
    FSteps.push_back({std::move(screen), std::move(go), settleMs, std::move(ready)});
    FStepTheme.push_back(theme);
  };
  add("", [this] { StartSmallGame(); }, 0, [&e] { return e.Active() == &e.BoardPlay() && e.BoardPlay().GameSetUp(); });
  add("completion", [] {}, 1500, [this] { return CarryNextPieceHome(); });
  add("finished-picture", [this] { Click(FEngine.BoardPlay().Menu().Completion().Button(TCompletionPanel::StayAtTable)); },
      800, [&e] { return !e.BoardPlay().Menu().ModalOpen(); });
  // The finished game's figures and its joins per minute; Escape closes the window.
  add("statistics", [this] { FEngine.BoardPlay().Menu().ClickSide(MenuButton::Statistics, EMenuSide::Left); }, 800,
      [&e] { return e.BoardPlay().Menu().StatisticsWindow().Shown(); });
  add("", [this] { Stroke(VK_ESCAPE); }, 0, [&e] { return !e.BoardPlay().Menu().ModalOpen(); });
  add("", [this] { FEngine.BoardPlay().Menu().ClickSide(MenuButton::Exit, EMenuSide::Left); }, 0,
      [&e] { return e.BoardPlay().Menu().ModalOpen(); });
  add("", [this] { Click(FEngine.BoardPlay().Menu().ExitButton(0)); }, 0, [&e] { return e.Active() == &e.MainMenu(); });
}

// A fresh game every time: a puzzle file of 4 x 3 pieces replaces the picture's own, and a saved
// game of it is dropped.
void TTour::StartSmallGame() {
  std::string error;
  if (FFinishPicture.empty() || !MakeGridPuzzle(FFinishPicture, kFinishWidth, 4, 3, kFinishSeed, error)) {
    FErrors.push_back("no puzzle to finish: " + (error.empty() ? "the library has no picture" : error));
    return;
  }
  (void)DeleteFile(ChangeFileExt(FFinishPicture, ".zip"));
  FEngine.PlayPicture(FFinishPicture);
}

// The scripted player: each frame in which nothing settles, one more piece is carried upright to
// its place in the picture laid out in the middle of the screen. Ready once the panel is up.
bool TTour::CarryNextPieceHome() {
  TBoardPlayInterface& play = FEngine.BoardPlay();
  if (play.Menu().Completion().Shown()) return true;
  TPieces& set = play.Pieces();
  const TMyDib* picture = play.Menu().Picture();
  if (set.Settling() || !picture) return false;
  const TPoint origin{FEngine.Graphics().FScrollX + (FDisplay.Width() - picture->Width()) / 2,
                      FEngine.Graphics().FScrollY + (FDisplay.Height() - picture->Height()) / 3};
  for (int i = set.Count() - 1; i >= 0; --i) {
    TBPiece& p = set.Piece(i);
    const TPoint home{origin.X + p.FBoxTopLeft[0].X - PieceMargin(), origin.Y + p.FBoxTopLeft[0].Y - PieceMargin()};
    if (p.FPosition == home) continue;
    set.Board().Mouse = p.FPosition;
    if (!set.PickUp(i)) continue;
    set.StartCarrying(play.DragDepth());
    set.Board().Mouse = {home.X + p.FGrab.X, home.Y + p.FGrab.Y};
    set.Update();
    (void)set.DropSelection(set.Board().Mouse.X, set.Board().Mouse.Y, true);
    return false;
  }
  return false;
}

bool TTour::AfterFrame() {
  if (FStep >= FSteps.size()) return false;
  const uint32_t now = GetTickCount();
  if (!FStarted) {
    FStarted = true;
    FStepStart = now;
    FSteps[FStep].Go();
    return true;
  }
  const TStep& step = FSteps[FStep];
  if (!step.Ready()) {
    if (now - FStepStart < kStepTimeoutMs) return true;
    FErrors.push_back("the tour stopped: no " + (step.Screen.empty() ? "screen change" : step.Screen) + " after " +
                      std::to_string(kStepTimeoutMs / 1000) + " s");
    FStep = FSteps.size();
    return false;
  }
  if (now - FStepStart < step.SettleMs) return true;
  if (!step.Screen.empty()) Shoot();
  ++FStep;
  FStarted = false;
  return FStep < FSteps.size();
}

// What is on screen now: the last frame shown.
void TTour::Shoot() {
  const TStep& step = FSteps[FStep];
  const std::string path = FFolder + "/" + Themes[size_t(FStepTheme[FStep])].Name + "-" + step.Screen + ".png";
  std::string error;
  if (SaveOpaquePng(step.ShownOn.X > 0 ? ShownOn(step.ShownOn) : FDisplay.Primary(), path, error))
    ++FWritten;
  else
    FErrors.push_back(error);
}

void TTour::UseTheme(int theme) {
  if (Options.Environment == theme) return;
  Options.Environment = theme;
  FEngine.ReloadAppearance();
}

// The table as a player has it a while into a game: the mouse at the bottom edge, which brings
// out the menu bar, and a tray open with a few pieces in it.
void TTour::ShowGameExtras() {
  Send(TInputKind::MouseMove, FDisplay.Width() / 2, FDisplay.Height() - 1);
  TBoardPlayInterface& play = FEngine.BoardPlay();
  TPieces& pieces = play.Pieces();
  for (int i = 0; i < kTrayPieces && i < play.PieceCount(); ++i) pieces.MoveIntoTray(i, 1);
  if (TDXTrayWindow* tray = pieces.Tray(1)) tray->Open();
}

// The path Alt+Enter takes, with the game's screen for that desktop's size; the menu bar is
// brought up again at the new bottom edge.
void TTour::FullScreenAsOn(TPoint desktop) {
  const TPoint size = DesktopSurfaceSize(desktop.X, desktop.Y);
  (void)FEngine.Graphics().ToggleFullScreen({size.X, size.Y, 32, 0});
  FEngine.ForceRedraw();
  FEngine.Resize();
  Send(TInputKind::MouseMove, FDisplay.Width() / 2, FDisplay.Height() - 1);
}

void TTour::LeaveFullScreen() {
  (void)FEngine.Graphics().ToggleFullScreen(FDisplay.FullScreenMode());
  FEngine.ForceRedraw();
  FEngine.Resize();
}

// The last frame as a screen of that size shows it: fitted between black bars and enlarged by
// the display's own scaler.
TPixelBuffer TTour::ShownOn(TPoint screen) {
  TPixelBuffer shown(screen.X, screen.Y);
  const TViewport view = FitViewport(FDisplay.Width(), FDisplay.Height(), screen.X, screen.Y);
  const TPixelBuffer& picture = FScaler.Enlarge(FDisplay.Primary(), view.Picture.Width(), view.Picture.Height());
  for (int y = 0; y < picture.Height(); ++y)
    std::copy(picture.Row(y), picture.Row(y) + picture.Width(), shown.Row(view.Picture.Top + y) + view.Picture.Left);
  return shown;
}

void TTour::Stroke(uint16_t key, char32_t typed) {
  Send(TInputKind::KeyDown, 0, 0, key);
  if (typed) Send(TInputKind::KeyPress, 0, 0, 0, typed);
  Send(TInputKind::KeyUp, 0, 0, key);
}

// The wheel turned by notches where the mouse was left: at the bottom edge, over the menu bar.
void TTour::Wheel(int notches, int shift, TPoint at) {
  TInputEvent event;
  event.Kind = TInputKind::MouseWheel;
  event.X = at.X;
  event.Y = at.Y;
  event.Wheel = notches;
  event.Shift = shift;
  FSend(event);
}

void TTour::Hover(const TDXControl* control) {
  if (control) Send(TInputKind::MouseMove, control->FLeft + control->FWidth / 2, control->FTop + control->FHeight / 2);
}

void TTour::Click(const TDXControl* control) {
  if (!control) return;
  Hover(control);
  const int x = control->FLeft + control->FWidth / 2, y = control->FTop + control->FHeight / 2;
  Send(TInputKind::MouseDown, x, y);
  Send(TInputKind::MouseUp, x, y);
}

void TTour::Send(TInputKind kind, int x, int y, uint16_t key, char32_t typed) {
  TInputEvent event;
  event.Kind = kind;
  event.X = x;
  event.Y = y;
  event.Key = key;
  event.Char = typed;
  event.Button = mbLeft;
  event.Shift = kind == TInputKind::MouseDown ? ssLeft : 0;
  FSend(event);
}

}  // namespace qj
