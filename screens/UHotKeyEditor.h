// The hot-key list of the options screen: rows of one or two keys, a clicked row waits
// for its keys, keys that two rows share are written in the warning colour, and the row under
// the mouse tells in a hint what it is and which key does what.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "core/UMiscelaneous.h"

namespace qj {

class TCanvas;
class TDXHint;
class TDXWindow;
struct TRect;

class THotKeyEditor {
 public:
  static constexpr int kRows = kHotkeyCount / 2;
  // The row of the one hot key that spreads the pieces out, past the menu buttons' rows.
  static constexpr int kSpreadRow = kSpreadOutHotkey / 2;
  // The row of the one hot key that sorts the pieces into trays.
  static constexpr int kSortRow = kSortHotkey / 2;
  // The row of the one hot key that opens and closes the statistics window.
  static constexpr int kStatisticsRow = kStatisticsHotkey / 2;
  // The row whose first key undoes and second key redoes.
  static constexpr int kUndoRow = kUndoHotkey / 2;

  // The window whose client area holds the list, and the hint for its rows; null while the screen
  // is not shown, when the editor neither paints nor finds rows under the mouse.
  void Attach(TDXWindow* window, TDXHint* hint);
  TDXHint* Hint() const { return FHint; }
  // The row's whole name and what its keys do: "caption|text" as hints take it.
  std::string RowHint(int row) const;
  // No row highlighted, none waiting for keys.
  void Reset();

  // The row as shown: its name and its keys (" (F12)"); while the row awaits a key, the prompt alone.
  std::pair<std::string, std::string> RowParts(int row) const;
  std::string RowText(int row) const;
  // Whether a key of the row is also a key of another row.
  bool RowConflicts(int row) const;
  // Waits for the keys of a row, as a click on the highlighted row does.
  void StartCapture(int row);
  bool Capturing() const { return FCapturing; }
  int HighlightedRow() const { return FRowHighlighted ? FRow : -1; }
  // A key released while the row waits.
  void CaptureKey(uint16_t key, int shift);
  // The default keys again; the language stays the player's.
  void Defaults();

  // The mouse on the screen, in screen coordinates: a row under it is highlighted.
  void MouseDown(int x, int y);
  void MouseUp(int x, int y);
  void MouseMove(int x, int y);

  // Paints the list onto the window's client area; the note under it keeps clear of `below`, the
  // top of what lies under the list, in the client area's coordinates.
  void Paint(int below);

 private:
  int RowAt(int x, int y) const;
  void EndCapture();
  void Repaint();
  void PointHintAt(int row);
  void PaintNote(TCanvas& canvas, const TRect& room, bool conflicts);

  TDXWindow* FWindow = nullptr;
  TDXHint* FHint = nullptr;
  int FRow = 0;
  bool FRowHighlighted = false;
  bool FCapturing = false;
  bool FSecondKey = false;
  bool FRowClicked = false;
  std::pair<THotKey, THotKey> FCaptureOld;  // the row's keys before the capture
};

}  // namespace qj
