// The bar along the bottom of the play screen: its image stretched to the screen width, and how
// it slides out of sight when the mouse has left it and back when the mouse reaches the edge.
#pragma once

#include <cstdint>
#include <memory>

#include "graphics/USpriteHandle.h"
#include "platform/Dib.h"
#include "platform/Geometry.h"

namespace qj {

class TInterface;

class TMenuBar {
 public:
  // The bar lies in the owner's band, across the owner's screen.
  explicit TMenuBar(TInterface& owner) : FOwner(owner) {}
  TMenuBar(const TMenuBar&) = delete;
  TMenuBar& operator=(const TMenuBar&) = delete;

  // A game starts with the bar shown and the mouse counted as near it.
  void Enter();
  // Reads the theme's bar image and its layout rectangles and makes the bar's sprite.
  void Make();
  void Reset() { FSprite.Reset(); }
  void ForgetImage() { FImage.reset(); }
  // Stretches the image to the screen width.
  void Paint();
  // Puts the sprite at the bar's place, hidden while the bar is out of sight.
  void Place();
  void Update(uint32_t now, TPoint pointer);
  // Sends a shown or coming bar away, else brings it back.
  void Toggle();
  // Puts the bar back at once unless it hides itself (after a pause).
  void ComeBack();

  TRect Rect() const;
  bool Shown() const { return FState == EState::Shown; }
  bool Hidden() const { return FState == EState::Hidden; }
  bool Sliding() const { return FState == EState::Hiding || FState == EState::Showing; }
  bool Contains(int x, int y) const;
  // Until a shown bar that hides itself may start to hide (kNothingDue: not by itself).
  uint32_t HideDueIn(uint32_t now) const;
  // The .coord file's rectangle: the columns that stretch (Left to Right), the buttons' drop
  // below the bar's top (Bottom), and the tray icons' drop (Top).
  const TRect& LayoutRect() const { return FBarRect; }
  // The .coord file's tray rectangle: Right is the tray icons' horizontal offset.
  const TRect& TrayRect() const { return FTrayRect; }

 private:
  enum class EState { Shown, Hiding, Hidden, Showing };

  TInterface& FOwner;
  TSpriteHandle FSprite;
  std::unique_ptr<TMyDib> FImage;
  TRect FBarRect, FTrayRect;
  EState FState = EState::Shown;
  int FOffset = 0;  // pixels the bar is below its shown place
  int FStep = 0;
  uint32_t FNearTick = 0;
};

}  // namespace qj
