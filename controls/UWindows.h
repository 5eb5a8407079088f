// The framed panel of the screens: a nine-piece themed frame with a title, a client background,
// an image and a picture layer (centred, stretched, or full size and scrolled), moved by its
// title band, resized by its edges, and one window at a time the active one.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/UControlImages.h"
#include "controls/UControls.h"

namespace qj {

class TDXWindow;
struct TSpritePart;
using TResizeEvent = std::function<void(TDXControl* sender, int axis)>;

// The four surfaces of a window's composite sprite, bottom to top.
namespace WindowLayer {
enum : int { Client = 0, Image = 1, Picture = 2, Frame = 3, Count = 4 };
}

// The ten rectangles of a frame bitmap, by group of the .coord file.
namespace FrameRect {
enum : int {
  TopLeft = 0, Top = 1, TopRight = 2, Left = 3, Right = 4,
  BottomLeft = 5, Bottom = 6, BottomRight = 7, Client = 8, Title = 9,
};
}

// What a left press in a window started.
enum class EWindowDrag : int {
  None = 0, Move = 1, LeftEdge = 2, RightEdge = 3, BottomEdge = 4, BottomLeft = 5, BottomRight = 6,
};

// Settings of Setup beyond the bounds.
struct TWindowSetup {
  int Style = 0;          // 0 large, 1 small
  int TitleFontSize = 0;  // 0: the theme's title size
  bool FillClient = true;
  bool Movable = true;
  bool Resizable = false;
  bool Activatable = true;
};

class TDXWindow : public TDXControl {
 public:
  static constexpr uint32_t kDoubleClickMs = 200;

  explicit TDXWindow(TInterface* owner, EControlLayer layer = EControlLayer::Content);
  ~TDXWindow() override;

  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void MouseMove(int shift, int x, int y) override;
  // Both keep the frame's minimum, Round(frame size / 1.85), and then fire OnResize.
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  void SetImage(const TMyDib& bitmap) override;
  [[nodiscard]] bool LoadImage(const std::string& fileName) override;
  void ClearImage() override;
  // Places the sprite and its layers at once; the surfaces themselves are drawn again at the
  // next Animate, so a drag or many changes in one frame cost one redraw.
  void Paint() override;
  void Restore() override;
  void Animate() override;
  bool Animating() const override { return FNeedsRedraw && !FUpdating; }
  virtual void Activate();
  virtual void Deactivate();

  void Setup(const std::string& caption, int left, int top, int width, int height, const TWindowSetup& setup,
             TControlEvent onPaintBackground = nullptr);
  void SetFrameStyle(int style);
  void SetFillClient(bool value);
  void SetPicture(const TMyDib& bitmap);
  void ClearPicture();
  void SetScrollOrigin(TPoint origin);
  // Sizes the window so that its client area is width x height. False, with the old size kept,
  // when that is below the window's minimum.
  bool SetClientSize(int width, int height);
  // Makes this the one active window, or lets it go.
  void SetActive(bool value);

  // Geometry.
  int ClientWidth() const { return FWidth - FInsetLeft - FInsetRight; }
  int ClientHeight() const { return FHeight - FInsetTop - FInsetBottom; }
  TRect ClientRect() const { return MakeRect(FInsetLeft, FInsetTop, ClientWidth(), ClientHeight()); }
  int TitleHeight() const { return FLayout[FrameRect::Top].Bottom; }
  int LeftGripWidth() const { return FLayout[FrameRect::Left].Right; }
  int BottomBandY() const;
  int RightBandX() const;
  TRect BoundsRect() const { return MakeRect(FLeft, FTop, FWidth, FHeight); }
  // The client background that lies under `area` (window coordinates), drawn at the target's
  // top left: a control on the window blends its text over what is really there.
  void DrawBackdrop(TSurface& target, const TRect& area) const;
  // The title in its band, and what the owner painted onto the window.
  std::vector<TTextRoom> TextRooms() const override;
  // How often the surfaces were drawn; a frame with any number of changes adds at most one.
  int RepaintCount() const { return FRepaintCount; }

  TImage FFrameInactive, FFrameActive, FClientBackground;
  int FDragStartX = 0, FDragStartY = 0;
  int FDragStartLeft = 0, FDragStartTop = 0;
  int FDragStartWidth = 0, FDragStartHeight = 0;
  EWindowDrag FDragMode = EWindowDrag::None;
  TResizeEvent OnResize;
  TControlEvent OnPaintBackground;
  TControlEvent OnMouseUp;
  TControlEvent OnDblClick;
  TControlEvent OnMouseDown;
  bool FActive = false;
  int FFrameStyle = -1;
  bool FFillClient = true;
  int FScrollX = 0, FScrollY = 0;
  uint32_t FLastDownTick = 0;
  bool FHasPicture = false;
  std::unique_ptr<TMyDib> FPicture;
  std::array<TLayoutRect, 10> FLayout{};
  int FInsetLeft = 0, FInsetTop = 0, FInsetRight = 0, FInsetBottom = 0;
  int FTitleFontSize = 0;
  bool FStretchContents = false;
  bool FFullSizeContents = false;
  bool FKeepAspect = false;
  bool FMovable = true;
  bool FResizable = false;
  bool FActivatable = true;
  std::string FFileName;

 protected:
  // A press or release position in the coordinates of the sprite's layer.
  TPoint LayerPoint(int x, int y) const;
  // True when the sprite is shown and holds the point (layer coordinates).
  bool ShownAt(TPoint p) const;
  // The old active window lets go, this one becomes active.
  void TakeActivation();

 private:
  TPoint FrameSize() const;  // of the inactive frame bitmap; (0, 0) without one
  bool SelectStyle(int style);
  void StartDrag(EWindowDrag mode, TPoint p);
  EWindowDrag ZoneAt(TPoint p) const;
  void DragTo(TPoint p);
  void EndDrag();
  void PlaceContents();
  void PlaceContent(TSurface& layer, const TMyDib* bitmap);
  void RenewParts();
  TSpritePart ContentPart(bool shown) const;
  void Redraw();
  [[nodiscard]] bool FirePaintBackground();
  void DrawClient(TSurface& layer) const;
  void DrawFrame(TSurface& layer);
  void DrawTitle(TSurface& layer);

  bool FNeedsRedraw = false;
  int FRepaintCount = 0;
};

// The window that is active; null at start and once that window is gone.
extern TDXWindow* ActiveWindow;

}  // namespace qj
