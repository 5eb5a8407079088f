// The four buttons at the screen edges that scroll the table while held, faster the longer the
// player keeps clicking.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "platform/Geometry.h"

namespace qj {

class TDXButton;
class TInterface;

// The scroll speed after a click: grows by 25 / fps when the last click was under clickMs ago
// (fps 0: no rate measured yet, the frame-rate limit stands in), capped at 15; else 1.0.
double NextScrollSpeed(double speed, uint32_t sinceLastMs, int clickMs, int fps);

class TScrollButtons {
 public:
  // The buttons are the owner's controls; the owner's engine is the table they scroll.
  explicit TScrollButtons(TInterface& owner) : FOwner(owner) {}
  TScrollButtons(const TScrollButtons&) = delete;
  TScrollButtons& operator=(const TScrollButtons&) = delete;

  // A game starts at the slowest speed.
  void Enter();
  // Left, right, up, down, from the theme's "ScrollButtons" block.
  void Make();
  // Forgets the buttons the owner has freed.
  void Reset();
  // At the middle of the side edges, of the top edge, and just above the bar.
  void Layout(int barTop);
  // Shown while `allowed`; buttons that hide themselves show only near their edge or while held.
  // The down button follows the bar's top.
  void Update(TPoint pointer, int barTop, bool allowed);
  double Speed() const { return FSpeed; }
  TDXButton* Button(int index) const { return FButtons[size_t(index)]; }

  // Frames a second as measured, 0 while none is.
  std::function<int()> OnFrameRate;

 private:
  void Scroll(int dx, int dy);
  int DownTop(int barTop) const;

  TInterface& FOwner;
  std::array<TDXButton*, 4> FButtons{};
  double FSpeed = 1.0;
  uint32_t FLastTick = 0;
};

}  // namespace qj
