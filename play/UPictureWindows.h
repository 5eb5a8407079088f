// The two helps that show the puzzle's picture: the ghost, a translucent copy lying on the table
// inside a setup window with its transparency slider, and the small picture in a window of its
// own with a slider for its size.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "graphics/USpriteHandle.h"
#include "platform/Dib.h"
#include "platform/Geometry.h"

namespace qj {

class TDXScrollBar;
class TDXWindow;
class TInterface;
struct TSavedMenu;

// The ghost lies on the table among the menu's sprites; stars already use 105.
namespace SpriteCategory {
enum : int { Ghost = 106 };
}

class TPictureWindows {
 public:
  static constexpr int kGhostAlphaMin = 1, kGhostAlphaMax = 255;
  static constexpr int kSmallPicMin = 1, kSmallPicMax = 8;

  // The windows are the owner's controls and the ghost lies in its band.
  explicit TPictureWindows(TInterface& owner) : FOwner(owner) {}
  TPictureWindows(const TPictureWindows&) = delete;
  TPictureWindows& operator=(const TPictureWindows&) = delete;

  // A game starts with the ghost near the top left and the small picture at the options' size.
  void Enter();
  // Makes the ghost with its setup window, then the small picture's window, all hidden.
  void Make();
  // After the owner freed its controls: the ghost goes too; the picture stays for the next Make.
  void Reset();
  void ForgetPicture() { FPicture.reset(); }
  void SetPicture(const TMyDib& picture);
  bool HasPicture() const { return FPicture != nullptr; }
  const TMyDib* Picture() const { return FPicture.get(); }

  void ShowGhost(bool shown);
  void ShowSmallPicture(bool shown);
  // Step s gives the picture a client width of 40 (s + 1) pixels, in the picture's proportions.
  void SetSmallStep(int step);
  int SmallStep() const { return FSmallStep; }
  // Puts a window at a screen place; the ghost goes along inside its setup window.
  void MoveGhostWindow(int left, int top);
  void MoveSmallWindow(int left, int top);
  // The setup window sits in screen coordinates: after the table scrolled it is placed over the
  // ghost again.
  void FollowScroll();
  // While a help is shown: the mouse over it keeps its slider out, 5 s without puts it away
  // (the ghost's frame too). True when the help's button should put its hints away as well.
  bool GhostSetupTimedOut(uint32_t now, TPoint pointer);
  bool SmallSetupTimedOut(uint32_t now, TPoint pointer);
  // Until the first of those timeouts may act (kNothingDue: none waits).
  uint32_t SetupDueIn(uint32_t now) const;

  // Table coordinates; empty while the help is off.
  TRect GhostRect() const;
  TRect SmallPictureRect() const;
  void SaveState(TSavedMenu& m) const;
  void LoadState(const TSavedMenu& m);

  TDXWindow* GhostWindow() const { return FGhostWindow; }
  TDXScrollBar* GhostSlider() const { return FGhostSlider; }
  TDXWindow* SmallWindow() const { return FSmallWindow; }
  TDXScrollBar* SmallSlider() const { return FSmallSlider; }

  // Whether the small picture's button is on: a size chosen while it is counts in the record.
  std::function<bool()> OnSmallChosen;

 private:
  void MakeGhostWindow();
  void MakeSmallWindow();
  void ShowGhostSetup(bool shown);
  void LoadGhost(bool loaded);
  void PlaceGhostWindow();
  void GhostWindowMoved();
  void SmallWindowMoved();
  void NoteSmallSize();

  TInterface& FOwner;
  TDXWindow* FGhostWindow = nullptr;
  TDXScrollBar* FGhostSlider = nullptr;
  TDXWindow* FSmallWindow = nullptr;
  TDXScrollBar* FSmallSlider = nullptr;
  TSpriteHandle FGhost;
  std::unique_ptr<TMyDib> FPicture;
  uint32_t FGhostSeenTick = 0, FSmallSeenTick = 0;
  bool FGhostSetupShown = false, FSmallSetupShown = false;
  bool FGhostLoaded = false;  // the ghost's surface holds the picture
  TPoint FGhostPos;  // table coordinates
  int FSmallStep = 4;
};

}  // namespace qj
