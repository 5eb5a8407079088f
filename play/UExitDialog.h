// The play screen's exit dialog: a modal question with three ways out (leave and keep the game,
// leave and abandon it, stay), and the answer the player gave.
#pragma once

#include <array>

#include "platform/Geometry.h"

namespace qj {

class TDXButton;
class TDXWindow;
class TInterface;

class TExitDialog {
 public:
  // The dialog and its buttons are the owner's controls, in its overlay band.
  explicit TExitDialog(TInterface& owner) : FOwner(owner) {}
  TExitDialog(const TExitDialog&) = delete;
  TExitDialog& operator=(const TExitDialog&) = delete;

  // A game starts with the dialog closed and no answer.
  void Enter();
  // Makes the dialog, closed.
  void Make();
  // Forgets the controls the owner has freed.
  void Reset();
  // Centred on the screen, the buttons in a row along its foot.
  void Layout(int screenWidth, int screenHeight);
  void Show(bool shown);
  bool Shown() const { return FShown; }
  // The dialog's bounds while it is open, else empty.
  TRect Rect() const;
  // True when the open dialog keeps a press at (x, y) from the rest of the screen.
  bool Blocks(int x, int y) const;
  bool WantQuit() const { return FWantQuit; }
  bool Abandon() const { return FAbandon; }

  TDXWindow* Window() const { return FWindow; }
  TDXButton* Button(int index) const { return FButtons[size_t(index)]; }

 private:
  void PaintText();

  TInterface& FOwner;
  TDXWindow* FWindow = nullptr;
  std::array<TDXButton*, 3> FButtons{};
  bool FShown = false;
  bool FWantQuit = false, FAbandon = false;
};

}  // namespace qj
