// A measuring aid: with QJ_FRAME_COUNT_FILE set, SIGUSR1 makes the program write the number of
// frames it has shown so far, one decimal line, into that file (tools/idle-probe reads it).
#pragma once

#include <atomic>
#include <cstdint>

namespace qj {

// Installs the signal handler when the variable is set; `frames` must outlive the program's run.
void WatchFrameCount(const std::atomic<uint64_t>& frames);

}  // namespace qj
