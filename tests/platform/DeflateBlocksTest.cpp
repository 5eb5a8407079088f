// Complete deflate streams left open and followed by another inflate to both streams' bytes, for
// every kind of block; a stream that does not walk to its end is left as it was.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

#include "platform/DeflateBlocks.h"

namespace qj {
namespace {

std::vector<uint8_t> Bytes(size_t size, uint32_t seed) {
  std::vector<uint8_t> out(size);
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    out[i] = i % 3000 < 1000 ? 0 : uint8_t(seed >> 24 & (i % 7 ? 0x0F : 0xFF));  // runs, skew and noise
  }
  return out;
}

// A raw stream of several blocks: the data goes in three parts, each ended by a full flush.
std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data, int level, int strategy) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -15, 8, strategy), Z_OK);
  std::vector<uint8_t> out(deflateBound(&z, uLong(data.size())) + 64);
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  for (size_t part = 0; part < 3; ++part) {
    const size_t from = data.size() * part / 3, to = data.size() * (part + 1) / 3;
    z.next_in = const_cast<uint8_t*>(data.data() + from);
    z.avail_in = uInt(to - from);
    EXPECT_EQ(deflate(&z, part == 2 ? Z_FINISH : Z_FULL_FLUSH), part == 2 ? Z_STREAM_END : Z_OK);
  }
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::vector<uint8_t> Inflate(const std::vector<uint8_t>& deflated, size_t size) {
  z_stream z{};
  EXPECT_EQ(inflateInit2(&z, -15), Z_OK);
  std::vector<uint8_t> out(size + 16);
  z.next_in = const_cast<uint8_t*>(deflated.data());
  z.avail_in = uInt(deflated.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  inflateEnd(&z);
  return out;
}

bool LeaveOpen(std::vector<uint8_t>& deflated) {
  size_t size = deflated.size();
  deflated.resize(size + kOpenedTail, 0xAA);  // room that is not zero already
  const bool open = qj::LeaveOpen(deflated.data(), size);
  deflated.resize(open ? size : deflated.size() - kOpenedTail);
  return open;
}

TEST(DeflateBlocksTest, AStreamLeftOpenIsFollowedByTheNext) {
  const struct {
    int Level, Strategy;
  } kinds[] = {{0, Z_DEFAULT_STRATEGY}, {1, Z_FIXED}, {6, Z_DEFAULT_STRATEGY}, {9, Z_HUFFMAN_ONLY}, {3, Z_RLE}};
  const std::vector<uint8_t> first = Bytes(300000, 1), second = Bytes(70000, 2);
  std::vector<uint8_t> whole = first;
  whole.insert(whole.end(), second.begin(), second.end());
  for (const auto& kind : kinds) {
    std::vector<uint8_t> joined = Deflate(first, kind.Level, kind.Strategy);
    ASSERT_TRUE(LeaveOpen(joined)) << "level " << kind.Level << ", strategy " << kind.Strategy;
    const std::vector<uint8_t> next = Deflate(second, kind.Level, kind.Strategy);
    joined.insert(joined.end(), next.begin(), next.end());
    EXPECT_TRUE(Inflate(joined, whole.size()) == whole) << "level " << kind.Level << ", strategy " << kind.Strategy;
  }
}

// Bytes whose values grow rarer by halves get codes of up to fifteen bits.
TEST(DeflateBlocksTest, LongCodesAreWalked) {
  std::vector<uint8_t> data(200000);
  uint32_t seed = 5;
  for (uint8_t& b : data) {
    seed = seed * 1103515245u + 12345u;
    b = uint8_t(__builtin_ctz(seed | 0x80000000u) * 7);
  }
  std::vector<uint8_t> joined = Deflate(data, 9, Z_HUFFMAN_ONLY);
  ASSERT_TRUE(LeaveOpen(joined));
  const std::vector<uint8_t> next = Deflate(data, 1, Z_FIXED);
  joined.insert(joined.end(), next.begin(), next.end());
  std::vector<uint8_t> twice = data;
  twice.insert(twice.end(), data.begin(), data.end());
  EXPECT_TRUE(Inflate(joined, twice.size()) == twice);
}

TEST(DeflateBlocksTest, AStreamWithoutItsEndIsLeftAsItWas) {
  const std::vector<uint8_t> complete = Deflate(Bytes(50000, 3), 6, Z_DEFAULT_STRATEGY);
  for (const size_t cut : {size_t(0), size_t(1), complete.size() / 2, complete.size() - 1}) {
    std::vector<uint8_t> broken(complete.begin(), complete.begin() + std::ptrdiff_t(cut));
    const std::vector<uint8_t> before = broken;
    EXPECT_FALSE(LeaveOpen(broken)) << cut;
    EXPECT_EQ(broken, before) << cut;
  }
  std::vector<uint8_t> followed = complete;
  followed.push_back(0x55);  // bytes after the final block are no padding
  EXPECT_FALSE(LeaveOpen(followed));
}

}  // namespace
}  // namespace qj
