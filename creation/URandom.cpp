#include "creation/URandom.h"

#include <cmath>

namespace qj {

uint32_t RandomSeed = 0;

void Randomize(uint32_t seed) { RandomSeed = seed; }

int32_t Random(int32_t n) {
  RandomSeed = RandomSeed * 134775813u + 1u;
  return int32_t((int64_t(RandomSeed) * int64_t(n)) >> 32);
}

double RandomFactor(double spread) {
  // Spreads come from sliders and files; keep the range argument a sane 32-bit value.
  double range = std::nearbyint((spread - 1.0) * 1000.0);
  if (!(range >= 0.0)) range = 0.0;
  if (range > 2147483647.0) range = 2147483647.0;
  return 1.0 + Random(int32_t(range)) / 1000.0;
}

double ParitySign(int k) { return (k & 1) ? 1.0 : -1.0; }

int RandomSign() { return Random(2) == 0 ? -1 : 1; }

}  // namespace qj
