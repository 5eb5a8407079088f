// The sprite engine: every visible thing is a sprite with depth, drawn once per frame onto the
// back buffer; it also answers hit tests, scrolls the play table and switches display modes.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/UDrawList.h"
#include "graphics/UTableView.h"
#include "platform/Dib.h"
#include "platform/Display.h"
#include "platform/Surface.h"

namespace qj {

class TCanvas;
class TTableComposer;
class TOverviewComposer;

// A sprite's drawing hook; its owner is bound into the function.
using TSpriteDrawEvent = std::function<void(int Value)>;
using TNotifyEvent = std::function<void()>;
// Shared: a saved game's snapshot keeps the bitmaps it was taken with while play goes on.
using TDibList = std::vector<std::shared_ptr<TMyDib>>;
using TSurfaceList = std::vector<std::unique_ptr<TSurface>>;

// How a sprite is drawn. The values are those the rest of the game has always used.
enum class ESpriteKind : unsigned {
  Piece = 1,      // self-drawn piece: hook, then turned or plain image with optional shadow
  Plain = 4,      // element 0 of Surfaces, optionally alpha-blended
  Animation = 5,  // one surface after another, stepped by the clock
  Hook = 6,       // nothing but the drawing hook
  Composite = 7,  // every surface placed by its part record
};

// Where one surface of a composite sprite goes.
enum class EPartMode : uint8_t {
  AtSprite = 0,    // drawn at the sprite position
  Stretch = 1,     // stretched into Dest
  CopySource = 2,  // Source copied onto Dest
};

// Categories the engine itself gives sprites; the other parts number theirs.
namespace SpriteCategory {
enum : int { Background = 1 };
}

// How one surface of a composite sprite is placed.
struct TSpritePart {
  EPartMode Mode = EPartMode::AtSprite;
  uint8_t KeepAspect = 0;
  uint8_t Hidden = 0;
  TRect Dest;    // relative to the sprite position
  TRect Source;  // in the surface
};

class TMySprite {
 public:
  double Depth = 0;  // larger is drawn later, on top
  TSpriteDrawEvent OnDraw;
  int Id = 0;  // 0: the slot is free
  int Category = 0;
  int X = 0, Y = 0;
  bool Fixed = true;  // screen coordinates; otherwise table coordinates, moved by the scroll
  bool NoHit = false;
  int Angle = 0;  // kinds 1 and 5; 256 units a turn, clockwise
  double CenterY = 0, CenterX = 0;
  bool SolidHit = false;
  bool Visible = true;
  bool Opaque = false;
  bool Persistent = false;
  unsigned FrameMs = 0;
  unsigned LastFrameTick = 0;
  bool PlayOnce = false;
  bool Finished = false;
  unsigned Frame = 0;
  ESpriteKind Kind = ESpriteKind::Plain;
  int DrawTag = 0;
  bool Shadow = false;
  uint8_t Alpha = 0;
  TDibList Bitmaps;
  TSurfaceList Surfaces;
  std::vector<TSpritePart> Parts;
  bool SkipOnce = false;
  // Where a drawing hook paints, relative to the sprite, and a count it raises when what it paints
  // changed: such a hook is drawn again only then. Empty: anywhere, and anew every frame.
  TRect DrawReach;
  uint32_t Look = 0;
  bool* SortFlag = nullptr;  // the engine's "sort needed" flag

  // The image hit-testing and clipping look at: element Frame for animations, else element 0.
  const TSurface* Image() const;
  // The key the drawing order sorts by: a depth that is not a number sorts first.
  double OrderKey() const { return std::isnan(Depth) ? -HUGE_VAL : Depth; }
  // Where the sprite lies on a target whose top left shows the table point origin.
  TPoint ScreenPos(TPoint origin) const { return Fixed ? TPoint{X, Y} : TPoint{X - origin.X, Y - origin.Y}; }
  // The order is sorted again only when a depth really changed.
  void SetDepth(double depth) {
    if (depth == Depth) return;
    Depth = depth;
    if (SortFlag) *SortFlag = true;
  }
};

using TSprites = std::vector<TMySprite>;

struct TDebugLine {
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

class TGraphicsEngine {
 public:
  // platformVersion is only shown by the statistics overlay.
  explicit TGraphicsEngine(IDisplay& display, std::string platformVersion = "");
  ~TGraphicsEngine();
  TGraphicsEngine(const TGraphicsEngine&) = delete;
  TGraphicsEngine& operator=(const TGraphicsEngine&) = delete;

  // Sprite creation: the lowest free slot or a new one; returns the sprite index.
  int AddSprite(const std::string& fileName, int x, int y, double depth, int category);
  int AddSpriteFromBitmap(const TPixelBuffer& bitmap, int x, int y, double depth, int category);
  int AddEmptySprite(int x, int y, double depth, int category);
  // Appends a copy of source, or a 1 x 1 surface of colour 0 when source is null.
  TSurface& AddSurface(int sprite, const TPixelBuffer* source);
  // Appends a surface loaded from the file, or a 1 x 1 black one when the name is empty.
  TSurface& AddSurfaceFromFile(int sprite, const std::string& fileName);
  void SetSpriteDepth(int sprite, double depth);
  TRect SpriteBounds(int sprite) const;
  void FreeSprite(int sprite);
  // Frees every sprite that is not Persistent; returns how many were still in use.
  int FreeAllSprites();
  void TrimSprites();
  void SortSprites();
  void SortIfNeeded();
  bool SortIsCurrent() const { return !FSortNeeded; }
  int SpriteAt(int x, int y) const;  // -1 when nothing is hit

  // References stay valid only until the next sprite is created; code that keeps a sprite
  // holds a TSpriteHandle instead.
  TMySprite& Sprite(int index) { return FSprites.at(size_t(index)); }
  const TMySprite& Sprite(int index) const { return FSprites.at(size_t(index)); }
  int SpriteCount() const { return int(FSprites.size()); }
  int LiveSpriteCount() const;
  // Every creation in a slot gets a new generation, so an old claim on the slot can be told
  // from the sprite that lives there now.
  uint32_t Generation(int index) const;
  // The live sprite at index when it is still the one of that generation, else null.
  TMySprite* Find(int index, uint32_t generation);
  // Uses of handles whose sprite had gone, refused since the start.
  int StaleHandleUses() const { return FStaleHandleUses; }
  void CountStaleHandleUse() { ++FStaleHandleUses; }

  // Re-creates one surface in system memory (true) or display memory (false). The surface is
  // replaced by a new object: reach sprite images through their sprite, never keep a reference.
  void MoveSurfaceMemory(std::unique_ptr<TSurface>& surface, bool systemMemory);
  // Darkens the target (within its DrawArea) through the alpha bytes of a 32-bit mask at (x, y).
  static void DrawShadow(TSurface* target, int x, int y, const TPixelBuffer* mask);

  // Composes the areas that changed since the last frame (everything after RedrawWhole).
  void DrawFrame();
  void RedrawWhole() { FWholeFrame = true; }
  // Where the table is hidden, composed areas start black rather than keeping the last frame.
  bool BlackWithoutTable = false;
  // The screen areas the last DrawFrame composed, and the pixels composed so far.
  const std::vector<TRect>& Damage() const { return FDamage; }
  uint64_t ComposedPixels() const { return FComposedPixels; }
  // Whether the last frame showed only steps whose times were known beforehand: animation frames
  // stepped by the clock and drawing hooks' looks raised by owners that say when they are due.
  // After any other change the caller cannot know what moves next and ticks again at its pace.
  bool TimedStepsOnly() const { return FTimedStepsOnly; }
  // Whether a frame composed now would differ from the last one composed. Sprites, their images
  // (through the images' change stamps), the scroll and the view are compared; visible drawing
  // hooks, due animation steps and the statistics overlay always want a frame.
  bool FrameWanted() const;
  // Milliseconds until a visible animation steps by itself (0: now or every frame, as for a
  // drawing hook); kNoStepDue when nothing on screen changes without being told.
  static constexpr uint32_t kNoStepDue = UINT32_MAX;
  uint32_t NextStepIn() const;
  // Keeps the table background and every resting table sprite below topDepth composed on a
  // table-sized layer, so a frame redraws only what changed there. Resting: not Fixed, visible,
  // unturned, without a drawing hook, of kind Piece, Plain or Composite. 0 or less turns it off.
  // Images changed in place must say so (TPixelBuffer::MarkChanged).
  void SetTableLayer(double topDepth);
  double TableLayerTop() const { return FTableTop; }
  // Composes the whole layer again at the next frame.
  void InvalidateTableLayer();
  // The whole table reduced to fit the screen instead of the 1:1 window at the scroll offset;
  // screen sprites stay as they are. Needs the table layer: turning it off ends the overview.
  void SetOverview(bool on);
  bool Overview() const { return FOverview && FTable; }
  // Where the overview puts the table for the current screen and table picture.
  TTableView OverviewView() const;
  // A screen point on the table in the current view, and a table point on the screen.
  TPoint ScreenToTable(int x, int y) const;
  TPoint TableToScreen(int x, int y) const;
  void UpdateSurfaceSize();
  void ResetWorkSurface();
  void LoadBackground();
  // Window to full screen in fullScreenMode, or back; true when the result is full screen.
  bool ToggleFullScreen(const TDisplayMode& fullScreenMode);
  bool SetDisplayMode(int width, int height, bool fullScreen, int bitCount, int refresh);
  int SpriteSurfaceCount() const;

  IDisplay& Display() { return FDXDraw; }
  TSurface* WorkSurface() { return FWorkSurface.get(); }
  TMySprite* Background() { return FBackground.get(); }

  // Hooks the game engine sets.
  TNotifyEvent OnRestore;        // lost surfaces were restored
  TNotifyEvent OnDisplayChange;  // after a switch of display mode
  std::function<std::string()> OnBackgroundPath;  // full path of the table background picture
  std::function<void(bool)> OnTimerEnabled;       // stops and starts the frame timer
  std::function<int()> OnFrameRate;               // frames per second, for the overlay
  std::function<int()> OnControlCount;            // live controls, for the overlay

  // State other units read and write directly.
  int FScrollX = 0, FScrollY = 0;  // scroll offset of the table
  int FWidth = 0, FHeight = 0;     // back-buffer size
  bool FUseClipper = true;
  int FOverlayGrey = 20;
  int FPulseStep = 0;
  std::string FStatText;
  std::vector<TDebugLine> FDebugLines;
  const std::vector<int>& Order() const { return FOrder; }

 private:
  int NewSlot();
  void SurfacesReleased();
  void SurfacesCreated();
  void SurfacesRestoredNotice();
  void HookDisplay();
  void ReconfigureDisplay(const std::function<void()>& configure);
  void EnterWindowed();
  void EnterFullScreen(const TDisplayMode& mode);
  void SwitchDisplay(bool fullScreen, const TDisplayMode& mode);

  // Frame composition (UFrameComposition.cpp).
  void QueueOnScreen(TSurface& back, int index, int orderPos);
  void QueueSprite(TSurface& target, int index, int orderPos, TPoint p);
  void QueuePiece(TSurface& back, int index, TPoint p);
  void QueueAnimation(TMySprite& s, TPoint p);
  void QueueComposite(TMySprite& s, TPoint p);
  void RunHook(TSurface& back, const TSpriteDrawEvent& hook, int value);
  bool ComposeFromTableLayer(TSurface& back);
  bool ComposeOverview(TSurface& back);
  void DrawOrdered(TSurface& target, const std::vector<int>& positions, TPoint origin, bool picture = true);
  bool HitsAt(const TMySprite& s, int x, int y) const;
  // The scene as last composed (USceneStamp.cpp).
  uint64_t SceneStamp() const;
  uint64_t ViewStamp() const;
  // The old and new places of the sprites that changed since the last frame (USceneStamp.cpp).
  void CollectDamage(const TRect& screen);
  TRect ScreenReach(const TMySprite& s) const;
  void StepAnimations();
  void ComposeArea(TSurface& back);
  // The statistics overlay (UStatisticsOverlay.cpp).
  void DrawOverlay(TSurface& back);
  void DrawDebugLines(TCanvas& canvas);

  IDisplay& FDXDraw;
  uint64_t FSceneStamp = 0;  // SceneStamp() as the last frame was composed
  // What each sprite slot looked like and where it lay in the last composed frame.
  struct TSpriteTrace {
    uint64_t Key = 0;
    uint64_t FrameAndLook = 0;
    TRect Bounds;
  };
  bool FTimedStepsOnly = false;
  std::vector<TSpriteTrace> FTraces;
  uint64_t FViewStamp = 0;
  bool FWholeFrame = true;
  std::vector<TRect> FDamage;
  uint64_t FComposedPixels = 0;
  bool FSortNeeded = true;
  std::vector<int> FOrder;
  TSprites FSprites;
  std::vector<uint32_t> FGenerations;  // per slot; kept when trailing slots are trimmed
  int FStaleHandleUses = 0;
  TRect FClipper;
  std::unique_ptr<TSurface> FWorkSurface;
  std::unique_ptr<TMySprite> FBackground;
  TDrawList FDrawList;  // the blits of the frame not yet painted
  double FTableTop = 0;
  std::unique_ptr<TTableComposer> FTable;
  std::unique_ptr<TOverviewComposer> FOverviewComposer;
  bool FOverview = false;
  std::string FPlatformVersion;
  // Display handlers that were set before ours; ours call them first.
  std::function<void()> FPrevFinalize, FPrevCreated, FPrevRestored;
};

// The one engine, owned by the game engine.
extern TGraphicsEngine* Graphics;
// Ctrl+Alt+F10: the statistics overlay.
extern bool OverlayVisible;
// The table background sprite, or null before the first LoadBackground.
TMySprite* BackgroundSprite();

}  // namespace qj
