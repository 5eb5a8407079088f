// Whether a frame composed now would differ from the last one, and where: one number over
// everything the composition reads, one per sprite with the place it covers, and the sprites whose
// look the numbers cannot hold (drawing hooks, frame animations that are due to step, the
// statistics overlay).
#include <algorithm>

#include "graphics/UGraphicsEngine.h"
#include "graphics/UTableComposer.h"
#include "graphics/UTableLayer.h"
#include "platform/Clock.h"

namespace qj {
namespace {

// Order-sensitive mixing: a sprite moved from one place to another never cancels out.
struct THash {
  uint64_t Value = 0x9E3779B97F4A7C15ull;
  void Add(uint64_t v) {
    Value ^= v + 0x9E3779B97F4A7C15ull + (Value << 6) + (Value >> 2);
    Value *= 0xBF58476D1CE4E5B9ull;
  }
  void Add(double v) {
    uint64_t bits = 0;
    static_assert(sizeof bits == sizeof v);
    __builtin_memcpy(&bits, &v, sizeof bits);
    Add(bits);
  }
  void Add(const TRect& r) {
    Add(uint64_t(uint32_t(r.Left)) << 32 | uint32_t(r.Top));
    Add(uint64_t(uint32_t(r.Right)) << 32 | uint32_t(r.Bottom));
  }
};

// A piece draws its first image and the shadow of its frame: the others it holds are not read,
// which keeps a table of many pieces cheap to look over.
void AddImages(THash& h, const TMySprite& s) {
  const bool piece = s.Kind == ESpriteKind::Piece;
  const size_t drawn = piece ? std::min<size_t>(s.Surfaces.size(), 1) : s.Surfaces.size();
  for (size_t i = 0; i < drawn; ++i) h.Add(s.Surfaces[i] ? s.Surfaces[i]->ChangeStamp() : 0);
  if (piece && s.Shadow && s.Frame < s.Bitmaps.size())
    h.Add(s.Bitmaps[s.Frame] ? s.Bitmaps[s.Frame]->ChangeStamp() : 0);
  for (const TSpritePart& part : s.Parts) {
    h.Add(uint64_t(part.Mode) << 16 | uint64_t(part.KeepAspect) << 8 | part.Hidden);
    h.Add(part.Dest);
    h.Add(part.Source);
  }
}

void AddSpriteState(THash& h, const TMySprite& s) {
  h.Add(uint64_t(uint32_t(s.Id)) << 32 | uint32_t(s.Kind));
  h.Add(uint64_t(uint32_t(s.X)) << 32 | uint32_t(s.Y));
  h.Add(s.OrderKey());
  h.Add(uint64_t(uint32_t(s.Angle)));
  h.Add(s.CenterX);
  h.Add(s.CenterY);
  h.Add(uint64_t(s.Fixed) | uint64_t(s.Shadow) << 1 | uint64_t(s.Opaque) << 2 | uint64_t(s.SkipOnce) << 3 |
        uint64_t(s.Alpha) << 8 | uint64_t(uint32_t(s.DrawTag)) << 16);
  AddImages(h, s);
}

// Everything but the frame and the look, which are kept beside it (a step of either alone is a
// change whose next time is known), and where a hook paints, which its place on screen holds.
uint64_t SpriteKey(const TMySprite& s) {
  THash h;
  AddSpriteState(h, s);
  return h.Value;
}

uint64_t FrameAndLook(const TMySprite& s) { return uint64_t(s.Frame) << 32 | s.Look; }

// An animation's frame and a hook's look step when their owners said they would.
bool TimedStep(const TMySprite& s, uint64_t frameAndLook) {
  const uint64_t stepped = frameAndLook ^ FrameAndLook(s);
  if (s.Kind == ESpriteKind::Animation) return stepped >> 32 != 0 && uint32_t(stepped) == 0;
  return s.Kind == ESpriteKind::Hook && stepped >> 32 == 0 && uint32_t(stepped) != 0;
}

// A hook draws what it likes unless it says where and when, and an animation steps when its
// time has come.
bool PaintsAnywhere(const TMySprite& s) {
  return s.OnDraw && (s.Kind == ESpriteKind::Hook || s.Kind == ESpriteKind::Piece) && s.DrawReach.IsEmpty();
}

bool ChangesByItself(const TMySprite& s, uint32_t now) {
  if (PaintsAnywhere(s)) return true;
  if (s.Kind != ESpriteKind::Animation || s.Finished || s.Surfaces.size() < 2) return false;
  return now - s.LastFrameTick > s.FrameMs || now < s.LastFrameTick;
}

// More areas than this are composed as the one rectangle around them.
constexpr size_t kMostAreas = 8;

}  // namespace

uint64_t TGraphicsEngine::ViewStamp() const {
  THash h;
  h.Add(uint64_t(uint32_t(FScrollX)) << 32 | uint32_t(FScrollY));
  h.Add(uint64_t(uint32_t(FWidth)) << 32 | uint32_t(FHeight));
  h.Add(uint64_t(FOverview) | uint64_t(FUseClipper) << 1 | uint64_t(bool(FTable)) << 2);
  h.Add(FTableTop);
  h.Add(FClipper);
  const TSurface& back = FDXDraw.BackBuffer();
  h.Add(uint64_t(uint32_t(back.Width())) << 32 | uint32_t(back.Height()));
  if (FBackground) {
    h.Add(uint64_t(FBackground->Visible));
    AddImages(h, *FBackground);
  }
  return h.Value;
}

uint64_t TGraphicsEngine::SceneStamp() const {
  THash h;
  h.Add(ViewStamp());
  for (size_t i = 0; i < FSprites.size(); ++i) {
    const TMySprite& s = FSprites[i];
    if (s.Id == 0 || !s.Visible) continue;
    h.Add(uint64_t(i));
    h.Add(SpriteKey(s));
    h.Add(FrameAndLook(s));
    h.Add(s.DrawReach);
  }
  return h.Value;
}

// The cheap look at what changes by itself comes first: a due animation step needs no stamp.
bool TGraphicsEngine::FrameWanted() const {
  if (OverlayVisible) return true;
  const uint32_t now = GetTickCount();
  for (const TMySprite& s : FSprites)
    if (s.Id != 0 && s.Visible && ChangesByItself(s, now)) return true;
  return FSceneStamp != SceneStamp();
}

uint32_t TGraphicsEngine::NextStepIn() const {
  const uint32_t now = GetTickCount();
  uint32_t soonest = kNoStepDue;
  for (const TMySprite& s : FSprites) {
    if (s.Id == 0 || !s.Visible) continue;
    if (ChangesByItself(s, now)) return 0;
    if (s.Kind != ESpriteKind::Animation || s.Finished || s.Surfaces.size() < 2) continue;
    const uint32_t due = s.LastFrameTick + s.FrameMs + 1 - now;
    if (due < soonest) soonest = due;
  }
  return OverlayVisible ? 0 : soonest;
}

TRect TGraphicsEngine::ScreenReach(const TMySprite& s) const {
  const TPoint p = s.ScreenPos({FScrollX, FScrollY});
  return Offset(s.Kind == ESpriteKind::Hook ? s.DrawReach : SpriteReach(s), p);
}

// A sprite that changed is composed again where it was and where it is. The whole screen is,
// when the view changed, in the reduced view, under the overlay, or for a hook that may paint
// anywhere.
void TGraphicsEngine::CollectDamage(const TRect& screen) {
  const uint64_t view = ViewStamp();
  bool whole = FWholeFrame || view != FViewStamp || Overview() || OverlayVisible;
  FWholeFrame = false;
  FViewStamp = view;
  FDamage.clear();
  FTimedStepsOnly = true;
  THash scene;  // SceneStamp(), folded on the way
  scene.Add(view);
  FTraces.resize(std::max(FTraces.size(), FSprites.size()));
  for (size_t i = 0; i < FTraces.size(); ++i) {
    TSpriteTrace now;
    const TMySprite* s = i < FSprites.size() && FSprites[i].Id != 0 && FSprites[i].Visible ? &FSprites[i] : nullptr;
    if (s) {
      whole = whole || PaintsAnywhere(*s);
      now = {SpriteKey(*s), FrameAndLook(*s), Intersect(ScreenReach(*s), screen)};
      scene.Add(uint64_t(i));
      scene.Add(now.Key);
      scene.Add(now.FrameAndLook);
      scene.Add(s->DrawReach);
    }
    TSpriteTrace& before = FTraces[i];
    if (!whole && (now.Key != before.Key || now.FrameAndLook != before.FrameAndLook || now.Bounds != before.Bounds)) {
      FTimedStepsOnly = FTimedStepsOnly && s && now.Key == before.Key && TimedStep(*s, before.FrameAndLook);
      if (!before.Bounds.IsEmpty()) MergeRect(FDamage, before.Bounds);
      if (!now.Bounds.IsEmpty()) MergeRect(FDamage, now.Bounds);
    }
    before = now;
  }
  FTraces.resize(FSprites.size());
  FSceneStamp = scene.Value;
  FTimedStepsOnly = FTimedStepsOnly && !whole;
  if (whole) FDamage = {screen};
  if (FDamage.size() > kMostAreas) {
    TRect all;
    for (const TRect& r : FDamage) all = Bounding(all, r);
    FDamage = {all};
  }
}

}  // namespace qj
