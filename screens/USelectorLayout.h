// Where the selector's thumbnail windows lay on the desk at the last visit, one line a window,
// lowest first: "<path>" left top width.
#pragma once

#include <string>
#include <vector>

namespace qj {

struct TThumbPlace {
  std::string Path;
  int Left = 0;
  int Top = 0;
  int Width = 0;
};

// One line of the file; false for a line that does not parse (no quoted path, no left and top).
[[nodiscard]] bool ParseThumbPlace(const std::string& line, TThumbPlace& place);
// The places of the file in its order; lines that do not parse are skipped, a missing file
// gives none.
std::vector<TThumbPlace> ReadSelectorLayout(const std::string& path);
// Written whole or not at all; false when it could not be written.
[[nodiscard]] bool WriteSelectorLayout(const std::string& path, const std::vector<TThumbPlace>& places);

}  // namespace qj
