// Cuts the pieces of a puzzle on every core while the caller still sees one report per piece,
// in order, on its own thread, before that piece is started.
#pragma once

#include <cstddef>
#include <functional>

namespace qj {

// Runs cut(k) for k = 0..count-1 on this thread and on helper threads (at most `threads` in
// all; 0 = one per core). report(k) runs on this thread, in order, before piece k is handed
// out. An exception from either stops the work and is thrown here once every helper is done.
// cut must only touch piece k.
void RunPieceWork(size_t count, const std::function<void(size_t)>& report,
                  const std::function<void(size_t)>& cut, unsigned threads = 0);

}  // namespace qj
