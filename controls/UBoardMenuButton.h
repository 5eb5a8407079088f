// The two-sided button of the in-game menu bar: the left and the right mouse button each work
// a side of their own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/UControls.h"

namespace qj {

class TDXHint;

enum class EMenuSide { Left = 0, Right = 1 };
enum class EButtonMode : uint8_t { Momentary = 1, Toggle = 2 };

// Frames of the button images a side shows.
namespace MenuButtonFrame {
enum : int { Rest = 0, Pressed = 1, On = 3, Off = 4, Count = 5 };
}

class TBoardMenuButton;
using TSideEvent = std::function<void(TBoardMenuButton* sender, EMenuSide side)>;

// A bar button with two independent sides, worked by the left and the right mouse button; its
// left half shows the left side's frame, its right half the right side's. Button `index` shows
// language line 148 + index; its one hint says what each click does, from the sides' lines
// 2 index and 2 index + 1.
class TBoardMenuButton : public TDXControl {
 public:
  TBoardMenuButton(TInterface* owner, int index, EButtonMode left, EButtonMode right);
  ~TBoardMenuButton() override;

  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void SetTop(int value) override;
  void SetLeft(int value) override;
  void Paint() override;
  void Restore() override { Paint(); }
  // The caption across the button's width.
  std::vector<TTextRoom> TextRooms() const override;
  // Shows the hint now, as if the mouse had rested on the button: to point the player at it.
  bool ShowHint() override;

  // A press of that side's mouse button followed by its release.
  void ClickSide(EMenuSide side);
  // Sets a side's state without any event (a side the menu switches off for another).
  void SetSide(EMenuSide side, bool on);
  bool IsOn(EMenuSide side) const { return side == EMenuSide::Left ? FLeftOn : FRightOn; }
  void SetImages(const TImageList& frames, TImage icon);
  // Each side's "what|how" line; a button whose right side is empty or the same as its left
  // does one thing and its hint says just that.
  void SetHints(const std::string& left, const std::string& right);
  // What the hint shows: "Left click: what (how)|Right click: what (how)", or the one line.
  std::string HintText() const;
  void SetShown(bool shown);
  void HideHints();

  int FIndex;
  EButtonMode FLeftMode, FRightMode;
  bool FLeftOn = false, FRightOn = false;
  int FLeftFrame = MenuButtonFrame::Off, FRightFrame = MenuButtonFrame::Off;
  bool FEnabled = true;
  std::unique_ptr<TDXHint> FHint;
  std::string FLeftHintText, FRightHintText;
  TSideEvent OnPress, OnChanged, OnReleased;

 private:
  void Press(EMenuSide side);
  void Release();
  void AttachHints();
  void PlaceHint();

  TImageList FFrames;
  TImage FIcon;
  bool FDown = false;
  EMenuSide FDownSide = EMenuSide::Left;
};

}  // namespace qj
