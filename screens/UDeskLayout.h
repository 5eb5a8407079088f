// Where the selector's thumbnail windows go on the desk: rows that fill the view, a page of rows
// to the right of a full one, a free place for a new window, and windows pulled back into view.
#pragma once

#include <vector>

#include "platform/Geometry.h"

namespace qj {

// Room left between windows and around the rows.
constexpr int kDeskGap = 10;

// The top left corner of each window of these sizes, in their order: rows from the view's top
// left, each as full as the view's width allows; a row that would reach below the view starts
// the next page, one view width to the right. A window wider than the view has a row of its own.
std::vector<TPoint> ArrangeInRows(const std::vector<TPoint>& sizes, const TRect& view);

// The window moved by the least distance to lie in the view; one larger than the view keeps to
// its top left corner.
TPoint IntoView(const TRect& window, const TRect& view);

// The first place in reading order where a window of this size lies in the view over none of the
// others (kDeskGap apart); without one, the view's top left corner.
TPoint FreePlace(TPoint size, const std::vector<TRect>& others, const TRect& view);

}  // namespace qj
