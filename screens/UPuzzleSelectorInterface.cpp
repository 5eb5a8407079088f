// The puzzle selector: building the desk, the windows' places, choosing and the buttons.
#include "screens/UPuzzleSelectorInterface.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <stdexcept>

#include "core/UFailureText.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"
#include "platform/UserFolders.h"
#include "screens/UDeskLayout.h"
#include "screens/UPictureLibrary.h"
#include "screens/USelectorLayout.h"

namespace qj {
namespace {

constexpr const char* kLayoutFile = "Jigsaws/PuzzleSelecterInfo.inf";
constexpr int kButtonWidth = 120;
constexpr int kBottomMargin = 45;
constexpr int kDeskTop = 64;  // below the scroll arrows, which would cover the first title
constexpr int kArrowWidth = 70, kArrowHeight = 20, kArrowMargin = 7;
constexpr int kCaptionRoom = 36;  // a button's caption keeps clear of its rounded ends
constexpr uint32_t kPulseMs = 50;
constexpr int kHelpTopic = 1;

// The picture a puzzle hides shows this instead; a theme without it gets a plain grey card.
TMyDib HiddenPicture() {
  TMyDib image;
  try {
    std::vector<std::string> block;
    ReadOptionsBlock("PuzzleSelector", block);
    if (!block.empty() && image.LoadFromFile(ThemedFileName(block[0]))) return image;
  } catch (const ELayoutError& e) {
    LogError("%s", e.what());
  }
  image = TMyDib(TDXThumbWindow::kPictureWidth, 150, 32);
  image.Fill(MakePixel(96, 96, 104));
  return image;
}

bool Contains(const TDXControl& c, int x, int y) {
  return x >= c.FLeft && x < c.FLeft + c.FWidth && y >= c.FTop && y < c.FTop + c.FHeight;
}

}  // namespace

TPuzzleSelectorInterface::~TPuzzleSelectorInterface() = default;

// ---- Entering and leaving ----------------------------------------------------------------------

void TPuzzleSelectorInterface::Enter() {
  TInterface::Enter();
  FScrollOffset = 0;
  FHiddenImage = HiddenPicture();
  BuildDesk();
  ScanLibrary();
  BuildButtons();
  BuildConfirmation();
  FChooser = std::make_unique<TPictureChooser>(*this, [this](const std::string& path) { AddChosenPicture(path); });
  PlaceButtons();
  ChooseInitialThumb();
}

void TPuzzleSelectorInterface::Leave() {
  if (FDone) return;
  SaveLayout();
  if (ActiveWindow && std::any_of(FThumbs.begin(), FThumbs.end(), [](const TOwnedControl& t) { return t.get() == ActiveWindow; }))
    ActiveWindow = nullptr;
  // A thumbnail whose double click left the screen is still running its handler.
  for (TOwnedControl& thumb : FThumbs) RetireControl(std::move(thumb));
  FThumbs.clear();
  FChooser.reset();
  FButtons.fill(nullptr);
  FDesk = FConfirmWindow = nullptr;
  TInterface::Leave();
}

// The library is read with its progress shown; a picture that cannot be shown is left out, and
// of pictures sharing a name (Sunset.jpg and sunset.bmp) only the first owns its puzzle file,
// saved game and scores.
void TPuzzleSelectorInterface::ScanLibrary() {
  const std::vector<std::string> pictures = LibraryPictures();
  const int64_t total = int64_t(pictures.size());
  std::set<std::string> names;
  for (size_t i = 0; i < pictures.size(); ++i) {
    if (OnProgress) OnProgress(Text::LoadingPleaseWait, int64_t(i), total);
    const bool taken = !names.insert(Lower(ChangeFileExt(pictures[i], ""))).second;
    (void)AddThumb(pictures[i], taken);
  }
  if (OnProgress) OnProgress(Text::LoadingPleaseWait, total, total);
  ApplyLayout();
}

bool TPuzzleSelectorInterface::AddThumb(const std::string& path, bool nameTaken) {
  auto* thumb = new TDXThumbWindow(this);
  FThumbs.emplace_back(thumb);
  const TRect view = DeskView();
  thumb->Setup("", view.Left, view.Top, 220, 200, {.Style = 1, .TitleFontSize = 10});
  std::string error;
  bool loaded = false;
  try {
    loaded = thumb->Load(path, FHiddenImage, nameTaken, error);
  } catch (const std::exception& e) {
    error = path + ": " + e.what();
  }
  if (!loaded) {
    LogError("%s", error.c_str());
    FThumbs.pop_back();
    return false;
  }
  thumb->OnMouseDown = [this, thumb](TDXControl*) {
    FPressedThumb = thumb;
    FPressedAt = {thumb->FLeft, thumb->FTop};
  };
  thumb->OnMouseUp = [this, thumb](TDXControl*) {
    ThumbReleased(*thumb);
    if (auto* active = dynamic_cast<TDXThumbWindow*>(ActiveWindow)) Select(*active);
  };
  thumb->OnDblClick = [this](TDXControl*) { PressPlay(); };
  return true;
}

// The places of the last visit, in the order they were stacked; pictures new since then find a
// free place, or their place in the rows when the others lie as Arrange left them. At the first
// visit the windows start out arranged rather than strewn over each other. Whatever the size of
// the window was then, every window comes into view.
void TPuzzleSelectorInterface::ApplyLayout() {
  if (!FileExists(UserPath(kLayoutFile))) {
    PressArrange();
    return;
  }
  std::vector<TDXThumbWindow*> unlisted = ThumbsByName();
  for (const TThumbPlace& place : ReadSelectorLayout(UserPath(kLayoutFile)))
    if (TDXThumbWindow* thumb = ThumbOf(place.Path)) {
      thumb->SetLeft(place.Left);
      thumb->SetTop(place.Top);
      RaiseToTop(*thumb);
      std::erase(unlisted, thumb);
    }
  std::vector<TDXThumbWindow*> listed = ThumbsByName();
  std::erase_if(listed, [&](const TDXThumbWindow* t) { return std::find(unlisted.begin(), unlisted.end(), t) != unlisted.end(); });
  const std::vector<TPoint> rows = RowPlaces(listed);
  FArranged = true;
  for (size_t i = 0; i < listed.size() && FArranged; ++i)
    FArranged = listed[i]->FLeft == rows[i].X && listed[i]->FTop == rows[i].Y;
  if (!FArranged) PlaceUnlisted(unlisted);
  Reflow();
}

// Each window in the first free place in view, beside the others.
void TPuzzleSelectorInterface::PlaceUnlisted(const std::vector<TDXThumbWindow*>& unlisted) {
  std::vector<TRect> taken;
  for (size_t i = 0; i < FThumbs.size(); ++i)
    if (std::find(unlisted.begin(), unlisted.end(), &Thumb(i)) == unlisted.end()) taken.push_back(Thumb(i).BoundsRect());
  for (TDXThumbWindow* thumb : unlisted) {
    const TPoint at = FreePlace({thumb->FWidth, thumb->FHeight}, taken, DeskView());
    thumb->SetLeft(at.X);
    thumb->SetTop(at.Y);
    taken.push_back(thumb->BoundsRect());
  }
}

// Lowest first, in desk coordinates. A library folder that cannot be written only loses the
// places.
void TPuzzleSelectorInterface::SaveLayout() const {
  std::vector<TThumbPlace> places;
  for (const TDXThumbWindow* thumb : ThumbsByDepth())
    places.push_back({thumb->FPath, thumb->FLeft + FScrollOffset, thumb->FTop, thumb->FWidth});
  if (!WriteSelectorLayout(UserPath(kLayoutFile), places))
    LogError("the places of the pictures are not kept: %s: %s", UserPath(kLayoutFile).c_str(), std::strerror(errno));
}

// A picture just added to the library, or one already there, comes to the top, chosen.
void TPuzzleSelectorInterface::ShowPicture(const std::string& path) {
  if (FDone) return;
  TDXThumbWindow* thumb = ThumbOf(path);
  if (!thumb) {
    const std::string name = ChangeFileExt(path, "");
    const bool taken = std::any_of(FThumbs.begin(), FThumbs.end(), [&](const TOwnedControl& t) {
      return SameName(ChangeFileExt(static_cast<TDXThumbWindow&>(*t).FPath, ""), name);
    });
    if (!AddThumb(path, taken)) return;
    thumb = &Thumb(FThumbs.size() - 1);
    PlaceNewThumb(*thumb);
  }
  ScrollToShow(*thumb);
  RaiseToTop(*thumb);
  Select(*thumb);
}

// Into its place in the rows when the desk is arranged, else into the first free place in view.
void TPuzzleSelectorInterface::PlaceNewThumb(TDXThumbWindow& thumb) {
  if (FArranged) PressArrange();
  else PlaceUnlisted({&thumb});
}

// ---- Building ---------------------------------------------------------------------------------

// A frame over the whole screen with the screen's title; the table shows through its client.
void TPuzzleSelectorInterface::BuildDesk() {
  FDesk = &AddOwnedControl<TDXWindow>();
  FDesk->Setup(Lang(Text::ChooseAPuzzle), 0, 0, FEngine->FWidth, FEngine->FHeight,
               {.Style = 0, .FillClient = false, .Movable = false, .Activatable = false});
}

TDXButton& TPuzzleSelectorInterface::NewButton(EButton which, const std::string& caption, const std::string& hint,
                                               EControlLayer layer) {
  TDXButton& button = AddOwnedControl<TDXButton>(layer);
  button.SetButton(caption, 0, 0, kButtonWidth, button.FHeight, 0);
  button.FHintText = hint;
  FButtons[which] = &button;
  return button;
}

void TPuzzleSelectorInterface::BuildButtons() {
  const auto on = [this](void (TPuzzleSelectorInterface::*action)()) {
    return [this, action](TDXControl*) {
      if (!FDone) (this->*action)();
    };
  };
  const auto named = [this](EButton which, ETextId caption, ETextId hint) -> TDXButton& {
    return NewButton(which, Lang(caption), Lang(hint), EControlLayer::Content);
  };
  named(Play, Text::Play, Text::PlayThisPuzzle).OnClick = on(&TPuzzleSelectorInterface::PressPlay);
  named(Make, Text::Make, Text::CutThisPicture).OnClick = on(&TPuzzleSelectorInterface::PressMake);
  named(Arrange, Text::Arrange, Text::LineUpThePictures).OnClick = on(&TPuzzleSelectorInterface::PressArrange);
  named(Restart, Text::Abandon, Text::GiveUpThisGame).OnClick = on(&TPuzzleSelectorInterface::PressRestart);
  named(AddPicture, Text::AddPicture, Text::CopyAPicture).OnClick = on(&TPuzzleSelectorInterface::PressAddPicture);
  named(Back, Text::Back, Text::BackToTheMainMenu).OnClick = [this](TDXControl*) {
    if (!FDone) Finish(SelectorResult::Back);
  };
  NewButton(PageLeft, "<<<", "", EControlLayer::Content).OnClick = [this](TDXControl*) { Scroll(-kScrollStep); };
  NewButton(PageRight, ">>>", "", EControlLayer::Content).OnClick = [this](TDXControl*) { Scroll(kScrollStep); };
}

// The question of Restart, above everything on the desk, hidden until it is asked.
void TPuzzleSelectorInterface::BuildConfirmation() {
  FConfirmWindow = &AddOwnedControl<TDXWindow>(EControlLayer::Overlay);
  FConfirmWindow->Setup(Lang(Text::PleaseConfirm), 0, 0, 300, 190, {.Style = 0, .Movable = false});
  NewButton(ConfirmYes, Lang(Text::Ok), Lang(Text::YesDelete), EControlLayer::Overlay).OnClick = [this](TDXControl*) {
    ConfirmRestart();
  };
  NewButton(ConfirmNo, Lang(Text::Close), Lang(Text::NoKeep), EControlLayer::Overlay).OnClick = [this](TDXControl*) {
    ShowConfirmation(false);
  };
  ShowConfirmation(false);
}

// A button as wide as its caption needs; a roomy one at least the usual width.
int TPuzzleSelectorInterface::ButtonWidth(const TDXButton& button, bool roomy) const {
  const TTheme& theme = CurrentTheme();
  TPixelBuffer scratch;
  TCanvas canvas(scratch);
  canvas.Font = {theme.FontName, button.FFontSize != 0 ? button.FFontSize : theme.FontButtonSize, 0, false};
  const int needed = canvas.TextWidth(button.GetCaption()) + kCaptionRoom;
  return roomy ? std::max(kButtonWidth, needed) : needed;
}

// The row at the bottom keeps the usual widths while the screen has room for them, and narrows
// to what the captions need on a small one, so no caption overflows and no button covers Back.
void TPuzzleSelectorInterface::PlaceButtons() {
  const int width = FEngine->FWidth, height = FEngine->FHeight;
  const std::array row = {Play, Make, Arrange, Restart, AddPicture, Back};
  int needed = 10;
  for (EButton b : row) needed += ButtonWidth(*FButtons[b], true) + 10;
  const bool roomy = needed <= width;
  int left = 10;
  for (EButton b : row) {
    const int w = ButtonWidth(*FButtons[b], roomy);
    FButtons[b]->SetBounds(b == Back ? width - 10 - w : left, height - kBottomMargin, w, FButtons[b]->FHeight);
    left += w + 10;
  }
  FButtons[PageLeft]->SetButton("<<<", kArrowMargin, 38, kArrowWidth, kArrowHeight, 8);
  FButtons[PageRight]->SetButton(">>>", width - kArrowMargin - kArrowWidth, 38, kArrowWidth, kArrowHeight, 8);
  for (TDXButton* b : FButtons) b->Paint();
}

TRect TPuzzleSelectorInterface::DeskView() const {
  return {kDeskGap, kDeskTop, FEngine->FWidth - kDeskGap, FEngine->FHeight - kBottomMargin - kDeskGap / 2};
}

// ---- The confirmation ----------------------------------------------------------------------------

bool TPuzzleSelectorInterface::ConfirmShown() const {
  const TMySprite* s = FConfirmWindow ? FConfirmWindow->FSprite.Get() : nullptr;
  return s && s->Visible;
}

// The window names the picture whose game would be lost, then asks.
void TPuzzleSelectorInterface::ShowConfirmation(bool shown) {
  TDXWindow& window = *FConfirmWindow;
  if (shown) {
    const TTheme& theme = CurrentTheme();
    const TDXThumbWindow* thumb = ThumbOf(FConfirmPath);
    const std::vector<std::string> lines = {thumb ? "\"" + thumb->Name() + "\"" : "", Lang(Text::ReallyAbandon),
                                            Lang(Text::ThePuzzleStays), Lang(Text::LostForGood)};
    TMyDib probe(1, 1, 32);
    TCanvas measure(probe);
    measure.Font = {theme.FontName, theme.FontSize + 2, theme.SayColor.ToPixel(), false};
    int textWidth = 0;
    for (const std::string& line : lines) textWidth = std::max(textWidth, measure.TextWidth(line));
    const int step = measure.TextHeight("Wg") + 6;
    (void)window.SetClientSize(std::max(textWidth + 20, 2 * kButtonWidth + 60), step * int(lines.size()) + 20 + FButtons[ConfirmYes]->FHeight + 20);
    TMyDib text(window.ClientWidth(), window.ClientHeight(), 32);
    text.Fill(0);
    TCanvas canvas(text);
    canvas.Font = measure.Font;
    canvas.BrushClear = true;
    for (size_t i = 0; i < lines.size(); ++i) canvas.TextOut(10, 10 + int(i) * step, lines[i]);
    window.SetImage(text);
    window.SetLeft((FEngine->FWidth - window.FWidth) / 2);
    window.SetTop((FEngine->FHeight - window.FHeight) / 2);
    const int buttonsTop = window.FTop + window.FHeight - FButtons[ConfirmYes]->FHeight - 14;
    FButtons[ConfirmYes]->SetLeft(window.FLeft + 20);
    FButtons[ConfirmNo]->SetLeft(window.FLeft + window.FWidth - 20 - kButtonWidth);
    FButtons[ConfirmYes]->SetTop(buttonsTop);
    FButtons[ConfirmNo]->SetTop(buttonsTop);
  }
  for (TDXControl* c : {static_cast<TDXControl*>(FConfirmWindow), static_cast<TDXControl*>(FButtons[ConfirmYes]),
                        static_cast<TDXControl*>(FButtons[ConfirmNo])})
    if (TMySprite* s = c->FSprite.Get()) s->Visible = shown;
  if (shown) window.SetActive(true);
  else if (ActiveWindow == &window) window.SetActive(false);
}

void TPuzzleSelectorInterface::PressRestart() {
  TDXThumbWindow* thumb = ThumbOf(FCurrentPath);
  if (!thumb || !thumb->FHasSavedGame) return;
  FConfirmPath = thumb->FPath;
  ShowConfirmation(true);
}

// Acts on the picture the question named, whatever was chosen since.
void TPuzzleSelectorInterface::ConfirmRestart() {
  ShowConfirmation(false);
  TDXThumbWindow* thumb = ThumbOf(FConfirmPath);
  if (!thumb) return;
  const std::string saved = ChangeFileExt(thumb->FPath, ".zip");
  if (!DeleteFile(saved)) Message(Lang(Text::PleaseConfirm), "cannot delete " + saved);
  thumb->SavedGameChanged();
  Select(*thumb);
}

// ---- Adding pictures ----------------------------------------------------------------------------

void TPuzzleSelectorInterface::PressAddPicture() {
  FChooser->Open(FChooserFolder.empty() || !DirectoryExists(FChooserFolder) ? UserPicturesFolder() : FChooserFolder);
}

// A picture that cannot be added is named and the chooser stays open for another.
void TPuzzleSelectorInterface::AddChosenPicture(const std::string& path) {
  FChooserFolder = FChooser->Folder();
  std::string error;
  const std::string added = AddPictureToLibrary(path, error);
  if (added.empty()) {
    LogError("%s", error.c_str());
    Message(Lang(Text::AddingFailed), AddingFailure(path));
    return;
  }
  FChooser->Close();
  ShowPicture(added);
}

// ---- Choosing ------------------------------------------------------------------------------------

TDXThumbWindow* TPuzzleSelectorInterface::ThumbOf(const std::string& path) const {
  for (const TOwnedControl& t : FThumbs)
    if (auto* thumb = static_cast<TDXThumbWindow*>(t.get()); SameName(thumb->FPath, path)) return thumb;
  return nullptr;
}

void TPuzzleSelectorInterface::Select(TDXThumbWindow& thumb) {
  thumb.SetActive(true);
  FCurrentPath = thumb.FPath;
  thumb.Repaint();
}

// The picture chosen before comes back chosen; without one the first picture is, so the keys
// always act on a picture the player can see.
void TPuzzleSelectorInterface::ChooseInitialThumb() {
  TDXThumbWindow* thumb = ThumbOf(FCurrentPath);
  if (!thumb && !FThumbs.empty()) thumb = &Thumb(0);
  if (!thumb) {
    FCurrentPath.clear();
    return;
  }
  ScrollToShow(*thumb);
  Select(*thumb);
}

// The arrow keys step through the pictures in name order.
void TPuzzleSelectorInterface::StepChoice(int by) {
  if (FThumbs.empty()) return;
  const int count = int(FThumbs.size());
  int at = 0;
  for (int i = 0; i < count; ++i)
    if (Thumb(size_t(i)).FPath == FCurrentPath) at = i;
  TDXThumbWindow& next = Thumb(size_t(((at + by) % count + count) % count));
  ScrollToShow(next);
  Select(next);
  RaiseToTop(next);
}

bool TPuzzleSelectorInterface::RefuseSharedName(const TDXThumbWindow& thumb) {
  if (!thumb.NameTaken()) return false;
  Message(Lang(Text::Make), ExtractFileName(thumb.FPath) +
                         ": another picture of the same name owns its puzzle and saved game. Rename the file to make a puzzle of it.");
  return true;
}

void TPuzzleSelectorInterface::PressPlay() {
  if (FDone) return;
  const TDXThumbWindow* thumb = ThumbOf(FCurrentPath);
  if (!thumb || RefuseSharedName(*thumb)) return;
  if (!FileExists(ChangeFileExt(thumb->FPath, ".pzl"))) {
    if (FileExists(thumb->FPath)) Finish(SelectorResult::MakeFirst);
    return;
  }
  Finish(FileExists(ChangeFileExt(thumb->FPath, ".zip")) ? SelectorResult::Continue : SelectorResult::NewGame);
}

void TPuzzleSelectorInterface::PressMake() {
  const TDXThumbWindow* thumb = ThumbOf(FCurrentPath);
  if (!thumb || RefuseSharedName(*thumb) || !FileExists(thumb->FPath)) return;
  Finish(SelectorResult::Maker);
}

// Rows of windows in name order from the top left, each as full as the screen is wide; more
// than a screenful go on to the right, where the arrows scroll.
void TPuzzleSelectorInterface::PressArrange() {
  if (FThumbs.empty()) return;
  Scroll(-FScrollOffset);
  const std::vector<TDXThumbWindow*> byName = ThumbsByName();
  const std::vector<TPoint> places = RowPlaces(byName);
  for (size_t i = 0; i < byName.size(); ++i) {
    byName[i]->SetLeft(places[i].X);
    byName[i]->SetTop(places[i].Y);
  }
  FArranged = true;
}

std::vector<TPoint> TPuzzleSelectorInterface::RowPlaces(const std::vector<TDXThumbWindow*>& byName) const {
  std::vector<TPoint> sizes;
  for (const TDXThumbWindow* thumb : byName) sizes.push_back({thumb->FWidth, thumb->FHeight});
  return ArrangeInRows(sizes, DeskView());
}

std::vector<TDXThumbWindow*> TPuzzleSelectorInterface::ThumbsByName() const {
  std::vector<TDXThumbWindow*> byName;
  for (size_t i = 0; i < FThumbs.size(); ++i) byName.push_back(&Thumb(i));
  std::stable_sort(byName.begin(), byName.end(),
                   [](const TDXThumbWindow* a, const TDXThumbWindow* b) { return a->Name() < b->Name(); });
  return byName;
}

// After the screen changed its size: rows are laid out again for the new width, with the chosen
// window's page in view; windows the player placed are pulled into view where they left it.
void TPuzzleSelectorInterface::Reflow() {
  if (FArranged) {
    PressArrange();
    if (const TDXThumbWindow* chosen = ThumbOf(FCurrentPath)) ScrollToShow(*chosen);
    return;
  }
  const TRect view = DeskView();
  for (size_t i = 0; i < FThumbs.size(); ++i) {
    TDXThumbWindow& thumb = Thumb(i);
    const TPoint at = IntoView(thumb.BoundsRect(), view);
    if (at.X != thumb.FLeft) thumb.SetLeft(at.X);
    if (at.Y != thumb.FTop) thumb.SetTop(at.Y);
  }
}

// A window the player dragged ends in view, and the desk is theirs to lay out from then on.
void TPuzzleSelectorInterface::ThumbReleased(TDXThumbWindow& thumb) {
  const bool pressedHere = FPressedThumb == &thumb;
  FPressedThumb = nullptr;
  if (!pressedHere || (thumb.FLeft == FPressedAt.X && thumb.FTop == FPressedAt.Y)) return;
  FArranged = false;
  const TPoint at = IntoView(thumb.BoundsRect(), DeskView());
  thumb.SetLeft(at.X);
  thumb.SetTop(at.Y);
}

// The desk scrolls so the window is in view: to its page when the desk is in rows.
void TPuzzleSelectorInterface::ScrollToShow(const TDXThumbWindow& thumb) {
  const TRect view = DeskView();
  if (FArranged && view.Width() > 0) {
    const int page = (thumb.FLeft + FScrollOffset - view.Left) / view.Width();
    Scroll(page * view.Width() - FScrollOffset);
  } else if (thumb.FLeft < view.Left) {
    Scroll(thumb.FLeft - view.Left);
  } else if (thumb.FLeft + thumb.FWidth > view.Right) {
    Scroll(thumb.FLeft + thumb.FWidth - view.Right);
  }
}

// ---- The desk ------------------------------------------------------------------------------------

std::vector<TDXThumbWindow*> TPuzzleSelectorInterface::ThumbsByDepth() const {
  std::vector<TDXThumbWindow*> thumbs;
  for (size_t i = 0; i < FThumbs.size(); ++i) thumbs.push_back(&Thumb(i));
  std::stable_sort(thumbs.begin(), thumbs.end(), [](const TDXThumbWindow* a, const TDXThumbWindow* b) { return a->FDepth < b->FDepth; });
  return thumbs;
}

// The windows above it move down one place each, and it takes the top place of the thumbnails.
void TPuzzleSelectorInterface::RaiseToTop(TDXControl& window) {
  std::vector<TDXThumbWindow*> order = ThumbsByDepth();
  std::vector<double> depths;
  for (const TDXThumbWindow* t : order) depths.push_back(t->FDepth);
  const auto it = std::find(order.begin(), order.end(), &window);
  if (it == order.end()) return;
  std::rotate(it, it + 1, order.end());
  for (size_t i = 0; i < order.size(); ++i) {
    if (order[i]->FDepth == depths[i]) continue;
    FEngine->SetSpriteDepth(order[i]->FSprite.Index(), depths[i]);
    order[i]->FollowSpriteDepth();
  }
}

// The desk moves under the screen: "<<<" shows what lies to the left. An arrow's caption grows
// while there is more than a screen to come back from on the other side.
void TPuzzleSelectorInterface::Scroll(int by) {
  if (by == 0) return;
  FScrollOffset += by;
  for (size_t i = 0; i < FThumbs.size(); ++i) Thumb(i).SetLeft(Thumb(i).FLeft - by);
  if (!FButtons[PageRight]) return;  // the desk is laid out before the buttons are made
  const int width = FEngine->FWidth;
  FButtons[PageRight]->FFontSize = FScrollOffset < -width ? 10 : 8;
  FButtons[PageLeft]->FFontSize = FScrollOffset > width ? 10 : 8;
  FButtons[PageRight]->Paint();
  FButtons[PageLeft]->Paint();
}

// The chosen window's text pulses between dark and light; every other one is light.
void TPuzzleSelectorInterface::Pulse() {
  auto* active = dynamic_cast<TDXThumbWindow*>(ActiveWindow);
  if (!active || ThumbOf(active->FPath) != active) return;
  const uint32_t now = GetTickCount();
  if (now - FLastPulse <= kPulseMs) return;
  FLastPulse = now;
  for (size_t i = 0; i < FThumbs.size(); ++i)
    if (TDXThumbWindow& t = Thumb(i); &t != active) t.EndGlow();
  active->StepGlow();
}

// ---- Input ---------------------------------------------------------------------------------------

// The wheel moves the desk sideways, a step a notch: away from the player shows what lies left.
void TPuzzleSelectorInterface::MouseWheel(int shift, int notches, int x, int y) {
  if (FDone || ConfirmShown()) return;
  if (FChooser->Shown()) FChooser->Scroll(-notches);
  else Scroll(-notches * kScrollStep);
}

void TPuzzleSelectorInterface::Update() {
  TInterface::Update();
  if (FDone) return;
  Pulse();
  FChooser->Frame();
}

// While the question is open only its window and buttons take presses; a press on a thumbnail
// brings it to the top.
void TPuzzleSelectorInterface::MouseDown(int button, int shift, int x, int y) {
  if (FDone || !ReachesDialog(x, y)) return;
  TInterface::MouseDown(button, shift, x, y);
  if (FDone) return;
  if (auto* thumb = dynamic_cast<TDXThumbWindow*>(ActiveWindow); thumb && ThumbOf(thumb->FPath) == thumb) RaiseToTop(*thumb);
}

void TPuzzleSelectorInterface::MouseUp(int button, int shift, int x, int y) {
  if (FDone || !ReachesDialog(x, y)) return;
  TInterface::MouseUp(button, shift, x, y);
}

// While the question or the chooser is open only presses on it count.
bool TPuzzleSelectorInterface::ReachesDialog(int x, int y) const {
  if (ConfirmShown()) return Contains(*FConfirmWindow, x, y);
  if (FChooser && FChooser->Shown()) return FChooser->Contains(x, y);
  return true;
}

// Enter plays, Escape goes back (or closes the question), the arrows step through the pictures,
// M opens the maker.
void TPuzzleSelectorInterface::KeyDown(uint16_t& key, int shift) {
  if (FDone) return;
  if (ConfirmShown()) {
    if (key == VK_ESCAPE) ShowConfirmation(false);
    return;
  }
  if (FChooser->Shown()) {
    if (key == VK_ESCAPE) FChooser->Close();
    if (key == VK_RETURN) FChooser->ChooseSelected();
    if (key == VK_BACK) FChooser->GoUp();
    return;
  }
  switch (key) {
    case VK_ESCAPE: Finish(SelectorResult::Back); break;
    case VK_RETURN: PressPlay(); break;
    case 'M': PressMake(); break;
    case VK_LEFT: StepChoice(-1); break;
    case VK_RIGHT: StepChoice(1); break;
    default: break;
  }
}

void TPuzzleSelectorInterface::KeyUp(uint16_t& key, int shift) {
  if (key == VK_F1 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) ShowHelp(kHelpTopic);
}

void TPuzzleSelectorInterface::Resize() {
  if (FDone) return;
  FDesk->SetBounds(0, 0, FEngine->FWidth, FEngine->FHeight);
  FDesk->Paint();
  PlaceButtons();
  Reflow();
  if (ConfirmShown()) ShowConfirmation(true);
}

void TPuzzleSelectorInterface::Restore() {
  if (FDone) return;
  RestoreControls();
  for (size_t i = 0; i < FThumbs.size(); ++i) {
    Thumb(i).Retitle();
    Thumb(i).Repaint();
  }
}

void TPuzzleSelectorInterface::Message(const std::string& title, const std::string& text) {
  if (OnMessage) OnMessage(title, text);
  else LogError("%s: %s", title.c_str(), text.c_str());
}

}  // namespace qj
