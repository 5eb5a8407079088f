#include "platform/Viewport.h"

#include <algorithm>
#include <cstdint>

namespace qj {
namespace {

// Division that rounds toward minus infinity, so points left of or above the picture map to
// negative surface coordinates instead of onto its first row or column.
int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Output pixel `o` (its centre at o + 1/2) falls into surface pixel floor((o + 1/2) * s / o_len).
int OutputToSurface(int o, int origin, int length, int surfaceLength) {
  return int(FloorDiv((2 * int64_t(o - origin) + 1) * surfaceLength, 2 * int64_t(length)));
}

int SurfaceToOutput(int s, int origin, int length, int surfaceLength) {
  return origin + int(FloorDiv((2 * int64_t(s) + 1) * length, 2 * int64_t(surfaceLength)));
}

// a * b / c rounded to the nearest integer, for positive values.
int MulDivRound(int a, int b, int c) { return int((2 * int64_t(a) * b + c) / (2 * int64_t(c))); }

}  // namespace

bool TViewport::WholeFactor() const {
  const int w = Picture.Width(), h = Picture.Height();
  return SurfaceWidth > 0 && SurfaceHeight > 0 && w % SurfaceWidth == 0 && h % SurfaceHeight == 0 &&
         w / SurfaceWidth == h / SurfaceHeight;
}

TPoint TViewport::ToSurface(TPoint output) const {
  if (Picture.IsEmpty()) return output;
  return {OutputToSurface(output.X, Picture.Left, Picture.Width(), SurfaceWidth),
          OutputToSurface(output.Y, Picture.Top, Picture.Height(), SurfaceHeight)};
}

TPoint TViewport::ToOutput(TPoint surface) const {
  if (Picture.IsEmpty()) return surface;
  return {SurfaceToOutput(surface.X, Picture.Left, Picture.Width(), SurfaceWidth),
          SurfaceToOutput(surface.Y, Picture.Top, Picture.Height(), SurfaceHeight)};
}

// The side that limits the scale is filled exactly; the other is rounded and centred.
TViewport FitViewport(int surfaceWidth, int surfaceHeight, int outputWidth, int outputHeight) {
  TViewport view{surfaceWidth, surfaceHeight, {}};
  if (surfaceWidth <= 0 || surfaceHeight <= 0 || outputWidth <= 0 || outputHeight <= 0) return view;
  int w = outputWidth, h = outputHeight;
  if (int64_t(outputWidth) * surfaceHeight <= int64_t(outputHeight) * surfaceWidth)
    h = std::max(1, MulDivRound(surfaceHeight, outputWidth, surfaceWidth));
  else
    w = std::max(1, MulDivRound(surfaceWidth, outputHeight, surfaceHeight));
  view.Picture = MakeRect((outputWidth - w) / 2, (outputHeight - h) / 2, w, h);
  return view;
}

TPoint WindowedSurfaceSize(int clientWidth, int clientHeight) {
  return {std::clamp(clientWidth, 1, kMaxSurfaceWidth), std::clamp(clientHeight, 1, kMaxSurfaceHeight)};
}

namespace {

// The client area the work area leaves inside the frame.
TRect ClientArea(const TRect& workArea, const TFrameExtents& frame) {
  return {workArea.Left + frame.Left, workArea.Top + frame.Top, workArea.Right - frame.Right,
          workArea.Bottom - frame.Bottom};
}

// Where a run of `length` starts inside [low, high): as asked, moved in; at `low` when too long,
// so that a window's title stays on the desktop.
int MoveInside(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

}  // namespace

TRect FirstClientRect(const TRect& workArea, const TFrameExtents& frame) {
  const TRect area = ClientArea(workArea, frame);
  const int w = std::clamp(area.Width(), kMinClientWidth, kMaxSurfaceWidth);
  const int h = std::clamp(area.Height(), kMinClientHeight, kMaxSurfaceHeight);
  return MakeRect(MoveInside(area.Left + (area.Width() - w) / 2, w, area.Left, area.Right),
                  MoveInside(area.Top + (area.Height() - h) / 2, h, area.Top, area.Bottom), w, h);
}

TRect FitClientRect(const TRect& stored, const TRect& workArea, const TFrameExtents& frame) {
  const TRect area = ClientArea(workArea, frame);
  const int w = std::max(kMinClientWidth, std::min(stored.Width(), area.Width()));
  const int h = std::max(kMinClientHeight, std::min(stored.Height(), area.Height()));
  return MakeRect(MoveInside(stored.Left, w, area.Left, area.Right), MoveInside(stored.Top, h, area.Top, area.Bottom), w, h);
}

TPoint DesktopSurfaceSize(int desktopWidth, int desktopHeight) {
  if (desktopWidth <= 0 || desktopHeight <= 0) return {kMinClientWidth, kMinClientHeight};
  const TViewport fit = FitViewport(desktopWidth, desktopHeight, std::min(desktopWidth, kMaxSurfaceWidth),
                                    std::min(desktopHeight, kMaxSurfaceHeight));
  return {std::max(fit.Picture.Width(), kMinClientWidth), std::max(fit.Picture.Height(), kMinClientHeight)};
}

bool FullScreenVSync(int chosenRate, int desktopRate) { return chosenRate == 0 || chosenRate == desktopRate; }

}  // namespace qj
