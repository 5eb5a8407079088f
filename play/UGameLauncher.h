// Starts games for the play screen: reads a picture and its puzzle file into a cutter of its own,
// cuts a new game under a progress box or continues the saved one. The cutter lives only while a
// game is set up: its images are the biggest the program holds, and they go as soon as the play
// screen has its pieces, or as soon as anything on the way fails.
#pragma once

#include <functional>
#include <string>

namespace qj {

class IDisplay;
class TBoardPlayInterface;
class TPuzzleCutter;

// How an attempt to continue a saved game ended.
enum class EContinueResult {
  Playing,      // the play screen is entered with the game
  NotLoaded,    // the picture or its puzzle file cannot be read (LastError names the cause)
  NotRestored,  // the saved game reported its own trouble; the play screen is left again
};

class TGameLauncher {
 public:
  TGameLauncher(TBoardPlayInterface& play, IDisplay& display);

  // A new game of the picture's puzzle, cut under the progress box, on the play screen, which is
  // entered for it. False, with LastError(), when the picture or its puzzle cannot be read.
  [[nodiscard]] bool NewGame(const std::string& picture);
  // The saved game beside the picture, on the play screen.
  [[nodiscard]] EContinueResult ContinueGame(const std::string& picture);
  // Why the last picture or puzzle could not be read.
  const std::string& LastError() const { return FLoadError; }

  // Just before the play screen is entered: the screen shown so far lets go of its sprites.
  std::function<void()> OnLeaveScreen;

 private:
  [[nodiscard]] bool LoadPuzzle(TPuzzleCutter& cutter, const std::string& picture);
  void EnterPlay();
  void ShowCutProgress();
  void CutterProgress(TPuzzleCutter& cutter);

  TBoardPlayInterface& FPlay;
  IDisplay& FDisplay;
  std::string FLoadError;
};

}  // namespace qj
