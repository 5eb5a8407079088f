// Index: rows and clashes; capturing keys; the mouse; painting.
#include "screens/UHotKeyEditor.h"

#include <algorithm>
#include <vector>

#include "controls/UHints.h"
#include "controls/UWindows.h"
#include "core/UTextIds.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Input.h"
#include "screens/ULabelPainting.h"

namespace qj {
namespace {

constexpr int kRowTop = 8, kRowHeight = 19;  // rows under the title band, leaving room for a note
constexpr int kListBottomMargin = 58;        // below the list: the conflict note and Defaults
constexpr int kSmallestListFont = 8;
constexpr int kNoteGap = 6;  // between the note under the list and what lies below it
const TPixel kWarning = MakePixel(235, 45, 45);

bool OneKeyRow(int row) {
  return row <= 2 || row == 13 || row == THotKeyEditor::kSpreadRow || row == THotKeyEditor::kSortRow ||
         row == THotKeyEditor::kStatisticsRow;
}

// The right-click key of a two-key row; none for a row of one key.
THotKey SecondKey(int row) { return OneKeyRow(row) ? THotKey{} : Options.Hotkeys[size_t(2 * row + 1)]; }

// The first fourteen rows are named in one block; rows added later have lines of their own.
ETextId RowName(int row) {
  if (row == kWholeTableHotkey / 2) return Text::WholeTableRow;
  if (row == THotKeyEditor::kSortRow) return Text::SortKeys;
  if (row == THotKeyEditor::kStatisticsRow) return Text::StatisticsKeys;
  if (row == THotKeyEditor::kUndoRow) return Text::UndoKeys;
  return row == THotKeyEditor::kSpreadRow ? Text::SpreadOutKeys : Text::HotKeyRowNames + row;
}

// What the two keys of a row do: the sides of a menu button, or undo and redo.
ETextId FirstKeyLabel(int row) { return row == THotKeyEditor::kUndoRow ? Text::UndoKeyLabel : Text::LeftClickKey; }
ETextId SecondKeyLabel(int row) { return row == THotKeyEditor::kUndoRow ? Text::RedoKeyLabel : Text::RightClickKey; }
ETextId CapturePrompt(int row, bool second) {
  if (OneKeyRow(row)) return Text::PressTheNewKey;
  if (row == THotKeyEditor::kUndoRow) return second ? Text::NowTheRedoKey : Text::PressTheUndoKey;
  return second ? Text::NowTheRightClickKey : Text::PressTheLeftClickKey;
}

bool ModifierOnly(uint16_t key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || (key >= 160 && key <= 165);
}

}  // namespace

void THotKeyEditor::Attach(TDXWindow* window, TDXHint* hint) {
  FWindow = window;
  FHint = hint;
  if (FHint) FHint->OnBeforeShow = [this](TDXControl*) { FHint->PlaceBeside(false); };
}

void THotKeyEditor::Reset() {
  FCapturing = FRowHighlighted = FRowClicked = FSecondKey = false;
  PointHintAt(-1);
}

// ---- Rows and clashes ----------------------------------------------------------------------------

std::string THotKeyEditor::RowText(int row) const {
  const auto [name, keys] = RowParts(row);
  return name + keys;
}

std::pair<std::string, std::string> THotKeyEditor::RowParts(int row) const {
  if (row < 0 || row >= kRows) return {};
  if (FCapturing && row == FRow) return {Lang(CapturePrompt(row, FSecondKey)), ""};
  std::string keys = HotKeyText(Options.Hotkeys[size_t(2 * row)]);
  if (!OneKeyRow(row)) keys += "," + HotKeyText(SecondKey(row));
  return {Lang(RowName(row)), " (" + keys + ")"};
}

std::string THotKeyEditor::RowHint(int row) const {
  if (row < 0 || row >= kRows) return {};
  const std::string first = HotKeyText(Options.Hotkeys[size_t(2 * row)]);
  if (OneKeyRow(row)) return Lang(RowName(row)) + "|" + Lang(Text::OneKey) + " " + first;
  return Lang(RowName(row)) + "|" + Lang(FirstKeyLabel(row)) + " " + first + ", " + Lang(SecondKeyLabel(row)) + " " +
         HotKeyText(SecondKey(row));
}

bool THotKeyEditor::RowConflicts(int row) const {
  const auto keysOf = [](int r) {
    std::vector<THotKey> keys = {Options.Hotkeys[size_t(2 * r)], SecondKey(r)};
    std::erase_if(keys, [](const THotKey& k) { return k.Key == 0; });
    return keys;
  };
  const std::vector<THotKey> mine = keysOf(row);
  for (int other = 0; other < kRows; ++other) {
    if (other == row) continue;
    for (const THotKey& k : keysOf(other))
      if (std::find(mine.begin(), mine.end(), k) != mine.end()) return true;
  }
  return false;
}

// ---- Capturing keys ------------------------------------------------------------------------------

void THotKeyEditor::StartCapture(int row) {
  if (row < 0 || row >= kRows) return;
  PointHintAt(-1);
  FRow = row;
  FRowHighlighted = true;
  FCapturing = true;
  FSecondKey = false;
  FCaptureOld = {Options.Hotkeys[size_t(2 * row)], SecondKey(row)};
  Repaint();
}

void THotKeyEditor::EndCapture() {
  FCapturing = FSecondKey = false;
  Repaint();
}

// Escape gives the row its old keys back; Shift, Ctrl and Alt alone wait for the key they go with.
void THotKeyEditor::CaptureKey(uint16_t key, int shift) {
  const size_t entry = size_t(2 * FRow);
  if (key == VK_ESCAPE) {
    Options.Hotkeys[entry] = FCaptureOld.first;
    if (!OneKeyRow(FRow)) Options.Hotkeys[entry + 1] = FCaptureOld.second;
    EndCapture();
    return;
  }
  if (ModifierOnly(key)) return;
  Options.Hotkeys[entry + (FSecondKey ? 1 : 0)] = THotKey{key, shift & (ssShift | ssAlt | ssCtrl)};
  if (FSecondKey || OneKeyRow(FRow)) {
    EndCapture();
    return;
  }
  FSecondKey = true;
  Repaint();
}

void THotKeyEditor::Defaults() {
  const std::string language = Options.LanguageFile;
  LoadDefaultHotkeys();
  Options.LanguageFile = language;
  EndCapture();
}

// ---- The mouse -----------------------------------------------------------------------------------

// The list's row under the point, or -1.
int THotKeyEditor::RowAt(int x, int y) const {
  const TDXWindow* w = FWindow;
  if (!w || x < w->FLeft || x >= w->FLeft + w->FWidth) return -1;
  const int listTop = w->FTop + w->TitleHeight() + kRowTop;
  if (y < listTop || y >= w->FTop + w->FHeight - kListBottomMargin) return -1;
  const int row = (y - listTop) / kRowHeight;
  return row < kRows ? row : -1;
}

void THotKeyEditor::MouseDown(int x, int y) { FRowClicked = FRowHighlighted && RowAt(x, y) == FRow; }

// A click on a highlighted row (press and release on it) waits for its keys.
void THotKeyEditor::MouseUp(int x, int y) {
  if (FRowClicked && FRowHighlighted && RowAt(x, y) == FRow) StartCapture(FRow);
  FRowClicked = false;
}

void THotKeyEditor::MouseMove(int x, int y) {
  if (FCapturing) return;
  const int row = RowAt(x, y);
  if (row < 0 ? !FRowHighlighted : FRowHighlighted && row == FRow) return;
  FRowHighlighted = row >= 0;
  if (row >= 0) FRow = row;
  PointHintAt(row);
  Repaint();
}

// The hint's hover zone is the row's band on the screen; none without a row.
void THotKeyEditor::PointHintAt(int row) {
  if (!FHint) return;
  FHint->HideHint();
  FHint->FHintZone = row >= 0 && FWindow;
  if (!FHint->FHintZone) return;
  const int top = FWindow->FTop + FWindow->TitleHeight() + kRowTop + kRowHeight * row;
  FHint->FHintRect = {FWindow->FLeft + 7, top, FWindow->FLeft + FWindow->FWidth - 7, top + kRowHeight};
  FHint->SetCaption(RowHint(row));
}

// ---- Painting ------------------------------------------------------------------------------------

void THotKeyEditor::Repaint() {
  if (FWindow) FWindow->Paint();
}

// Rows whose keys clash with another row's are written in the warning colour, with a note under
// the list. The font gets smaller until the longest row fits; a row still too long keeps its keys
// and loses the end of its name.
void THotKeyEditor::Paint(int below) {
  const TDXWindow& w = *FWindow;
  TCanvas canvas(*w.FSprite.Get()->Surfaces[WindowLayer::Client]);
  canvas.BrushClear = true;
  canvas.Font = LabelFont(CurrentTheme().FontSize);
  const int room = w.FWidth - 2 * 10;
  const auto widest = [&] {
    int width = 0;
    for (int row = 0; row < kRows; ++row) width = std::max(width, canvas.TextWidth(RowText(row)));
    return width;
  };
  for (int row = 0; row < kRows; ++row) FWindow->NoteText(MeasureTextRoom(canvas.Font, RowText(row), room, kRowHeight));
  while (canvas.Font.Size > kSmallestListFont && widest() > room) --canvas.Font.Size;
  const TPixel say = canvas.Font.Color, select = CurrentTheme().SelectColor.ToPixel();
  bool conflicts = false;
  for (int row = 0; row < kRows; ++row) {
    const TRect band = MakeRect(7, w.TitleHeight() + kRowTop + kRowHeight * row, w.FWidth - 14, kRowHeight);
    const bool capturing = FCapturing && row == FRow;
    if (capturing) canvas.FillRect(band, select);
    else if (FRowHighlighted && row == FRow) Outline(canvas, band, select);
    const bool clash = !capturing && RowConflicts(row);
    conflicts = conflicts || clash;
    canvas.Font.Color = clash ? kWarning : say;
    const auto [name, keys] = RowParts(row);
    const std::string text = Shorten(canvas, name, keys, room);
    canvas.TextOut(10, band.Top + (kRowHeight - canvas.TextHeight(text)) / 2, text);
  }
  const int noteTop = w.TitleHeight() + kRowTop + kRowHeight * kRows + 2;
  PaintNote(canvas, {10, noteTop, 10 + room, below - kNoteGap}, conflicts);
}

// Under the list, above the defaults button: while a key is awaited, the whole prompt (the row
// has room for its start only) and how to keep the old keys; otherwise the warning about keys used
// twice, if any are. The font gets smaller until the note fits; the advice on keeping the old keys
// goes first when it cannot; a prompt that still does not fit is left to its row, and the warning
// is cut to one line.
void THotKeyEditor::PaintNote(TCanvas& canvas, const TRect& room, bool conflicts) {
  if (!FCapturing && !conflicts) return;
  const std::string prompt = FCapturing ? RowParts(FRow).first : Lang(Text::KeyUsedTwice);
  canvas.Font.Color = FCapturing ? CurrentTheme().SayColor.ToPixel() : kWarning;
  const auto fits = [&](const std::vector<std::string>& lines) {
    return int(lines.size()) * canvas.TextHeight("Wg") <= room.Height();
  };
  const std::string whole = FCapturing ? prompt + " " + Lang(Text::EscapeKeepsTheOldKeys) : prompt;
  std::vector<std::string> lines = WrapWords(canvas, whole, room.Width());
  while (!fits(lines) && canvas.Font.Size > kSmallestListFont) {
    --canvas.Font.Size;
    lines = WrapWords(canvas, whole, room.Width());
  }
  if (!fits(lines)) lines = WrapWords(canvas, prompt, room.Width());
  if (!fits(lines) && FCapturing) return;
  if (!fits(lines)) lines = {Shorten(canvas, prompt, "", room.Width())};
  int y = room.Top;
  for (const std::string& line : lines) {
    canvas.TextOut(room.Left, y, line);
    y += canvas.TextHeight("Wg");
  }
}

}  // namespace qj
