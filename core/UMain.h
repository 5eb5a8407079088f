// The main window and the display-mode routines it shares with the options screen and the
// graphics engine.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qj {

struct TDisplaySetting {
  int Resolution = 0;  // index into DisplayModes
  int Width = 0;
  int Height = 0;
  int Refresh = 0;  // index into RefreshRates
  int BitCount = 0;
  bool FullScreen = false;
};

extern const std::array<std::string, 7> DisplayModes;
// Element 0 is always 0: the display's default rate.
extern std::vector<uint32_t> RefreshRates;

// Fills Width, Height and BitCount from element `index` of DisplayModes (clamped into range).
TDisplaySetting ParseDisplayMode(int index);
void ParseDisplayMode(int index, TDisplaySetting& setting);
// Rebuilds RefreshRates for the mode's width and height from the display's reported modes.
void BuildRefreshRates(int resolution);

}  // namespace qj
