// The credits the main menu rolls up the screen: headings, lines and gaps in a fixed order, the
// texts from the language (so the credits speak the player's language too), and where each line
// stands while the roll runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qj {

enum class ECreditKind { Heading, Line, Gap };

struct TCreditLine {
  ECreditKind Kind;
  std::string Text;  // empty for a gap
};

// The game's own credits first, then the free software it is made with and their licences.
std::vector<TCreditLine> CreditLines();

// A whole roll takes this long, however tall the screen.
constexpr uint32_t kCreditsRollMs = 28000;

struct TCreditPlace {
  int Y;
  int Opacity;  // 0 (not shown) .. 255
};

// The lines, `heights` tall each, rise at one steady speed from below the bottom edge until the
// last has left the top; they fade in and out near the edges instead of being cut there.
std::vector<TCreditPlace> PlaceCredits(const std::vector<int>& heights, int screenHeight, uint32_t elapsedMs);

}  // namespace qj
