// Block extraction with the game's rules: whole-line markers compared without regard to case.
#include "tools/datagen/Layout.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "platform/TextUtil.h"

namespace qj::datagen {

TLayoutList::TLayoutList(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    FLines.push_back(line);
  }
}

std::vector<std::string> TLayoutList::Block(const std::string& name, size_t count) const {
  auto start = std::find_if(FLines.begin(), FLines.end(),
                            [&](const std::string& l) { return SameName(l, "[" + name + "]"); });
  if (start == FLines.end()) throw std::runtime_error("layout block missing: " + name);
  auto end = std::find_if(start + 1, FLines.end(),
                          [&](const std::string& l) { return SameName(l, "[End " + name + "]"); });
  if (end == FLines.end()) throw std::runtime_error("layout block without end line: " + name);
  std::vector<std::string> entries(start + 1, end);
  if (count != 0 && entries.size() != count)
    throw std::runtime_error("layout block " + name + " holds " + std::to_string(entries.size()) + " entries, " +
                             std::to_string(count) + " are drawn");
  return entries;
}

}  // namespace qj::datagen
