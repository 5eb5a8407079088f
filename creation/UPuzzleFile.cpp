#include "creation/UPuzzleFile.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

namespace qj {

TPuzzlePlayOptions PlayOptions;

namespace {

// Little-endian field access at a byte offset.
template <class T>
void Put(uint8_t* block, size_t offset, T value) {
  uint8_t bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  if constexpr (std::endian::native == std::endian::big) std::reverse(bytes, bytes + sizeof(T));
  std::memcpy(block + offset, bytes, sizeof(T));
}

template <class T>
T Get(const uint8_t* block, size_t offset) {
  uint8_t bytes[sizeof(T)];
  std::memcpy(bytes, block + offset, sizeof(T));
  if constexpr (std::endian::native == std::endian::big) std::reverse(bytes, bytes + sizeof(T));
  T value;
  std::memcpy(&value, bytes, sizeof(T));
  return value;
}

class TReader {
 public:
  explicit TReader(const std::vector<uint8_t>& data) : FData(data) {}
  size_t Left() const { return FData.size() - FPos; }
  bool ReadLength(int32_t& length) {
    if (Left() < 4) return false;
    length = Get<int32_t>(FData.data(), FPos);
    FPos += 4;
    return length >= 0;
  }
  // Up to `size` bytes of a block of `length` into `out`; skips the rest of the block.
  template <size_t N>
  void ReadBlock(int32_t length, std::array<uint8_t, N>& out) {
    const size_t take = std::min({size_t(length), N, Left()});
    std::memcpy(out.data(), FData.data() + FPos, take);
    FPos += std::min(size_t(length), Left());
  }
  const uint8_t* Here() const { return FData.data() + FPos; }

 private:
  const std::vector<uint8_t>& FData;
  size_t FPos = 0;
};

// Each record's fields with their offsets in the block; encoding and decoding share the list.
template <class Record, class F>
void CutFields(Record& p, F&& field) {
  field(0, p.Marker);
  field(8, p.PictureScale);
  field(16, p.RandomSeed);
  field(20, p.ShapeSet);
  field(24, p.CutStyle);
  field(32, p.PieceWidth);
  field(40, p.PieceHeight);
  field(48, p.DistortX);
  field(56, p.DistortXSpread);
  field(64, p.DistortY);
  field(72, p.DistortYSpread);
}

template <class Record, class F>
void PlayFields(Record& p, F&& field) {
  field(0, p.AllowLoupe);
  field(1, p.AllowSmallPicture);
  field(2, p.AllowRotation);
  field(3, p.AllowGhost);
  field(4, p.AllowNeighbourHelp);
  field(8, p.BevelStrength);
  field(12, p.ShadowSize);
  field(16, p.PieceCount);
}

template <size_t N, class Record, class Fields>
std::array<uint8_t, N> Encode(const Record& p, Fields fields) {
  std::array<uint8_t, N> b{};  // padding stays zero
  fields(p, [&](size_t offset, const auto& value) { Put(b.data(), offset, value); });
  return b;
}

template <class Record, size_t N, class Fields>
Record Decode(const std::array<uint8_t, N>& b, Fields fields) {
  Record p;
  fields(p, [&](size_t offset, auto& value) { value = Get<std::remove_reference_t<decltype(value)>>(b.data(), offset); });
  return p;
}

}  // namespace

std::array<uint8_t, kCutParametersSize> EncodeCutParameters(const TCutParameters& p) {
  return Encode<kCutParametersSize>(p, [](auto& r, auto&& f) { CutFields(r, f); });
}

TCutParameters DecodeCutParameters(const std::array<uint8_t, kCutParametersSize>& b) {
  return Decode<TCutParameters>(b, [](auto& r, auto&& f) { CutFields(r, f); });
}

std::array<uint8_t, kPlayOptionsSize> EncodePlayOptions(const TPuzzlePlayOptions& p) {
  return Encode<kPlayOptionsSize>(p, [](auto& r, auto&& f) { PlayFields(r, f); });
}

TPuzzlePlayOptions DecodePlayOptions(const std::array<uint8_t, kPlayOptionsSize>& b) {
  return Decode<TPuzzlePlayOptions>(b, [](auto& r, auto&& f) { PlayFields(r, f); });
}

std::vector<uint8_t> BuildPuzzleFile(const TCutParameters& cut, const TPuzzlePlayOptions& play,
                                     const std::vector<uint8_t>& previewBmp) {
  std::vector<uint8_t> out(4 + kCutParametersSize + 4 + kPlayOptionsSize + 4 + previewBmp.size());
  Put(out.data(), 0, int32_t(kCutParametersSize));
  const auto a = EncodeCutParameters(cut);
  std::memcpy(out.data() + 4, a.data(), a.size());
  Put(out.data(), 84, int32_t(kPlayOptionsSize));
  const auto b = EncodePlayOptions(play);
  std::memcpy(out.data() + 88, b.data(), b.size());
  Put(out.data(), 108, int32_t(previewBmp.size()));
  if (!previewBmp.empty()) std::memcpy(out.data() + 112, previewBmp.data(), previewBmp.size());
  return out;
}

bool ParsePuzzleFile(const std::vector<uint8_t>& file, TCutParameters& cut, TPuzzlePlayOptions& play,
                     std::vector<uint8_t>& previewBmp, std::string& error) {
  previewBmp.clear();
  TReader in(file);
  int32_t length = 0;
  if (!in.ReadLength(length)) return error = "no cut parameters", false;
  auto a = EncodeCutParameters(cut);
  in.ReadBlock(length, a);
  cut = DecodeCutParameters(a);
  if (!in.ReadLength(length)) return error = "no play options", false;
  auto b = EncodePlayOptions(play);
  in.ReadBlock(length, b);
  play = DecodePlayOptions(b);
  if (!in.ReadLength(length)) return error = "no preview length", false;
  if (size_t(length) > in.Left()) return error = "preview runs past the end of the file", false;
  previewBmp.assign(in.Here(), in.Here() + length);
  return true;
}

}  // namespace qj
