#include "screens/UDeskLayout.h"

#include <algorithm>

namespace qj {
namespace {

// The places a free window is tried at: this many pixels apart, so a desk of many windows is
// searched quickly.
constexpr int kSearchStep = 8;

bool Overlaps(const TRect& a, const TRect& b) {
  return a.Left < b.Right + kDeskGap && b.Left < a.Right + kDeskGap && a.Top < b.Bottom + kDeskGap &&
         b.Top < a.Bottom + kDeskGap;
}

}  // namespace

std::vector<TPoint> ArrangeInRows(const std::vector<TPoint>& sizes, const TRect& view) {
  std::vector<TPoint> places;
  int pageLeft = view.Left, x = pageLeft, y = view.Top, rowHeight = 0;
  for (const TPoint& size : sizes) {
    if (x > pageLeft && x + size.X > view.Right) {  // the row is full
      x = pageLeft;
      y += rowHeight + kDeskGap;
      rowHeight = 0;
    }
    if (y > view.Top && y + size.Y > view.Bottom) {  // the page is full
      pageLeft += view.Width();
      x = pageLeft;
      y = view.Top;
    }
    places.push_back({x, y});
    x += size.X + kDeskGap;
    rowHeight = std::max(rowHeight, size.Y);
  }
  return places;
}

TPoint IntoView(const TRect& window, const TRect& view) {
  const int left = std::max(view.Left, std::min(window.Left, view.Right - window.Width()));
  const int top = std::max(view.Top, std::min(window.Top, view.Bottom - window.Height()));
  return {left, top};
}

TPoint FreePlace(TPoint size, const std::vector<TRect>& others, const TRect& view) {
  for (int y = view.Top; y + size.Y <= view.Bottom; y += kSearchStep)
    for (int x = view.Left; x + size.X <= view.Right; x += kSearchStep) {
      const TRect place = MakeRect(x, y, size.X, size.Y);
      if (std::none_of(others.begin(), others.end(), [&](const TRect& o) { return Overlaps(place, o); }))
        return {x, y};
    }
  return {view.Left, view.Top};
}

}  // namespace qj
