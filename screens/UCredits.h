// The credits the main menu rolls up the screen: headings, lines and gaps in a fixed order, the
// texts from the language (so the credits speak the player's language too).
#pragma once

#include <string>
#include <vector>

namespace qj {

enum class ECreditKind { Heading, Line, Gap };

struct TCreditLine {
  ECreditKind Kind;
  std::string Text;  // empty for a gap
};

std::vector<TCreditLine> CreditLines();

}  // namespace qj
