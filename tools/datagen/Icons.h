// The desktop icon of the game in the hicolor sizes, for the menu entry and the window list.
#pragma once

#include <string>

namespace qj::datagen {

// Writes FOLDER/hicolor/NxN/apps/quorvane-jigsaw.png for every size the desktop asks for.
void WriteIcons(const std::string& folder);

}  // namespace qj::datagen
