#include "tests/core/EngineFixture.h"

#include <filesystem>

#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "platform/Dib.h"
#include "platform/Input.h"

namespace qj::test {

TEngineFixture::TEngineFixture() : FSavedFolder(ProgramFolder()) {
  SetProgramFolder(folder.Path());
  SetClock(&clock);
  std::string lines;
  for (int i = 0; i < 300; ++i) lines += "Line " + std::to_string(i) + "\r\n";
  folder.Write("Text/English.lang", lines);
  folder.Write("Jigsaws/.keep", "");
  Options = TOptions();
}

TEngineFixture::~TEngineFixture() {
  mainWindow.reset();
  SetClock(nullptr);
  SetProgramFolder(FSavedFolder);
  Options = TOptions();
}

void TEngineFixture::Start() {
  TPlatformServices services;
  services.MessageBox = [this](const std::string& text, const std::string&) { messages.push_back(text); };
  mainWindow = std::make_unique<Tmf>(display, services);
  mainWindow->FormCreate();
  display.Initialize();
}

void TEngineFixture::Frame() {
  clock.Advance(20);
  mainWindow->Idle();
}

void TEngineFixture::Key(uint16_t key, int shift) {
  TInputEvent down{TInputKind::KeyDown, 0, shift, 0, 0, key};
  mainWindow->HandleEvent(down);
  TInputEvent up{TInputKind::KeyUp, 0, shift, 0, 0, key};
  mainWindow->HandleEvent(up);
}

namespace {
int ButtonBit(int button) { return button == mbLeft ? ssLeft : button == mbRight ? ssRight : ssMiddle; }
}  // namespace

void TEngineFixture::Mouse(TInputKind kind, int button, int x, int y, int keys) {
  // The cursor is where the platform reports it: in screen coordinates.
  const TPoint origin = display.ClientOrigin();
  display.Cursor = {origin.X + x, origin.Y + y};
  TInputEvent event{kind, button, FButtons | keys, x, y, 0};
  mainWindow->HandleEvent(event);
}

void TEngineFixture::MouseDown(int x, int y, int button, int keys) {
  FButtons |= ButtonBit(button);
  Mouse(TInputKind::MouseDown, button, x, y, keys);
}

void TEngineFixture::MouseMove(int x, int y, int keys) { Mouse(TInputKind::MouseMove, 0, x, y, keys); }

void TEngineFixture::MouseUp(int x, int y, int button, int keys) {
  FButtons &= ~ButtonBit(button);
  Mouse(TInputKind::MouseUp, button, x, y, keys);
}

void TEngineFixture::CopyShapeFile() {
  std::filesystem::create_directories(folder.File("Shapes"));
  std::filesystem::copy_file(std::string(QJ_SOURCE_DIR) + "/data/Shapes/Shape1.txt", folder.File("Shapes/Shape1.txt"),
                             std::filesystem::copy_options::overwrite_existing);
}

std::string TEngineFixture::MakeJigsaw(const std::string& name, bool withPuzzle) {
  TMyDib dib(160, 120, 24);
  for (int y = 0; y < dib.Height(); ++y)
    for (int x = 0; x < dib.Width(); ++x) dib.At(x, y) = MakePixel(x * 3 % 256, y * 5 % 256, (x * y) % 256);
  const std::string path = folder.File("Jigsaws/" + name + ".bmp");
  EXPECT_TRUE(dib.SaveToFile(path));
  if (!withPuzzle) return path;
  TPuzzleCutter cutter;
  EXPECT_TRUE(cutter.LoadPicture(path));
  cutter.ScalePicture(1);
  cutter.SetCutStyle(0, 1, 40, 40, 0, 0, 1, 1);
  cutter.DrawCutMap();
  EXPECT_TRUE(cutter.SavePuzzleFile(ChangeFileExt(path, ".pzl")));
  return path;
}

}  // namespace qj::test
