// Windows: frame, title, client background and content layers on one composite sprite.
//
// Index: construction and setup; size and client size; content layers and their views;
// painting (placing at once, drawing once a frame); mouse (move, resize, double click);
// activation.
#include "controls/UWindows.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Surface.h"

namespace qj {

TDXWindow* ActiveWindow = nullptr;

namespace {

// The frame may shrink to this share of its bitmap and no further.
constexpr double kMinimumShare = 1.85;
constexpr int kTitleLift = 2;  // the title stands this far above its band's middle

int MinimumFor(int bitmapSize) { return int(std::nearbyint(bitmapSize / kMinimumShare)); }

void SetCursor(TCursorKind kind) {
  if (IDisplay* display = DXDraw()) display->SetCursor(kind);
}

TCursorKind CursorFor(EWindowDrag mode) {
  switch (mode) {
    case EWindowDrag::None: return TCursorKind::Arrow;
    case EWindowDrag::Move: return TCursorKind::Hand;
    case EWindowDrag::LeftEdge:
    case EWindowDrag::RightEdge: return TCursorKind::SizeWE;
    case EWindowDrag::BottomEdge: return TCursorKind::SizeNS;
    case EWindowDrag::BottomLeft: return TCursorKind::SizeNESW;
    case EWindowDrag::BottomRight: return TCursorKind::SizeNWSE;
  }
  return TCursorKind::Arrow;
}

// One frame piece: where it comes from in the bitmap and where it goes in the window.
struct TFramePiece {
  TRect From;
  TRect To;
};

// Pieces on the left and top keep their bitmap coordinates, pieces on the right and bottom their
// distance to the bitmap's right and bottom edge; the edges stretch between the corners.
std::array<TFramePiece, 8> FramePieces(const std::array<TLayoutRect, 10>& r, int imgW, int imgH, int w, int h) {
  using namespace FrameRect;
  const int right = w - imgW;   // shift of pieces kept at the right
  const int bottom = h - imgH;  // and at the bottom
  const TRect& tr = r[TopRight];
  const TRect& bl = r[BottomLeft];
  const TRect& br = r[BottomRight];
  return {{
      {r[TopLeft], MakeRect(0, 0, r[TopLeft].Width(), r[TopLeft].Height())},
      {r[Top], {r[Top].Left, r[Top].Top, right + tr.Left, r[Top].Bottom}},
      {tr, MakeRect(right + tr.Left, 0, tr.Width(), tr.Height())},
      {r[Left], {r[Left].Left, r[Left].Top, r[Left].Right, bottom + bl.Top}},
      {r[Right], {right + r[Right].Left, r[Right].Top, right + r[Right].Right, bottom + br.Top}},
      {bl, MakeRect(0, bottom + bl.Top, bl.Width(), bl.Height())},
      {r[Bottom], {r[Bottom].Left, bottom + r[Bottom].Top, right + br.Left, bottom + r[Bottom].Bottom}},
      {br, MakeRect(right + br.Left, bottom + br.Top, br.Width(), br.Height())},
  }};
}

// The full-size view: the client rectangle shows the layer from the scroll origin on. Where the
// origin lies before the layer the view starts further in; where it reaches past the layer's
// end the view ends early. Worked in 64 bits so that no origin can overflow.
void FullSizeView(const TRect& client, int64_t scroll, int64_t layerSize, bool vertical, TSpritePart& part) {
  int64_t destFrom = vertical ? client.Top : client.Left;
  int64_t destTo = vertical ? client.Bottom : client.Right;
  int64_t from = scroll;
  int64_t to = scroll + (destTo - destFrom);
  if (to > layerSize) {
    destTo -= to - layerSize;
    to = layerSize;
  }
  if (from < 0) {
    destFrom -= from;
    from = 0;
  }
  if (destTo < destFrom || to < from) {  // nothing of the layer shows
    destTo = destFrom;
    to = from;
  }
  auto fit = [](int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  int& destLow = vertical ? part.Dest.Top : part.Dest.Left;
  int& destHigh = vertical ? part.Dest.Bottom : part.Dest.Right;
  int& low = vertical ? part.Source.Top : part.Source.Left;
  int& high = vertical ? part.Source.Bottom : part.Source.Right;
  destLow = fit(destFrom);
  destHigh = fit(destTo);
  low = fit(from);
  high = fit(to);
}

}  // namespace

// ---- Construction and setup ---------------------------------------------------------------------

TDXWindow::TDXWindow(TInterface* owner, EControlLayer layer) : TDXControl(owner, layer) {
  FSprite = TSpriteHandle(*FEngine, FEngine->AddEmptySprite(0, 0, FDepth, 0));
  if (TMySprite* s = FSprite.Get()) {
    s->Kind = ESpriteKind::Composite;
    s->SolidHit = true;
    const int index = FSprite.Index();
    for (int i = 0; i < WindowLayer::Count; ++i) FEngine->AddSurface(index, nullptr);
    FEngine->Sprite(index).Parts.resize(WindowLayer::Count);
  }
  FTitleFontSize = CurrentTheme().FontTitleSize;
  FLastDownTick = GetTickCount() - kDoubleClickMs;  // the first press is never a double click
  const TFlagScope updating(FUpdating, true);
  SetFrameStyle(0);
}

TDXWindow::~TDXWindow() {
  if (ActiveWindow == this) ActiveWindow = nullptr;
}

void TDXWindow::Setup(const std::string& caption, int left, int top, int width, int height,
                      const TWindowSetup& setup, TControlEvent onPaintBackground) {
  {
    const TFlagScope updating(FUpdating, true);
    // The style comes first: the minimum size of the bounds below is the style's.
    SelectStyle(setup.Style);
    SetCaption(caption);
    SetBounds(left, top, width, height);
    SetFillClient(setup.FillClient);
    FMovable = setup.Movable;
    FResizable = setup.Resizable;
    FActivatable = setup.Activatable;
    FTitleFontSize = setup.TitleFontSize;
    OnPaintBackground = std::move(onPaintBackground);
  }
  Paint();
}

TPoint TDXWindow::FrameSize() const {
  if (!FFrameInactive) return {};
  return {FFrameInactive->Width(), FFrameInactive->Height()};
}

// Takes the style's bitmaps and rectangles from the current theme; false when there is no such
// style or the theme has not loaded it.
bool TDXWindow::SelectStyle(int style) {
  if (style != 0 && style != 1) return false;
  const auto images = CurrentControlImages();
  if (!images) return false;
  const TWindowStyle& s = images->WindowStyles[size_t(style)];
  if (!s.FrameInactive || !s.FrameActive) return false;
  FFrameStyle = style;
  FFrameInactive = s.FrameInactive;
  FFrameActive = s.FrameActive;
  FClientBackground = s.ClientBackground;
  FLayout = s.Layout;
  const TRect& client = FLayout[FrameRect::Client];
  FInsetLeft = client.Left;
  FInsetTop = client.Top;
  FInsetRight = FFrameInactive->Width() - client.Right;
  FInsetBottom = FFrameInactive->Height() - client.Bottom;
  return true;
}

void TDXWindow::SetFrameStyle(int style) {
  if (SelectStyle(style)) Paint();
}

void TDXWindow::SetFillClient(bool value) {
  FFillClient = value;
  Paint();
}

// ---- Size ------------------------------------------------------------------------------------------

void TDXWindow::SetWidth(int value) {
  FWidth = std::max(MinimumFor(FrameSize().X), value);
  if (OnResize) OnResize(this, 0);
  Paint();
}

void TDXWindow::SetHeight(int value) {
  FHeight = std::max(MinimumFor(FrameSize().Y), value);
  if (OnResize) OnResize(this, 1);
  Paint();
}

bool TDXWindow::SetClientSize(int width, int height) {
  const int oldWidth = FWidth;
  const int oldHeight = FHeight;
  bool fits = false;
  {
    const TFlagScope updating(FUpdating, true);
    const int64_t wantWidth = int64_t(width) + FInsetLeft + FInsetRight;
    const int64_t wantHeight = int64_t(height) + FInsetTop + FInsetBottom;
    if (wantWidth <= INT32_MAX && wantHeight <= INT32_MAX) {
      SetWidth(int(wantWidth));
      if (FWidth == wantWidth) {
        SetHeight(int(wantHeight));
        fits = FHeight == wantHeight;
      }
    }
    if (!fits) {
      SetWidth(oldWidth);
      SetHeight(oldHeight);
    }
  }
  Paint();
  return fits;
}

int TDXWindow::BottomBandY() const {
  return FTop + FHeight - FrameSize().Y + FLayout[FrameRect::Bottom].Top;
}

int TDXWindow::RightBandX() const { return FLeft + FWidth - FrameSize().X + FLayout[FrameRect::Right].Left; }

// ---- Content layers --------------------------------------------------------------------------------

void TDXWindow::SetImage(const TMyDib& bitmap) {
  FImage = std::make_unique<TMyDib>(bitmap);
  FHasImage = true;
  PlaceContents();
}

bool TDXWindow::LoadImage(const std::string& fileName) {
  if (!ReadImage(fileName)) return false;
  PlaceContents();
  return true;
}

void TDXWindow::ClearImage() {
  TDXControl::ClearImage();
  PlaceContents();
}

void TDXWindow::SetPicture(const TMyDib& bitmap) {
  FPicture = std::make_unique<TMyDib>(bitmap);
  FHasPicture = true;
  PlaceContents();
}

void TDXWindow::ClearPicture() {
  FPicture.reset();
  FHasPicture = false;
  PlaceContents();
}

void TDXWindow::SetScrollOrigin(TPoint origin) {
  FScrollX = origin.X;
  FScrollY = origin.Y;
  RenewParts();
}

void TDXWindow::PlaceContents() {
  TMySprite* s = FSprite.Get();
  if (!s) return;
  PlaceContent(*s->Surfaces[WindowLayer::Image], FHasImage ? FImage.get() : nullptr);
  PlaceContent(*s->Surfaces[WindowLayer::Picture], FHasPicture ? FPicture.get() : nullptr);
  RenewParts();
}

// Full size and stretched layers hold the bitmap as it is; otherwise the layer has the window's
// size with the bitmap centred in the client area.
void TDXWindow::PlaceContent(TSurface& layer, const TMyDib* bitmap) {
  if (!bitmap || bitmap->Empty()) {
    layer.SetSize(1, 1);
    return;
  }
  if (FFullSizeContents || FStretchContents) {
    layer.CopyFrom(*bitmap);
    return;
  }
  layer.SetSize(std::max(FWidth, 1), std::max(FHeight, 1));
  const int x = (FWidth - bitmap->Width()) / 2;
  const int y = TitleHeight() + (ClientHeight() - bitmap->Height()) / 2;
  BltFast(layer, x, y, *bitmap, false);
}

// A part with nothing to show is hidden rather than given an empty rectangle: the engine stops
// drawing a composite at an empty one, which would take the frame with it.
TSpritePart TDXWindow::ContentPart(bool shown) const {
  TSpritePart part;
  part.KeepAspect = FKeepAspect ? 1 : 0;
  if (FStretchContents) {
    part.Mode = EPartMode::Stretch;
    part.Dest = ClientRect();
  } else if (FFullSizeContents) {
    part.Mode = EPartMode::CopySource;
  }
  part.Hidden = shown ? 0 : 1;
  return part;
}

void TDXWindow::RenewParts() {
  TMySprite* s = FSprite.Get();
  if (!s) return;
  const bool content[2] = {FHasImage, FHasPicture};
  for (int layer : {WindowLayer::Image, WindowLayer::Picture}) {
    TSpritePart part = ContentPart(content[layer - WindowLayer::Image]);
    if (part.Mode == EPartMode::CopySource) {
      const TSurface& surface = *s->Surfaces[size_t(layer)];
      FullSizeView(ClientRect(), FScrollX, surface.Width(), false, part);
      FullSizeView(ClientRect(), FScrollY, surface.Height(), true, part);
    }
    if (part.Mode != EPartMode::AtSprite && part.Dest.IsEmpty()) part.Hidden = 1;
    s->Parts[size_t(layer)] = part;
  }
  s->Parts[WindowLayer::Client].Hidden = FFillClient ? 0 : 1;
}

// ---- Painting --------------------------------------------------------------------------------------

// Everything cheap happens now (style, height, layer views, position); the surfaces wait for the
// next Animate so that however often a window changes in one frame it is drawn once.
void TDXWindow::Paint() {
  if (FUpdating || !FFrameInactive || !FFrameActive) return;
  const TFlagScope updating(FUpdating, true);
  SelectStyle(FFrameStyle);  // a theme change reaches a live window here
  FHeight = std::max(FHeight, FInsetTop + FInsetBottom);
  RenewParts();
  MoveSprite();
  FNeedsRedraw = true;
}

void TDXWindow::Animate() {
  if (FNeedsRedraw && !FUpdating) Redraw();
}

void TDXWindow::Redraw() {
  TMySprite* s = FSprite.Get();
  if (!s) return;
  FNeedsRedraw = false;
  ++FRepaintCount;
  const bool centred = !FFullSizeContents && !FStretchContents;
  const TSurface& image = *s->Surfaces[WindowLayer::Image];
  if (centred && (FHasImage || FHasPicture) && (image.Width() != FWidth || image.Height() != FHeight))
    PlaceContents();  // a centred layer follows the window's size
  TSurface& client = *s->Surfaces[WindowLayer::Client];
  DrawClient(client);
  if (!FirePaintBackground()) return;
  // With nothing shown between them, the frame goes onto the client layer: every frame then
  // blits one window-sized layer instead of two (a tray holds no image or picture).
  const bool merged = FFillClient && !FHasImage && !FHasPicture;
  TSurface& frame = *s->Surfaces[WindowLayer::Frame];
  frame.SetSize(merged ? 1 : FWidth, merged ? 1 : FHeight);
  DrawFrame(merged ? client : frame);
  DrawTitle(merged ? client : frame);
  s->Parts[WindowLayer::Frame].Hidden = merged ? 1 : 0;
}

// Owners draw into the client layer here; a Paint of theirs meanwhile changes nothing. The flag
// is put back on every way out, a throwing handler included, unless the handler freed the window
// (then the result is false and nothing of the window may be touched).
bool TDXWindow::FirePaintBackground() {
  ClearNotedTexts();
  const bool was = FUpdating;
  FUpdating = true;
  bool alive = true;
  try {
    alive = Fire(OnPaintBackground);
  } catch (...) {
    FUpdating = was;
    throw;
  }
  if (alive) FUpdating = was;
  return alive;
}

void TDXWindow::DrawClient(TSurface& layer) const {
  layer.SetSize(FWidth, FHeight);
  if (!FClientBackground || FClientBackground->Empty()) return;
  const TPoint size = FrameSize();
  const TRect& client = FLayout[FrameRect::Client];
  const TRect to{client.Left, client.Top, FWidth - size.X + client.Right, FHeight - size.Y + client.Bottom};
  if (!to.IsEmpty()) Blt(layer, to, *FClientBackground, FClientBackground->Bounds(), false);
}

void TDXWindow::DrawBackdrop(TSurface& target, const TRect& area) const {
  TSurface whole;
  DrawClient(whole);
  Blt(target, MakeRect(0, 0, area.Width(), area.Height()), whole, area, false);
}

std::vector<TTextRoom> TDXWindow::TextRooms() const {
  std::vector<TTextRoom> rooms = TDXControl::TextRooms();
  const std::string caption = GetCaption();
  if (caption.empty()) return rooms;
  const TTheme& theme = CurrentTheme();
  const TFontChoice font{theme.FontName, FTitleFontSize != 0 ? FTitleFontSize : theme.FontTitleSize, 0, false};
  const int left = FLayout[FrameRect::Top].Left;
  // The title is lifted a little out of its band's middle and may stand that far into the frame.
  rooms.push_back(MeasureTextRoom(font, caption, FWidth - left - FInsetRight, FInsetTop + 2 * kTitleLift));
  return rooms;
}

void TDXWindow::DrawFrame(TSurface& layer) {
  const TMyDib& bitmap = FActive ? *FFrameActive : *FFrameInactive;
  const TPoint size = FrameSize();
  for (const TFramePiece& piece : FramePieces(FLayout, size.X, size.Y, FWidth, FHeight))
    if (!piece.To.IsEmpty() && !piece.From.IsEmpty()) Blt(layer, piece.To, bitmap, piece.From, true);
}

void TDXWindow::DrawTitle(TSurface& layer) {
  const std::string caption = GetCaption();
  if (caption.empty()) return;
  const TTheme& theme = CurrentTheme();
  TCanvas canvas(layer);
  canvas.BrushClear = true;
  canvas.Font.Name = theme.FontName;
  canvas.Font.Size = FTitleFontSize != 0 ? FTitleFontSize : theme.FontTitleSize;
  canvas.Font.Color = theme.SayColor.ToPixel();
  const TRect& band = FLayout[FrameRect::Title];
  const int y = band.Top + (band.Height() - canvas.TextHeight(caption)) / 2 - kTitleLift;
  canvas.TextOut(FLayout[FrameRect::Top].Left, y, caption);
}

void TDXWindow::Restore() {
  PlaceContents();
  Paint();
}

// ---- Mouse -----------------------------------------------------------------------------------------

TPoint TDXWindow::LayerPoint(int x, int y) const {
  const TMySprite* s = FSprite.Get();
  if (s && !s->Fixed) return FEngine->ScreenToTable(x, y);
  return {x, y};
}

bool TDXWindow::ShownAt(TPoint p) const {
  const TMySprite* s = FSprite.Get();
  return s && s->Visible && BoundsRect().Contains(p.X, p.Y);
}

void TDXWindow::MouseDown(int button, int shift, int x, int y) {
  if (!Fire(OnMouseDown)) return;
  const uint32_t now = GetTickCount();
  const bool doubleClick = now - FLastDownTick < kDoubleClickMs;
  FLastDownTick = now;
  if (doubleClick && !Fire(OnDblClick)) return;
  const TPoint p = LayerPoint(x, y);
  if (FActivatable && ActiveWindow != this) TakeActivation();
  if (button != mbLeft) return;
  const EWindowDrag mode = ZoneAt(p);
  if (mode != EWindowDrag::None) StartDrag(mode, p);
}

// The title band moves; below it, a resizable window is sized by its edges and corners (a later
// zone wins over an earlier one where they meet).
EWindowDrag TDXWindow::ZoneAt(TPoint p) const {
  const int titleBottom = FTop + TitleHeight();
  if (p.Y <= titleBottom && FMovable) return EWindowDrag::Move;
  if (!FResizable) return EWindowDrag::None;
  const int bottomBand = BottomBandY();
  const int rightBand = RightBandX();
  const int leftGrip = FLeft + LeftGripWidth();
  const bool sideRows = titleBottom < p.Y && p.Y < bottomBand;
  EWindowDrag mode = EWindowDrag::None;
  if (sideRows && p.X > rightBand) mode = EWindowDrag::RightEdge;
  if (sideRows && p.X < leftGrip) mode = EWindowDrag::LeftEdge;
  if (p.Y > bottomBand && leftGrip < p.X && p.X < rightBand) mode = EWindowDrag::BottomEdge;
  if (p.Y >= bottomBand && p.X < leftGrip) mode = EWindowDrag::BottomLeft;
  if (p.Y >= bottomBand && p.X > rightBand) mode = EWindowDrag::BottomRight;
  return mode;
}

void TDXWindow::StartDrag(EWindowDrag mode, TPoint p) {
  FDragMode = mode;
  FDragStartX = p.X;
  FDragStartY = p.Y;
  FDragStartLeft = FLeft;
  FDragStartTop = FTop;
  FDragStartWidth = FWidth;
  FDragStartHeight = FHeight;
  FCapture = true;  // the release ends the drag wherever the cursor has got to
  SetCursor(CursorFor(mode));
}

void TDXWindow::EndDrag() {
  FDragMode = EWindowDrag::None;
  FCapture = false;
  SetCursor(TCursorKind::Arrow);
}

void TDXWindow::MouseMove(int shift, int x, int y) {
  if (FDragMode == EWindowDrag::None) return;
  if (!(shift & ssLeft)) {
    EndDrag();
    return;
  }
  DragTo(LayerPoint(x, y));
}

void TDXWindow::DragTo(TPoint p) {
  const int dx = p.X - FDragStartX;
  const int dy = p.Y - FDragStartY;
  if (FDragMode == EWindowDrag::Move) {
    SetLeft(FDragStartLeft + dx);
    SetTop(FDragStartTop + dy);
    return;
  }
  {
    const TFlagScope updating(FUpdating, true);
    const bool leftSide = FDragMode == EWindowDrag::LeftEdge || FDragMode == EWindowDrag::BottomLeft;
    const bool rightSide = FDragMode == EWindowDrag::RightEdge || FDragMode == EWindowDrag::BottomRight;
    const bool bottom = FDragMode != EWindowDrag::LeftEdge && FDragMode != EWindowDrag::RightEdge;
    if (rightSide) SetWidth(FDragStartWidth + dx);
    if (leftSide) {
      SetWidth(FDragStartWidth - dx);
      // The right edge stays where it was, also when the minimum width stopped the drag.
      SetLeft(FDragStartLeft + FDragStartWidth - FWidth);
    }
    if (bottom) SetHeight(FDragStartHeight + dy);
  }
  Paint();
}

void TDXWindow::MouseUp(int button, int shift, int x, int y) {
  if (FDragMode != EWindowDrag::None && button == mbLeft) EndDrag();
  (void)Fire(OnMouseUp);  // nothing follows that could touch a freed window
}

// ---- Activation ------------------------------------------------------------------------------------

void TDXWindow::TakeActivation() {
  TDXWindow* old = ActiveWindow;
  ActiveWindow = this;
  if (old && old != this) old->Deactivate();
  Activate();
}

void TDXWindow::SetActive(bool value) {
  if (value == FActive || !FActivatable) return;
  if (value) {
    TakeActivation();
    return;
  }
  if (ActiveWindow == this) ActiveWindow = nullptr;
  Deactivate();
}

void TDXWindow::Activate() {
  if (!FActivatable || FActive) return;
  FActive = true;
  Paint();
}

void TDXWindow::Deactivate() {
  if (!FActivatable || !FActive) return;
  FActive = false;
  Paint();
}

}  // namespace qj
