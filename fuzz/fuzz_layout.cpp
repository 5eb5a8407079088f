// Fuzzes the layout list Text/VarEroRuze.rls, read for every block the game asks for, and the
// .coord names made from its entries; a malformed list is reported by ELayoutError.
#include "controls/UButtons.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Paths.h"

namespace {

const char* const kBlocks[] = {
    "ButtonOptions",     "HintOptions",     "LargeWindowOptions",      "SmallWindowOptions",
    "HLargeScrollBarOptions", "VLargeScrollBarOptions", "HSmallScrollBarOptions", "CheckBoxOptions",
    "Trays",             "Sound",           "PuzzleCutterPieceShapes", "Stars",
    "PinOptions",        "BoardMenuOptions", "LoupeOptions",           "MenuCursors",
    "Animations",        "ScrollButtons",   "MainOptions",             "PuzzleSelector"};

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
