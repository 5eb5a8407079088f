#include "tests/core/EngineFixture.h"

#include "core/UMiscelaneous.h"
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

}  // namespace qj::test
