// The real main window and engine on a windowless display with a driven clock, started over
// whatever program folder is set, and driven by keys the way a player does. Every message the
// game shows is kept.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/UMain.h"
#include "platform/Clock.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj::test {

class TGameRun {
 public:
  TGameRun();
  ~TGameRun();
  TGameRun(const TGameRun&) = delete;
  TGameRun& operator=(const TGameRun&) = delete;

  // Creates the main window and lets the display come up, which starts the engine.
  void Start();
  // Presses the keys one after the other, then runs two frames; returns the active screen's name
  // ("stopped" once the program has ended).
  std::string Step(const std::vector<uint16_t>& keys);
  std::string ScreenName() const;
  // Opens the selector on the picture, as a picture named on the command line does.
  std::string Choose(const std::string& picture);
  // Leaves the game as a player does: Escape, and "save and quit" in the exit dialog when the
  // menu brings one up.
  std::string LeaveGame();
  // Plays the picture as one named with --play does: a puzzle of it is made first if it has none.
  std::string PlayPicture(const std::string& picture);
  // Ends the program the way the main window does when it is closed.
  void Close();

  // Prints each message as one line, "message: " and its lines joined by " / ".
  void PrintMessages() const;

  std::vector<std::string> Messages;

 private:
  void Frame();
  void Click(int x, int y);
  TGameEngine* Running() const;  // the engine while the program runs

  TManualClock FClock;
  THeadlessDisplay FDisplay;
  std::unique_ptr<Tmf> FMainWindow;
};

// A 160 x 120 picture <folder>/Jigsaws/<name>.bmp with its puzzle file (4 x 3 pieces of shape
// set 1, read from the program folder); returns the picture's path.
std::string MakeSmallJigsaw(const std::string& folder, const std::string& name);

}  // namespace qj::test
