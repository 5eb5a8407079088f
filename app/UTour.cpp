#include "app/UTour.h"

#include "controls/UControls.h"
#include "controls/UTrayWindow.h"
#include "controls/UEngines.h"
#include "app/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/PngCodec.h"
#include "play/UBoardMenu.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPieceList.h"
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

}  // namespace

TTour::TTour(TGameEngine& engine, IDisplay& display, std::function<void(TInputEvent&)> send, std::string folder,
             std::string picture)
    : FEngine(engine), FDisplay(display), FSend(std::move(send)), FFolder(std::move(folder)), FPicture(std::move(picture)) {
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
  add("main-menu", [this] { Hover(FEngine.MainMenu().Button(TMainInterface::Play)); }, 1500, on(&TGameEngine::MainMenu));
  add("credits", [this] { Click(FEngine.MainMenu().Button(TMainInterface::Credits)); }, 4000, on(&TGameEngine::MainMenu));
  add("selector", [this] { Stroke('P', 'p'); }, 1000, on(&TGameEngine::Selector));
  add("maker", [this] { Stroke('M', 'm'); }, 1000, on(&TGameEngine::Maker));
  add("", [this] { Stroke(VK_ESCAPE); }, 0, on(&TGameEngine::Selector));
  add("", [this] { Stroke(VK_ESCAPE); }, 0, on(&TGameEngine::MainMenu));
  add("", [this] { FEngine.PlayPicture(FPicture); }, 0,
      [&e] { return e.Active() == &e.BoardPlay() && e.BoardPlay().GameSetUp(); });
  add("game", [this] { ShowGameExtras(); }, 1500, on(&TGameEngine::BoardPlay));
  // Ctrl + wheel towards the player shows the whole table; away from the player over the menu bar
  // brings the view back as it was.
  add("overview", [this] { Wheel(-1, ssCtrl); }, 1200, on(&TGameEngine::BoardPlay));
  add("exit-dialog",
      [this] {
        Wheel(1, ssCtrl);
        FEngine.BoardPlay().Menu().ClickSide(MenuButton::Exit, EMenuSide::Left);
      },
      800, on(&TGameEngine::BoardPlay));
  add("", [this] { Click(FEngine.BoardPlay().Menu().ExitButton(0)); }, 0, on(&TGameEngine::MainMenu));
  add("options", [this] { Stroke('O', 'o'); }, 1000, on(&TGameEngine::OptionsScreen));
  add("hotkeys", [this] { FEngine.OptionsScreen().StartCapture(kCaptureRow); }, 800, on(&TGameEngine::OptionsScreen));
  add("", [this] { Stroke(VK_ESCAPE); Stroke(VK_ESCAPE); }, 0, on(&TGameEngine::MainMenu));
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
  if (SaveOpaquePng(FDisplay.Primary(), path, error))
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

void TTour::Stroke(uint16_t key, char32_t typed) {
  Send(TInputKind::KeyDown, 0, 0, key);
  if (typed) Send(TInputKind::KeyPress, 0, 0, 0, typed);
  Send(TInputKind::KeyUp, 0, 0, key);
}

// The wheel turned by notches where the mouse was left: at the bottom edge, over the menu bar.
void TTour::Wheel(int notches, int shift) {
  TInputEvent event;
  event.Kind = TInputKind::MouseWheel;
  event.X = FDisplay.Width() / 2;
  event.Y = FDisplay.Height() - 1;
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
