// A program folder of its own, a driven clock and a windowless display for engine tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/UMain.h"
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
  TGameEngine& Engine() { return *mainWindow->Engine(); }

  TTempFolder folder;
  TManualClock clock;
  THeadlessDisplay display;
  std::unique_ptr<Tmf> mainWindow;
  std::vector<std::string> messages;

 private:
  std::string FSavedFolder;
};

}  // namespace qj::test
