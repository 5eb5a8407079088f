// A saved game on its way to disk: what the table was when it was taken, and the writing of it
// (score file, then the archive) on whatever thread holds it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "play/USavedGame.h"

namespace qj {

struct TSaveJob {
  TSavedGame Game;  // bitmaps shared with the sprites, so taking it copies no pixels
  std::string SavPath;
  int OrientationHigh = 0;
  int CompressionLevel = 1;
};

// How far a write has come, in bytes of the stream.
using TSaveProgress = std::function<void(int64_t done, int64_t total)>;

// Updates the score file beside the saved game, then replaces the archive with one holding the
// stream; a failure leaves the old archive as it was and names its cause in `error`. Touches
// nothing but the job and the files, so it may run beside the game.
[[nodiscard]] bool WriteSaveJob(const TSaveJob& job, const TSaveProgress& progress, std::string& error);

}  // namespace qj
