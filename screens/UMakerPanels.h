// What the puzzle maker paints itself: text rows for its small windows and the previews of the
// piece shapes on their buttons.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/Dib.h"
#include "platform/Geometry.h"

namespace qj {

class TDXControl;
class TSplineDraw;

// Whether the control's sprite is shown; showing or hiding it (nothing without a sprite).
bool Shown(const TDXControl* c);
void SetShown(TDXControl* c, bool shown);

struct TTextRow {
  int X = 0;
  int Y = 0;
  std::string Text;
};

// The rows in the theme's font and text colour on a key-coloured image of the given size.
TMyDib TextImage(int width, int height, const std::vector<TTextRow>& rows, int fontSize);
// The largest size, up to `largest`, at which every line is at most `width` pixels wide; never
// under the smallest size that still reads.
int FittingFontSize(const std::vector<std::string>& lines, int width, int largest, bool bold = false);
int TextWidthAt(const std::string& text, int fontSize, bool bold = false);
int TextHeightAt(int fontSize);
// Label and value on one line where they fit, else the value right-aligned on the line below;
// the font (`size`, the largest wanted on entry) shrinks until the rows fit the height.
std::vector<TTextRow> LabelledRows(const std::vector<std::string>& labels, const std::vector<std::string>& values,
                                   int width, int height, int& size);
// The format with "%1", "%2", ... replaced by the values in order.
std::string Filled(const std::string& format, std::initializer_list<std::string> values);
// Why a file could not be written (an errno value), in the player's language.
std::string SaveFailureCause(int error);
// The maker's preview: the picture with the cut lines (white over black, any grey a partly covered
// line, both at the same size) over it, lines kept bright however far the picture is shrunk, and
// the picture outside `covered` darkened.
TMyDib ComposePreview(const TPixelBuffer& picture, const TPixelBuffer& lines, TRect covered);
// The text in light letters on a dark plate, legible on any theme's frame.
TMyDib LabelPlate(const std::string& text, int fontSize);
// The image turned a quarter to the left (read from the bottom up).
TMyDib TurnedLeft(const TMyDib& image);
// The image's pixels that are not the key (black) onto `target` at (x, y), clipped.
void BlitKeyed(TMyDib& target, const TMyDib& image, int x, int y);
// A frame of two pixels in the theme's selection colour around a key-coloured inside.
TMyDib SelectionFrame(int width, int height);
// The shape drawn once across a 110 x 35 black image, dark with a white line over it.
TMyDib ShapePreview(const TSplineDraw& shape, int shapeSet);

}  // namespace qj
