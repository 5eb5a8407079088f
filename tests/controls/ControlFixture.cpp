#include "tests/controls/ControlFixture.h"

#include "controls/UControlImages.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "platform/Display.h"
#include "platform/Input.h"

namespace qj::test {

TControlTest::TControlTest() {
  SetClock(&Clock);
  SetDXDraw(&Display);
  Options = TOptions();
  LoadThemes();
  UseTheme(0);
  Screen.SetDepthRange(130000, 139990);
  Screen.Enter();
}

TControlTest::~TControlTest() {
  Screen.Leave();
  SetControlImages(nullptr);
  Options = TOptions();
  SetDXDraw(nullptr);
  SetClock(nullptr);
}

void TControlTest::UseTheme(int number) {
  Options.Environment = number;
  std::string error;
  ASSERT_TRUE(ReloadControlImages(error)) << error;
}

// The display's cursor follows the gestures, so the screen's hint timing sees them too.
void TControlTest::Press(int x, int y, int button) {
  Display.Cursor = {x, y};
  FButtons |= button == mbLeft ? ssLeft : button == mbRight ? ssRight : ssMiddle;
  Screen.MouseDown(button, FButtons, x, y);
  FLastX = x;
  FLastY = y;
}

void TControlTest::Move(int x, int y) {
  Display.Cursor = {x, y};
  Screen.MouseMove(FButtons, x, y);
  FLastX = x;
  FLastY = y;
}

void TControlTest::Release(int x, int y, int button) {
  Display.Cursor = {x, y};
  FButtons &= ~(button == mbLeft ? ssLeft : button == mbRight ? ssRight : ssMiddle);
  Screen.MouseUp(button, FButtons, x, y);
  FLastX = x;
  FLastY = y;
}

void TControlTest::Frames(int frames, uint32_t ms) {
  for (int i = 0; i < frames; ++i) {
    Clock.Advance(ms);
    Screen.Update();
  }
}

void TControlTest::Draw() {
  Display.BackBuffer().Fill(0);
  Engine.RedrawWhole();
  Engine.DrawFrame();
}

TPixel TControlTest::PixelAt(int x, int y) { return Display.BackBuffer().Row(y)[x] & kRgbMask; }

}  // namespace qj::test
