// A fingerprint of a finished cut, so tests and tools can tell whether two cuts are identical.
#pragma once

#include <cstdint>
#include <string>

namespace qj {

class TPuzzleCutter;

// 64-bit FNV-1a over the label map, then per piece its label, seed, boxes, neighbour list and
// every image of every orientation (size and pixels, alpha included).
uint64_t CutDigest(TPuzzleCutter& cutter);
std::string DigestHex(uint64_t digest);

}  // namespace qj
