// The fastest deflate this program makes: runs of zeros taken whole as matches, all other bytes
// coded as literals in dynamic Huffman blocks. Saved games are three quarters transparent pixels,
// where a general compressor hashes every byte to find matches that pixels of a photo rarely give.
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
