// Fuzzes the saved game's archive: extracting its member, then reading the stream inside.
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qj::TZipMaster zip;
  zip.ZipFileName = qj::fuzz::WriteInput("game.zip", data, size);
  const qj::TMemoryStream* member = zip.ExtractMemberToStream("game.sav");
  if (member) qj::fuzz::DecodeSavedGameAndMatch(member->Data.data(), member->Size());
  return 0;
}
