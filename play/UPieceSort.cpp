// Sorting the loose pieces into trays by edge and colour, and the trays' captions that follow
// from what they hold.
#include <algorithm>
#include <array>
#include <limits>
#include <string>

#include "controls/UTrayWindow.h"
#include "play/UPieceList.h"

namespace qj {
namespace {

constexpr int kEdgeTray = 1;
constexpr int kColourTrays = kTrayCount - kEdgeTray;
constexpr int kCellColumns = 3, kCellRows = 2;  // the room is shared out among the five trays
constexpr int kTrayGap = 8;
constexpr int kMaxInt = std::numeric_limits<int>::max();

// Tray t's share of the room: the top row holds trays 1 to 3, the bottom row 4 and 5.
TRect TrayCell(const TRect& room, int tray) {
  const int column = (tray - 1) % kCellColumns, row = (tray - 1) / kCellColumns;
  const int w = room.Width() / kCellColumns, h = room.Height() / kCellRows;
  return MakeRect(room.Left + column * w + kTrayGap / 2, room.Top + row * h + kTrayGap / 2, w - kTrayGap, h - kTrayGap);
}

bool OnBorder(const TBPiece& p, const TRect& bounds) {
  const TPoint tl = p.FBoxTopLeft[0], br = p.FBoxBottomRight[0];
  return tl.X <= bounds.Left || tl.Y <= bounds.Top || br.X >= bounds.Right || br.Y >= bounds.Bottom;
}

// Found once a piece: its picture does not change while it lives.
const TLab& MeanColour(const TBPiece& p) {
  if (!p.FMeanColour) p.FMeanColour = MeanLab(*p.Bitmap(p.FOrientation));
  return *p.FMeanColour;
}

struct TSortee {
  int Index;
  TLab Colour;
};

}  // namespace

bool TPieces::Sortable(const TBPiece& p) const {
  const bool carried = std::find(FSelection.begin(), FSelection.end(), &p) != FSelection.end();
  return p.FGroup == -1 && p.FMergeDepth == 0 && p.FState == PieceState::Free && !p.IsBusy() && !p.FDragging &&
         !carried && TPieceTrays::Fits(p) && p.Bitmap(p.FOrientation) != nullptr;
}

TRect TPieces::PictureBounds() const {
  TRect bounds{kMaxInt, kMaxInt, -kMaxInt, -kMaxInt};
  for (const auto& p : FPieces) {
    bounds.Left = std::min(bounds.Left, p->FBoxTopLeft[0].X);
    bounds.Top = std::min(bounds.Top, p->FBoxTopLeft[0].Y);
    bounds.Right = std::max(bounds.Right, p->FBoxBottomRight[0].X);
    bounds.Bottom = std::max(bounds.Bottom, p->FBoxBottomRight[0].Y);
  }
  return bounds;
}

bool TPieces::OnPictureBorder(const TBPiece& piece) const { return OnBorder(piece, PictureBounds()); }

TSortPlan TPieces::SortIntoTrays(const TRect& room) {
  TSortPlan plan = PlanSort(room);
  if (!plan.Moves.empty()) {
    std::vector<TBPiece*> moved;
    for (const TSortMove& m : plan.Moves) moved.push_back(&Piece(m.Piece));
    TUndoStep step = Capture(moved);
    for (const TSortPlan::TTrayPlace& t : plan.Trays) step.Trays.push_back({t.Tray, t.FromBounds, t.WasOpen});
    FHistory.Push(std::move(step));
  }
  ApplySort(plan);
  return plan;
}

// Edge pieces for tray 1, the rest clustered by colour for the trays after it; each tray's pieces
// from light to dark, laid out in the tray's share of the room.
TSortPlan TPieces::PlanSort(const TRect& room) const {
  const TRect bounds = PictureBounds();
  std::array<std::vector<TSortee>, kTrayCount + 1> trays;
  std::vector<TSortee> others;
  for (const auto& p : FPieces) {
    if (!Sortable(*p)) continue;
    (OnBorder(*p, bounds) ? trays[kEdgeTray] : others).push_back({p->FIndex, MeanColour(*p)});
  }
  std::vector<TLab> colours(others.size());
  std::transform(others.begin(), others.end(), colours.begin(), [](const TSortee& s) { return s.Colour; });
  const std::vector<int> cluster = ClusterColours(colours, kColourTrays);
  for (size_t i = 0; i < others.size(); ++i) trays[size_t(kEdgeTray + 1 + cluster[i])].push_back(others[i]);
  TSortPlan plan;
  const TDXTrayWindow* frame = Tray(kEdgeTray);
  if (!frame) return plan;
  const int insetW = frame->FInsetLeft + frame->FInsetRight, insetH = frame->FInsetTop + frame->FInsetBottom;
  for (int t = 1; t <= kTrayCount; ++t) {
    std::vector<TSortee>& members = trays[size_t(t)];
    if (members.empty()) continue;
    std::stable_sort(members.begin(), members.end(),
                     [](const TSortee& a, const TSortee& b) { return a.Colour.L > b.Colour.L; });
    std::vector<TPoint> sizes;
    for (const TSortee& m : members) sizes.push_back({Piece(m.Index).Width(), Piece(m.Index).Height()});
    const TRect cell = TrayCell(room, t);
    const TTrayLayout layout = LayOutTray(sizes, cell.Width() - insetW, cell.Height() - insetH);
    const int width = std::max(TDXTrayWindow::kMinWidth, layout.Width + insetW);
    const int height = std::max(TDXTrayWindow::kMinHeight, layout.Height + insetH);
    const int left = std::clamp(cell.Left, 0, std::max(0, kTableWidth - width));
    const int top = std::clamp(cell.Top, 0, std::max(0, kTableHeight - height));
    const TDXTrayWindow* tray = Tray(t);
    plan.Trays.push_back({t, MakeRect(left, top, width, height), tray->BoundsRect(), tray->WindowShown()});
    for (size_t k = 0; k < members.size(); ++k) {
      const TBPiece& p = Piece(members[k].Index);
      const TPoint to{left + frame->FInsetLeft + layout.Offsets[k].X, top + frame->FInsetTop + layout.Offsets[k].Y};
      plan.Moves.push_back({p.FIndex, p.FTray, uint32_t(t), p.FPosition, to});
    }
  }
  return plan;
}

// Each tray opens at its place first, so that its pieces show as they arrive; within a tray the
// pieces stack in the order of the moves.
void TPieces::ApplySort(const TSortPlan& plan) {
  for (const TSortPlan::TTrayPlace& place : plan.Trays) {
    TDXTrayWindow* tray = Tray(place.Tray);
    if (!tray) continue;
    tray->RestoreBounds(place.Bounds.Left, place.Bounds.Top, place.Bounds.Width(), place.Bounds.Height());
    tray->Open();
  }
  std::array<int, kTrayCount + 1> counts{}, placed{};
  for (const TSortMove& m : plan.Moves) ++counts[std::min<size_t>(m.ToTray, kTrayCount)];
  for (const TSortMove& m : plan.Moves) {
    TBPiece& p = Piece(m.Piece);
    if (!FTrays.Receive(p, int(m.ToTray))) continue;
    const TPieceBand band = BandOf(m.ToTray);
    const size_t t = m.ToTray;
    p.SetDepth(band.Low + (band.High - band.Low) * (placed[t]++ + 1) / (counts[t] + 1));
    p.SetPosition(m.To);
  }
  FSorted = true;
  CaptionTrays(true);
}

bool TPieces::TraysLookSorted() const {
  const TRect bounds = PictureBounds();
  bool edges = false;
  for (const auto& p : FPieces) {
    if (p->FTray == 0) continue;
    const bool border = OnBorder(*p, bounds);
    if ((p->FTray == uint32_t(kEdgeTray)) != border) return false;
    edges |= border;
  }
  return edges;
}

void TPieces::CaptionTrays(bool sorted) {
  const TRect bounds = PictureBounds();
  std::array<std::vector<TLab>, kTrayCount + 1> colours;
  std::array<bool, kTrayCount + 1> edgesOnly{}, holdsEdge{};
  edgesOnly.fill(true);
  for (const auto& p : FPieces) {
    if (p->FTray == 0 || p->FTray > uint32_t(kTrayCount)) continue;
    const bool border = OnBorder(*p, bounds);
    edgesOnly[p->FTray] = edgesOnly[p->FTray] && border;
    holdsEdge[p->FTray] = holdsEdge[p->FTray] || border;
    if (p->Bitmap(p->FOrientation)) colours[p->FTray].push_back(MeanColour(*p));
  }
  std::array<std::string, kTrayCount + 1> wanted;  // empty: the tray's number
  if (!colours[kEdgeTray].empty() && edgesOnly[kEdgeTray]) wanted[kEdgeTray] = TextKey(Text::EdgesCaption);
  std::vector<int> coloured;
  std::vector<TLab> means;
  for (int t = kEdgeTray + 1; t <= kTrayCount; ++t) {
    if (!sorted || colours[size_t(t)].empty() || holdsEdge[size_t(t)]) continue;
    coloured.push_back(t);
    means.push_back(MeanOf(colours[size_t(t)]));
  }
  const std::vector<std::string> captions = ColourCaptions(means);
  for (size_t i = 0; i < coloured.size(); ++i) wanted[size_t(coloured[i])] = captions[i];
  for (int t = 1; t <= kTrayCount; ++t) {
    TDXTrayWindow* tray = Tray(t);
    if (!tray) continue;
    if (wanted[size_t(t)].empty()) tray->SetTrayNumber(t);
    else if (tray->FCaption != wanted[size_t(t)]) tray->SetCaption(wanted[size_t(t)]);
  }
}

}  // namespace qj
