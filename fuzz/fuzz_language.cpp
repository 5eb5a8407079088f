// Fuzzes a language file: loading it and expanding the text keys its lines may hold.
#include <algorithm>

#include "core/UMiscelaneous.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Paths.h"

namespace {
// Enough lines to reach the cube names and the keys of the menus without the run growing with
// the input's length.
constexpr size_t kExpandedLines = 128;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qj::SetProgramFolder(qj::fuzz::ScratchFolder());
  qj::fuzz::WriteInput("Text/English.lang", data, size);
  qj::Options.LanguageFile = "English.lang";
  if (!qj::LoadLanguage()) return 0;
  const size_t lines = std::min(qj::LanguageText.size(), kExpandedLines);
  for (size_t i = 0; i < lines; ++i) (void)qj::ReplaceTextKeys(qj::LanguageText[i]);
  return 0;
}
