// One picture per theme showing its widgets assembled the way the game assembles them.
#include "tools/datagen/Preview.h"

namespace qj::datagen {
namespace {

// Nearest-neighbour copy of `src` part `from` into `to`, skipping the transparent colour.
void StretchKeyed(TMyDib& dst, const TMyDib& src, TRect from, TRect to) {
  if (from.Width() <= 0 || from.Height() <= 0) return;
  for (int y = std::max(to.Top, 0); y < std::min(to.Bottom, dst.Height()); ++y) {
    const TPixel* s = src.Row(from.Top + (y - to.Top) * from.Height() / to.Height());
    TPixel* d = dst.Row(y);
    for (int x = std::max(to.Left, 0); x < std::min(to.Right, dst.Width()); ++x) {
      TPixel p = s[from.Left + (x - to.Left) * from.Width() / to.Width()];
      if (p & kRgbMask) d[x] = p;
    }
  }
}

void BlitKeyed(TMyDib& dst, const TMyDib& src, int x, int y) {
  StretchKeyed(dst, src, src.Bounds(), MakeRect(x, y, src.Width(), src.Height()));
}

// The nine-piece window: corners keep their size, edges and client stretch between them.
void Window(TMyDib& dst, const TWindowStyleArt& s, int x, int y, int w, int h, bool active) {
  const TMyDib& f = active ? s.Active : s.Inactive;
  const std::vector<TRect>& r = s.Rects;
  const int iw = f.Width(), ih = f.Height();
  const TRect& c = r[8];
  StretchKeyed(dst, s.Client, s.Client.Bounds(), {x + c.Left, y + c.Top, x + w - iw + c.Right, y + h - ih + c.Bottom});
  auto put = [&](int k, int l, int t, int rr, int b) { StretchKeyed(dst, f, r[k], {x + l, y + t, x + rr, y + b}); };
  put(0, 0, 0, r[0].Width(), r[0].Height());
  put(1, r[1].Left, r[1].Top, w - (iw - r[2].Left), r[1].Bottom);
  put(2, w - (iw - r[2].Left), 0, w, r[2].Height());
  put(3, r[3].Left, r[3].Top, r[3].Right, h - (ih - r[5].Top));
  put(4, w - iw + r[4].Left, r[4].Top, w - iw + r[4].Right, h - (ih - r[7].Top));
  put(5, 0, h - (ih - r[5].Top), r[5].Width(), h);
  put(6, r[6].Left, h - ih + r[6].Top, w - (iw - r[7].Left), h - ih + r[6].Bottom);
  put(7, w - (iw - r[7].Left), h - (ih - r[7].Top), w, h);
}

// A horizontal bar as the game paints it; a vertical one with the axes exchanged.
void Bar(TMyDib& dst, const std::vector<TMyDib>& im, int x, int y, int len, bool vertical, bool held) {
  const TMyDib &back = im[held ? 4 : 0], &fwd = im[1], &track = im[2], &thumb = im[held ? 6 : 3];
  if (!vertical) {
    int la = back.Width(), ra = fwd.Width();
    StretchKeyed(dst, track, track.Bounds(), {x + la, y, x + len - la, y + track.Height()});
    BlitKeyed(dst, back, x, y);
    BlitKeyed(dst, fwd, x + len - ra, y);
    BlitKeyed(dst, thumb, x + la + (len - la - ra - thumb.Width()) / 3, y);
  } else {
    int la = back.Height(), ra = fwd.Height();
    StretchKeyed(dst, track, track.Bounds(), {x, y + la, x + track.Width(), y + len - la});
    BlitKeyed(dst, back, x, y);
    BlitKeyed(dst, fwd, x, y + len - ra);
    BlitKeyed(dst, thumb, x, y + la + (len - la - ra - thumb.Height()) * 2 / 3);
  }
}

}  // namespace

TMyDib ComposePreview(const TControlArt& a, const TMyDib& table) {
  TMyDib p(1024, 768, 24);
  StretchKeyed(p, table, MakeRect(0, 0, 1024, 768), p.Bounds());
  Window(p, a.Large, 20, 20, 480, 330, true);
  Window(p, a.Large, 520, 20, 300, 200, false);
  Window(p, a.Small, 840, 20, 164, 130, false);
  Window(p, a.Small, 840, 170, 164, 110, true);
  for (size_t i = 0; i < a.Buttons.size(); ++i) BlitKeyed(p, a.Buttons[i], 40 + int(i) * 140, 380);
  StretchKeyed(p, a.Buttons[0], a.Buttons[0].Bounds(), MakeRect(40, 420, 200, 34));
  StretchKeyed(p, a.Buttons[0], a.Buttons[0].Bounds(), MakeRect(260, 420, 70, 20));
  for (size_t i = 0; i < a.Checks.size(); ++i) BlitKeyed(p, a.Checks[i], 360 + int(i) * 28, 424);
  Bar(p, a.HLarge, 40, 480, 420, false, false);
  Bar(p, a.HLarge, 40, 515, 420, false, true);
  Bar(p, a.HSmall, 40, 550, 300, false, false);
  Bar(p, a.VLarge, 480, 470, 260, true, false);
  for (size_t i = 0; i < 3; ++i) BlitKeyed(p, a.Hints[i], 530, 300 + int(i) * 64);
  for (size_t i = 3; i < 6; ++i) BlitKeyed(p, a.Hints[i], 560, 310 + int(i) * 64);
  for (size_t i = 0; i < 4; ++i) BlitKeyed(p, a.Trays[i], 40 + int(i) * 52, 600);
  BlitKeyed(p, a.Trays[4], 260, 606);
  BlitKeyed(p, a.Trays[5], 282, 606);
  return p;
}

}  // namespace qj::datagen
