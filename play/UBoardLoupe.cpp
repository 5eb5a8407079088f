// The loupe's arithmetic, its making from the theme, and the lens drawn as the frame is composed.
#include "play/UBoardLoupe.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/UEngines.h"
#include "core/ULayoutFiles.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UMenuSprites.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Surface.h"

namespace qj {

namespace {
constexpr std::array<double, 16> kLoupeZooms = {1, 1.25, 1.5, 1.75, 2, 2.25, 2.5, 2.75, 3, 3.5, 4, 4.5, 5, 6, 7, 8};
constexpr TPixel kWhite = 0xFFFFFF;
}  // namespace

double LoupeZoomFactor(int index) { return kLoupeZooms[size_t(std::clamp(index, 0, int(kLoupeZooms.size()) - 1))]; }

TLoupeRects LoupeRects(TPoint mouse, int rx, int ry, double zoom, int screenWidth, int screenHeight) {
  const double x0 = mouse.X - rx / zoom, x1 = mouse.X + rx / zoom;
  const double y0 = mouse.Y - ry / zoom, y1 = mouse.Y + ry / zoom;
  const double cx0 = std::max(x0, 0.0), cx1 = std::min(x1, double(screenWidth));
  const double cy0 = std::max(y0, 0.0), cy1 = std::min(y1, double(screenHeight));
  if (cx1 <= cx0 || cy1 <= cy0) return {};
  TLoupeRects r;
  r.Source = {int(std::lround(cx0)), int(std::lround(cy0)), int(std::lround(cx1)), int(std::lround(cy1))};
  r.Dest = {int(std::lround((cx0 - x0) * zoom)), int(std::lround((cy0 - y0) * zoom)),
            int(std::lround((cx1 - x0) * zoom)), int(std::lround((cy1 - y0) * zoom))};
  return r;
}

// The loupe is drawn by a hook from the part of the frame just composed that it magnifies, so it
// costs its own area only.
void TBoardLoupe::Make() {
  std::vector<std::string> block;
  FOwner.ReadOptionsBlock("LoupeOptions", block);
  const std::string base = block.empty() ? std::string() : block[0];
  FFrame = std::make_unique<TMyDib>();
  if (!FFrame->LoadFromFile(ThemedFileName(base)))
    LogError("loupe not loaded: %s", ThemedImageError(base, FFrame->LastError()).c_str());
  std::vector<std::string> lines;
  if (!ReadTextLines(ResolvePath(CoordFileName(base)), lines) || lines.size() < 2)
    throw ELayoutError("the loupe's radii are missing in " + CoordFileName(base));
  FRx = std::max(1, std::atoi(lines[0].c_str()));
  FRy = std::max(1, std::atoi(lines[1].c_str()));
  TGraphicsEngine& engine = *FOwner.FEngine;
  FSprite = MakeMenuSprite(engine, FOwner.NextOverlayDepth());
  TMySprite& loupe = *FSprite.Get();
  loupe.Kind = ESpriteKind::Hook;
  loupe.Visible = false;
  engine.AddSurface(FSprite.Index(), nullptr).SetSize(2 * FRx, 2 * FRy);
  FSprite.Get()->OnDraw = [this](int) { Draw(); };
}

void TBoardLoupe::Reset() {
  FSprite.Reset();
  FFrame.reset();
}

void TBoardLoupe::Place(bool shown, bool follow) {
  TMySprite* loupe = FSprite.Get();
  if (!loupe) return;
  loupe->Visible = shown;
  loupe->X = follow ? FPointer.X - FRx : Options.StatLoupeX;
  loupe->Y = follow ? FPointer.Y - FRy : Options.StatLoupeY;
}

void TBoardLoupe::Hide() {
  if (TMySprite* s = FSprite.Get()) s->Visible = false;
}

// Runs while the frame is composed: what lies below the loupe is on the back buffer already.
void TBoardLoupe::Draw() {
  TMySprite* loupe = FSprite.Get();
  if (!loupe || loupe->Surfaces.empty() || !loupe->Surfaces[0]) return;
  TGraphicsEngine& engine = *FOwner.FEngine;
  TSurface& back = engine.Display().BackBuffer();
  TSurface& view = *loupe->Surfaces[0];
  view.Fill(0);
  const TLoupeRects r = LoupeRects(FPointer, FRx, FRy, LoupeZoomFactor(Options.LoupeZoom), engine.FWidth, engine.FHeight);
  if (!r.Dest.IsEmpty()) Blt(view, r.Dest, back, r.Source, false);
  // The frame image: key colour outside the lens, white where the view shows, the ring itself.
  const bool framed = FFrame->Width() == view.Width() && FFrame->Height() == view.Height();
  for (int y = 0; framed && y < view.Height(); ++y) {
    TPixel* out = view.Row(y);
    const TPixel* frame = FFrame->Row(y);
    for (int x = 0; x < view.Width(); ++x) {
      const TPixel f = frame[x] & kRgbMask;
      if (f == 0) out[x] = 0;
      else if (f != kWhite) out[x] = f;
      else if ((out[x] & kRgbMask) == 0) out[x] = 1;  // black in the view is not the key colour
    }
  }
  BltFast(back, loupe->X, loupe->Y, view, true);
}

}  // namespace qj
