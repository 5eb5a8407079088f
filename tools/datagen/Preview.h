// A composed view of one theme's widgets, to judge the look without starting the game.
#pragma once

#include "platform/Dib.h"
#include "tools/datagen/Controls.h"

namespace qj::datagen {

// 1024 x 768: windows, buttons, check boxes, scroll bars, hints and trays over `table`.
TMyDib ComposePreview(const TControlArt& art, const TMyDib& table);

}  // namespace qj::datagen
