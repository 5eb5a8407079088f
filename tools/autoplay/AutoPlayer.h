// A headless player: cuts a picture (or continues its saved game), plays like a careful player
// who turns each piece right and drops it beside a true neighbour, then leaves and saves.
#pragma once

#include <string>
#include <vector>

#include "tools/cut/CutOptions.h"

namespace qj::autoplay {

struct TAutoPlayOptions {
  cuttool::TCutOptions Cut;
  int Joins = -1;         // pieces to join before leaving; -1 = until one piece is left
  bool Continue = false;  // continue the saved game instead of starting a new one
};

struct TAutoPlayResult {
  int Pieces = 0;  // pieces at the start of the game
  int Left = 0;
  int Joins = 0;
  int Drops = 0;
  double Score = 0;
  bool Finished = false;
  double CutMs = 0, PlayMs = 0, SaveMs = 0, LoadMs = 0;
};

// The cut tool's options plus --joins K and --continue. Throws cuttool::TUsageError.
TAutoPlayOptions ParseAutoPlayOptions(const std::vector<std::string>& args);
// Plays; returns the exit code (0, or 1 after printing why).
int RunAutoPlay(const TAutoPlayOptions& options, TAutoPlayResult& result);
// "pieces=N left=L joins=J drops=D score=S finished=0|1 cut_ms=T play_ms=T save_ms=T load_ms=T"
std::string ResultLine(const TAutoPlayResult& result);

}  // namespace qj::autoplay
