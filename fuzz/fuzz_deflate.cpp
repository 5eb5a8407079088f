// Fuzzes the fast deflate the saves use: any bytes, cut into pieces compressed apart, must join
// into one stream that zlib inflates back to those bytes, each piece within its bound.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/DeflateFast.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the piece size, so joins fall anywhere in runs and literals.
  const size_t piece = 1 + ((size_t(data[0]) << 8 | data[1]) % 4096);
  data += 2, size -= 2;
  qj::TFastDeflate deflate;
  std::vector<uint8_t> joined;
  size_t at = 0;
  do {
    const size_t n = std::min(piece, size - at);
    const size_t before = joined.size();
    joined.resize(before + qj::TFastDeflate::Bound(n));
    const size_t made = deflate.Compress(data + at, n, at + n == size, joined.data() + before);
    if (made > qj::TFastDeflate::Bound(n)) std::abort();
    joined.resize(before + made);
    at += n;
  } while (at < size);
  std::vector<uint8_t> back(size + 1);
  z_stream z{};
  inflateInit2(&z, -15);
  z.next_in = joined.data();
  z.avail_in = uInt(joined.size());
  z.next_out = back.data();
  z.avail_out = uInt(back.size());
  const int result = inflate(&z, Z_FINISH);
  const size_t got = z.total_out;
  inflateEnd(&z);
  if (result != Z_STREAM_END || got != size || !std::equal(data, data + size, back.begin())) std::abort();
  return 0;
}
