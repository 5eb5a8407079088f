// Turning the cut map into pieces: regions between the lines, the lines absorbed into them,
// and which pieces touch.
#pragma once

#include "creation/UCutPiece.h"
#include "platform/Dib.h"

namespace qj {

constexpr TPixel kCutLine = 0xFFFFFF;

// Labels every black region of `map` (cut lines white) with its piece's index + 1, found in
// column order (x outer, y inner, from 1); absorbs the line pixels into the most frequent
// neighbouring label; sets every piece's box (Home[0]..Far[0] hold min and max until the
// cutter widens them) and drops one-pixel specks. Returns the highest label handed out.
// Throws std::runtime_error when the regions run out of label values.
int LabelPieces(TMyDib& map, TPieceList& pieces);

// Neighbour lists from the label map: pieces with more than six four-neighbour contacts
// between inner pixels (1..width-2 x 1..height-2) are neighbours; lists come out ascending.
void FindNeighbours(const TMyDib& map, TPieceList& pieces);

}  // namespace qj
