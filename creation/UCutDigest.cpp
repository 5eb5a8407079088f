#include "creation/UCutDigest.h"

#include <cstdio>

#include "creation/UBitmapBuilder.h"

namespace qj {

namespace {

class THash {
 public:
  void Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    for (size_t k = 0; k < size; ++k) FValue = (FValue ^ p[k]) * 0x100000001b3ull;
  }
  void Int(int64_t v) {
    uint8_t b[8];
    for (int k = 0; k < 8; ++k) b[k] = uint8_t(uint64_t(v) >> (8 * k));
    Bytes(b, 8);
  }
  void Pixels(const TPixelBuffer& image) {
    Int(image.Width());
    Int(image.Height());
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) Int(image.At(x, y));
  }
  uint64_t Value() const { return FValue; }

 private:
  uint64_t FValue = 0xcbf29ce484222325ull;
};

}  // namespace

uint64_t CutDigest(TPuzzleCutter& cutter) {
  THash h;
  h.Pixels(cutter.LabelMap());
  h.Int(int64_t(cutter.Pieces().size()));
  for (const TPiece& p : cutter.Pieces()) {
    h.Int(p.Label);
    h.Int(p.Seed[0].X);
    h.Int(p.Seed[0].Y);
    for (int r = 0; r < kOrientations; ++r) {
      h.Int(p.Home[r].X);
      h.Int(p.Home[r].Y);
      h.Int(p.Far[r].X);
      h.Int(p.Far[r].Y);
      h.Pixels(p.Images[r]);
    }
    h.Int(int64_t(p.Neighbours.size()));
    for (int32_t n : p.Neighbours) h.Int(n);
  }
  return h.Value();
}

std::string DigestHex(uint64_t digest) {
  char text[17];
  std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(digest));
  return text;
}

}  // namespace qj
