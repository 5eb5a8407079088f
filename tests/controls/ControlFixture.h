// Controls driven the way a player drives them: a screen on a windowless display, the real data
// set's widget images of one theme, a clock the test moves, and mouse gestures that go through
// the screen's dispatch (hit test, capture) with the time between them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "controls/UEngines.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj::test {

// A screen with nothing of its own: the controls under test are its only content.
class TControlScreen : public TInterface {
 public:
  using TInterface::TInterface;
  void Restore() override {}
};

class TControlTest : public ::testing::Test {
 protected:
  // Theme 0 of the data set; every test starts from the default settings.
  TControlTest();
  ~TControlTest() override;

  // Switches to theme `number` of the data set and loads its widget images.
  void UseTheme(int number);

  // Mouse gestures at surface coordinates; a press holds the button until Release.
  void Press(int x, int y, int button = 0);
  void Move(int x, int y);
  void Release(int x, int y, int button = 0);
  void Click(int x, int y) {
    Press(x, y);
    Release(x, y);
  }
  // `frames` frames of `ms` milliseconds each: the clock moves on, then the screen updates.
  void Frames(int frames, uint32_t ms = 20);
  // Draws one frame of the sprite engine onto the display's back buffer.
  void Draw();
  TPixel PixelAt(int x, int y);

  TManualClock Clock;
  THeadlessDisplay Display{800, 600};
  TGraphicsEngine Engine{Display};
  TControlScreen Screen{&Engine};

 private:
  int FButtons = 0;  // mouse buttons held, as Shift bits
  int FLastX = 0, FLastY = 0;
};

}  // namespace qj::test
