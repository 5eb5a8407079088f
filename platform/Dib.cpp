// Bitmaps: loading by content (BMP, JPEG or PNG), saving as BMP, and the live count for statistics.
#include "platform/Dib.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/BmpCodec.h"
#include "platform/JpegCodec.h"
#include "platform/Paths.h"
#include "platform/PngCodec.h"

namespace qj {
namespace {

// The cutter's helper threads make and free bitmaps too. Only the total matters, so the
// updates need no ordering among themselves.
std::atomic<size_t> gLiveDibs{0};

void CountIn() { gLiveDibs.fetch_add(1, std::memory_order_relaxed); }

}  // namespace

TMyDib::TMyDib() { CountIn(); }

TMyDib::TMyDib(int width, int height, int bitCount) : TPixelBuffer(width, height), FBitCount(bitCount) { CountIn(); }

TMyDib::TMyDib(const TMyDib& other) : TPixelBuffer(other), FBitCount(other.FBitCount), FLastError(other.FLastError) {
  CountIn();
}

TMyDib::TMyDib(TMyDib&& other) noexcept
    : TPixelBuffer(std::move(other)), FBitCount(other.FBitCount), FLastError(std::move(other.FLastError)) {
  CountIn();
}

TMyDib::~TMyDib() { gLiveDibs.fetch_sub(1, std::memory_order_relaxed); }

size_t TMyDib::LiveCount() { return gLiveDibs.load(std::memory_order_relaxed); }

bool TMyDib::Fail(const std::string& why) {
  FLastError = why;
  return false;
}

bool TMyDib::LoadFromFile(const std::string& path) {
  std::vector<uint8_t> data;
  errno = 0;
  if (!ReadWholeFile(path, data))
    return Fail("cannot read " + path + (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()));
  if (!LoadFromMemory(data.data(), data.size())) return Fail(FLastError + " (" + path + ")");
  return true;
}

bool TMyDib::LoadFromMemory(const uint8_t* data, size_t size) {
  TPixelBuffer pixels;
  std::string error;
  int bits = 24;
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
    if (!DecodeBmp(data, size, kMaxPixels, pixels, bits, error)) return Fail(error);
  } else if (IsJpeg(data, size)) {
    if (!DecodeJpeg(data, size, kMaxPixels, pixels, error)) return Fail(error);
  } else if (IsPng(data, size)) {
    if (!DecodePng(data, size, kMaxPixels, pixels, error)) return Fail(error);
  } else {
    return Fail("not a picture format we read (BMP, JPEG or PNG)");
  }
  TPixelBuffer::operator=(std::move(pixels));
  FBitCount = bits;
  FLastError.clear();
  return true;
}

std::vector<uint8_t> TMyDib::SaveToMemory() const { return EncodeBmp(*this, FBitCount); }

bool TMyDib::SaveToFile(const std::string& path) const {
  const std::vector<uint8_t> file = SaveToMemory();
  FLastError.clear();
  if (file.empty()) FLastError = "cannot save an empty bitmap";
  else if (!WriteFileAtomic(path, file.data(), file.size())) FLastError = "cannot write " + path;
  return FLastError.empty();
}

bool SaveJpeg(const TPixelBuffer& pixels, const std::string& path, int quality, std::string* error) {
  std::vector<uint8_t> file;
  std::string why;
  if (EncodeJpeg(pixels, quality, file, why) && WriteFileAtomic(path, file.data(), file.size())) return true;
  if (why.empty()) why = "cannot write " + path;
  if (error) *error = why;
  return false;
}

}  // namespace qj
