#include "screens/USelectorLayout.h"

#include <charconv>

#include "platform/Paths.h"

namespace qj {
namespace {

constexpr const char* kBlanks = " \t\r\n";

// The next space-separated integer from `at`; false when there is none or it overflows.
bool NextInt(const std::string& text, size_t& at, int& value) {
  at = text.find_first_not_of(kBlanks, at);
  if (at == std::string::npos) return false;
  const char* begin = text.data() + at;
  const char* end = text.data() + text.size();
  if (*begin == '+') ++begin;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || (stop != end && *stop != ' ' && *stop != '\t' && *stop != '\r')) return false;
  at = size_t(stop - text.data());
  return true;
}

}  // namespace

bool ParseThumbPlace(const std::string& line, TThumbPlace& place) {
  const size_t open = line.find('"');
  if (open == std::string::npos) return false;
  const size_t close = line.find('"', open + 1);
  if (close == std::string::npos || close == open + 1) return false;
  place.Path = line.substr(open + 1, close - open - 1);
  size_t at = close + 1;
  if (!NextInt(line, at, place.Left) || !NextInt(line, at, place.Top)) return false;
  // The width is written for people reading the file; a missing or odd one is no fault.
  if (!NextInt(line, at, place.Width)) place.Width = 0;
  return true;
}

std::vector<TThumbPlace> ReadSelectorLayout(const std::string& path) {
  std::vector<TThumbPlace> places;
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) return places;
  for (const std::string& line : lines) {
    TThumbPlace place;
    if (ParseThumbPlace(line, place)) places.push_back(std::move(place));
  }
  return places;
}

bool WriteSelectorLayout(const std::string& path, const std::vector<TThumbPlace>& places) {
  std::string text;
  for (const TThumbPlace& p : places)
    text += '"' + p.Path + "\" " + std::to_string(p.Left) + ' ' + std::to_string(p.Top) + ' ' + std::to_string(p.Width) + "\r\n";
  return WriteFileAtomic(path, text.data(), text.size());
}

}  // namespace qj
