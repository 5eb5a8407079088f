// The sprite engine's frames: every visible sprite queued on the draw list in drawing order
// (or the table layer's window and what it does not hold), then painted; drawing hooks run once
// everything below them is painted.
#include <algorithm>
#include <cmath>

#include "graphics/UGraphicsEngine.h"
#include "graphics/UOverviewComposer.h"
#include "graphics/UTableComposer.h"
#include "platform/Clock.h"

namespace qj {
namespace {

constexpr TRect kEverywhere{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30};

bool LiesLeftOrAbove(TPoint p, const TPixelBuffer& image) {
  return p.X + image.Width() < 0 || p.Y + image.Height() < 0;
}

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

void TGraphicsEngine::DrawFrame() {
  TSurface& back = FDXDraw.BackBuffer();
  SortIfNeeded();
  StepAnimations();
  CollectDamage(back.Bounds());
  for (const TRect& area : FDamage) {
    back.AttachClipper(FUseClipper ? Intersect(area, FClipper) : area);
    ComposeArea(back);
    FComposedPixels += uint64_t(area.Width()) * uint64_t(area.Height());
  }
  back.DetachClipper();
  if (FUseClipper) back.AttachClipper(FClipper);
  if (OverlayVisible) DrawOverlay(back);
}

// Everything within the back buffer's clipper, from the table layer or sprite by sprite.
void TGraphicsEngine::ComposeArea(TSurface& back) {
  FDrawList.Clear();
  if (BlackWithoutTable && (!FBackground || !FBackground->Visible)) back.FillRect(back.DrawArea(), 0);
  if (ComposeOverview(back)) {
  } else if (!ComposeFromTableLayer(back)) {
    if (FBackground && FBackground->Visible && !FBackground->Surfaces.empty() && FBackground->Surfaces[0])
      FDrawList.Queue(*FBackground->Surfaces[0], {-FScrollX, -FScrollY}, TDrawOp::CopyOp);
    // Drawing hooks may create or free sprites: indices are re-read on every step.
    for (size_t i = 0; i < FOrder.size(); ++i) QueueOnScreen(back, FOrder[i], int(i));
  }
  FDrawList.Paint(back);
}

// Frame animations step by the clock before the frame's changes are collected: one frame per
// FrameMs, stopping on the last with PlayOnce.
void TGraphicsEngine::StepAnimations() {
  const uint32_t now = GetTickCount();
  for (TMySprite& s : FSprites) {
    const size_t count = s.Surfaces.size();
    if (s.Id == 0 || !s.Visible || s.Kind != ESpriteKind::Animation || count == 0) continue;
    if (s.Frame >= count) s.Frame = 0;
    if (s.Finished || !(now - s.LastFrameTick > s.FrameMs || now < s.LastFrameTick)) continue;
    s.LastFrameTick = now;
    s.Frame = unsigned((s.Frame + 1) % count);
    if (s.Frame == count - 1 && s.PlayOnce) s.Finished = true;
  }
}

// Raises a drawing hook once everything below the sprite is on the back buffer. The hook is
// called through a copy: it may free its own sprite.
void TGraphicsEngine::RunHook(TSurface& back, const TSpriteDrawEvent& hook, int value) {
  FDrawList.Paint(back);
  const TSpriteDrawEvent copy = hook;
  copy(value);
}

// A visible sprite at its place on the back buffer.
void TGraphicsEngine::QueueOnScreen(TSurface& back, int index, int orderPos) {
  if (size_t(index) >= FSprites.size() || !FSprites[size_t(index)].Visible) return;
  const TPoint p = FSprites[size_t(index)].ScreenPos({FScrollX, FScrollY});
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
      FDrawList.Queue(*s.Surfaces[0], p, s.Alpha != 0 ? TDrawOp::AlphaOp : TDrawOp::KeyedOp).Alpha = s.Alpha;
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
    TDrawOp& op = FDrawList.Queue(*s.Surfaces[0], p, TDrawOp::RotatedOp);
    op.Reach = kEverywhere;
    op.Angle = s.Angle;
    op.CenterX = s.CenterX;
    op.CenterY = s.CenterY;
    return;
  }
  if (s.Shadow && s.Frame < s.Bitmaps.size() && s.Bitmaps[s.Frame])
    FDrawList.Queue(*s.Bitmaps[s.Frame], p, TDrawOp::ShadowOp);
  MoveSurfaceMemory(s.Surfaces[0], false);
  FDrawList.Queue(*s.Surfaces[0], p, TDrawOp::KeyedOp);
}

// Frame animation: the frame StepAnimations chose.
void TGraphicsEngine::QueueAnimation(TMySprite& s, TPoint p) {
  const size_t count = s.Surfaces.size();
  if (count == 0) return;
  if (s.Frame >= count) s.Frame = 0;
  if (!s.Surfaces[s.Frame] || LiesLeftOrAbove(p, *s.Surfaces[s.Frame])) return;
  FDrawList.Queue(*s.Surfaces[s.Frame], p, TDrawOp::KeyedOp);
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
      FDrawList.Queue(*surface, p, TDrawOp::KeyedOp);
      continue;
    }
    if (part->Mode == EPartMode::CopySource && !FUseClipper) continue;
    if (part->Dest.IsEmpty()) return;
    const TRect dest = Offset(part->Dest, p);
    if (part->Mode == EPartMode::Stretch)
      FDrawList.QueueStretch(*surface, part->KeepAspect ? FitKeepingAspect(dest, *surface) : dest, surface->Bounds());
    else if (part->Mode == EPartMode::CopySource)
      FDrawList.QueueStretch(*surface, dest, part->Source);
  }
}

// The picture (unless left out), then the sprites at the given drawing positions (ascending),
// within the target's clipper; origin is the table point at the target's top left.
void TGraphicsEngine::DrawOrdered(TSurface& target, const std::vector<int>& positions, TPoint origin, bool picture) {
  if (picture) FDrawList.Queue(*FBackground->Surfaces[0], {-origin.X, -origin.Y}, TDrawOp::CopyOp);
  for (const int pos : positions) {
    const int index = FOrder[size_t(pos)];
    const TMySprite& s = FSprites[size_t(index)];
    QueueSprite(target, index, pos, s.ScreenPos(origin));
  }
  FDrawList.Paint(target);
}

// A frame from the table layer: the layer's window and the patches under its top, then the
// sprites over the top as always. False (nothing drawn) when the frame must be drawn directly.
bool TGraphicsEngine::ComposeFromTableLayer(TSurface& back) {
  if (!FTable || !FTable->Compose(back)) return false;
  for (const int pos : FTable->OverTop()) QueueOnScreen(back, FOrder[size_t(pos)], pos);
  return true;
}

// The whole table reduced, then the screen's sprites as always.
bool TGraphicsEngine::ComposeOverview(TSurface& back) {
  if (!Overview() || !FOverviewComposer->Compose(back, OverviewView())) return false;
  for (const int pos : FOverviewComposer->ScreenSprites()) QueueOnScreen(back, FOrder[size_t(pos)], pos);
  return true;
}

}  // namespace qj
