// Joining complete raw deflate streams: the blocks of a stream are walked, code by code, to find
// where its final block begins and ends, without producing its output.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qj {

// Turns a complete raw deflate stream into one that goes on: its final block is marked not final
// and an empty stored block after it brings the end to a byte boundary, so that another stream's
// blocks can follow it directly. The buffer holds `size` bytes and has room for kOpenedTail more;
// `size` becomes the new length. False (the stream untouched) when the stream cannot be walked to
// a final block ending in its last byte.
constexpr size_t kOpenedTail = 5;
[[nodiscard]] bool LeaveOpen(uint8_t* deflated, size_t& size);

}  // namespace qj
