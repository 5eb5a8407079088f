#include "creation/UPuzzleFile.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

}  // namespace

std::array<uint8_t, kCutParametersSize> EncodeCutParameters(const TCutParameters& p) {
  std::array<uint8_t, kCutParametersSize> b{};
  b[0] = p.Marker;
  Put(b.data(), 8, p.PictureScale);
  Put(b.data(), 16, p.RandomSeed);
  Put(b.data(), 20, p.ShapeSet);
  Put(b.data(), 24, p.CutStyle);
  Put(b.data(), 32, p.PieceWidth);
  Put(b.data(), 40, p.PieceHeight);
  Put(b.data(), 48, p.DistortX);
  Put(b.data(), 56, p.DistortXSpread);
  Put(b.data(), 64, p.DistortY);
  Put(b.data(), 72, p.DistortYSpread);
  return b;
}

TCutParameters DecodeCutParameters(const std::array<uint8_t, kCutParametersSize>& b) {
  TCutParameters p;
  p.Marker = b[0];
  p.PictureScale = Get<double>(b.data(), 8);
  p.RandomSeed = Get<uint32_t>(b.data(), 16);
  p.ShapeSet = Get<int32_t>(b.data(), 20);
  p.CutStyle = Get<int32_t>(b.data(), 24);
  p.PieceWidth = Get<double>(b.data(), 32);
  p.PieceHeight = Get<double>(b.data(), 40);
  p.DistortX = Get<double>(b.data(), 48);
  p.DistortXSpread = Get<double>(b.data(), 56);
  p.DistortY = Get<double>(b.data(), 64);
  p.DistortYSpread = Get<double>(b.data(), 72);
  return p;
}

std::array<uint8_t, kPlayOptionsSize> EncodePlayOptions(const TPuzzlePlayOptions& p) {
  std::array<uint8_t, kPlayOptionsSize> b{};
  b[0] = p.AllowLoupe;
  b[1] = p.AllowSmallPicture;
  b[2] = p.AllowRotation;
  b[3] = p.AllowGhost;
  b[4] = p.AllowNeighbourHelp;
  Put(b.data(), 8, p.BevelStrength);
  Put(b.data(), 12, p.ShadowSize);
  Put(b.data(), 16, p.PieceCount);
  return b;
}

TPuzzlePlayOptions DecodePlayOptions(const std::array<uint8_t, kPlayOptionsSize>& b) {
  TPuzzlePlayOptions p;
  p.AllowLoupe = b[0];
  p.AllowSmallPicture = b[1];
  p.AllowRotation = b[2];
  p.AllowGhost = b[3];
  p.AllowNeighbourHelp = b[4];
  p.BevelStrength = Get<int32_t>(b.data(), 8);
  p.ShadowSize = Get<int32_t>(b.data(), 12);
  p.PieceCount = Get<int32_t>(b.data(), 16);
  return p;
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
