// Fuzzes the layout list Text/VarEroRuze.rls, read for blocks the game asks for, and the
// .coord names made from its entries; a malformed list is reported by ELayoutError.
#include "controls/UButtons.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Paths.h"

namespace {

// The first block of the list, two from its middle and the last: every block is read by the same
// code, and each one more only repeats the file's reading (slowing the fuzzer twentyfold).
const char* const kBlocks[] = {"ButtonOptions", "Trays", "MainOptions", "PuzzleSelector"};

void ReadBlock(const char* name) {
  std::vector<std::string> entries;
  try {
    qj::ReadOptionsBlock(name, entries);
  } catch (const qj::ELayoutError&) {
    return;
  }
  for (const std::string& entry : entries) (void)qj::CoordFileName(entry);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qj::SetProgramFolder(qj::fuzz::ScratchFolder());
  qj::fuzz::WriteInput("Text/VarEroRuze.rls", data, size);
  for (const char* name : kBlocks) ReadBlock(name);
  return 0;
}
