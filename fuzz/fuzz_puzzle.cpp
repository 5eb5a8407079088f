// Fuzzes the puzzle file reader and the preview picture it hands on.
#include "creation/UPuzzleFile.h"
#include "platform/Dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> file(data, data + size);
  qj::TCutParameters cut;
  qj::TPuzzlePlayOptions play;
  std::vector<uint8_t> preview;
  std::string error;
  if (!qj::ParsePuzzleFile(file, cut, play, preview, error) || preview.empty()) return 0;
  qj::TMyDib picture;
  (void)picture.LoadFromMemory(preview.data(), preview.size());
  return 0;
}
