// Handing freed heap memory back to the operating system.
#pragma once

namespace qj {

// Returns the free pages of every heap arena to the system, so that memory freed after a large
// piece of work (a cut's scratch images, a game left) stops counting as resident. Costs a walk
// over the free lists; call it after such work, not per frame.
void ReturnFreeMemory();

}  // namespace qj
