#include "screens/UCredits.h"

#include <algorithm>
#include <string_view>

#include "core/UMiscelaneous.h"

namespace qj {
namespace {

// H a heading, L a line, G a gap; each heading and line takes the next line of Text::CreditsRoll.
constexpr std::string_view kShape = "HLGHLGHLLGHLGHLLGHLLGHLLLLLLLLLGL";
constexpr int kMaxFade = 80;

int Opacity(int y, int height, int screenHeight) {
  if (y + height <= 0 || y >= screenHeight) return 0;
  const int fade = std::max(1, std::min(kMaxFade, screenHeight / 8));
  const int fromEdge = std::min(y, screenHeight - y - height);
  return std::clamp(255 * fromEdge / fade, 0, 255);
}

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

std::vector<TCreditPlace> PlaceCredits(const std::vector<int>& heights, int screenHeight, uint32_t elapsedMs) {
  int64_t column = 0;
  for (const int h : heights) column += h;
  const int64_t travelled = (int64_t(screenHeight) + column) * std::min(elapsedMs, kCreditsRollMs) / kCreditsRollMs;
  std::vector<TCreditPlace> places;
  places.reserve(heights.size());
  int64_t y = screenHeight - travelled;
  for (const int h : heights) {
    places.push_back({int(y), Opacity(int(y), h, screenHeight)});
    y += h;
  }
  return places;
}

}  // namespace qj
