// The finished puzzle shown as one picture: the seams and bevels of its joins give way to the
// picture itself, inside the puzzle's outline; the shadow around it stays.
#pragma once

namespace qj {

class TBPiece;
class TMyDib;

// `piece` is the one piece left; `picture` the picture as it was cut. Every orientation's bitmap
// is redrawn, so the piece stays whole when it is turned.
void ShowAsOnePicture(TBPiece& piece, const TMyDib& picture);

}  // namespace qj
