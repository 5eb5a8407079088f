// A new puzzle as the maker starts one, for pictures that have none yet: the picture scaled to
// fit the table, a piece size that gives a few hundred pieces (never under the maker's
// first size), every help allowed.
#pragma once

#include <cstdint>
#include <string>

namespace qj {

class TPuzzleCutter;

constexpr int kDefaultPieceCount = 300;
// The cause MakeDefaultPuzzle and MakeGridPuzzle give for a picture too small for any sound cut.
inline constexpr const char* kTooSmallForPuzzle = "the picture is too small for a puzzle";

// Sets the cutter (its picture loaded) to the new-puzzle values and the random seed.
void ApplyNewPuzzleDefaults(TPuzzleCutter& cutter, uint32_t seed);
// Writes the picture's puzzle file with those values; false (with the cause) when the picture
// cannot be read, the cut is not sound or the file cannot be written.
[[nodiscard]] bool MakeDefaultPuzzle(const std::string& picture, uint32_t seed, std::string& error);
// Writes a puzzle file of columns x rows upright pieces with every help allowed, the picture
// scaled to `width` pixels: a small game that is quickly finished.
[[nodiscard]] bool MakeGridPuzzle(const std::string& picture, int width, int columns, int rows, uint32_t seed,
                                  std::string& error);

}  // namespace qj
