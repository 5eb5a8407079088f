#include "screens/UCredits.h"

#include <string_view>

#include "core/UMiscelaneous.h"

namespace qj {
namespace {

// H a heading, L a line, G a gap; each heading and line takes the next line of Text::CreditsRoll.
constexpr std::string_view kShape = "HLGHLGHLLGHLGHLLGHLLLLLGHLGHLLGHGLL";

}  // namespace

std::vector<TCreditLine> CreditLines() {
  std::vector<TCreditLine> lines;
  int next = 0;
  for (const char kind : kShape) {
    if (kind == 'G')
      lines.push_back({ECreditKind::Gap, ""});
    else
      lines.push_back({kind == 'H' ? ECreditKind::Heading : ECreditKind::Line, Lang(Text::CreditsRoll + next++)});
  }
  return lines;
}

}  // namespace qj
