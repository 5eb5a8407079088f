// Writes each group of the game's data set under the names of the layout list.
#pragma once

#include "tools/datagen/Controls.h"
#include "tools/datagen/Layout.h"
#include "tools/datagen/Output.h"

namespace qj::datagen {

void WriteControls(const TOutput& out, const TLayoutList& layout, const TThemeArt& theme, const TControlArt& art);
void WriteBoardArt(const TOutput& out, const TLayoutList& layout, const TThemeArt& theme);
void WriteScreens(const TOutput& out, const TLayoutList& layout);
void WriteSounds(const TOutput& out, const TLayoutList& layout);
// Table backgrounds and sample jigsaws; returns the first background for the previews.
TMyDib WritePictures(const TOutput& out);

}  // namespace qj::datagen
