// The piece tray: table bounds, tab icon, title buttons and the events of the piece set.
#include "controls/UTrayWindow.h"

#include <algorithm>
#include <string>
#include <vector>

#include "controls/UButtons.h"
#include "controls/UHints.h"
#include "core/UTextIds.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Log.h"

namespace qj {

namespace {

// Keeps a value in lo..hi; a range turned over by a tray larger than the table gives lo.
int KeepWithin(int value, int lo, int hi) { return std::max(lo, std::min(value, hi)); }

void ShowSprite(TDXControl* control, bool shown) {
  if (!control) return;
  if (TMySprite* s = control->FSprite.Get()) s->Visible = shown;
}

// Own frames for a title button from one entry of the tray block; the theme's button frames
// stay when the entry cannot be read.
void GiveButtonImage(TDXButton* button, const std::vector<std::string>& entries, int index) {
  if (!button || size_t(index) >= entries.size()) return;
  const std::string& base = entries[size_t(index)];
  if (!button->SetImages({ThemedFileName(base)})) {
    const std::string why = ThemedImageError(base, ThemedFileName(base) + " cannot be read");
    LogError("tray button %d keeps its old image: %s", index, why.c_str());
  }
}

}  // namespace

TDXTrayWindow::TDXTrayWindow(TInterface* owner) : TDXWindow(owner) {
  const auto images = CurrentControlImages();
  const TMyDib* icon = images ? ImageAt(images->TrayImages, TrayImage::EmptyCollapsed) : nullptr;
  const TMyDib empty(1, 1);
  FIconSprite = TSpriteHandle(*FEngine, FEngine->AddSpriteFromBitmap(icon ? *icon : empty, 0, 0, FDepth,
                                                                      SpriteCategory::TrayIcon));
  if (TMySprite* s = FIconSprite.Get()) {
    s->Kind = ESpriteKind::Composite;
    s->Visible = false;
  }
  FCloseButton = std::make_unique<TDXButton>(owner);
  FEmptyButton = std::make_unique<TDXButton>(owner);
  ReloadTrayButtons(*this);
  for (TDXButton* button : {FCloseButton.get(), FEmptyButton.get()}) {
    ShowSprite(button, false);
    if (TMySprite* s = button->FSprite.Get()) s->Fixed = false;
  }
  FCloseButton->OnClick = [this](TDXControl*) { Collapse(); };
  FEmptyButton->OnClick = [this](TDXControl*) { (void)Fire(OnEmpty); };
  FHint = std::make_unique<TDXHint>(owner);
  // The box stands out towards the middle of the screen from whichever zone the mouse rests on.
  FHint->OnBeforeShow = [this](TDXControl*) {
    FHint->SetCaption(TextKey(Text::TrayHint));
    const TRect& zone = FHint->FHintRect;
    FHint->PlaceBeside((zone.Left + zone.Right) / 2 >= FEngine->FWidth / 2);
  };
  if (TMySprite* s = FSprite.Get()) {
    s->Visible = false;
    s->Fixed = false;  // the tray lies on the scrolled table
  }
  FActivatable = true;
  FResizable = true;
  SetFrameStyle(1);
  SetTop(100);
  SetLeft(100);
  SetWidth(300);
  SetHeight(200);
}

TDXTrayWindow::~TDXTrayWindow() = default;

void TDXTrayWindow::SetTrayNumber(int number) {
  FTrayNumber = number;
  const std::string caption = TextKey(Text::TrayCaption) + " " + std::to_string(number);
  if (caption != FCaption) SetCaption(caption);
}

void ReloadTrayButtons(TDXTrayWindow& tray) {
  std::vector<std::string> entries;
  try {
    ReadOptionsBlock("Trays", entries);
  } catch (const ELayoutError& e) {
    LogError("%s", e.what());
    return;
  }
  GiveButtonImage(tray.FCloseButton.get(), entries, TrayImage::Collapse);
  GiveButtonImage(tray.FEmptyButton.get(), entries, TrayImage::Empty);
  tray.Paint();
}

// ---- Bounds ------------------------------------------------------------------------------------

void TDXTrayWindow::SetWidth(int value) {
  int width = std::max(value, 0);
  if (int64_t(FLeft) + width > kTableWidth) width = kTableWidth - FLeft;
  TDXWindow::SetWidth(std::max(width, kMinWidth));
}

void TDXTrayWindow::SetHeight(int value) {
  int height = std::max(value, 0);
  if (int64_t(FTop) + height > kTableHeight) height = kTableHeight - FTop;
  TDXWindow::SetHeight(std::max(height, kMinHeight));
}

void TDXTrayWindow::SetTop(int value) {
  TDXWindow::SetTop(KeepWithin(value, 0, kTableHeight - FHeight));
  PlaceButtons();
}

void TDXTrayWindow::SetLeft(int value) {
  TDXWindow::SetLeft(KeepWithin(value, 0, kTableWidth - FWidth));
  PlaceButtons();
}

void TDXTrayWindow::RestoreBounds(int left, int top, int width, int height) {
  {
    const TFlagScope updating(FUpdating, true);
    // At the table's corner every size fits; then the place is clamped against the new size.
    SetLeft(0);
    SetTop(0);
    SetWidth(width);
    SetHeight(height);
    SetLeft(left);
    SetTop(top);
  }
  Paint();
}

void TDXTrayWindow::PlaceButtons() {
  if (!FCloseButton || !FEmptyButton) return;
  const int closeWidth = FCloseButton->FWidth;
  FCloseButton->SetLeft(FLeft + FWidth - closeWidth);
  FCloseButton->SetTop(FTop);
  FEmptyButton->SetLeft(FLeft + FWidth - 2 * FEmptyButton->FWidth - 2);
  FEmptyButton->SetTop(FTop);
}

// ---- Painting and the icon ---------------------------------------------------------------------

void TDXTrayWindow::Paint() {
  TDXWindow::Paint();
  PlaceButtons();
}

int TDXTrayWindow::WantedIconState() const {
  return (FHasPieces ? TrayImage::FullCollapsed : TrayImage::EmptyCollapsed) + (WindowShown() ? 1 : 0);
}

void TDXTrayWindow::ShowIconImage() {
  TMySprite* s = FIconSprite.Get();
  const auto images = CurrentControlImages();
  const TMyDib* image = images ? ImageAt(images->TrayImages, FIconState) : nullptr;
  if (s && image && !s->Surfaces.empty() && s->Surfaces[0]) s->Surfaces[0]->CopyFrom(*image);
}

void TDXTrayWindow::Animate() {
  TDXWindow::Animate();
  const int wanted = WantedIconState();
  if (wanted != FIconState) {
    FIconState = wanted;
    ShowIconImage();
  }
  FollowHintZones();
  const TMySprite* window = FSprite.Get();
  if (!window) return;
  for (TDXButton* button : {FCloseButton.get(), FEmptyButton.get()}) {
    TMySprite* s = button->FSprite.Get();
    if (s && s->Depth != window->Depth + 1) s->SetDepth(window->Depth + 1);
  }
}

// Hint zones are screen rectangles: the icon's and the title band's move with the table's scroll
// and with the bar, so they are taken again every frame.
void TDXTrayWindow::FollowHintZones() {
  const TMySprite* icon = FIconSprite.Get();
  FHint->FHintZone = icon && icon->Visible;
  if (FHint->FHintZone) FHint->FHintRect = FEngine->SpriteBounds(FIconSprite.Index());
  FHintZone = WindowShown();
  if (!FHintZone) return;
  const TPoint topLeft = FEngine->TableToScreen(FLeft, FTop);
  const TPoint bandEnd = FEngine->TableToScreen(FLeft + FWidth, FTop + TitleHeight());
  FHintRect = {topLeft.X, topLeft.Y, bandEnd.X, bandEnd.Y};
}

bool TDXTrayWindow::ShowHint() {
  FHint->FHintRect = FHintRect;
  return FHint->ShowHint();
}

void TDXTrayWindow::Restore() {
  TDXWindow::Restore();
  ShowIconImage();
  FCloseButton->Restore();
  FEmptyButton->Restore();
}

// ---- Showing and hiding ------------------------------------------------------------------------

bool TDXTrayWindow::WindowShown() const {
  const TMySprite* s = FSprite.Get();
  return s && s->Visible;
}

void TDXTrayWindow::ShowWindow(bool shown) {
  ShowSprite(this, shown);
  ShowSprite(FCloseButton.get(), shown);
  ShowSprite(FEmptyButton.get(), shown);
}

void TDXTrayWindow::ShowIcon() {
  if (TMySprite* s = FIconSprite.Get()) s->Visible = true;
  (void)Fire(OnShow);
}

void TDXTrayWindow::HideAll() {
  if (TMySprite* s = FIconSprite.Get()) s->Visible = false;
  ShowWindow(false);
  (void)Fire(OnHide);
}

void TDXTrayWindow::Collapse() {
  ShowWindow(false);
  (void)Fire(OnHide);
}

void TDXTrayWindow::Open() {
  if (TMySprite* s = FIconSprite.Get()) s->Visible = true;
  ShowWindow(true);
  (void)Fire(OnShow);
}

// ---- Mouse and activation ----------------------------------------------------------------------

bool TDXTrayWindow::IconAt(int x, int y) const {
  const TMySprite* s = FIconSprite.Get();
  if (!s || !s->Visible) return false;
  const TRect bounds = FEngine->SpriteBounds(FIconSprite.Index());
  return bounds.Contains(x, y);
}

void TDXTrayWindow::MouseDown(int button, int shift, int x, int y) {
  if (IconAt(x, y)) {
    if (WindowShown()) {
      Collapse();
      return;
    }
    Open();
    TakeActivation();  // through ActiveWindow, so that only one window is drawn active
    return;
  }
  if (ShownAt(LayerPoint(x, y))) TDXWindow::MouseDown(button, shift, x, y);
}

void TDXTrayWindow::MouseUp(int button, int shift, int x, int y) {
  // A drag ends wherever the button comes up.
  if (FDragMode != EWindowDrag::None || ShownAt(LayerPoint(x, y))) TDXWindow::MouseUp(button, shift, x, y);
}

void TDXTrayWindow::Activate() {
  TDXWindow::Activate();
  (void)Fire(OnActivate);
}

}  // namespace qj
