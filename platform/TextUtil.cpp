// Names and values as the game compares them.
#include "platform/TextUtil.h"

#include <algorithm>

namespace qj {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string Lower(std::string s) {
  for (char& c : s) c = Lower(c);
  return s;
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

std::string Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(" \t");
  return std::string(s.substr(first, last - first + 1));
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string FillIn(std::string text, std::string_view mark, std::string_view value) {
  if (const size_t at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), value);
  return text;
}

}  // namespace qj
