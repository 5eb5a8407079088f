// The statistics overlay (Ctrl+Alt+F10): counts of sprites, surfaces, bitmaps and controls in
// a pulsing grey over the frame, and the debug lines.
#include <algorithm>
#include <string>

#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"

namespace qj {

bool OverlayVisible = false;

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

}  // namespace qj
