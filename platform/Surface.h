// Off-screen drawing surfaces and every blit the game uses. Colour key is always colour 0
// (the three colour bytes all zero); every blit clips to the target's DrawArea (its bounds and
// the clipper, when one is attached) and to the source's bounds.
#pragma once

#include <cstddef>
#include <string>

#include "platform/PixelBuffer.h"

namespace qj {

class TMyDib;

// Masks and shifts of a locked surface's pixels.
struct TPixelFormat {
  int BitCount = 32;
  uint32_t RedMask = 0x00FF0000, GreenMask = 0x0000FF00, BlueMask = 0x000000FF;
  int RedShift = 16, GreenShift = 8, BlueShift = 0;
};

class TSurface : public TPixelBuffer {
 public:
  TSurface();
  TSurface(int width, int height);
  ~TSurface() override;
  TSurface(const TSurface& other);
  TSurface& operator=(const TSurface& other);

  void SetSize(int width, int height) { Resize(width, height); }

  // Where the surface lives. Kept as a flag: all memory is ours, but the engine's bookkeeping
  // (and the statistics overlay) follow the original system/display placement.
  bool SystemMemory() const { return FSystemMemory; }
  void SetSystemMemory(bool value) { FSystemMemory = value; }

  // An attached clipper: blits onto this surface are limited to the rectangle.
  bool HasClipper() const { return FHasClipper; }
  const TRect& ClipRect() const { return FClip; }
  void AttachClipper(const TRect& r) { FClip = r; FHasClipper = true; }
  void DetachClipper() { FHasClipper = false; }
  // The area blits may touch: the clipper (when attached) within the surface.
  TRect DrawArea() const;

  bool ReadPixel(int x, int y, TPixel& out) const;
  TPixelFormat Format() const { return {}; }

  void CopyFrom(const TPixelBuffer& source);  // same size and pixels
  [[nodiscard]] bool LoadFromFile(const std::string& path);  // BMP or JPEG; false leaves the surface unchanged

  // Every live surface, in creation order: the diagnostics and the statistics overlay list them.
  static size_t LiveCount();
  static TSurface* LiveItem(size_t index);  // nullptr past the end

 private:
  static void Register(TSurface* surface);
  static void Unregister(TSurface* surface);
  static void SqueezeLiveList();

  bool FSystemMemory = false;
  bool FHasClipper = false;
  TRect FClip;
  size_t FLiveIndex = 0;  // slot in the live list
};

// Rectangle blit: source rectangle to destination rectangle; same sizes copy, different sizes
// stretch (nearest neighbour). Keyed: source pixels of colour 0 are skipped.
void Blt(TSurface& dst, const TRect& dstRect, const TPixelBuffer& src, const TRect& srcRect, bool keyed);
// Fast copy of the whole source at (x, y), optionally keyed.
void BltFast(TSurface& dst, int x, int y, const TPixelBuffer& src, bool keyed);
// Alpha blend of the whole source into the rectangle at (x, y): opacity 1..255 (255 = copy).
void BltAlpha(TSurface& dst, int x, int y, const TPixelBuffer& src, int opacity, bool keyed);
// Keyed draw of src turned about its centre point (centreX, centreY as fractions of its width and
// height), which lands on (x + centreX * width, y + centreY * height). Angle: 256 units a full
// turn, positive clockwise on screen.
void DrawRotated(TSurface& dst, int x, int y, const TPixelBuffer& src, int angle, double centreX,
                 double centreY);

}  // namespace qj
