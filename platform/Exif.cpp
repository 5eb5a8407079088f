// EXIF orientation: a bounds-checked walk over the JPEG markers and the TIFF structure of the
// EXIF block, and the eight ways of turning pixels upright.
#include "platform/Exif.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

namespace qj {
namespace {

constexpr uint8_t kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTiffShort = 3;
constexpr uint16_t kTiffMagic = 42;
constexpr size_t kIfdEntrySize = 12;

// JPEG markers: the byte after 0xFF.
enum EMarker : uint8_t {
  mkTem = 0x01,
  mkRestart0 = 0xD0,
  mkRestart7 = 0xD7,
  mkStart = 0xD8,
  mkEnd = 0xD9,
  mkStartOfScan = 0xDA,
  mkApp1 = 0xE1,
  mkPrefix = 0xFF  // before every marker, and repeated as fill
};

// Offsets are 64-bit, so an offset of up to 4 GB from the file plus an entry index cannot wrap.
class TTiffReader {
 public:
  TTiffReader(const uint8_t* data, size_t size, bool bigEndian) : FData(data), FSize(size), FBig(bigEndian) {}

  bool U16(uint64_t at, uint16_t& value) const {
    if (!Fits(at, 2)) return false;
    const uint8_t* p = FData + at;
    value = FBig ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
    return true;
  }
  bool U32(uint64_t at, uint32_t& value) const {
    uint16_t a, b;
    if (!U16(at, a) || !U16(at + 2, b)) return false;
    value = FBig ? uint32_t(a) << 16 | b : uint32_t(b) << 16 | a;
    return true;
  }

 private:
  bool Fits(uint64_t at, uint64_t n) const { return at <= FSize && FSize - at >= n; }

  const uint8_t* FData;
  size_t FSize;
  bool FBig;
};

bool HasExifHeader(const uint8_t* data, size_t size) {
  return size >= sizeof(kExifHeader) && std::memcmp(data, kExifHeader, sizeof(kExifHeader)) == 0;
}

bool ValidOrientation(uint16_t value) { return value >= 1 && value <= 8; }

// The orientation entry of the first IFD; Upright when it is missing or not a SHORT from 1 to 8.
EOrientation OrientationInFirstIfd(const TTiffReader& tiff) {
  uint16_t magic, entries;
  uint32_t ifd;
  if (!tiff.U16(2, magic) || magic != kTiffMagic || !tiff.U32(4, ifd) || !tiff.U16(ifd, entries))
    return EOrientation::Upright;
  for (uint64_t i = 0; i < entries; ++i) {
    const uint64_t entry = uint64_t(ifd) + 2 + i * kIfdEntrySize;
    uint16_t tag, type, value;
    uint32_t count;
    if (!tiff.U16(entry, tag)) break;
    if (tag != kOrientationTag) continue;
    if (!tiff.U16(entry + 2, type) || !tiff.U32(entry + 4, count) || !tiff.U16(entry + 8, value)) break;
    if (type == kTiffShort && count >= 1 && ValidOrientation(value)) return EOrientation(value);
    break;
  }
  return EOrientation::Upright;
}

bool IsStandaloneMarker(uint8_t marker) {
  return marker == mkTem || marker == mkStart || (marker >= mkRestart0 && marker <= mkRestart7);
}

// Where a pixel of a w x h picture lands, as a start index and the steps along a stored row
// and down the stored rows.
struct TWalk {
  ptrdiff_t Start, StepX, StepY;
};

TWalk WalkOf(EOrientation o, ptrdiff_t w, ptrdiff_t h) {
  switch (o) {
    case EOrientation::Mirrored: return {w - 1, -1, w};
    case EOrientation::UpsideDown: return {w * h - 1, -1, -w};
    case EOrientation::Flipped: return {(h - 1) * w, 1, -w};
    case EOrientation::Transposed: return {0, h, 1};
    case EOrientation::TurnedClockwise: return {h - 1, h, -1};
    case EOrientation::Transversed: return {w * h - 1, -h, -1};
    case EOrientation::TurnedAnticlockwise: return {(w - 1) * h, -h, 1};
    default: return {0, 1, w};
  }
}

}  // namespace

EOrientation ExifOrientation(const uint8_t* data, size_t size) {
  if (!data || !HasExifHeader(data, size) || size < sizeof(kExifHeader) + 8) return EOrientation::Upright;
  const uint8_t* tiff = data + sizeof(kExifHeader);
  const size_t tiffSize = size - sizeof(kExifHeader);
  if (tiff[0] == 'I' && tiff[1] == 'I') return OrientationInFirstIfd(TTiffReader(tiff, tiffSize, false));
  if (tiff[0] == 'M' && tiff[1] == 'M') return OrientationInFirstIfd(TTiffReader(tiff, tiffSize, true));
  return EOrientation::Upright;
}

// Metadata segments come before the first scan; the walk stops there, so it never reads the
// compressed data.
EOrientation JpegOrientation(const uint8_t* data, size_t size) {
  if (!data || size < 4 || data[0] != mkPrefix || data[1] != mkStart) return EOrientation::Upright;
  size_t at = 2;
  while (size - at >= 4) {
    if (data[at] != mkPrefix) break;
    const uint8_t marker = data[at + 1];
    if (marker == mkPrefix) {  // a fill byte before the marker
      ++at;
      continue;
    }
    if (marker == mkStartOfScan || marker == mkEnd) break;
    if (IsStandaloneMarker(marker)) {
      at += 2;
      continue;
    }
    const size_t length = size_t(data[at + 2]) << 8 | data[at + 3];
    if (length < 2 || length > size - at - 2) break;
    const uint8_t* payload = data + at + 4;
    if (marker == mkApp1 && HasExifHeader(payload, length - 2)) return ExifOrientation(payload, length - 2);
    at += 2 + length;
  }
  return EOrientation::Upright;
}

// Goes down bands of stored rows column by column: where a quarter turn makes the stored columns
// the new rows, the writes stay in order and the band's rows stay in the cache.
void ApplyOrientation(TPixelBuffer& pixels, EOrientation orientation) {
  if (pixels.Empty() || !ValidOrientation(uint16_t(orientation)) || orientation == EOrientation::Upright) return;
  constexpr int kBand = 32;
  const int w = pixels.Width(), h = pixels.Height();
  const TWalk walk = WalkOf(orientation, w, h);
  TPixelBuffer upright;
  if (SwapsSides(orientation)) upright.ResizeUninitialised(h, w);
  else upright.ResizeUninitialised(w, h);
  TPixel* out = upright.Bits();
  for (int top = 0; top < h; top += kBand) {
    const int bottom = std::min(h, top + kBand);
    for (int x = 0; x < w; ++x) {
      ptrdiff_t to = walk.Start + x * walk.StepX + top * walk.StepY;
      for (int y = top; y < bottom; ++y, to += walk.StepY) out[to] = pixels.Row(y)[x];
    }
  }
  pixels = std::move(upright);
}

}  // namespace qj
