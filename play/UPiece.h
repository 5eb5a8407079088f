// One piece on the play table: a bitmap per orientation, its place in the picture, where it
// lies (table or tray), how it is turned and pinned, and a small queue of animations. The piece
// set decides joining and stacking; a piece only moves, turns, pins and keeps its sprite current.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "graphics/USpriteHandle.h"
#include "platform/Dib.h"
#include "platform/Geometry.h"
#include "play/UTraySorting.h"

namespace qj {

class TGraphicsEngine;
class TMySprite;
class TBPiece;

constexpr int kTableWidth = 1600;
constexpr int kTableHeight = 1200;

// How far a piece's bitmap reaches beyond its box on every side: the room the cutter leaves for
// the shadow, from the puzzle's shadow size as the cutter clamps it.
int PieceMargin();
// -1, 0 or 1: the direction of one step towards a coordinate v away.
int Sign(int v);

namespace SpriteCategory {
enum : int { Piece = 10, PinOverlay = 104, Star = 105, RubberBand = 107 };
}

namespace PieceState {
enum : uint8_t { Free = 0, PinLifted = 1, Pinned = 2 };
}

enum class EBoardEvent : int32_t { Free = 0, Snap = 3, PlaceAndPin = 8, Star = 9 };

// A board animation that involves pieces by index; the piece set steps them.
struct TBoardEvent {
  EBoardEvent Kind = EBoardEvent::Free;
  TSpriteHandle Sprite;  // a star's sprite
  int32_t PieceA = -1;   // the piece that moves (snap, place-and-pin)
  int32_t PieceB = -1;   // the piece it moves against (snap); a star: -1 not yet shown, -2 shown
  uint32_t Counter = 0;  // steps spent at the goal; a star: the tick it was shown
  int32_t X = 0, Y = 0;  // goal (place-and-pin) or star position, table coordinates
  // Where the moving piece stood at the last step (snap, place-and-pin): nowhere yet.
  TPoint Last{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()};
  float Depth = 0;       // a star's depth
};

// What every piece of one set shares: the board animations, the mouse and the pieces that need
// their per-frame update.
struct TBoardState {
  std::vector<TBoardEvent> Events;
  int32_t FrameParity = 0;  // toggles every frame; slides and events step on every second frame
  int32_t PendingAnimations = 0;  // snaps and pulls not yet finished
  bool MergeDue = false;          // joined pieces wait to be fused
  TPoint Mouse;                   // the mouse in table coordinates
  std::vector<TBPiece*> Active;   // pieces with something to do this frame
  // The pin overlay's frames, loaded once for the set; may be empty.
  std::vector<std::shared_ptr<const TMyDib>> PinImages;
  std::function<void(int index)> OnStateChange;  // after every pin state change
  std::function<void(int index)> OnMoved;        // after the sprite of a piece in a tray moved
};

enum class EPieceAction : int32_t { Done = 0, Rotate = 1, RotateQueued = 2, Slide = 3, Pull = 4 };

struct TPieceAction {
  EPieceAction Kind = EPieceAction::Done;
  // Rotate, RotateQueued: the pivot relative to the sprite's top-left.
  int32_t PivotX = 0, PivotY = 0;
  bool Clockwise = true;
  // Slide: velocity, carried fractions, velocity change per step, steps left.
  double Vx = 0, Vy = 0, Fx = 0, Fy = 0, Dvx = 0, Dvy = 0;
  int32_t StepsLeft = 0;
  // Pull: where this piece was at the last step and how often it stood still (the target is
  // the piece's FPullTarget).
  TPoint LastPos{-1, -1};
  int32_t Stalls = 0;
  std::function<void(int a, int b)> OnPulled;
};

class TBPiece {
 public:
  TBPiece(TGraphicsEngine& engine, TBoardState& board);
  ~TBPiece();
  TBPiece(const TBPiece&) = delete;
  TBPiece& operator=(const TBPiece&) = delete;

  // Runs the actions, then places the sprite, the pin overlay and the tint. False once the
  // piece has nothing left to do and needs no update until something starts again.
  bool Update();
  void SetState(uint8_t state);
  void TogglePin();
  void TogglePinLock();
  void StartDrag();
  void EndDrag();
  // A quarter turn about the pivot (relative to the piece's top-left); a turn asked for while
  // one runs follows it about the same pivot.
  void Rotate(bool clockwise, int pivotX, int pivotY);
  void Slide(int steps, double vx, double vy, double dvx, double dvy);
  // A slide of the game's usual length that comes to rest d away.
  void SlideBy(TPoint d);
  // Moves towards its place beside the target after turning to the target's orientation;
  // false when either piece is busy or has actions queued.
  bool PullTo(TBPiece& target, std::function<void(int a, int b)> onPulled);
  bool IsBusy() const { return FBusyCount > 0; }
  // Busy, or joined and waiting to be fused: not to be picked up, pulled or pushed.
  bool BusyOrJoined() const { return IsBusy() || FGroup != -1; }
  bool HasActions() const { return !FActions.empty(); }
  bool Rotating() const;
  // Ends every running and queued turn at once, as if each had reached its quarter.
  void FinishTurns();
  // Ends every action at once: turns complete, a pull lands beside its target, slides stop.
  void FinishActions();
  int Width() const;
  int Height() const;
  TRect Bounds() const;
  TPoint BoxTopLeft() const { return FBoxTopLeft[size_t(FOrientation)]; }
  TPoint BoxBottomRight() const { return FBoxBottomRight[size_t(FOrientation)]; }
  // Where this piece lies when its picture offset matches the other's exactly.
  TPoint PlaceBeside(const TBPiece& other) const;

  // The sprite of the piece: its bitmaps move into the sprite, which draws the current
  // orientation with its shadow.
  void CreateSprite(double depth, int highOrientation);
  TMySprite* Sprite() const { return FSprite.Get(); }
  int SpriteIndex() const { return FSprite.Index(); }
  double Depth() const;
  void SetDepth(double depth);
  void SetVisible(bool visible);
  const TMyDib* Bitmap(int orientation) const { return FindBitmap(orientation); }
  // The image of the current orientation again (after a tint or lost surfaces).
  void ReloadImage();
  // Moves the piece and asks for its update; the sprite follows at the next Update.
  void SetPosition(TPoint p);
  void MoveBy(int dx, int dy) { SetPosition({FPosition.X + dx, FPosition.Y + dy}); }
  // Gives the piece a new index (after a fusion renumbered the set).
  void SetIndex(int index);
  // Ask for the per-frame update.
  void Activate();
  // A pinned piece whose overlay shows its last frame at once (a fusion or a loaded game).
  void PinWithoutAnimation(uint8_t state);
  void RemovePinOverlay();
  // Takes over the other piece's sprite with its bitmaps (a fusion that does not grow the box).
  void AdoptSprite(TBPiece& other);
  // A bitmap about to change: one a snapshot still shares is copied first, so the snapshot keeps
  // what it was taken with.
  TMyDib* MutableBitmap(int orientation);
  // The bitmap itself, for a snapshot that outlives the change of the piece.
  std::shared_ptr<const TMyDib> SharedBitmap(int orientation) const { return FindShared(orientation); }
  // Frees the bitmap of one orientation (a piece being fused away); its sprite still shows the
  // image already loaded.
  void ReleaseBitmap(int orientation);

  std::vector<TPieceAction> FActions;
  uint8_t FState = PieceState::Free;
  bool FDragging = false;
  TPoint FGrab;
  int32_t FBusyCount = 0;
  int32_t FPinFrame = -1;
  bool FHinted = false;
  bool FTinted = false;
  TPoint FPosition;
  TPoint FDisplayOffset;
  std::array<TPoint, 2> FReserved{};
  std::array<TPoint, 4> FBoxTopLeft{};
  std::array<TPoint, 4> FBoxBottomRight{};
  TPoint FTrayOrigin;
  uint32_t FTray = 0;
  int32_t FOrientation = 0;
  int32_t FMergeDepth = 0;
  int32_t FPinX = 0, FPinY = 0;
  int32_t FIndex = 0;
  int32_t FGroup = -1;
  std::array<std::shared_ptr<TMyDib>, 4> FImages;  // until the sprite takes them over
  std::vector<int32_t> FNeighbours;
  // The mean colour of the piece's picture, kept once a sort has asked for it.
  mutable std::optional<TLab> FMeanColour;

 private:
  friend class TPieceSteps;
  TMyDib* FindBitmap(int orientation) const { return FindShared(orientation).get(); }
  const std::shared_ptr<TMyDib>& FindShared(int orientation) const;
  template <class Piece>
  using TSlot = std::conditional_t<std::is_const_v<Piece>, const std::shared_ptr<TMyDib>&, std::shared_ptr<TMyDib>&>;
  template <class Piece>
  static TSlot<Piece> SlotOf(Piece& piece, int orientation);
  bool StepActions();
  void PlaceSprite();
  void PlacePinOverlay();
  bool UpdateTint();
  bool StepPinFrame();
  void ShowPinFrame(int frame);
  void StartTurn(TPieceAction& turn);
  void CompleteTurn(TPieceAction& turn);
  void FindPinPoint();
  void CreatePinOverlay();
  int PinFrameGoal() const;

  TGraphicsEngine& FEngine;
  TBoardState& FBoard;
  TSpriteHandle FSprite;
  TSpriteHandle FPinSprite;
  TBPiece* FPullTarget = nullptr;  // while a pull runs; fusing waits for pulls, so it stays alive
  bool FInActiveList = false;
};

// The pieces of one set in index order; the set owns them.
using TPieceStore = std::vector<std::unique_ptr<TBPiece>>;

}  // namespace qj
