// The fastest deflate this program makes: greedy matches found through one hash probe, coded in
// dynamic Huffman blocks. Saved games are three quarters transparent pixels, runs of zeros that
// one probe and a wide compare take whole, where a general compressor inserts every byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qj {

class TFastDeflate {
 public:
  TFastDeflate();
  ~TFastDeflate();
  TFastDeflate(const TFastDeflate&) = delete;
  TFastDeflate& operator=(const TFastDeflate&) = delete;

  // Room the compressed form of `size` bytes can take: a little more than the bytes themselves.
  static size_t Bound(size_t size);
  // Compresses `in` into `out` (Bound(size) bytes of room) as raw deflate blocks ending on a byte
  // boundary; returns the compressed size. Only the block of a `last` piece is final, so pieces
  // compressed apart join into one stream in their order. Matches reach back within the piece.
  size_t Compress(const uint8_t* in, size_t size, bool last, uint8_t* out);

 private:
  struct TState;
  std::unique_ptr<TState> FState;
};

}  // namespace qj
