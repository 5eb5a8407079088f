// The process-wide random generator whose exact sequence makes every cut repeatable.
#pragma once

#include <cstdint>

namespace qj {

// The generator's state. A cut copies it into its parameters before drawing and sets it back
// from there to repeat the cut, so the recurrence below must never change.
extern uint32_t RandomSeed;

void Randomize(uint32_t seed);
// Advances the seed (seed * 134775813 + 1 mod 2^32) and returns the high 32 bits of seed * n:
// 0..n-1 for n > 0, 0 for n = 0. The seed advances whatever n is.
int32_t Random(int32_t n);
// 1 + Random(round((spread - 1) * 1000)) / 1000: from 1 up to, not including, spread.
double RandomFactor(double spread);
// +1 for odd k, -1 for even k (0 is even).
double ParitySign(int k);
// +1 or -1 with equal chance, from the generator.
int RandomSign();

}  // namespace qj
