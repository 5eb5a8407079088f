// How the screen shows the play table: 1:1 under the scroll offset, or the whole table reduced
// to fit the screen. The reduction maps whole table pixels onto screen pixels, so a screen pixel
// stands for a box of table pixels and a point taken from the screen lands inside its box.
#pragma once

#include "platform/Geometry.h"

namespace qj {

class TTableView {
 public:
  TTableView() = default;
  // The table of tableW x tableH fitted into a screen of screenW x screenH, centred, keeping its
  // proportions and never enlarged.
  static TTableView Fit(int tableW, int tableH, int screenW, int screenH);

  // The middle table pixel of the box the screen pixel shows (points off the table follow the
  // same scale), and back: the screen pixel whose box holds the table pixel.
  TPoint ToTable(TPoint screen) const;
  TPoint ToScreen(TPoint table) const;
  // Where the table lies on the screen.
  TRect ScreenRect() const { return MakeRect(FLeft, FTop, FWidth, FHeight); }
  int TableWidth() const { return FTableW; }
  int TableHeight() const { return FTableH; }
  double Scale() const { return FTableW > 0 ? double(FWidth) / FTableW : 1.0; }
  bool operator==(const TTableView&) const = default;

  // The first table column (row) that reduces to the reduced column (row) d, 0 <= d <= width
  // (height); at d = width (height) it is the table's width (height).
  int FirstColumn(int d) const { return First(d, FWidth, FTableW); }
  int FirstRow(int d) const { return First(d, FHeight, FTableH); }
  // The reduced column (row) table column (row) t falls in.
  int ColumnOf(int t) const { return Reduced(t, FWidth, FTableW); }
  int RowOf(int t) const { return Reduced(t, FHeight, FTableH); }

 private:
  static int First(int d, int reduced, int table);
  static int Reduced(int t, int reduced, int table);

  int FTableW = 0, FTableH = 0;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;  // the reduced table on the screen
};

}  // namespace qj
