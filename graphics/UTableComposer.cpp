// Frames composed from the table layer.
#include "graphics/UTableComposer.h"

#include <algorithm>
#include <cmath>

#include "graphics/UGraphicsEngine.h"

namespace qj {
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

}  // namespace

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

TTableComposer::TTableComposer(TGraphicsEngine& engine, TDrawOrdered drawOrdered)
    : FEngine(engine), FDrawOrdered(std::move(drawOrdered)) {}

bool TTableComposer::BelowTop(const TMySprite& s) const { return s.OrderKey() < FEngine.TableLayerTop(); }

// Resting sprites draw the same pixels at the same table place until something about them
// changes; drawing hooks, turns and animations may differ every frame.
bool TTableComposer::RestsOnTable(const TMySprite& s) const {
  const bool restingKind =
      s.Kind == ESpriteKind::Piece || s.Kind == ESpriteKind::Plain || s.Kind == ESpriteKind::Composite;
  return restingKind && !s.Fixed && s.Visible && s.Angle == 0 && !s.OnDraw && !s.SkipOnce && BelowTop(s) &&
         !s.Surfaces.empty() && s.Surfaces[0];
}

TLayerLook TTableComposer::LookOf(const TMySprite& s, int index) const {
  TLayerLook look;
  if (!RestsOnTable(s)) return look;
  look.Member = true;
  look.Depth = s.Depth;
  look.Reach = Offset(SpriteReach(s), {s.X, s.Y});
  TKeyFold key;
  key.Add(uint64_t(s.Kind) << 40 | uint64_t(s.Alpha) << 32 | s.Frame);
  key.Add(FEngine.Generation(index));
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
bool TTableComposer::ScanSprites() {
  FUnderTop.clear();
  FOverTop.clear();
  bool direct = false;
  double previous = -HUGE_VAL;
  const std::vector<int>& order = FEngine.Order();
  for (size_t pos = 0; pos < order.size(); ++pos) {
    const int index = order[pos];
    if (index >= FEngine.SpriteCount()) continue;
    TMySprite& s = FEngine.Sprite(index);
    direct = direct || s.OrderKey() < previous;
    previous = s.OrderKey();
    // The direct path draws pieces from display memory; moving first keeps the look stable.
    if (s.Kind == ESpriteKind::Piece && RestsOnTable(s)) FEngine.MoveSurfaceMemory(s.Surfaces[0], false);
    const TLayerLook look = LookOf(s, index);
    FLayer.Observe(index, look);
    if (look.Member) {
      FLayer.SetOrderPos(index, int(pos));
    } else if (s.Visible && BelowTop(s)) {
      direct = direct || s.Kind == ESpriteKind::Hook || s.OnDraw;
      FUnderTop.push_back(int(pos));
    } else if (s.Visible) {
      FOverTop.push_back(int(pos));
    }
  }
  for (size_t index = size_t(FEngine.SpriteCount()); index < FLayer.Observed(); ++index) FLayer.Forget(int(index));
  return !direct;
}

void TTableComposer::RedrawLayer(std::vector<TRect>* redrawn) {
  TSurface& layer = FLayer.Surface();
  for (const TRect& area : FLayer.TakeDirty()) {
    if (redrawn) redrawn->push_back(area);
    layer.AttachClipper(area);
    FDrawOrdered(layer, FLayer.MembersIn(area), {0, 0});
  }
  layer.DetachClipper();
}

// Each sprite under the top that is not on the layer, drawn together with everything around it.
// The areas are merged until none meet, so each such sprite is drawn (and an animation stepped)
// exactly once.
void TTableComposer::PatchUnderTop(TSurface& back, const TRect& area) {
  std::vector<TRect> reaches, patches;
  const TPoint scroll{FEngine.FScrollX, FEngine.FScrollY};
  for (const int pos : FUnderTop) {
    const TMySprite& s = FEngine.Sprite(FEngine.Order()[size_t(pos)]);
    reaches.push_back(Intersect(Offset(SpriteReach(s), s.ScreenPos(scroll)), area));
    if (!reaches.back().IsEmpty()) MergeRect(patches, reaches.back());
  }
  if (patches.empty()) return;
  const TRect clip = back.ClipRect();
  const bool clipped = back.HasClipper();
  for (const TRect& patch : patches) {
    std::vector<int> positions = FLayer.MembersIn(Offset(patch, scroll));
    for (size_t i = 0; i < FUnderTop.size(); ++i)
      if (!Intersect(reaches[i], patch).IsEmpty()) positions.push_back(FUnderTop[i]);
    std::sort(positions.begin(), positions.end());
    back.AttachClipper(patch);
    FDrawOrdered(back, positions, scroll);
  }
  if (clipped)
    back.AttachClipper(clip);
  else
    back.DetachClipper();
}

// The layer sized and keyed for the table picture; null when there is none to draw.
const TSurface* TTableComposer::PreparePicture() {
  const TMySprite* background = FEngine.Background();
  if (!background || !background->Visible || background->Surfaces.empty() || !background->Surfaces[0]) return nullptr;
  const TSurface& picture = *background->Surfaces[0];
  TKeyFold key;
  key.AddImage(&picture);
  key.Add(FEngine.FUseClipper);  // composites leave out some parts without the clipper
  FLayer.Prepare(picture.Width(), picture.Height(), key.Value);
  return &picture;
}

// Drawing hooks under the top do not force a direct frame here: such views draw them with the
// screen's sprites.
bool TTableComposer::Refresh(std::vector<TRect>& redrawn) {
  if (!PreparePicture()) return false;
  (void)ScanSprites();
  RedrawLayer(&redrawn);
  return true;
}

// The window of the table in one copy, then the patches under the top.
bool TTableComposer::Compose(TSurface& back) {
  const TSurface* picturePtr = PreparePicture();
  if (!picturePtr || !ScanSprites()) return false;
  const TSurface& picture = *picturePtr;
  // Beyond the picture the direct path leaves the last frame's pixels; only it can match them.
  const TRect area = back.DrawArea();
  const TRect window = Offset(area, {FEngine.FScrollX, FEngine.FScrollY});
  if (area.IsEmpty() || Intersect(window, picture.Bounds()) != window) return false;
  RedrawLayer(nullptr);
  Blt(back, area, FLayer.Surface(), window, false);
  PatchUnderTop(back, area);
  return true;
}

}  // namespace qj
