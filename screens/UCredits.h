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

// The first language line of the credits' texts; one line follows per heading or line.
constexpr int kFirstCreditLine = 241;

std::vector<TCreditLine> CreditLines();

}  // namespace qj
