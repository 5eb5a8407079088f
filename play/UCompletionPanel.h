// The panel that greets a finished puzzle: its time, score, best score, joins, drops and the
// helps used, with the way back to the pictures or a stay at the table to look at the picture.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "creation/UGameRecord.h"
#include "platform/Geometry.h"

namespace qj {

class TDXButton;
class TDXWindow;
class TInterface;

// A finished game and how it stands against the best finished game before it.
struct TCompletionFigures {
  TGameRecord Record;
  bool NewBest = false;  // no finished game before scored as much
  double Best = 0;       // the best finished score, this game's included
};

// The best finished score of the score file beside the picture; none when there is no file or no
// finished game in it.
std::optional<double> BestFinishedScore(const std::string& scorePath);
// Compares the finished game with the score file beside the picture, read before the game's own
// result goes into it.
TCompletionFigures CompareWithBest(const TGameRecord& finished, const std::string& scorePath);
// "ghost image, magnet 3", or the word for none.
std::string HelpsUsedText(const TGameRecord& record);
// The panel's text, top to bottom.
std::vector<std::string> CompletionLines(const TCompletionFigures& figures);

class TCompletionPanel {
 public:
  enum EButton { BackToPictures, StayAtTable, ButtonCount };

  // The panel and its buttons are the owner's controls, in its overlay band.
  explicit TCompletionPanel(TInterface& owner) : FOwner(owner) {}
  TCompletionPanel(const TCompletionPanel&) = delete;
  TCompletionPanel& operator=(const TCompletionPanel&) = delete;

  // A game starts with the panel closed and no answer.
  void Enter();
  // Makes the panel, shown again when it was open before the owner rebuilt its controls.
  void Make();
  // Forgets the controls the owner has freed.
  void Reset();
  void Layout(int screenWidth, int screenHeight);
  void Open(const TCompletionFigures& figures);
  void Close();
  bool Shown() const { return FShown; }
  // The panel's bounds while it is open, else empty.
  TRect Rect() const;
  bool WantPictures() const { return FWantPictures; }
  const std::vector<std::string>& Lines() const { return FLines; }
  TDXWindow* Window() const { return FWindow; }
  TDXButton* Button(int index) const { return FButtons[size_t(index)]; }

 private:
  void Paint();
  void Show(bool shown);

  TInterface& FOwner;
  TDXWindow* FWindow = nullptr;
  std::array<TDXButton*, ButtonCount> FButtons{};
  TCompletionFigures FFigures;
  std::vector<std::string> FLines;
  bool FShown = false;
  bool FWantPictures = false;
};

}  // namespace qj
