// The block list the game reads, read here too so the generator writes exactly the names it holds.
#pragma once

#include <string>
#include <vector>

namespace qj::datagen {

class TLayoutList {
 public:
  explicit TLayoutList(const std::string& path);  // throws when the file cannot be read
  // The entries of block `name`; throws when the block or its end line is missing, or when it
  // does not hold `count` entries (0: any count).
  std::vector<std::string> Block(const std::string& name, size_t count = 0) const;

 private:
  std::vector<std::string> FLines;
};

}  // namespace qj::datagen
