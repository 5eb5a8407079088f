// The windows above every screen: the help and, over it, the message window. Messages wait in
// order until the frame's screen switch is over and are shown one after the other.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>

#include "controls/UHelpWindow.h"
#include "controls/UMessageWindow.h"

namespace qj {

class TGraphicsEngine;

class TModalWindows {
 public:
  explicit TModalWindows(TGraphicsEngine* graphics);
  ~TModalWindows();

  // Waits for the next ShowPending; a message already shown or waiting is not repeated.
  void Report(const std::string& title, const std::string& text);
  void ShowHelp(int topic);
  // Opens the first waiting message when no message is open.
  void ShowPending();
  // The open window that takes input: the message over the help; null when none is open.
  TModalWindow* Top();
  // Every open window's frame; false when none is open.
  bool Update();
  void Resize();
  void RestoreControls();
  // Closes both, for the end of the program.
  void CloseAll();

  TMessageWindow& Messages() { return FMessages; }
  THelpWindow& Help() { return FHelp; }
  bool Waiting() const { return !FPending.empty(); }

 private:
  THelpWindow FHelp;
  TMessageWindow FMessages;
  std::deque<std::pair<std::string, std::string>> FPending;
};

}  // namespace qj
