#include "screens/UPictureChooser.h"

#include <algorithm>

#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/PictureLibrary.h"
#include "platform/PictureScale.h"
#include "platform/Surface.h"

namespace qj {
namespace {

constexpr int kHeaderHeight = 24;  // the folder's path above the cells
constexpr int kButtonBand = 50;    // the buttons lie over the bottom of the client area
constexpr int kGridLeft = 8;
constexpr int kButtonWidth = 120;
constexpr int kMaxWidth = 780, kMaxHeight = 560;

const TPixel kFolderBody = MakePixel(226, 180, 84);
const TPixel kFolderEdge = MakePixel(150, 110, 40);
const TPixel kPending = MakePixel(150, 150, 150);

// The text cut at the end (or, for paths, at the start) with "..." until it fits.
std::string Fitted(TCanvas& canvas, std::string text, int width, bool keepEnd) {
  if (canvas.TextWidth(text) <= width) return text;
  while (!text.empty() && canvas.TextWidth("..." + text) > width) text.erase(keepEnd ? text.begin() : text.end() - 1);
  return keepEnd ? "..." + text : text + "...";
}

std::string ParentFolder(const std::string& folder) {
  const size_t slash = folder.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return folder.substr(0, slash);
}

}  // namespace

// The window tells where it was pressed; the chooser finds the cell there.
class TChooserWindow : public TDXWindow {
 public:
  using TDXWindow::TDXWindow;
  void MouseDown(int button, int shift, int x, int y) override {
    const std::weak_ptr<const void> life = Life();
    TDXWindow::MouseDown(button, shift, x, y);
    if (!life.expired() && button == mbLeft && OnPress) OnPress(x, y);
  }
  std::function<void(int x, int y)> OnPress;
};

TPictureChooser::TPictureChooser(TInterface& screen, TChosenEvent onChosen) : FScreen(screen), OnChosen(std::move(onChosen)) {
  FWindow = &screen.AddOwnedControl<TChooserWindow>(EControlLayer::Overlay);
  FWindow->Setup(Lang(Text::ChooseAPictureToAdd), 0, 0, kMaxWidth, kMaxHeight, {.Style = 0, .Movable = false});
  FWindow->OnPress = [this](int x, int y) { PressAt(x, y); };
  FWindow->OnDblClick = [this](TDXControl*) { ChooseSelected(); };
  const auto button = [&](ETextId line, std::function<void()> action) {
    TDXButton& b = screen.AddOwnedControl<TDXButton>(EControlLayer::Overlay);
    const std::string& text = Lang(line);
    b.SetButton(text.substr(0, text.find('|')), 0, 0, kButtonWidth, b.FHeight, 0);
    b.FHintText = text;
    b.OnClick = [action](TDXControl*) { action(); };
    return &b;
  };
  FUp = button(Text::UpToTheFolderAbove, [this] { GoUp(); });
  FAdd = button(Text::AddTheChosenPicture, [this] { ChooseSelected(); });
  FCancel = button(Text::CancelAddNothing, [this] { Close(); });
  SetShown(false);
}

TPictureChooser::~TPictureChooser() = default;

void TPictureChooser::Open(const std::string& folder) {
  FFolder = folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
  FEntries.clear();
  for (const std::string& name : ListFolders(FFolder)) FEntries.push_back({name, FFolder + "/" + name, true});
  for (const std::string& path : ListPictures(FFolder)) FEntries.push_back({ExtractFileName(path), path, false});
  FSelected = -1;
  FTopRow = 0;
  Place();
  SetShown(true);
  FWindow->SetActive(true);
  Redraw();
}

void TPictureChooser::Close() { SetShown(false); }

bool TPictureChooser::Shown() const {
  const TMySprite* s = FWindow->FSprite.Get();
  return s && s->Visible;
}

void TPictureChooser::SetShown(bool shown) {
  for (TDXControl* c : {static_cast<TDXControl*>(FWindow), static_cast<TDXControl*>(FUp), static_cast<TDXControl*>(FAdd),
                        static_cast<TDXControl*>(FCancel)})
    if (TMySprite* s = c->FSprite.Get()) s->Visible = shown;
  if (!shown && ActiveWindow == FWindow) FWindow->SetActive(false);
}

bool TPictureChooser::Contains(int x, int y) const {
  return Shown() && x >= FWindow->FLeft && x < FWindow->FLeft + FWindow->FWidth && y >= FWindow->FTop &&
         y < FWindow->FTop + FWindow->FHeight;
}

// As large as the screen allows up to its own size, in the middle, the buttons along its bottom.
void TPictureChooser::Place() {
  const int width = FScreen.FEngine->FWidth, height = FScreen.FEngine->FHeight;
  FWindow->SetBounds(0, 0, std::min(kMaxWidth, width - 20), std::min(kMaxHeight, height - 20));
  FWindow->SetLeft((width - FWindow->FWidth) / 2);
  FWindow->SetTop((height - FWindow->FHeight) / 2);
  const int top = FWindow->FTop + FWindow->FHeight - FUp->FHeight - 16;
  FUp->SetBounds(FWindow->FLeft + 20, top, kButtonWidth, FUp->FHeight);
  FCancel->SetBounds(FWindow->FLeft + FWindow->FWidth - 20 - kButtonWidth, top, kButtonWidth, FCancel->FHeight);
  FAdd->SetBounds(FCancel->FLeft - 10 - kButtonWidth, top, kButtonWidth, FAdd->FHeight);
  for (TDXButton* b : {FUp, FAdd, FCancel}) b->Paint();
}

int TPictureChooser::Columns() const { return std::max(1, (FWindow->ClientWidth() - 2 * kGridLeft) / kCellWidth); }

int TPictureChooser::VisibleRows() const {
  return std::max(1, (FWindow->ClientHeight() - kHeaderHeight - kButtonBand) / kCellHeight);
}

// The cell under a point of the screen; -1 for none. The image fills the client area exactly.
int TPictureChooser::EntryAt(int x, int y) const {
  const int left = x - FWindow->FLeft - (FWindow->FWidth - FWindow->ClientWidth()) / 2 - kGridLeft;
  const int top = y - FWindow->FTop - FWindow->TitleHeight() - kHeaderHeight;
  if (left < 0 || top < 0 || left >= Columns() * kCellWidth || top >= VisibleRows() * kCellHeight) return -1;
  const int index = (FTopRow + top / kCellHeight) * Columns() + left / kCellWidth;
  return index < int(FEntries.size()) ? index : -1;
}

void TPictureChooser::PressAt(int x, int y) {
  const int index = EntryAt(x, y);
  if (index < 0) return;
  if (FEntries[size_t(index)].Folder) {
    Open(FEntries[size_t(index)].Path);
    return;
  }
  FSelected = index;
  Redraw();
}

void TPictureChooser::GoUp() {
  if (FFolder != "/") Open(ParentFolder(FFolder));
}

void TPictureChooser::ChooseSelected() {
  if (FSelected < 0 || FEntries[size_t(FSelected)].Folder) return;
  const std::string path = FEntries[size_t(FSelected)].Path;
  if (OnChosen) OnChosen(path);
}

void TPictureChooser::Scroll(int rows) {
  const int totalRows = (int(FEntries.size()) + Columns() - 1) / Columns();
  const int top = std::clamp(FTopRow + rows, 0, std::max(0, totalRows - VisibleRows()));
  if (top == FTopRow) return;
  FTopRow = top;
  Redraw();
}

// One thumbnail a frame keeps the screen moving while a folder of big photos fills in.
void TPictureChooser::Frame() {
  if (!Shown()) return;
  const size_t first = size_t(FTopRow * Columns());
  const size_t end = std::min(FEntries.size(), first + size_t(VisibleRows() * Columns()));
  for (size_t i = first; i < end; ++i) {
    TChooserEntry& e = FEntries[i];
    if (e.Folder || e.Tried) continue;
    e.Tried = true;
    std::string error;
    TMyDib thumb;
    if (LoadThumbnail(e.Path, kThumbWidth, thumb, error) && !thumb.Empty()) {
      if (thumb.Height() > kThumbHeight) {
        const int width = std::max(1, thumb.Width() * kThumbHeight / thumb.Height());
        static_cast<TPixelBuffer&>(thumb) = ScaleByArea(thumb, width, kThumbHeight);
      }
      e.Thumb = std::move(thumb);
    }
    Redraw();
    return;
  }
}

void TPictureChooser::Redraw() {
  TSurface image(FWindow->ClientWidth(), FWindow->ClientHeight());  // key colour: the window's background shows
  const TTheme& theme = CurrentTheme();
  TCanvas canvas(image);
  canvas.BrushClear = true;
  canvas.Font = {theme.FontName, theme.FontSize, theme.SayColor.ToPixel(), true};
  canvas.TextOut(kGridLeft, 4, Fitted(canvas, FFolder, image.Width() - 2 * kGridLeft, true));
  const int columns = Columns();
  const size_t first = size_t(FTopRow * columns);
  const size_t end = std::min(FEntries.size(), first + size_t(VisibleRows() * columns));
  for (size_t i = first; i < end; ++i) {
    const int slot = int(i - first);
    DrawCell(image, FEntries[i], kGridLeft + slot % columns * kCellWidth, kHeaderHeight + slot / columns * kCellHeight,
             int(i) == FSelected);
  }
  TMyDib shown(0, 0, 32);
  static_cast<TPixelBuffer&>(shown) = image;
  FWindow->SetImage(shown);
}

void TPictureChooser::DrawCell(TSurface& image, const TChooserEntry& entry, int left, int top, bool selected) const {
  const TTheme& theme = CurrentTheme();
  if (selected) image.FillRect(MakeRect(left + 2, top + 2, kCellWidth - 4, kCellHeight - 4), theme.SelectColor.ToPixel() | 1);
  const int boxLeft = left + (kCellWidth - kThumbWidth) / 2, boxTop = top + 6;
  if (entry.Folder) {
    image.FillRect(MakeRect(boxLeft + 20, boxTop + 14, 34, 12), kFolderEdge);
    image.FillRect(MakeRect(boxLeft + 20, boxTop + 22, 80, 60), kFolderEdge);
    image.FillRect(MakeRect(boxLeft + 22, boxTop + 24, 76, 56), kFolderBody);
  } else if (!entry.Thumb.Empty()) {
    BltFast(image, boxLeft + (kThumbWidth - entry.Thumb.Width()) / 2, boxTop + (kThumbHeight - entry.Thumb.Height()) / 2,
            entry.Thumb, false);
  } else {
    image.FillRect(MakeRect(boxLeft + 30, boxTop + 20, kThumbWidth - 60, kThumbHeight - 40), kPending);
  }
  TCanvas canvas(image);
  canvas.BrushClear = true;
  canvas.Font = {theme.FontName, theme.FontSize, theme.SayColor.ToPixel(), false};
  const std::string name = Fitted(canvas, entry.Name, kCellWidth - 8, false);
  canvas.TextOut(left + (kCellWidth - canvas.TextWidth(name)) / 2, boxTop + kThumbHeight + 6, name);
}

}  // namespace qj
