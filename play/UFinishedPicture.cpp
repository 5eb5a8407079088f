#include "play/UFinishedPicture.h"

#include <algorithm>

#include "creation/UGreyMap.h"
#include "play/UPiece.h"
#include "play/UPieceList.h"
#include "platform/Dib.h"

namespace qj {
namespace {

// Black is transparent on the table: the darkest picture pixels are lifted as the cutter lifts
// them.
constexpr TPixel kDarkBits = 0x00F8F8F8;
constexpr TPixel kLiftedBlack = 0x00080808;

// Every opaque pixel of `image` takes the pixel of `source` under it; `origin` is where the
// image's top-left corner lies in the source. Transparent and shadow pixels stay.
void Repaint(TMyDib& image, const TPixelBuffer& source, TPoint origin) {
  const int x0 = std::max(0, -origin.X), x1 = std::min(image.Width(), source.Width() - origin.X);
  const int y0 = std::max(0, -origin.Y), y1 = std::min(image.Height(), source.Height() - origin.Y);
  for (int y = y0; y < y1; ++y) {
    TPixel* d = image.Row(y);
    const TPixel* s = source.Row(y + origin.Y) + origin.X;
    for (int x = x0; x < x1; ++x) {
      const TPixel p = s[x] & kRgbMask;
      if ((d[x] & kRgbMask) != 0 && p != 0) d[x] = (p & kDarkBits) != 0 ? p : kLiftedBlack;
    }
  }
  image.MarkChanged();
}

}  // namespace

// Upright, the piece's bitmap starts PieceMargin() pixels before its box in the picture; turned
// bitmaps are the upright one turned (their shadows fall to the same side on screen, so only
// their opaque pixels are taken from it).
void ShowAsOnePicture(TBPiece& piece, const TMyDib& picture) {
  TMyDib* upright = piece.MutableBitmap(0);
  if (!upright) return;
  const int margin = PieceMargin();
  Repaint(*upright, picture, {piece.FBoxTopLeft[0].X - margin, piece.FBoxTopLeft[0].Y - margin});
  TPixelBuffer turned;
  for (int o = 1; o <= TPieces::OrientationHigh(); ++o) {
    TMyDib* image = piece.MutableBitmap(o);
    if (!image) continue;
    TurnInto(*upright, o, turned);
    if (turned.Width() == image->Width() && turned.Height() == image->Height()) Repaint(*image, turned, {0, 0});
  }
  piece.ReloadImage();
}

}  // namespace qj
