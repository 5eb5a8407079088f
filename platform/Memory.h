// Handing freed heap memory back to the operating system.
#pragma once

namespace qj {

// Returns the free pages of every heap arena to the system, so that memory freed after a large
// piece of work (a cut's scratch images, a game left) stops counting as resident. Costs a walk
// over the free lists; call it after such work, not per frame.
void ReturnFreeMemory();

// Gives back the pages lying wholly within [begin, end) of a buffer still allocated, for a
// buffer read once from front to back whose read part is never looked at again: they stop
// counting as resident and, read after all, hold zeros. Returns where the pages given back end
// (begin when none were), the place to start from next time.
const unsigned char* ReleaseReadPages(const unsigned char* begin, const unsigned char* end);

}  // namespace qj
