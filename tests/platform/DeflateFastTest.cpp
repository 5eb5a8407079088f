// Our fastest deflate: pieces compressed apart join into one stream that zlib inflates to the
// bytes, whatever mix of zero runs and other bytes they hold, and nothing grows past its bound.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DeflateFast.h"

namespace qj {
namespace {

std::vector<uint8_t> Noise(size_t size, uint32_t seed) {
  std::vector<uint8_t> out(size);
  for (uint8_t& b : out) b = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
  return out;
}

// Pixels as a saved game holds them: rows of transparent margin around opaque, noisy colour.
std::vector<uint8_t> Pixels(size_t size) {
  std::vector<uint8_t> out = Noise(size, 7);
  for (size_t i = 0; i < size; ++i)
    if (i % 400 < 150 || i % 4 == 3) out[i] = i % 400 < 150 ? 0 : 0xFF;
  return out;
}

std::vector<uint8_t> Joined(const std::vector<uint8_t>& data, size_t piece) {
  TFastDeflate deflate;
  std::vector<uint8_t> out;
  for (size_t at = 0;; at += piece) {
    const size_t n = std::min(piece, data.size() - at);
    const bool last = at + n == data.size();
    const size_t before = out.size();
    out.resize(before + TFastDeflate::Bound(n));
    out.resize(before + deflate.Compress(data.data() + at, n, last, out.data() + before));
    EXPECT_LE(out.size() - before, TFastDeflate::Bound(n));
    if (last) return out;
  }
}

std::vector<uint8_t> Inflated(const std::vector<uint8_t>& deflated, size_t expected, int& result) {
  std::vector<uint8_t> out(expected + 16);
  z_stream z{};
  inflateInit2(&z, -15);
  z.next_in = const_cast<uint8_t*>(deflated.data());
  z.avail_in = uInt(deflated.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  result = inflate(&z, Z_FINISH);
  out.resize(z.total_out);
  inflateEnd(&z);
  return out;
}

TEST(DeflateFastTest, PiecesJoinIntoOneStreamOfTheBytes) {
  std::vector<uint8_t> endsInZeros = Noise(5000, 3), startsWithZeros(3000, 0), lonelyZeros = Noise(4000, 5);
  endsInZeros.resize(9000, 0);
  startsWithZeros.resize(7000, 0x55);
  for (size_t i = 0; i < lonelyZeros.size(); i += 11) std::fill_n(lonelyZeros.begin() + long(i), 3 + i % 5, 0);
  const struct {
    std::string Name;
    std::vector<uint8_t> Data;
    size_t Piece;
  } cases[] = {
      {"nothing", {}, 100},
      {"one byte", {0}, 100},
      {"short zeros", std::vector<uint8_t>(3, 0), 100},
      {"noise", Noise(300000, 1), 1 << 20},
      {"zeros", std::vector<uint8_t>(1 << 20, 0), 65536},
      {"zeros ending the data", endsInZeros, 977},
      {"zeros starting it", startsWithZeros, 4096},
      {"runs of three to seven", lonelyZeros, 1000},
      {"pixels", Pixels(3 << 20), 1 << 20},
  };
  for (const auto& c : cases) {
    int result = 0;
    const std::vector<uint8_t> back = Inflated(Joined(c.Data, c.Piece), c.Data.size(), result);
    EXPECT_EQ(result, Z_STREAM_END) << c.Name;
    EXPECT_TRUE(back == c.Data) << c.Name;
  }
}

TEST(DeflateFastTest, PixelsShrinkAndNoiseBarelyGrows) {
  const std::vector<uint8_t> pixels = Pixels(1 << 20), noise = Noise(1 << 20, 9);
  EXPECT_LT(Joined(pixels, pixels.size()).size(), pixels.size() * 6 / 10);  // 37 % zeros, 16 % alpha
  EXPECT_LT(Joined(noise, noise.size()).size(), noise.size() + noise.size() / 8192);
}

}  // namespace
}  // namespace qj
