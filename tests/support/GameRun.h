// The real main window and engine on a windowless display with a driven clock, driven by keys and
// the mouse the way a player does; as a plain object (a forked child's run over whatever program
// folder is set) or as a test fixture with a program folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/UMain.h"
#include "platform/Clock.h"
#include "platform/headless/HeadlessDisplay.h"
#include "tests/support/TempFolder.h"

namespace qj::test {

class TGameRun {
 public:
  TGameRun();
  ~TGameRun();
  TGameRun(const TGameRun&) = delete;
  TGameRun& operator=(const TGameRun&) = delete;

  // Creates the main window and lets the display come up, which creates the engine.
  void Start();
  // Runs one frame of the timer.
  void Frame();
  // Keys on the active screen, with the held keys (ssShift, ssAlt, ssCtrl) in `shift`.
  void KeyDown(uint16_t key, int shift = 0);
  void KeyUp(uint16_t key, int shift = 0);
  void Key(uint16_t key, int shift = 0) {
    KeyDown(key, shift);
    KeyUp(key, shift);
  }
  // Mouse gestures through the main window, as the platform reports them: the held buttons and
  // the held keys are in the Shift bits of every event, and the display's cursor follows.
  void MouseDown(int x, int y, int button = 0, int keys = 0);
  void MouseMove(int x, int y, int keys = 0);
  void MouseUp(int x, int y, int button = 0, int keys = 0);
  void MouseClick(int x, int y, int button = 0) {
    MouseDown(x, y, button);
    MouseUp(x, y, button);
  }

  // The window gains or loses the focus, as the desktop tells it.
  void Focus(bool active) { Send({active ? TInputKind::Activated : TInputKind::Deactivated}); }
  // Presses the keys one after the other, then runs two frames; returns ScreenName().
  std::string Step(const std::vector<uint16_t>& keys);
  // The active screen: "main-menu", "selector", "options", "maker", "play", "other", "none"
  // between screens, and "stopped" once the program has ended (or before it started).
  std::string ScreenName() const;
  // Opens the selector on the picture, as a picture named on the command line does.
  std::string Choose(const std::string& picture);
  // Leaves the game as a player does: Escape, and "save and quit" in the exit dialog when the
  // menu brings one up; a message that the save failed is read and closed.
  std::string LeaveGame();
  // Plays the picture as one named with --play does: a puzzle of it is made first if it has none.
  std::string PlayPicture(const std::string& picture);
  // Ends the program the way the main window does when it is closed.
  void Close();
  // Prints each message as one line, "message: " and its lines joined by " / ".
  void PrintMessages() const;
  // Closes every message the game shows with Enter, as a player who has read it does.
  void CloseMessages();

  // The engine while the program runs, else null.
  TGameEngine* Running() const;
  // The engine while the program runs. A stopped program has none to ask: the test then fails
  // with that message (an exception, which the test runner and a forked child both report)
  // instead of crashing the whole test program.
  TGameEngine& Engine() const;

  TManualClock clock;
  THeadlessDisplay display;
  std::unique_ptr<Tmf> mainWindow;
  std::vector<std::string> messages;  // every message the game showed

 private:
  void Send(TInputEvent event);
  void Mouse(TInputKind kind, int button, int x, int y, int keys);

  int FButtons = 0;
};

// The game on a program folder of its own holding only what a test writes into it (a language
// file of numbered lines and an empty library); the settings are the defaults.
class TEngineFixture : public ::testing::Test, public TGameRun {
 protected:
  TEngineFixture();
  ~TEngineFixture() override;

  // Writes Text/Jigsaw.stg with these lines.
  void WriteSettings(const std::string& ini) { folder.Write("Text/Jigsaw.stg", ini); }
  // Jigsaws/<name>.bmp as MakeSmallJigsaw() makes it; returns the picture's path.
  std::string MakeJigsaw(const std::string& name, bool withPuzzle);
  // Shapes/Shape1.txt from the data set, which cutting needs.
  void CopyShapeFile();

  TTempFolder folder;

 private:
  std::string FSavedFolder;
};

// A 160 x 120 picture <folder>/Jigsaws/<name>.bmp and, with `withPuzzle`, its puzzle file (4 x 3
// pieces of 40 x 40 with shape set 1, read from the program folder); returns the picture's path,
// or nothing when it could not be made.
std::string MakeSmallJigsaw(const std::string& folder, const std::string& name, bool withPuzzle = true);

}  // namespace qj::test
