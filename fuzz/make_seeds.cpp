// Writes the seed corpora of the fuzz targets into DIR/<target>/.
#include <cstdio>

#include "fuzz/Seeds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const size_t seeds = qj::fuzz::WriteSeeds(argv[1], QJ_DATA_DIR);
  std::printf("seeds=%zu folder=%s\n", seeds, argv[1]);
  return seeds ? 0 : 1;
}
