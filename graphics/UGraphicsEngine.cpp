// The sprite engine: sprite slots, the drawing order, hit tests, the table layer's switch and
// the display-mode switches. Frames are composed in UFrameComposition.cpp (with the table layer
// in UTableComposer), the statistics overlay is drawn in UStatisticsOverlay.cpp.
//
// Sections: globals and helpers; creation and surfaces; sprite slots; drawing order and hit
// test; surface memory and shadows; the table layer; display changes.
#include "graphics/UGraphicsEngine.h"

#include <algorithm>
#include <iostream>
#include <string>

#include "graphics/UOverviewComposer.h"
#include "graphics/UTableComposer.h"

namespace qj {

TGraphicsEngine* Graphics = nullptr;

TMySprite* BackgroundSprite() { return Graphics ? Graphics->Background() : nullptr; }

namespace {

// The play table; a background picture that cannot be read leaves a black table of this size.
constexpr int kTableWidth = 1600;
constexpr int kTableHeight = 1200;

std::unique_ptr<TSurface> BlackPixel() { return std::make_unique<TSurface>(1, 1); }

// A surface from a picture file; a picture that cannot be read gives a black pixel, so a missing
// theme graphic shows nothing instead of stopping the screen.
std::unique_ptr<TSurface> SurfaceFromFile(const std::string& fileName) {
  TMyDib picture;
  if (!picture.LoadFromFile(fileName)) {
    std::cerr << "Cannot load picture \"" << fileName << "\": " << picture.LastError() << "\n";
    return BlackPixel();
  }
  auto surface = std::make_unique<TSurface>();
  surface->CopyFrom(picture);
  return surface;
}

}  // namespace

const TSurface* TMySprite::Image() const {
  if (Surfaces.empty()) return nullptr;
  if (Kind == ESpriteKind::Animation && Frame < Surfaces.size()) return Surfaces[Frame].get();
  return Surfaces[0].get();
}

// ---------------------------------------------------------------- creation and surfaces

TGraphicsEngine::TGraphicsEngine(IDisplay& display, std::string platformVersion)
    : FDXDraw(display), FPlatformVersion(std::move(platformVersion)) {
  Graphics = this;
  UpdateSurfaceSize();
  FWorkSurface = std::make_unique<TSurface>();
  HookDisplay();
}

TGraphicsEngine::~TGraphicsEngine() {
  FDXDraw.OnFinalize = FPrevFinalize;
  FDXDraw.OnSurfacesCreated = FPrevCreated;
  FDXDraw.OnSurfacesRestored = FPrevRestored;
  if (Graphics == this) Graphics = nullptr;
}

// The main window listens to the display too: whatever was set before us keeps being called.
void TGraphicsEngine::HookDisplay() {
  FPrevFinalize = FDXDraw.OnFinalize;
  FPrevCreated = FDXDraw.OnSurfacesCreated;
  FPrevRestored = FDXDraw.OnSurfacesRestored;
  FDXDraw.OnFinalize = [this] {
    if (FPrevFinalize) FPrevFinalize();
    SurfacesReleased();
  };
  FDXDraw.OnSurfacesCreated = [this] {
    if (FPrevCreated) FPrevCreated();
    SurfacesCreated();
  };
  FDXDraw.OnSurfacesRestored = [this] {
    if (FPrevRestored) FPrevRestored();
    SurfacesRestoredNotice();
  };
}

void TGraphicsEngine::UpdateSurfaceSize() {
  FWidth = FDXDraw.Width();
  FHeight = FDXDraw.Height();
  FClipper = MakeRect(0, 0, FWidth, FHeight);
}

void TGraphicsEngine::SurfacesReleased() {
  FDXDraw.BackBuffer().DetachClipper();
  FDXDraw.Primary().DetachClipper();
  FClipper = {};
  FWorkSurface.reset();
}

// Every image went with the old surfaces: sprites keep 1 x 1 placeholders until the screens
// reload them after the restored notice.
void TGraphicsEngine::SurfacesCreated() {
  UpdateSurfaceSize();
  InvalidateTableLayer();
  FWorkSurface = std::make_unique<TSurface>();
  for (TMySprite& s : FSprites)
    for (auto& surface : s.Surfaces)
      if (surface) surface = BlackPixel();
  if (FBackground) {
    FBackground->Surfaces.clear();
    FBackground->Surfaces.push_back(BlackPixel());
    FBackground->Surfaces.push_back(BlackPixel());
  }
}

void TGraphicsEngine::SurfacesRestoredNotice() {
  FStatText += "R";
  if (OnRestore) OnRestore();
}

void TGraphicsEngine::ResetWorkSurface() { FWorkSurface = std::make_unique<TSurface>(); }

// The table background: surface 0 is drawn, surface 1 is a system-memory copy for pixel reads.
void TGraphicsEngine::LoadBackground() {
  const std::string path = OnBackgroundPath ? OnBackgroundPath() : std::string();
  TMyDib picture;
  if (path.empty() || !picture.LoadFromFile(path)) {
    if (!path.empty()) std::cerr << "Cannot load background \"" << path << "\": " << picture.LastError() << "\n";
    picture.Resize(kTableWidth, kTableHeight);
  }
  if (!FBackground) {
    FBackground = std::make_unique<TMySprite>();
    FBackground->Opaque = true;
    FBackground->Category = SpriteCategory::Background;
  }
  TSurfaceList& surfaces = FBackground->Surfaces;
  surfaces.clear();
  for (const bool systemMemory : {false, true}) {
    auto surface = std::make_unique<TSurface>();
    surface->SetSystemMemory(systemMemory);
    surface->CopyFrom(picture);
    surfaces.push_back(std::move(surface));
  }
  MoveSurfaceMemory(surfaces[1], true);
  MoveSurfaceMemory(surfaces[0], false);
}

// ---------------------------------------------------------------- sprite slots

// The lowest free slot (or a new one), reset, with an Id one above the largest live one.
int TGraphicsEngine::NewSlot() {
  int maxId = 0;
  int slot = -1;
  for (size_t i = 0; i < FSprites.size(); ++i) {
    if (FSprites[i].Id == 0) {
      if (slot < 0) slot = int(i);
    } else {
      maxId = std::max(maxId, FSprites[i].Id);
    }
  }
  if (slot < 0) {
    slot = int(FSprites.size());
    FSprites.emplace_back();
    if (FGenerations.size() < FSprites.size()) FGenerations.push_back(0);
  } else {
    // A reused slot starts clean: nothing of the previous sprite (hooks, hit mode, angle) leaks.
    FSprites[size_t(slot)] = TMySprite{};
  }
  TMySprite& s = FSprites[size_t(slot)];
  s.Id = maxId + 1;
  s.SortFlag = &FSortNeeded;
  ++FGenerations[size_t(slot)];
  FSortNeeded = true;
  return slot;
}

int TGraphicsEngine::AddEmptySprite(int x, int y, double depth, int category) {
  const int index = NewSlot();
  TMySprite& s = FSprites[size_t(index)];
  s.X = x;
  s.Y = y;
  s.Depth = depth;
  s.Category = category;
  return index;
}

int TGraphicsEngine::AddSprite(const std::string& fileName, int x, int y, double depth, int category) {
  const int index = AddEmptySprite(x, y, depth, category);
  FSprites[size_t(index)].Surfaces.push_back(SurfaceFromFile(fileName));
  return index;
}

int TGraphicsEngine::AddSpriteFromBitmap(const TPixelBuffer& bitmap, int x, int y, double depth, int category) {
  const int index = AddEmptySprite(x, y, depth, category);
  AddSurface(index, &bitmap);
  return index;
}

TSurface& TGraphicsEngine::AddSurface(int sprite, const TPixelBuffer* source) {
  auto surface = source ? std::make_unique<TSurface>() : BlackPixel();
  if (source) surface->CopyFrom(*source);
  return *Sprite(sprite).Surfaces.emplace_back(std::move(surface));
}

TSurface& TGraphicsEngine::AddSurfaceFromFile(int sprite, const std::string& fileName) {
  TMySprite& s = Sprite(sprite);
  return *s.Surfaces.emplace_back(fileName.empty() ? BlackPixel() : SurfaceFromFile(fileName));
}

void TGraphicsEngine::SetSpriteDepth(int sprite, double depth) { Sprite(sprite).SetDepth(depth); }

TRect TGraphicsEngine::SpriteBounds(int sprite) const {
  const TMySprite& s = Sprite(sprite);
  const TSurface* image = s.Surfaces.empty() ? nullptr : s.Surfaces[0].get();
  return MakeRect(s.X, s.Y, image ? image->Width() : 0, image ? image->Height() : 0);
}

void TGraphicsEngine::FreeSprite(int sprite) {
  if (sprite < 0 || size_t(sprite) >= FSprites.size()) return;
  if (FTable) FTable->Forget(sprite);
  TMySprite& s = FSprites[size_t(sprite)];
  s.Id = 0;
  s.Visible = false;
  s.Surfaces.clear();
  s.Bitmaps.clear();
  s.Parts.clear();
  s.Alpha = 0;
  s.OnDraw = nullptr;
  FSortNeeded = true;
}

int TGraphicsEngine::FreeAllSprites() {
  int inUse = 0;
  for (size_t i = 0; i < FSprites.size(); ++i) {
    if (FSprites[i].Persistent) continue;
    inUse += FSprites[i].Id != 0;
    FreeSprite(int(i));
  }
  return inUse;
}

int TGraphicsEngine::LiveSpriteCount() const {
  return int(std::count_if(FSprites.begin(), FSprites.end(), [](const TMySprite& s) { return s.Id != 0; }));
}

uint32_t TGraphicsEngine::Generation(int index) const {
  return index >= 0 && size_t(index) < FGenerations.size() ? FGenerations[size_t(index)] : 0;
}

TMySprite* TGraphicsEngine::Find(int index, uint32_t generation) {
  if (index < 0 || size_t(index) >= FSprites.size() || FGenerations[size_t(index)] != generation) return nullptr;
  TMySprite& s = FSprites[size_t(index)];
  return s.Id != 0 ? &s : nullptr;
}

void TGraphicsEngine::TrimSprites() {
  while (!FSprites.empty() && FSprites.back().Id == 0 && !FSprites.back().Visible) FSprites.pop_back();
  FSortNeeded = true;
}

int TGraphicsEngine::SpriteSurfaceCount() const {
  size_t count = 5;
  for (const TMySprite& s : FSprites) count += s.Surfaces.size();
  return int(count);
}

// ---------------------------------------------------------------- drawing order and hit test

// Ascending depth; sprites of equal depth in index order, so the order is the same on every
// run and a raise never reshuffles the sprites it does not touch. A depth that is not a number
// sorts first.
void TGraphicsEngine::SortSprites() {
  const size_t n = FSprites.size();
  std::vector<std::pair<double, int>> keys(n);
  for (size_t i = 0; i < n; ++i) keys[i] = {FSprites[i].OrderKey(), int(i)};
  std::sort(keys.begin(), keys.end());
  FOrder.resize(n);
  for (size_t i = 0; i < n; ++i) FOrder[i] = keys[i].second;
  FSortNeeded = false;
}

void TGraphicsEngine::SortIfNeeded() {
  if (FSortNeeded) SortSprites();
}

// In the overview a table sprite is hit where the table pixel under the mouse lies in it.
int TGraphicsEngine::SpriteAt(int x, int y) const {
  int result = -1;
  const bool overview = Overview();
  const TPoint table = ScreenToTable(x, y);
  const bool onTable = !overview || OverviewView().ScreenRect().Contains(x, y);
  for (size_t i = 0; i < FSprites.size(); ++i) {
    const TMySprite& s = FSprites[i];
    if (!s.Visible || s.NoHit || ((s.Kind == ESpriteKind::Piece || s.Kind == ESpriteKind::Animation) && s.Angle != 0)) continue;
    if (!s.Fixed && !onTable) continue;
    const bool hit = s.Fixed || !overview ? HitsAt(s, x, y) : HitsAt(s, table.X - FScrollX, table.Y - FScrollY);
    if (hit && (result < 0 || s.Depth > FSprites[size_t(result)].Depth)) result = int(i);
  }
  return result;
}

// Whether the sprite covers the screen point of the 1:1 view.
bool TGraphicsEngine::HitsAt(const TMySprite& s, int x, int y) const {
  const TSurface* image = s.Image();
  if (!image) return false;
  const TPoint p = s.ScreenPos({FScrollX, FScrollY});
  if (!(p.X < x && x < p.X + image->Width() && p.Y < y && y < p.Y + image->Height())) return false;
  TPixel pixel = 0;
  // A pixel that cannot be read counts as solid.
  return s.SolidHit || !image->ReadPixel(x - p.X, y - p.Y, pixel) || (pixel & kRgbMask) != 0;
}

// ---------------------------------------------------------------- surface memory and shadows

void TGraphicsEngine::MoveSurfaceMemory(std::unique_ptr<TSurface>& surface, bool systemMemory) {
  if (!surface || surface->SystemMemory() == systemMemory) return;
  if (!FWorkSurface) FWorkSurface = std::make_unique<TSurface>();
  FWorkSurface->SetSystemMemory(systemMemory);
  FWorkSurface->CopyFrom(*surface);
  surface.swap(FWorkSurface);
  FWorkSurface = std::make_unique<TSurface>();
}

void TGraphicsEngine::DrawShadow(TSurface* target, int x, int y, const TPixelBuffer* mask) {
  ShadeThroughMask(target, x, y, mask);
}

// ---------------------------------------------------------------- the table layer

void TGraphicsEngine::SetTableLayer(double topDepth) {
  if (!(topDepth > 0)) {
    FOverviewComposer.reset();
    FTable.reset();
    FTableTop = 0;
    FOverview = false;
    return;
  }
  if (!FTable) {
    FTable = std::make_unique<TTableComposer>(
        *this, [this](TSurface& target, const std::vector<int>& positions, TPoint origin) { DrawOrdered(target, positions, origin); });
    FOverviewComposer = std::make_unique<TOverviewComposer>(
        *this, *FTable, [this](TSurface& target, const std::vector<int>& positions, TPoint origin, bool picture) {
          DrawOrdered(target, positions, origin, picture);
        });
  }
  FTableTop = topDepth;
}

void TGraphicsEngine::SetOverview(bool on) { FOverview = on; }

TTableView TGraphicsEngine::OverviewView() const {
  const TSurface* picture = FBackground && !FBackground->Surfaces.empty() ? FBackground->Surfaces[0].get() : nullptr;
  const bool sized = picture && !picture->Empty();
  return TTableView::Fit(sized ? picture->Width() : kTableWidth, sized ? picture->Height() : kTableHeight,
                         FWidth, FHeight);
}

// Around the reduced table the mouse stays at the table's edge, as it does at 1:1, so nothing
// carried there is put down off the table.
TPoint TGraphicsEngine::ScreenToTable(int x, int y) const {
  if (!Overview()) return {x + FScrollX, y + FScrollY};
  const TTableView view = OverviewView();
  const TPoint p = view.ToTable({x, y});
  return {std::clamp(p.X, 0, view.TableWidth() - 1), std::clamp(p.Y, 0, view.TableHeight() - 1)};
}

TPoint TGraphicsEngine::TableToScreen(int x, int y) const {
  if (!Overview()) return {x - FScrollX, y - FScrollY};
  return OverviewView().ToScreen({x, y});
}

void TGraphicsEngine::InvalidateTableLayer() {
  if (FTable) FTable->InvalidateAll();
}

// ---------------------------------------------------------------- display changes

// Stop the frames, tear the surfaces down, change the window and mode, build them up again.
void TGraphicsEngine::ReconfigureDisplay(const std::function<void()>& configure) {
  if (OnTimerEnabled) OnTimerEnabled(false);
  FDXDraw.Finalize();
  configure();
  FDXDraw.Initialize();
  if (OnTimerEnabled) OnTimerEnabled(true);
  if (OnDisplayChange) OnDisplayChange();
}

// The option goes first: a full-screen window covers the desktop and takes no placement.
void TGraphicsEngine::EnterWindowed() {
  FDXDraw.SetFullScreenOption(false);
  FDXDraw.RestoreWindowPlacement();
  FDXDraw.SetBorderless(false);
}

void TGraphicsEngine::EnterFullScreen(const TDisplayMode& mode) {
  // Only the window's own placement is worth keeping: not that of a previous full-screen mode.
  if (!FDXDraw.FullScreenOption()) FDXDraw.SaveWindowPlacement();
  FDXDraw.SetBorderless(true);
  FDXDraw.SetFullScreenOption(true);
  FDXDraw.SetWindowBounds(MakeRect(0, 0, mode.Width, mode.Height));
  FDXDraw.SetFullScreenMode(mode);
}

void TGraphicsEngine::SwitchDisplay(bool fullScreen, const TDisplayMode& mode) {
  ReconfigureDisplay([this, fullScreen, &mode] {
    if (fullScreen)
      EnterFullScreen(mode);
    else
      EnterWindowed();
  });
}

bool TGraphicsEngine::ToggleFullScreen(const TDisplayMode& fullScreenMode) {
  const bool toFullScreen = !FDXDraw.FullScreenOption();
  SwitchDisplay(toFullScreen, fullScreenMode);
  return toFullScreen;
}

bool TGraphicsEngine::SetDisplayMode(int width, int height, bool fullScreen, int bitCount, int refresh) {
  const bool isFullScreen = FDXDraw.FullScreenOption();
  if (!fullScreen && !isFullScreen) return false;
  const TDisplayMode mode{width, height, bitCount, refresh};
  if (fullScreen && isFullScreen) {
    const TDisplayMode now = FDXDraw.FullScreenMode();
    if (now.Width == width && now.Height == height && now.BitCount == bitCount && now.Refresh == refresh)
      return false;
  }
  SwitchDisplay(fullScreen, mode);
  return true;
}

}  // namespace qj
