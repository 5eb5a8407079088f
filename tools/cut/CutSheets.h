// Pictures of a cut for people to look at: the pieces laid out on a sheet, the label map.
#pragma once

#include <string>

#include "creation/UBitmapBuilder.h"

namespace qj::cuttool {

// Every piece image of every orientation in a grid of equal cells on a grey table; the shadow
// in each image's alpha byte darkens the table.
TMyDib ContactSheet(const TPieceList& pieces);
// Each label in a colour of its own, unlabelled pixels black.
TMyDib LabelPicture(const TMyDib& labels);
// BMP, or JPEG when the name ends in .jpg or .jpeg, or PNG when it ends in .png.
bool SavePicture(const TMyDib& picture, const std::string& path, std::string& error);

}  // namespace qj::cuttool
