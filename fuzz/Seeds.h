// Valid files of every kind the fuzz targets read: their seed corpora, and the inputs the test
// run gives every target to show that the readers take what the game writes.
#pragma once

#include <cstddef>
#include <string>

namespace qj::fuzz {

// Writes the seeds into folder/<target>/, taking copies of shipped text files from dataFolder
// (the source tree's data/). Returns how many files it wrote, 0 when any could not be made
// (the reason is on stderr).
size_t WriteSeeds(const std::string& folder, const std::string& dataFolder);

}  // namespace qj::fuzz
