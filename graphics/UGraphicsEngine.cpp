// The sprite engine: sprite slots, the drawing order, hit tests, frame composition and the
// display-mode switches.
//
// Sections: globals and helpers; creation and surfaces; sprite slots; drawing order and hit
// test; surface memory and shadows; frame composition; the table layer; statistics overlay;
// display changes.
#include "graphics/UGraphicsEngine.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>

#include "graphics/UTableLayer.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"

namespace qj {

TGraphicsEngine* Graphics = nullptr;
bool OverlayVisible = false;

TMySprite* BackgroundSprite() { return Graphics ? Graphics->Background() : nullptr; }

// One recorded blit of a frame (see frame composition below).
struct TDrawOp {
  enum TType : uint8_t { CopyOp, KeyedOp, AlphaOp, RotatedOp, StretchOp, ShadowOp };
  TType Type = KeyedOp;
  const TPixelBuffer* Image = nullptr;
  TPoint At;
  TRect Reach;   // rows outside it are untouched
  TRect Dest;    // Stretch: the target rectangle
  TRect Source;  // Stretch: the source rectangle
  int Angle = 0;
  double CenterX = 0, CenterY = 0;
  uint8_t Alpha = 0;
};

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

bool LiesLeftOrAbove(TPoint p, const TPixelBuffer& image) {
  return p.X + image.Width() < 0 || p.Y + image.Height() < 0;
}

TRect Offset(const TRect& r, TPoint p) { return {r.Left + p.X, r.Top + p.Y, r.Right + p.X, r.Bottom + p.Y}; }

// The key sprites are ordered by: a depth that is not a number sorts first.
double OrderKey(double depth) { return std::isnan(depth) ? -HUGE_VAL : depth; }

// The largest rectangle of the image's proportions centred in `dest`.
TRect FitKeepingAspect(const TRect& dest, const TPixelBuffer& image) {
  const double dw = dest.Width(), dh = dest.Height();
  const double w = image.Width(), h = image.Height();
  if (dw * h >= w * dh) {
    const double width = dh * w / h, left = dest.Left + (dw - width) / 2;
    return {int(std::lround(left)), dest.Top, int(std::lround(left + width)), dest.Bottom};
  }
  const double height = dw * h / w, top = dest.Top + (dh - height) / 2;
  return {dest.Left, int(std::lround(top)), dest.Right, int(std::lround(top + height))};
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
  for (size_t i = 0; i < n; ++i) keys[i] = {OrderKey(FSprites[i].Depth), int(i)};
  std::sort(keys.begin(), keys.end());
  FOrder.resize(n);
  for (size_t i = 0; i < n; ++i) FOrder[i] = keys[i].second;
  FSortNeeded = false;
}

void TGraphicsEngine::SortIfNeeded() {
  if (FSortNeeded) SortSprites();
}

TPoint TGraphicsEngine::ScreenPos(const TMySprite& s) const {
  return s.Fixed ? TPoint{s.X, s.Y} : TPoint{s.X - FScrollX, s.Y - FScrollY};
}

int TGraphicsEngine::SpriteAt(int x, int y) const {
  int result = -1;
  for (size_t i = 0; i < FSprites.size(); ++i) {
    const TMySprite& s = FSprites[i];
    if (!s.Visible || s.NoHit || ((s.Kind == ESpriteKind::Piece || s.Kind == ESpriteKind::Animation) && s.Angle != 0)) continue;
    const TSurface* image = s.Image();
    if (!image) continue;
    const TPoint p = ScreenPos(s);
    if (!(p.X < x && x < p.X + image->Width() && p.Y < y && y < p.Y + image->Height())) continue;
    TPixel pixel = 0;
    // A pixel that cannot be read counts as solid.
    if (!s.SolidHit && image->ReadPixel(x - p.X, y - p.Y, pixel) && (pixel & kRgbMask) == 0) continue;
    if (result < 0 || s.Depth > FSprites[size_t(result)].Depth) result = int(i);
  }
  return result;
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
  if (!target || !mask || target->Empty() || mask->Empty()) return;
  const TRect area = Intersect(MakeRect(x, y, mask->Width(), mask->Height()), target->DrawArea());
  for (int row = area.Top; row < area.Bottom; ++row) {
    const TPixel* m = mask->Row(row - y) + (area.Left - x);
    TPixel* d = target->Row(row) + area.Left;
    for (int i = 0; i < area.Width(); ++i) {
      const unsigned a = m[i] >> 24;
      if (a == 0) continue;
      if (a == 255) {
        d[i] = 0;
        continue;
      }
      const unsigned k = a / 2, p = d[i];
      const unsigned r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
      d[i] = (p & 0xFF000000u) | ((r > k ? r - k : 0) << 16) | ((g > k ? g - k : 0) << 8) | (b > k ? b - k : 0);
    }
  }
}

// ---------------------------------------------------------------- frame composition
//
// A frame is recorded as a list of blits and painted band by band: each band of the back buffer
// stays in the cache while every sprite crossing it is drawn. Every blit clips to the band, so
// the pixels are those of drawing the sprites one after another. Drawing hooks may draw
// anywhere, so the list is painted before each hook runs.

namespace {
constexpr int kBandRows = 32;
constexpr TRect kEverywhere{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30};
}  // namespace

void TGraphicsEngine::Queue(const TPixelBuffer& image, TPoint at, uint8_t type) {
  TDrawOp op;
  op.Type = TDrawOp::TType(type);
  op.Image = &image;
  op.At = at;
  op.Reach = MakeRect(at.X, at.Y, image.Width(), image.Height());
  FDrawList.push_back(op);
}

void TGraphicsEngine::QueueStretch(const TPixelBuffer& image, const TRect& dest, const TRect& source) {
  Queue(image, {dest.Left, dest.Top}, TDrawOp::StretchOp);
  FDrawList.back().Reach = FDrawList.back().Dest = dest;
  FDrawList.back().Source = source;
}

void TGraphicsEngine::RunDrawOp(TSurface& back, const TDrawOp& op) {
  switch (op.Type) {
    case TDrawOp::CopyOp:
    case TDrawOp::KeyedOp:
      BltFast(back, op.At.X, op.At.Y, *op.Image, op.Type == TDrawOp::KeyedOp);
      break;
    case TDrawOp::AlphaOp:
      BltAlpha(back, op.At.X, op.At.Y, *op.Image, op.Alpha, true);
      break;
    case TDrawOp::RotatedOp:
      DrawRotated(back, op.At.X, op.At.Y, *op.Image, op.Angle, op.CenterX, op.CenterY);
      break;
    case TDrawOp::StretchOp:
      Blt(back, op.Dest, *op.Image, op.Source, true);
      break;
    case TDrawOp::ShadowOp:
      DrawShadow(&back, op.At.X, op.At.Y, op.Image);
      break;
  }
}

void TGraphicsEngine::PaintQueued(TSurface& back) {
  // Bands pay only when several blits share them (between hooks there may be just one).
  if (FDrawList.size() <= 2) {
    for (const TDrawOp& op : FDrawList) RunDrawOp(back, op);
    FDrawList.clear();
    return;
  }
  const bool clipped = back.HasClipper();
  const TRect clip = back.ClipRect(), area = back.DrawArea();
  for (int top = area.Top; top < area.Bottom; top += kBandRows) {
    const TRect band{area.Left, top, area.Right, std::min(top + kBandRows, area.Bottom)};
    back.AttachClipper(band);
    for (const TDrawOp& op : FDrawList)
      if (op.Reach.Top < band.Bottom && op.Reach.Bottom > band.Top) RunDrawOp(back, op);
  }
  if (clipped)
    back.AttachClipper(clip);
  else
    back.DetachClipper();
  FDrawList.clear();
}

void TGraphicsEngine::DrawFrame() {
  TSurface& back = FDXDraw.BackBuffer();
  back.DetachClipper();
  if (FUseClipper) back.AttachClipper(FClipper);
  FDrawList.clear();
  SortIfNeeded();
  if (!ComposeFromTableLayer(back)) {
    if (FBackground && FBackground->Visible && !FBackground->Surfaces.empty() && FBackground->Surfaces[0])
      Queue(*FBackground->Surfaces[0], {-FScrollX, -FScrollY}, TDrawOp::CopyOp);
    // Drawing hooks may create or free sprites: indices are re-read on every step.
    for (size_t i = 0; i < FOrder.size(); ++i) QueueOnScreen(back, FOrder[i], int(i));
  }
  PaintQueued(back);
  if (OverlayVisible) DrawOverlay(back);
}

// Raises a drawing hook once everything below the sprite is on the back buffer. The hook is
// called through a copy: it may free its own sprite.
void TGraphicsEngine::RunHook(TSurface& back, const TSpriteDrawEvent& hook, int value) {
  PaintQueued(back);
  const TSpriteDrawEvent copy = hook;
  copy(value);
}

// A visible sprite at its place on the back buffer.
void TGraphicsEngine::QueueOnScreen(TSurface& back, int index, int orderPos) {
  if (size_t(index) >= FSprites.size() || !FSprites[size_t(index)].Visible) return;
  const TPoint p = ScreenPos(FSprites[size_t(index)]);
  if (p.X > FWidth || p.Y > FHeight) return;
  QueueSprite(back, index, orderPos, p);
}

void TGraphicsEngine::QueueSprite(TSurface& target, int index, int orderPos, TPoint p) {
  TMySprite& s = FSprites[size_t(index)];
  switch (s.Kind) {
    case ESpriteKind::Piece:
      QueuePiece(target, index, p);
      break;
    case ESpriteKind::Plain:
      if (s.Surfaces.empty() || !s.Surfaces[0] || LiesLeftOrAbove(p, *s.Surfaces[0])) return;
      Queue(*s.Surfaces[0], p, s.Alpha != 0 ? TDrawOp::AlphaOp : TDrawOp::KeyedOp);
      FDrawList.back().Alpha = s.Alpha;
      break;
    case ESpriteKind::Animation:
      QueueAnimation(s, p);
      break;
    case ESpriteKind::Hook:
      if (s.OnDraw) RunHook(target, s.OnDraw, orderPos);
      break;
    case ESpriteKind::Composite:
      QueueComposite(s, p);
      break;
  }
}

// Pieces: the hook first (it may replace the image), then turned, or shadow and image.
void TGraphicsEngine::QueuePiece(TSurface& back, int index, TPoint p) {
  {
    TMySprite& s = FSprites[size_t(index)];
    if (!s.Surfaces.empty() && s.Surfaces[0] && s.Angle == 0 && LiesLeftOrAbove(p, *s.Surfaces[0])) return;
    if (s.OnDraw) RunHook(back, s.OnDraw, s.DrawTag);
  }
  TMySprite& s = FSprites[size_t(index)];
  if (s.SkipOnce) {
    s.SkipOnce = false;
    return;
  }
  if (s.Surfaces.empty() || !s.Surfaces[0]) return;
  if (s.Angle != 0) {
    MoveSurfaceMemory(s.Surfaces[0], true);
    Queue(*s.Surfaces[0], p, TDrawOp::RotatedOp);
    TDrawOp& op = FDrawList.back();
    op.Reach = kEverywhere;
    op.Angle = s.Angle;
    op.CenterX = s.CenterX;
    op.CenterY = s.CenterY;
    return;
  }
  if (s.Shadow && s.Frame < s.Bitmaps.size() && s.Bitmaps[s.Frame])
    Queue(*s.Bitmaps[s.Frame], p, TDrawOp::ShadowOp);
  MoveSurfaceMemory(s.Surfaces[0], false);
  Queue(*s.Surfaces[0], p, TDrawOp::KeyedOp);
}

// Frame animation, stepped by the clock: one frame per FrameMs, stopping on the last with PlayOnce.
void TGraphicsEngine::QueueAnimation(TMySprite& s, TPoint p) {
  const size_t count = s.Surfaces.size();
  if (count == 0) return;
  if (s.Frame >= count) s.Frame = 0;
  if (!s.Surfaces[s.Frame] || LiesLeftOrAbove(p, *s.Surfaces[s.Frame])) return;
  if (!s.Finished) {
    const uint32_t now = GetTickCount();
    if (now - s.LastFrameTick > s.FrameMs || now < s.LastFrameTick) {
      s.LastFrameTick = now;
      s.Frame = unsigned((s.Frame + 1) % count);
      if (s.Frame == count - 1 && s.PlayOnce) s.Finished = true;
    }
  }
  if (s.Surfaces[s.Frame]) Queue(*s.Surfaces[s.Frame], p, TDrawOp::KeyedOp);
}

// Composite sprites: each surface where its part record puts it. Plain draws are colour-keyed
// copies: every blit honours the clipper, so the clipped blit and the fast copy (Opaque) agree.
void TGraphicsEngine::QueueComposite(TMySprite& s, TPoint p) {
  for (size_t j = 0; j < s.Surfaces.size(); ++j) {
    const TSurface* surface = s.Surfaces[j].get();
    if (!surface) continue;
    if (surface->Empty()) return;
    const TSpritePart* part = j < s.Parts.size() ? &s.Parts[j] : nullptr;
    if (part && part->Hidden) continue;
    if (!part || part->Mode == EPartMode::AtSprite) {
      Queue(*surface, p, TDrawOp::KeyedOp);
      continue;
    }
    if (part->Mode == EPartMode::CopySource && !FUseClipper) continue;
    if (part->Dest.IsEmpty()) return;
    const TRect dest = Offset(part->Dest, p);
    if (part->Mode == EPartMode::Stretch)
      QueueStretch(*surface, part->KeepAspect ? FitKeepingAspect(dest, *surface) : dest, surface->Bounds());
    else if (part->Mode == EPartMode::CopySource)
      QueueStretch(*surface, dest, part->Source);
  }
}

// ---------------------------------------------------------------- the table layer
//
// Resting table sprites below the top the play screen sets are composed once onto a layer the
// size of the table picture; a frame copies the visible window of it and draws only the other
// sprites. Each frame every sprite is compared with the look it was drawn with, and the areas
// where something changed are composed again on the layer from the picture up. Sprites below the
// top that cannot rest on the layer (a turning piece, an animation, a screen sprite) are drawn
// with everything around them from the picture up, so pieces resting above a turning one still
// cover it and the frame equals the directly drawn one pixel for pixel.

namespace {

// Folds the values a sprite's pixels depend on into one number.
struct TKeyFold {
  uint64_t Value = 0x9E3779B97F4A7C15ull;
  void Add(uint64_t v) {
    Value = (Value ^ v) * 0x100000001B3ull;
    Value ^= Value >> 29;
  }
  void AddImage(const TPixelBuffer* image) {
    Add(uint64_t(uintptr_t(image)));
    Add(image ? image->ChangeStamp() : 0);
  }
  void AddRect(const TRect& r) {
    Add(uint64_t(uint32_t(r.Left)) << 32 | uint32_t(r.Top));
    Add(uint64_t(uint32_t(r.Right)) << 32 | uint32_t(r.Bottom));
  }
};

const TPixelBuffer* ShadowMask(const TMySprite& s) {
  if (s.Kind != ESpriteKind::Piece || !s.Shadow || s.Frame >= s.Bitmaps.size()) return nullptr;
  return s.Bitmaps[s.Frame].get();
}

// The square a turned image sweeps about its centre point, with a pixel to spare for rounding.
TRect TurnedReach(const TMySprite& s, const TPixelBuffer& image) {
  const double cx = s.CenterX * image.Width(), cy = s.CenterY * image.Height();
  const double dx = std::max(cx, image.Width() - cx), dy = std::max(cy, image.Height() - cy);
  const int r = int(std::ceil(std::sqrt(dx * dx + dy * dy))) + 2;
  const int x = int(std::lround(cx)), y = int(std::lround(cy));
  return {x - r, y - r, x + r, y + r};
}

// Every pixel drawing the sprite may touch, relative to its position.
TRect SpriteReach(const TMySprite& s) {
  if (s.Surfaces.empty() || !s.Surfaces[0]) return {};
  if (s.Kind == ESpriteKind::Piece && s.Angle != 0) return TurnedReach(s, *s.Surfaces[0]);
  const bool allSurfaces = s.Kind == ESpriteKind::Composite || s.Kind == ESpriteKind::Animation;
  TRect reach;
  for (size_t j = 0; j < (allSurfaces ? s.Surfaces.size() : 1); ++j) {
    if (!s.Surfaces[j]) continue;
    const TSpritePart* part = s.Kind == ESpriteKind::Composite && j < s.Parts.size() ? &s.Parts[j] : nullptr;
    reach = Bounding(reach, part && part->Mode != EPartMode::AtSprite ? part->Dest : s.Surfaces[j]->Bounds());
  }
  if (const TPixelBuffer* mask = ShadowMask(s)) reach = Bounding(reach, mask->Bounds());
  return reach;
}

}  // namespace

void TGraphicsEngine::SetTableLayer(double topDepth) {
  if (!(topDepth > 0)) {
    FTable.reset();
    FTableTop = 0;
    return;
  }
  if (!FTable) FTable = std::make_unique<TTableLayer>();
  FTableTop = topDepth;
}

void TGraphicsEngine::InvalidateTableLayer() {
  if (FTable) FTable->InvalidateAll();
}

bool TGraphicsEngine::BelowTableTop(const TMySprite& s) const { return OrderKey(s.Depth) < FTableTop; }

// Resting sprites draw the same pixels at the same table place until something about them
// changes; drawing hooks, turns and animations may differ every frame.
bool TGraphicsEngine::RestsOnTable(const TMySprite& s) const {
  const bool restingKind =
      s.Kind == ESpriteKind::Piece || s.Kind == ESpriteKind::Plain || s.Kind == ESpriteKind::Composite;
  return restingKind && !s.Fixed && s.Visible && s.Angle == 0 && !s.OnDraw && !s.SkipOnce && BelowTableTop(s) &&
         !s.Surfaces.empty() && s.Surfaces[0];
}

TLayerLook TGraphicsEngine::LookOf(const TMySprite& s, int index) const {
  TLayerLook look;
  if (!RestsOnTable(s)) return look;
  look.Member = true;
  look.Depth = s.Depth;
  look.Reach = Offset(SpriteReach(s), {s.X, s.Y});
  TKeyFold key;
  key.Add(uint64_t(s.Kind) << 40 | uint64_t(s.Alpha) << 32 | s.Frame);
  key.Add(FGenerations[size_t(index)]);
  key.AddImage(ShadowMask(s));
  for (const auto& surface : s.Surfaces) key.AddImage(surface.get());
  if (s.Kind == ESpriteKind::Composite)
    for (const TSpritePart& part : s.Parts) {
      key.Add(uint64_t(part.Mode) << 16 | uint64_t(part.KeepAspect) << 8 | part.Hidden);
      key.AddRect(part.Dest);
      key.AddRect(part.Source);
    }
  look.Key = key.Value;
  return look;
}

// Compares every sprite with the look the layer drew it with and sorts the others into those
// under and over the top. False when this frame must be drawn directly: a drawing hook under the
// top (it may draw anywhere and must find everything beneath it drawn), or depths changed
// without a new sort, which the direct path draws in the old order.
bool TGraphicsEngine::ScanTableSprites() {
  FUnderTop.clear();
  FOverTop.clear();
  bool direct = false;
  double previous = -HUGE_VAL;
  for (size_t pos = 0; pos < FOrder.size(); ++pos) {
    const int index = FOrder[pos];
    if (size_t(index) >= FSprites.size()) continue;
    TMySprite& s = FSprites[size_t(index)];
    direct = direct || OrderKey(s.Depth) < previous;
    previous = OrderKey(s.Depth);
    // The direct path draws pieces from display memory; moving first keeps the look stable.
    if (s.Kind == ESpriteKind::Piece && RestsOnTable(s)) MoveSurfaceMemory(s.Surfaces[0], false);
    const TLayerLook look = LookOf(s, index);
    FTable->Observe(index, look);
    if (look.Member) {
      FTable->SetOrderPos(index, int(pos));
    } else if (s.Visible && BelowTableTop(s)) {
      direct = direct || s.Kind == ESpriteKind::Hook || s.OnDraw;
      FUnderTop.push_back(int(pos));
    } else if (s.Visible) {
      FOverTop.push_back(int(pos));
    }
  }
  for (size_t index = FSprites.size(); index < FTable->Observed(); ++index) FTable->Forget(int(index));
  return !direct;
}

// The picture, then the sprites at the given drawing positions (ascending), within the target's
// clipper; origin is the table point at the target's top left.
void TGraphicsEngine::DrawOrdered(TSurface& target, const std::vector<int>& positions, TPoint origin) {
  Queue(*FBackground->Surfaces[0], {-origin.X, -origin.Y}, TDrawOp::CopyOp);
  for (const int pos : positions) {
    const int index = FOrder[size_t(pos)];
    const TMySprite& s = FSprites[size_t(index)];
    QueueSprite(target, index, pos, s.Fixed ? TPoint{s.X, s.Y} : TPoint{s.X - origin.X, s.Y - origin.Y});
  }
  PaintQueued(target);
}

void TGraphicsEngine::RedrawTableLayer() {
  TSurface& layer = FTable->Surface();
  for (const TRect& area : FTable->TakeDirty()) {
    layer.AttachClipper(area);
    DrawOrdered(layer, FTable->MembersIn(area), {0, 0});
  }
  layer.DetachClipper();
}

// Each sprite under the top that is not on the layer, drawn together with everything around it.
// The areas are merged until none meet, so each such sprite is drawn (and an animation stepped)
// exactly once.
void TGraphicsEngine::PatchUnderTop(TSurface& back, const TRect& area) {
  std::vector<TRect> reaches, patches;
  for (const int pos : FUnderTop) {
    const TMySprite& s = FSprites[size_t(FOrder[size_t(pos)])];
    reaches.push_back(Intersect(Offset(SpriteReach(s), ScreenPos(s)), area));
    if (!reaches.back().IsEmpty()) MergeRect(patches, reaches.back());
  }
  if (patches.empty()) return;
  const TPoint scroll{FScrollX, FScrollY};
  const TRect clip = back.ClipRect();
  const bool clipped = back.HasClipper();
  for (const TRect& patch : patches) {
    std::vector<int> positions = FTable->MembersIn(Offset(patch, scroll));
    for (size_t i = 0; i < FUnderTop.size(); ++i)
      if (!Intersect(reaches[i], patch).IsEmpty()) positions.push_back(FUnderTop[i]);
    std::sort(positions.begin(), positions.end());
    back.AttachClipper(patch);
    DrawOrdered(back, positions, scroll);
  }
  if (clipped)
    back.AttachClipper(clip);
  else
    back.DetachClipper();
}

// A frame from the layer: the window of the table in one copy, the patches under the top, then
// the sprites over the top as always. False (nothing drawn) when the frame must be drawn
// directly; the layer then catches up on a later frame.
bool TGraphicsEngine::ComposeFromTableLayer(TSurface& back) {
  if (!FTable || !FBackground || !FBackground->Visible || FBackground->Surfaces.empty() || !FBackground->Surfaces[0])
    return false;
  const TSurface& picture = *FBackground->Surfaces[0];
  TKeyFold key;
  key.AddImage(&picture);
  key.Add(FUseClipper);  // composites leave out some parts without the clipper
  FTable->Prepare(picture.Width(), picture.Height(), key.Value);
  if (!ScanTableSprites()) return false;
  // Beyond the picture the direct path leaves the last frame's pixels; only it can match them.
  const TRect area = back.DrawArea();
  const TRect window = Offset(area, {FScrollX, FScrollY});
  if (area.IsEmpty() || Intersect(window, picture.Bounds()) != window) return false;
  RedrawTableLayer();
  Blt(back, area, FTable->Surface(), window, false);
  PatchUnderTop(back, area);
  for (const int pos : FOverTop) QueueOnScreen(back, FOrder[size_t(pos)], pos);
  return true;
}

// ---------------------------------------------------------------- statistics overlay

void TGraphicsEngine::DrawOverlay(TSurface& back) {
  TCanvas canvas(back);
  canvas.BrushClear = true;
  const unsigned grey = unsigned(std::clamp(FOverlayGrey, 0, 255));
  canvas.Font.Color = MakePixel(grey, grey, grey);
  if (FOverlayGrey > 240)
    FPulseStep = -3;
  else if (FOverlayGrey < 10)
    FPulseStep = 3;
  FOverlayGrey += FPulseStep;
  canvas.Font.Size = 10;
  canvas.Font.Bold = true;

  const size_t all = TSurface::LiveCount();
  const size_t inSprites = size_t(SpriteSurfaceCount());
  size_t systemMemory = 0;
  for (size_t i = 0; i < all; ++i)
    if (const TSurface* s = TSurface::LiveItem(i); s && s->SystemMemory()) ++systemMemory;
  const auto number = [](auto n) { return std::to_string(n); };
  canvas.TextOut(10, 0, "FPS: " + number(OnFrameRate ? OnFrameRate() : 0));
  canvas.TextOut(10, 10, "Sprites: " + number(FSprites.size()));
  canvas.TextOut(10, 20, "Surfaces \\ surfaces in sprites: " + number(all) + "\\" + number(inSprites) + "\\" +
                             number(int64_t(all) - int64_t(inSprites)));
  canvas.TextOut(10, 30, "Dibs: " + number(TMyDib::LiveCount()));
  canvas.TextOut(10, 40, "Controls: " + number(OnControlCount ? OnControlCount() : 0));
  canvas.TextOut(10, 50, "System memory surfaces: " + number(systemMemory));
  canvas.TextOut(10, 60, "Primary in system memory: " + number(back.SystemMemory() ? 1 : 0));
  canvas.TextOut(10, 70, "Windows version: " + FPlatformVersion);
  canvas.TextOut(100, 0, FStatText);
  DrawDebugLines(canvas);
}

void TGraphicsEngine::DrawDebugLines(TCanvas& canvas) {
  static constexpr TPixel kColours[4] = {MakePixel(255, 255, 255), MakePixel(0, 255, 0), MakePixel(0, 0, 255),
                                         MakePixel(255, 0, 0)};
  for (size_t i = 0; i < FDebugLines.size(); ++i) {
    const TDebugLine& line = FDebugLines[i];
    const int shift = int(i);
    canvas.PenColor = kColours[std::min<size_t>(i, 3)];
    canvas.PenWidth = 1;
    canvas.FillRect(MakeRect(line.X1 - 3, line.Y1 + shift - 3, 7, 7), canvas.PenColor);
    canvas.MoveTo(line.X1, line.Y1 + shift);
    canvas.LineTo(line.X2, line.Y2 + shift);
  }
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
