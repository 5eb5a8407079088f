// The images of one piece: its picture cut out of the puzzle, turned, with a drop shadow and
// a bevel light, finished into the 32-bit images the board shows.
#pragma once

#include "creation/UCutPiece.h"
#include "platform/Dib.h"

namespace qj {

// Cuts the piece out: its picture (black outside) and mask with a margin of 2 * shadowSize + 2
// on every side, from its region in the label map; widens the box to Home[0] = (x1 - 1, y1 - 1),
// Far[0] = (x2 + 3, y2 + 3).
void ExtractPiece(TPiece& piece, const TMyDib& labelMap, const TMyDib& cutPicture, int shadowSize);
// Where a point of the upright box lies in orientation `turn` (1..3): w x h is the piece's
// upright bitmap, mapW x mapH the cut picture. Turned boxes keep these turned corners.
TPoint TurnedCorner(TPoint p, int turn, int w, int h, int mapW, int mapH);
// Orientations 1..3 of picture and mask; Home and Far for them (labelMap is mapWidth x mapHeight).
void TurnPiece(TPiece& piece, int mapWidth, int mapHeight);
// Drop shadow per orientation: the mask moved shadowSize - 1 right and down, blurred, cut away
// under the piece.
void MakeShadows(TPiece& piece, int shadowSize, int maxOrientation);
// Edge light from the top left of the screen in every orientation; builds Images
// (UPieceBevel.cpp).
void MakeBevel(TPiece& piece, int bevelStrength, int maxOrientation);
// Near-black inside the piece lifted to (8, 8, 8); the shadow density into the alpha byte.
void FinishImages(TPiece& piece, int maxOrientation);

}  // namespace qj
