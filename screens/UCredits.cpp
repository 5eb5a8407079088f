#include "screens/UCredits.h"

#include <string_view>

#include "core/UMiscelaneous.h"

namespace qj {
namespace {

// H a heading, L a line, G a gap; each heading and line takes the next language line.
constexpr std::string_view kShape = "HLGHLGHLLGHLGHLLGHLLLLLGHLGHLLGHGLL";

}  // namespace

std::vector<TCreditLine> CreditLines() {
  std::vector<TCreditLine> lines;
  int next = kFirstCreditLine;
  for (const char kind : kShape) {
    if (kind == 'G')
      lines.push_back({ECreditKind::Gap, ""});
    else
      lines.push_back({kind == 'H' ? ECreditKind::Heading : ECreditKind::Line, Lang(next++)});
  }
  return lines;
}

}  // namespace qj
