// A program folder of its own, a driven clock and a windowless display for engine tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/UMain.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/headless/HeadlessDisplay.h"
#include "tests/support/TempFolder.h"

namespace qj::test {

class TEngineFixture : public ::testing::Test {
 protected:
  TEngineFixture();
  ~TEngineFixture() override;

  // Writes Text/Jigsaw.stg with these lines.
  void WriteSettings(const std::string& ini) { folder.Write("Text/Jigsaw.stg", ini); }
  // Creates the main window and lets the display come up, which creates the engine.
  void Start();
  // Runs one frame of the timer.
  void Frame();
  // A key pressed and released on the active screen.
  void Key(uint16_t key, int shift = 0);
  // Mouse gestures through the main window, as the platform reports them: the held buttons and
  // the held keys (ssShift, ssAlt, ssCtrl) are in the Shift bits of every event, and the
  // display's cursor follows.
  void MouseDown(int x, int y, int button = 0, int keys = 0);
  void MouseMove(int x, int y, int keys = 0);
  void MouseUp(int x, int y, int button = 0, int keys = 0);
  void MouseClick(int x, int y, int button = 0) {
    MouseDown(x, y, button);
    MouseUp(x, y, button);
  }
  // Jigsaws/<name>.bmp, a 160 x 120 picture, and with a puzzle file its cut into 40 x 40 pieces
  // (4 x 3 = 12) with shape file 1; returns the picture's path.
  std::string MakeJigsaw(const std::string& name, bool withPuzzle);
  // Shapes/Shape1.txt from the data set, which cutting needs.
  void CopyShapeFile();
  TGameEngine& Engine() { return *mainWindow->Engine(); }

  TTempFolder folder;
  TManualClock clock;
  THeadlessDisplay display;
  std::unique_ptr<Tmf> mainWindow;
  std::vector<std::string> messages;

 private:
  void Mouse(TInputKind kind, int button, int x, int y, int keys);

  std::string FSavedFolder;
  int FButtons = 0;
};

}  // namespace qj::test
