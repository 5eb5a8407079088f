#include "tests/support/GameRun.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "app/UGameEngine.h"
#include "app/UModalWindows.h"
#include "controls/UButtons.h"
#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "platform/Dib.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "play/UBoardMenu.h"
#include "play/UBoardPlayInterface.h"
#include "screens/UMainInterface.h"
#include "screens/UOptionsInterface.h"
#include "screens/UPuzzleMakerInterface.h"
#include "screens/UPuzzleSelectorInterface.h"

namespace qj::test {

TGameRun::TGameRun() { SetClock(&clock); }

TGameRun::~TGameRun() {
  mainWindow.reset();
  SetClock(nullptr);
}

void TGameRun::Start() {
  TPlatformServices services;
  services.MessageBox = [this](const std::string& text, const std::string&) { messages.push_back(text); };
  services.MessageShown = services.MessageBox;
  mainWindow = std::make_unique<Tmf>(display, services);
  mainWindow->FormCreate();
  display.Initialize();
}

void TGameRun::Frame() {
  clock.Advance(20);
  if (mainWindow) mainWindow->Idle();
}

// A stopped program takes no input, as a closed window takes none; one never started is the
// test's own mistake.
void TGameRun::Send(TInputEvent event) {
  if (!mainWindow) {
    ADD_FAILURE() << "input for a program that was never started";
    return;
  }
  mainWindow->HandleEvent(event);
}

void TGameRun::KeyDown(uint16_t key, int shift) { Send({TInputKind::KeyDown, 0, shift, 0, 0, key}); }

void TGameRun::KeyUp(uint16_t key, int shift) { Send({TInputKind::KeyUp, 0, shift, 0, 0, key}); }

namespace {
int ButtonBit(int button) { return button == mbLeft ? ssLeft : button == mbRight ? ssRight : ssMiddle; }
}  // namespace

void TGameRun::Mouse(TInputKind kind, int button, int x, int y, int keys) {
  // The cursor is where the platform reports it: in screen coordinates.
  const TPoint origin = display.ClientOrigin();
  display.Cursor = {origin.X + x, origin.Y + y};
  Send({kind, button, FButtons | keys, x, y, 0});
}

void TGameRun::MouseDown(int x, int y, int button, int keys) {
  FButtons |= ButtonBit(button);
  Mouse(TInputKind::MouseDown, button, x, y, keys);
}

void TGameRun::MouseMove(int x, int y, int keys) { Mouse(TInputKind::MouseMove, 0, x, y, keys); }

void TGameRun::MouseUp(int x, int y, int button, int keys) {
  FButtons &= ~ButtonBit(button);
  Mouse(TInputKind::MouseUp, button, x, y, keys);
}

std::string TGameRun::Step(const std::vector<uint16_t>& keys) {
  for (const uint16_t key : keys)
    if (Running()) Key(key);
  for (int i = 0; i < 2 && Running(); ++i) Frame();
  return ScreenName();
}

std::string TGameRun::ScreenName() const {
  TGameEngine* engine = Running();
  if (!engine) return "stopped";
  TGameEngine& e = *engine;
  const TInterface* active = e.Active();
  if (!active) return "none";
  if (active == &e.MainMenu()) return "main-menu";
  if (active == &e.Selector()) return "selector";
  if (active == &e.OptionsScreen()) return "options";
  if (active == &e.Maker()) return "maker";
  if (active == &e.BoardPlay()) return "play";
  return "other";
}

TGameEngine* TGameRun::Running() const {
  return mainWindow && !mainWindow->Terminated() ? mainWindow->Engine() : nullptr;
}

TGameEngine& TGameRun::Engine() const {
  if (TGameEngine* engine = Running()) return *engine;
  throw std::logic_error(mainWindow ? "the program has stopped: there is no engine to ask"
                                    : "the program was never started: there is no engine to ask");
}

std::string TGameRun::Choose(const std::string& picture) {
  if (TGameEngine* engine = Running()) engine->ShowInSelector(picture);
  return Step({});
}

std::string TGameRun::PlayPicture(const std::string& picture) {
  if (TGameEngine* engine = Running()) engine->PlayPicture(picture);
  return Step({});
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
  const int x = save.FLeft + save.FWidth / 2, y = save.FTop + save.FHeight / 2;
  MouseMove(x, y);
  MouseDown(x, y);
  Frame();
  MouseUp(x, y);
  const std::string left = Step({});
  // A save that failed is told in the message window, and the table waits until it is read.
  if (!Running() || !Engine().Modal().Messages().Shown()) return left;
  CloseMessages();
  return Step({});
}

void TGameRun::PrintMessages() const {
  for (std::string message : messages) {
    for (size_t at; (at = message.find('\n')) != std::string::npos;) message.replace(at, 1, " / ");
    std::printf("message: %s\n", message.c_str());
  }
}

void TGameRun::CloseMessages() {
  for (int shown = 0; shown < 20; ++shown) {
    TGameEngine* engine = Running();
    if (!engine || !engine->Modal().Messages().Shown()) return;
    Key(VK_RETURN);
    Frame();
  }
}

void TGameRun::Close() {
  if (!mainWindow) return;
  Send({TInputKind::CloseQuery, 0, 0, 0, 0, 0});
  mainWindow.reset();
}

TEngineFixture::TEngineFixture() : FSavedFolder(ProgramFolder()) {
  SetProgramFolder(folder.Path());
  std::string lines;
  for (int i = 0; i < 300; ++i) lines += "Line " + std::to_string(i) + "\r\n";
  folder.Write("Text/English.lang", lines);
  folder.Write("Jigsaws/.keep", "");
  Options = TOptions();
}

// The program ends before its folder and settings are put back.
TEngineFixture::~TEngineFixture() {
  mainWindow.reset();
  SetProgramFolder(FSavedFolder);
  Options = TOptions();
}

void TEngineFixture::CopyShapeFile() {
  std::filesystem::create_directories(folder.File("Shapes"));
  std::filesystem::copy_file(std::string(QJ_SOURCE_DIR) + "/data/Shapes/Shape1.txt", folder.File("Shapes/Shape1.txt"),
                             std::filesystem::copy_options::overwrite_existing);
}

std::string TEngineFixture::MakeJigsaw(const std::string& name, bool withPuzzle) {
  EXPECT_FALSE(MakeSmallJigsaw(folder.Path(), name, withPuzzle).empty()) << name;
  return folder.File("Jigsaws/" + name + ".bmp");
}

std::string MakeSmallJigsaw(const std::string& folder, const std::string& name, bool withPuzzle) {
  TMyDib dib(160, 120, 24);
  for (int y = 0; y < dib.Height(); ++y)
    for (int x = 0; x < dib.Width(); ++x) dib.At(x, y) = MakePixel(x * 3 % 256, y * 5 % 256, (x * y) % 256);
  const std::string path = folder + "/Jigsaws/" + name + ".bmp";
  if (!dib.SaveToFile(path)) return {};
  if (!withPuzzle) return path;
  TPuzzleCutter cutter;
  if (!cutter.LoadPicture(path)) return {};
  cutter.ScalePicture(1);
  cutter.SetCutStyle(0, 1, 40, 40, 0, 0, 1, 1);
  cutter.DrawCutMap();
  return cutter.SavePuzzleFile(ChangeFileExt(path, ".pzl")) ? path : std::string();
}

}  // namespace qj::test
