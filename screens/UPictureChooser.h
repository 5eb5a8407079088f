// The picture chooser: a window over the selector that walks the folders of the machine and
// shows the pictures of one folder as thumbnails, to pick one for the library. Thumbnails are
// made a few per frame for the cells in view, so a folder of many big photos opens at once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "controls/UButtons.h"
#include "controls/UWindows.h"
#include "platform/Dib.h"

namespace qj {

struct TChooserEntry {
  std::string Name;
  std::string Path;
  bool Folder = false;
  bool Tried = false;  // its thumbnail was made, or could not be
  TMyDib Thumb{};
};

class TChooserWindow;
class TSurface;

class TPictureChooser {
 public:
  using TChosenEvent = std::function<void(const std::string& path)>;
  static constexpr int kCellWidth = 136;
  static constexpr int kCellHeight = 124;
  static constexpr int kThumbWidth = 120;
  static constexpr int kThumbHeight = 90;

  // The window and its buttons become controls of the screen, above its other controls.
  TPictureChooser(TInterface& screen, TChosenEvent onChosen);
  ~TPictureChooser();
  TPictureChooser(const TPictureChooser&) = delete;
  TPictureChooser& operator=(const TPictureChooser&) = delete;

  // Shows the folder's subfolders and pictures; a folder that cannot be read shows empty.
  void Open(const std::string& folder);
  void Close();
  bool Shown() const;
  // Whether a point of the screen lies on the window.
  bool Contains(int x, int y) const;
  // Makes the next missing thumbnail of the cells in view.
  void Frame();
  // Rows of cells; positive shows later ones.
  void Scroll(int rows);
  // A press at a point of the screen: a folder opens, a picture becomes the chosen one.
  void PressAt(int x, int y);
  void GoUp();
  // Hands the chosen picture to OnChosen.
  void ChooseSelected();

  const std::string& Folder() const { return FFolder; }
  const std::vector<TChooserEntry>& Entries() const { return FEntries; }
  int Selected() const { return FSelected; }
  int TopRow() const { return FTopRow; }

 private:
  int Columns() const;
  int VisibleRows() const;
  int EntryAt(int x, int y) const;
  void Place();
  void Redraw();
  void DrawCell(TSurface& image, const TChooserEntry& entry, int left, int top, bool selected) const;
  void SetShown(bool shown);

  TInterface& FScreen;
  TChosenEvent OnChosen;
  TChooserWindow* FWindow = nullptr;
  TDXButton* FUp = nullptr;
  TDXButton* FAdd = nullptr;
  TDXButton* FCancel = nullptr;
  std::string FFolder;
  std::vector<TChooserEntry> FEntries;
  int FSelected = -1;
  int FTopRow = 0;
};

}  // namespace qj
