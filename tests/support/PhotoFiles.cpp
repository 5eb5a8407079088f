#include "tests/support/PhotoFiles.h"

#include <stdexcept>
#include <utility>

#include "platform/JpegCodec.h"

namespace qj::test {
namespace {

class TTiffWriter {
 public:
  explicit TTiffWriter(bool bigEndian) : FBig(bigEndian) {}
  void U16(uint16_t v) {
    const uint8_t high = uint8_t(v >> 8), low = uint8_t(v);
    FOut.push_back(FBig ? high : low);
    FOut.push_back(FBig ? low : high);
  }
  void U32(uint32_t v) {
    const uint16_t high = uint16_t(v >> 16), low = uint16_t(v);
    U16(FBig ? high : low);
    U16(FBig ? low : high);
  }
  void Bytes(const std::vector<uint8_t>& bytes) { FOut.insert(FOut.end(), bytes.begin(), bytes.end()); }
  void Entry(uint16_t tag, uint16_t type, uint32_t count) {
    U16(tag);
    U16(type);
    U32(count);
  }
  std::vector<uint8_t> Take() { return std::move(FOut); }

 private:
  bool FBig;
  std::vector<uint8_t> FOut;
};

}  // namespace

TPixelBuffer Quadrants(int w, int h) {
  TPixelBuffer p(w, h);
  p.FillRect({0, 0, w / 2, h / 2}, kTopLeft);
  p.FillRect({w / 2, 0, w, h / 2}, kTopRight);
  p.FillRect({0, h / 2, w / 2, h}, kBottomLeft);
  p.FillRect({w / 2, h / 2, w, h}, kBottomRight);
  return p;
}

std::vector<uint8_t> ExifPayload(uint16_t orientation, bool bigEndian) {
  constexpr uint16_t kAscii = 2, kShort = 3;
  constexpr uint32_t kMakeAt = 8 + 2 + 2 * 12 + 4;  // after the header and the IFD
  TTiffWriter tiff(bigEndian);
  tiff.Bytes({'E', 'x', 'i', 'f', 0, 0});
  tiff.Bytes(bigEndian ? std::vector<uint8_t>{'M', 'M'} : std::vector<uint8_t>{'I', 'I'});
  tiff.U16(42);
  tiff.U32(8);
  tiff.U16(2);
  tiff.Entry(0x010F, kAscii, 6);
  tiff.U32(kMakeAt);
  tiff.Entry(0x0112, kShort, 1);
  tiff.U16(orientation);
  tiff.U16(0);
  tiff.U32(0);  // no next IFD
  tiff.Bytes({'P', 'h', 'o', 'n', 'e', 0});
  return tiff.Take();
}

std::vector<uint8_t> WithApp1(const std::vector<uint8_t>& jpeg, const std::vector<uint8_t>& payload) {
  const size_t length = payload.size() + 2;
  std::vector<uint8_t> segment = {0xFF, 0xE1, uint8_t(length >> 8), uint8_t(length)};
  segment.insert(segment.end(), payload.begin(), payload.end());
  std::vector<uint8_t> out = jpeg;
  out.insert(out.begin() + 2, segment.begin(), segment.end());
  return out;
}

std::vector<uint8_t> JpegOf(const TPixelBuffer& pixels) {
  std::vector<uint8_t> jpeg;
  std::string error;
  if (!EncodeJpeg(pixels, 95, jpeg, error)) throw std::runtime_error(error);
  return jpeg;
}

std::vector<uint8_t> PhotoJpeg(const TPixelBuffer& pixels, uint16_t orientation, bool bigEndian) {
  return WithApp1(JpegOf(pixels), ExifPayload(orientation, bigEndian));
}

}  // namespace qj::test
