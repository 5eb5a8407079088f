// Inflating a member made of independent deflated chunks on every core, when the archive lists
// where each chunk begins.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qj {

// Inflates the chunks of `sizes`, lying one after another in `packed`, into `out`: every chunk
// but the last gives exactly `chunk` bytes, the last the rest of `size`. `crc` becomes the CRC-32
// of all of `out`. False when the list does not fit the data or a chunk does not inflate to its
// share; `out` then holds nothing usable.
[[nodiscard]] bool InflateChunks(const uint8_t* packed, size_t packedSize, const std::vector<uint32_t>& sizes,
                                 size_t chunk, uint8_t* out, size_t size, uint32_t& crc);

}  // namespace qj
