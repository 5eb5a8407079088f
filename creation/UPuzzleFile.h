// The puzzle file: cut parameters, play options and a BMP preview, three length-prefixed blocks.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qj {

// Block A, 80 bytes on disk (padding written as zeros).
struct TCutParameters {
  uint8_t Marker = 1;
  double PictureScale = 0;
  uint32_t RandomSeed = 0;
  int32_t ShapeSet = 0;
  int32_t CutStyle = 0;
  double PieceWidth = 0;
  double PieceHeight = 0;
  double DistortX = 0;
  double DistortXSpread = 0;
  double DistortY = 0;
  double DistortYSpread = 0;
};

// Block B, 20 bytes on disk. The option bytes are kept as read; any non-zero value allows.
struct TPuzzlePlayOptions {
  uint8_t AllowLoupe = 0;
  uint8_t AllowSmallPicture = 0;
  uint8_t AllowRotation = 0;
  uint8_t AllowGhost = 0;
  uint8_t AllowNeighbourHelp = 0;
  int32_t BevelStrength = 0;
  int32_t ShadowSize = 0;
  int32_t PieceCount = 0;
};

// The options of the game being played, filled when a game starts or continues.
extern TPuzzlePlayOptions PlayOptions;

constexpr size_t kCutParametersSize = 80;
constexpr size_t kPlayOptionsSize = 20;

std::array<uint8_t, kCutParametersSize> EncodeCutParameters(const TCutParameters& p);
TCutParameters DecodeCutParameters(const std::array<uint8_t, kCutParametersSize>& b);
std::array<uint8_t, kPlayOptionsSize> EncodePlayOptions(const TPuzzlePlayOptions& p);
TPuzzlePlayOptions DecodePlayOptions(const std::array<uint8_t, kPlayOptionsSize>& b);

// The whole file: 80, block A, 20, block B, the preview's length and the preview.
std::vector<uint8_t> BuildPuzzleFile(const TCutParameters& cut, const TPuzzlePlayOptions& play,
                                     const std::vector<uint8_t>& previewBmp);

// Reads the blocks into `cut` and `play` as far as the file holds them: a short block keeps the
// rest of the record as it was, a longer one is read up to its record size and the rest skipped.
// Fails (false, with a reason) on a missing or negative length and on a preview that does not
// fit in the file; `previewBmp` is then empty.
[[nodiscard]] bool ParsePuzzleFile(const std::vector<uint8_t>& file, TCutParameters& cut, TPuzzlePlayOptions& play,
                     std::vector<uint8_t>& previewBmp, std::string& error);

}  // namespace qj
