#include "tests/damage/GameRun.h"

#include <cstdio>

#include "app/UGameEngine.h"
#include "creation/UBitmapBuilder.h"
#include "platform/Dib.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "controls/UButtons.h"
#include "play/UBoardMenu.h"
#include "play/UBoardPlayInterface.h"
#include "screens/UMainInterface.h"

namespace qj::test {

TGameRun::TGameRun() { SetClock(&FClock); }

TGameRun::~TGameRun() {
  FMainWindow.reset();
  SetClock(nullptr);
}

void TGameRun::Start() {
  TPlatformServices services;
  services.MessageBox = [this](const std::string& text, const std::string&) { Messages.push_back(text); };
  FMainWindow = std::make_unique<Tmf>(FDisplay, services);
  FMainWindow->FormCreate();
  FDisplay.Initialize();
}

void TGameRun::Frame() {
  FClock.Advance(20);
  FMainWindow->Idle();
}

std::string TGameRun::Step(const std::vector<uint16_t>& keys) {
  for (const uint16_t key : keys) {
    if (FMainWindow->Terminated()) break;
    TInputEvent down{TInputKind::KeyDown, 0, 0, 0, 0, key};
    FMainWindow->HandleEvent(down);
    TInputEvent up{TInputKind::KeyUp, 0, 0, 0, 0, key};
    FMainWindow->HandleEvent(up);
  }
  for (int i = 0; i < 2 && !FMainWindow->Terminated(); ++i) Frame();
  return ScreenName();
}

std::string TGameRun::ScreenName() const {
  TGameEngine* engine = Running();
  if (!engine) return "stopped";
  TGameEngine& e = *engine;
  const TInterface* active = e.Active();
  if (active == &e.MainMenu()) return "main-menu";
  if (active == &e.BoardPlay()) return "play";
  return active ? "other" : "none";
}

TGameEngine* TGameRun::Running() const {
  return FMainWindow && !FMainWindow->Terminated() ? FMainWindow->Engine() : nullptr;
}

std::string TGameRun::Choose(const std::string& picture) {
  if (TGameEngine* engine = Running()) engine->ShowInSelector(picture);
  return Step({});
}

std::string TGameRun::PlayPicture(const std::string& picture) {
  if (TGameEngine* engine = Running()) engine->PlayPicture(picture);
  return Step({});
}

void TGameRun::Click(int x, int y) {
  const TPoint origin = FDisplay.ClientOrigin();
  FDisplay.Cursor = {origin.X + x, origin.Y + y};
  TInputEvent move{TInputKind::MouseMove, 0, 0, x, y, 0};
  FMainWindow->HandleEvent(move);
  TInputEvent down{TInputKind::MouseDown, mbLeft, ssLeft, x, y, 0};
  FMainWindow->HandleEvent(down);
  Frame();
  TInputEvent up{TInputKind::MouseUp, mbLeft, 0, x, y, 0};
  FMainWindow->HandleEvent(up);
}

std::string TGameRun::LeaveGame() {
  const std::string screen = Step({VK_ESCAPE});
  TGameEngine* engine = Running();
  if (screen != "play" || !engine) return screen;
  TBoardMenu& menu = engine->BoardPlay().Menu();
  // Without a hot key for the exit dialog (the settings file holds them all) the player clicks
  // the menu's exit button.
  if (!menu.ModalOpen()) menu.ClickSide(MenuButton::Exit, EMenuSide::Left);
  if (!menu.ModalOpen()) return screen;
  const TDXButton& save = *menu.ExitButton(0);
  Click(save.FLeft + save.FWidth / 2, save.FTop + save.FHeight / 2);
  return Step({});
}

void TGameRun::PrintMessages() const {
  for (std::string message : Messages) {
    for (size_t at; (at = message.find('\n')) != std::string::npos;) message.replace(at, 1, " / ");
    std::printf("message: %s\n", message.c_str());
  }
}

void TGameRun::Close() {
  if (!FMainWindow) return;
  TInputEvent close{TInputKind::CloseQuery, 0, 0, 0, 0, 0};
  FMainWindow->HandleEvent(close);
  FMainWindow.reset();
}

std::string MakeSmallJigsaw(const std::string& folder, const std::string& name) {
  TMyDib dib(160, 120, 24);
  for (int y = 0; y < dib.Height(); ++y)
    for (int x = 0; x < dib.Width(); ++x) dib.At(x, y) = MakePixel(x * 3 % 256, y * 5 % 256, (x * y) % 256);
  const std::string path = folder + "/Jigsaws/" + name + ".bmp";
  TPuzzleCutter cutter;
  const bool made = dib.SaveToFile(path) && cutter.LoadPicture(path);
  if (!made) return {};
  cutter.ScalePicture(1);
  cutter.SetCutStyle(0, 1, 40, 40, 0, 0, 1, 1);
  cutter.DrawCutMap();
  return cutter.SavePuzzleFile(ChangeFileExt(path, ".pzl")) ? path : std::string();
}

}  // namespace qj::test
