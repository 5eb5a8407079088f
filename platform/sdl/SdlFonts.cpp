#include "platform/sdl/SdlFonts.h"

namespace qj::sdl {

bool InitFontRasterizer() { return false; }
bool AddFontFile(const std::string&) { return false; }

}  // namespace qj::sdl
