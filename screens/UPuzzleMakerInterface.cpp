// Index: entering and leaving; the values of the puzzle; building; layout; the cut; check and
// save; the dialogs; painting the small windows; input.
#include "screens/UPuzzleMakerInterface.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "controls/UButtons.h"
#include "controls/UCheckBox.h"
#include "controls/UInfoWindow.h"
#include "controls/UScrollBar.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UBitmapBuilder.h"
#include "creation/UPuzzleDefaults.h"
#include "creation/URandom.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Display.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "screens/UMakerPanels.h"

namespace qj {
namespace {

constexpr int kHelpTopic = 3;
constexpr int kStyleCount = 9;
constexpr int kSpreadMin = 10, kSpreadMax = 20;  // tenths: a spread of 1.0 to 2.0
constexpr int kShadowMax = 10, kBevelMax = 5;
// The view lies between the left column (styles, options, look) and the right one (the height
// sliders, shapes and information); the left one is wide enough for the options' captions.
constexpr int kColumnWidth = 160, kViewLeft = 180, kViewRightMargin = 165;
constexpr int kViewMargin = 10;    // a scrolled view may go this far past the picture's edges
constexpr int kShapeButtonWidth = 110, kShapeButtonHeight = 35;
constexpr int kDialogWidth = 300;
constexpr int kCheckBoxWidth = kColumnWidth - 10, kCheckBoxMark = 26;  // the box and the gap before the caption

bool Contains(const TDXControl& c, int x, int y) {
  return x >= c.FLeft && x < c.FLeft + c.FWidth && y >= c.FTop && y < c.FTop + c.FHeight;
}

bool Shown(const TDXControl* c) {
  const TMySprite* s = c ? c->FSprite.Get() : nullptr;
  return s && s->Visible;
}

void SetShown(TDXControl* c, bool shown) {
  if (TMySprite* s = c ? c->FSprite.Get() : nullptr) s->Visible = shown;
}

// A stored value as a slider position: whatever a damaged file holds lands in the int range
// (the slider then clamps it to its own); undefined values take the fallback.
int Position(double value, double fallback) {
  if (!std::isfinite(value)) value = fallback;
  return int(std::lround(std::clamp(value, -1e9, 1e9)));
}

// The option byte of each check box, in the order of the boxes (their captions' order).
std::array<uint8_t*, TPuzzleMakerInterface::kCheckBoxCount> OptionBytes(TPuzzlePlayOptions& o) {
  return {&o.AllowLoupe, &o.AllowRotation, &o.AllowSmallPicture, &o.AllowGhost, &o.AllowNeighbourHelp};
}

int ShapeCount() {
  int n = 0;
  while (FileExists(ShapeFilePath(n))) ++n;
  return n;
}

// The name of cut style k in the player's language; the style file's own name where the language
// has none.
std::string StyleName(size_t k, const std::string& file) {
  const std::string& name = Lang(Text::CutStyleNames + int(k));
  return name.empty() || name == "-" ? ExtractFileName(file) : name;
}

}  // namespace

TPuzzleMakerInterface::TPuzzleMakerInterface(TGraphicsEngine* engine)
    : TInterface(engine), FCutter(std::make_unique<TPuzzleCutter>()) {}

TPuzzleMakerInterface::~TPuzzleMakerInterface() = default;

// ---- Entering and leaving -------------------------------------------------------------------------

bool TPuzzleMakerInterface::OpenPicture(const std::string& picture, std::string& error) {
  FPicturePath = picture;
  if (picture.empty()) error = "no jigsaw has been chosen yet";
  else if (!FileExists(picture)) error = "the picture is missing";
  else if (FCutter->LoadPicture(picture)) return true;
  else error = FCutter->LastError();
  FCutter->Clear();
  return false;
}

void TPuzzleMakerInterface::ReleasePicture() { FCutter->Clear(); }

// Without a picture there is nothing to make: the player goes back to choose another.
void TPuzzleMakerInterface::Enter() {
  TInterface::Enter();
  FResult = -1;
  FCheckState = Unchecked;
  FShapedCount = FStraightCount = 0;
  if (FCutter->Picture().Empty()) {
    Message((FPicturePath.empty() ? std::string("the picture") : FPicturePath) + ": there is no picture to make a puzzle of");
    Finish(MakerResult::ToSelector);
    return;
  }
  LoadValues();
  BuildWindows();
  BuildSliders();
  BuildCheckBoxes();
  BuildStyleButtons();
  BuildShapeButtons();
  BuildButtons();
  BuildMarks();
  ShowPicture();
  Resize();
  ShowValues();
}

void TPuzzleMakerInterface::Leave() {
  if (FDone) return;
  if (FView) {
    FView->ClearImage();
    FView->ClearPicture();
  }
  FCutter->Clear();
  FStyleMark.Reset();
  FShapeMark.Reset();
  FStyleButtons.clear();
  FShapeButtons.clear();
  FSliders.fill(nullptr);
  FButtons.fill(nullptr);
  FCheckBoxes.fill(nullptr);
  FFrameWindow = FView = FLookWindow = FInfoWindow = FErrorWindow = FQuestionWindow = nullptr;
  FViewScrollX = FViewScrollY = nullptr;
  TInterface::Leave();
}

// ---- The values of the puzzle --------------------------------------------------------------------

// The new-puzzle values first, picture scaled to fit the table; a puzzle file replaces them with
// its own, except where it holds no usable number. A picture scale is never larger than the one
// that fits the table, so a large photo does not become tens of thousands of pieces.
void TPuzzleMakerInterface::LoadValues() {
  TPuzzleCutter& c = *FCutter;
  const std::string puzzle = ChangeFileExt(c.FileName(), ".pzl");
  ApplyNewPuzzleDefaults(c, RandomSeed);
  const TCutParameters defaults = c.CutParameters();
  const TPuzzlePlayOptions defaultOptions = c.PuzzleOptions();
  if (!FileExists(puzzle)) return;
  if (!c.LoadPuzzleFile(puzzle)) {
    Message(c.LastError());
    c.CutParameters() = defaults;
    c.PuzzleOptions() = defaultOptions;
    return;
  }
  TCutParameters& p = c.CutParameters();
  for (auto [value, fallback] : {std::pair{&p.PieceWidth, defaults.PieceWidth}, {&p.PieceHeight, defaults.PieceHeight},
                                 {&p.DistortX, defaults.DistortX}, {&p.DistortY, defaults.DistortY},
                                 {&p.DistortXSpread, defaults.DistortXSpread}, {&p.DistortYSpread, defaults.DistortYSpread}})
    *value = std::isfinite(*value) ? *value : fallback;
  const double scale = p.PictureScale;
  p.PictureScale = defaults.PictureScale;
  if (!(scale > 0 && scale < defaults.PictureScale)) return;
  try {
    c.ScalePicture(scale);
  } catch (const std::runtime_error&) {
    c.ScalePicture(defaults.PictureScale);
  }
}

// The controls take the cutter's values, each clamped into its range; then the stored cut is drawn
// again from its seed.
void TPuzzleMakerInterface::ShowValues() {
  const TCutParameters p = FCutter->CutParameters();
  const TPuzzlePlayOptions o = FCutter->PuzzleOptions();
  {
    const TFlagScope loading(FLoading, true);
    FSliders[Shadow]->SetPosition(o.ShadowSize);
    FSliders[Bevel]->SetPosition(o.BevelStrength);
    FSliders[Width]->SetPosition(Position(p.PieceWidth, 1));
    FSliders[Height]->SetPosition(Position(p.PieceHeight, 1));
    FSliders[DistortX]->SetMax(int(std::lround(FSliders[Width]->FPosition / 10.0)));
    FSliders[DistortY]->SetMax(int(std::lround(FSliders[Height]->FPosition / 10.0)));
    FSliders[DistortX]->SetPosition(Position(p.DistortX, 0));
    FSliders[DistortY]->SetPosition(Position(p.DistortY, 0));
    FSliders[SpreadX]->SetPosition(Position(p.DistortXSpread * 10, kSpreadMin));
    FSliders[SpreadY]->SetPosition(Position(p.DistortYSpread * 10, kSpreadMin));
    TPuzzlePlayOptions stored = o;
    const auto bytes = OptionBytes(stored);
    for (int i = 0; i < kCheckBoxCount; ++i) FCheckBoxes[size_t(i)]->SetChecked(*bytes[size_t(i)] != 0);
    FShape = FShapeButtons.empty() ? std::max(0, p.ShapeSet) : std::clamp(p.ShapeSet, 0, int(FShapeButtons.size()) - 1);
  }
  LookChanged();
  OptionsChanged();
  Randomize(p.RandomSeed);
  SelectStyle(std::clamp(p.CutStyle, 0, std::max(0, int(FStyleButtons.size()) - 1)));
}

// ---- Building -------------------------------------------------------------------------------------

void TPuzzleMakerInterface::BuildWindows() {
  const TWindowSetup fixed{.Style = 0, .Movable = false, .Activatable = false};
  FFrameWindow = &AddOwnedControl<TDXWindow>();
  FFrameWindow->Setup(Lang(Text::PuzzleMaker), 0, 0, FEngine->FWidth, FEngine->FHeight,
                      {.Style = 0, .FillClient = false, .Movable = false, .Activatable = false});
  FView = &AddOwnedControl<TDXWindow>();
  FView->Setup("", 0, 0, 200, 200, {.Style = 1, .Movable = false, .Activatable = false});
  FView->FFullSizeContents = true;
  FLookWindow = &AddOwnedControl<TDXWindow>();
  FLookWindow->Setup("", 0, 0, 140, 210, {.Style = 1, .Movable = false, .Activatable = false});
  FInfoWindow = &AddOwnedControl<TDXWindow>();
  FInfoWindow->Setup("", 0, 0, 110, 160, {.Style = 1, .Movable = false, .Activatable = false});
  FErrorWindow = &AddOwnedControl<TDXWindow>(EControlLayer::Overlay);
  FErrorWindow->Setup(Lang(Text::NotSound), 0, 0, kDialogWidth, 150, fixed);
  FQuestionWindow = &AddOwnedControl<TDXWindow>(EControlLayer::Overlay);
  FQuestionWindow->Setup(Lang(Text::VeryManyPieces), 0, 0, kDialogWidth, 150, fixed);
}

// The grid's sliders redraw the cut; the look's and the view's only what they show.
void TPuzzleMakerInterface::BuildSliders() {
  const int w = FCutter->ScaledPicture().Width(), h = FCutter->ScaledPicture().Height();
  const auto grid = [this](TDXControl*) { GridChanged(); };
  const auto look = [this](TDXControl*) { LookChanged(); };
  const auto make = [this](ESlider which, bool vertical, int min, int max, TControlEvent onChange) {
    TDXScrollBar* bar = vertical ? static_cast<TDXScrollBar*>(&AddOwnedControl<TDXVScrollBar>())
                                 : static_cast<TDXScrollBar*>(&AddOwnedControl<TDXHScrollBar>());
    bar->Setup(0, 0, vertical ? 0 : 100, vertical ? 100 : 0, min, std::max(min, max), min, ScrollBarStyle::Large, std::move(onChange));
    FSliders[which] = bar;
  };
  make(Shadow, false, 0, kShadowMax, look);
  make(Bevel, false, 0, kBevelMax, look);
  make(Width, false, 1, w / 2 - 1, grid);
  make(DistortX, false, 0, 0, grid);
  make(SpreadX, false, kSpreadMin, kSpreadMax, grid);
  make(Height, true, 1, h / 2 - 1, grid);
  make(DistortY, true, 0, 0, grid);
  make(SpreadY, true, kSpreadMin, kSpreadMax, grid);
  for (ESlider small : {DistortX, SpreadX, DistortY, SpreadY}) FSliders[small]->SetStyle(ScrollBarStyle::Small);
  FViewScrollX = &AddOwnedControl<TDXHScrollBar>();
  FViewScrollY = &AddOwnedControl<TDXVScrollBar>();
  for (TDXScrollBar* bar : {FViewScrollX, FViewScrollY})
    bar->Setup(0, 0, 100, 100, 0, 0, 0, ScrollBarStyle::Small, [this](TDXControl*) { ScrollView(); });
}

// The boxes in the order of their captions; each is bound to its option byte.
void TPuzzleMakerInterface::BuildCheckBoxes() {
  static constexpr ETextId kCaptions[kCheckBoxCount] = {Text::AllowLoupe, Text::AllowRotation, Text::AllowSmallPicture,
                                                        Text::AllowGhostImage, Text::AllowNeighbourHelps};
  std::vector<std::string> captions;
  for (ETextId caption : kCaptions) captions.push_back(Lang(caption));
  // Bold as the theme has it while the captions fit, else plain, which takes less room.
  const int largest = CurrentTheme().FontSize, room = kCheckBoxWidth - kCheckBoxMark;
  const bool bold = FittingFontSize(captions, room, largest, true) == largest;
  const int size = FittingFontSize(captions, room, largest, bold);
  for (int i = 0; i < kCheckBoxCount; ++i) {
    TDXCheckBox& box = AddOwnedControl<TDXCheckBox>();
    box.Setup(captions[size_t(i)], 0, 0, kCheckBoxWidth, 25, size, bold, true, [this](TDXControl*) { OptionsChanged(); });
    FCheckBoxes[size_t(i)] = &box;
  }
}

TDXButton& TPuzzleMakerInterface::NewButton(EButton which, const std::string& caption, bool overlay) {
  TDXButton& button = AddOwnedControl<TDXButton>(overlay ? EControlLayer::Overlay : EControlLayer::Content);
  button.SetButton(caption, 0, 0, 120, button.FHeight, 0);
  FButtons[which] = &button;
  return button;
}

void TPuzzleMakerInterface::BuildButtons() {
  const auto on = [this](void (TPuzzleMakerInterface::*action)()) {
    return [this, action](TDXControl*) {
      if (!FDone) (this->*action)();
    };
  };
  NewButton(Save, Lang(Text::Save), false).OnClick = on(&TPuzzleMakerInterface::PressSave);
  NewButton(Cancel, Lang(Text::Cancel), false).OnClick = [this](TDXControl*) {
    if (!FDone) Finish(MakerResult::ToSelector);
  };
  NewButton(Check, Lang(Text::Check), false).OnClick = on(&TPuzzleMakerInterface::PressCheck);
  FButtons[Check]->FFontSize = 12;
  NewButton(ErrorOk, Lang(Text::Ok), true).OnClick = [this](TDXControl*) { ShowError(false); };
  NewButton(QuestionYes, Lang(Text::Save), true).OnClick = on(&TPuzzleMakerInterface::WritePuzzle);
  NewButton(QuestionNo, Lang(Text::Cancel), true).OnClick = [this](TDXControl*) { ShowQuestion(false); };
  ShowError(false);
  ShowQuestion(false);
}

// One button per entry of the layout block, its icon beside the style's name.
void TPuzzleMakerInterface::BuildStyleButtons() {
  FStyleList.clear();
  try {
    ReadOptionsBlock("PuzzleCutterPieceShapes", FStyleList);
  } catch (const ELayoutError& e) {
    // As the other screens do without their layout: the screen works, only the styles are missing.
    LogError("the maker has no style buttons: %s", e.what());
  }
  if (FStyleList.size() > size_t(kStyleCount)) FStyleList.resize(kStyleCount);
  for (size_t k = 0; k < FStyleList.size(); ++k) {
    TDXButton& button = AddOwnedControl<TDXButton>();
    button.SetButton("   " + StyleName(k, FStyleList[k]), 0, 0, kColumnWidth, button.FHeight, 0);
    (void)button.LoadImage(FStyleList[k] + ".bmp");  // a missing icon leaves the name alone
    button.OnClick = [this, k](TDXControl*) {
      if (!FDone) SelectStyle(int(k));
    };
    FStyleButtons.push_back(&button);
  }
}

// One button per shape file, in number order, each showing its shape.
void TPuzzleMakerInterface::BuildShapeButtons() {
  const int count = ShapeCount();
  for (int n = 0; n < count; ++n) {
    TDXButton& button = AddOwnedControl<TDXButton>();
    button.SetButton("", 0, 0, kShapeButtonWidth, kShapeButtonHeight, 0);
    button.OnClick = [this, n](TDXControl*) {
      if (!FDone) SelectShape(n);
    };
    FShapeButtons.push_back(&button);
  }
  PaintShapeButtons();
}

// A shape file that cannot be read leaves its button blank; the cut names the file.
void TPuzzleMakerInterface::PaintShapeButtons() {
  for (size_t n = 0; n < FShapeButtons.size(); ++n) {
    TSplineDraw shape;
    try {
      shape.LoadShape(ShapeFilePath(int(n)));
    } catch (const std::runtime_error& e) {
      LogError("%s", e.what());
      continue;
    }
    FShapeButtons[n]->SetImage(ShapePreview(shape, int(n)));
  }
}

// Made again after a theme change, in the new theme's colour.
void TPuzzleMakerInterface::BuildMarks() {
  const auto make = [this](TSpriteHandle& mark, const std::vector<TDXButton*>& buttons) {
    const double depth = mark ? mark.Get()->Depth : NextDepth();
    mark.Reset();
    if (buttons.empty()) return;
    const TMyDib frame = SelectionFrame(buttons[0]->FWidth + 4, buttons[0]->FHeight + 4);
    mark = TSpriteHandle(*FEngine, FEngine->AddSpriteFromBitmap(frame, 0, 0, depth, 0));
    if (TMySprite* s = mark.Get()) s->NoHit = true;
  };
  make(FStyleMark, FStyleButtons);
  make(FShapeMark, FShapeButtons);
  PlaceMarks();
}

void TPuzzleMakerInterface::PlaceMarks() {
  const auto place = [](TSpriteHandle& mark, const std::vector<TDXButton*>& buttons, int chosen) {
    TMySprite* s = mark.Get();
    if (!s) return;
    s->Visible = chosen >= 0 && size_t(chosen) < buttons.size();
    if (!s->Visible) return;
    s->X = buttons[size_t(chosen)]->FLeft - 2;
    s->Y = buttons[size_t(chosen)]->FTop - 2;
  };
  place(FStyleMark, FStyleButtons, FCurrentStyle);
  place(FShapeMark, FShapeButtons, FShape);
}

// ---- Layout ---------------------------------------------------------------------------------------

void TPuzzleMakerInterface::Resize() {
  if (FDone) return;
  const int width = FEngine->FWidth, height = FEngine->FHeight;
  FFrameWindow->SetBounds(0, 0, width, height);
  FFrameWindow->Paint();
  FButtons[Save]->SetBounds(10, height - 45, kColumnWidth, FButtons[Save]->FHeight);
  FButtons[Cancel]->SetBounds(width - 140, height - 45, 130, FButtons[Cancel]->FHeight);
  FButtons[Check]->SetBounds(width - 120, height - 80, 110, FButtons[Check]->FHeight);
  for (size_t k = 0; k < FStyleButtons.size(); ++k) FStyleButtons[k]->SetBounds(10, 50 + 25 * int(k), kColumnWidth, FStyleButtons[k]->FHeight);
  for (size_t n = 0; n < FShapeButtons.size(); ++n)
    FShapeButtons[n]->SetBounds(width - 120, 50 + 40 * int(n), kShapeButtonWidth, kShapeButtonHeight);
  PlaceLeftColumn(width, height);
  PlaceGridSliders(width, height);
  PlaceViewScrollBars();
  PlaceMarks();
  for (TDXControl* c : FControls)
    if (c && c != FFrameWindow) c->Paint();
  PaintLook();
  PaintInfo();
  if (ErrorShown()) ShowError(true);
  if (QuestionShown()) ShowQuestion(true);
}

// The look window holds the five option boxes and the shadow and bevel sliders.
void TPuzzleMakerInterface::PlaceLeftColumn(int width, int height) {
  FLookWindow->SetBounds(10, height - 260, kColumnWidth, 210);
  for (int i = 0; i < kCheckBoxCount; ++i) FCheckBoxes[size_t(i)]->SetBounds(18, height - 235 + 20 * i, kCheckBoxWidth, 25);
  const int last = FCheckBoxes.back()->FTop;
  FSliders[Shadow]->SetBounds(15, last + 40, kCheckBoxWidth, FSliders[Shadow]->FHeight);
  FSliders[Bevel]->SetBounds(15, last + 75, kCheckBoxWidth, FSliders[Bevel]->FHeight);
}

// The view in the middle; the width sliders under it, the height sliders right of it, the
// information beside those.
void TPuzzleMakerInterface::PlaceGridSliders(int width, int height) {
  FView->SetBounds(kViewLeft, 40, width - kViewLeft - kViewRightMargin, height - 100);
  const int right = FView->FLeft + FView->FWidth, bottom = FView->FTop + FView->FHeight;
  TDXScrollBar& w = *FSliders[Width];
  TDXScrollBar& h = *FSliders[Height];
  w.SetBounds(FView->FLeft, bottom, FView->FWidth, w.FHeight);
  const int half = FView->FWidth / 2, below = bottom + std::max(20, w.FHeight + 2);
  FSliders[DistortX]->SetBounds(FView->FLeft, below, half, FSliders[DistortX]->FHeight);
  FSliders[SpreadX]->SetBounds(FView->FLeft + half, below, FView->FWidth - half, FSliders[SpreadX]->FHeight);
  h.SetBounds(right, FView->FTop, h.FWidth, FView->FHeight);
  const int halfHeight = FView->FHeight / 2, beside = right + std::max(20, h.FWidth + 2);
  FSliders[DistortY]->SetBounds(beside, FView->FTop, FSliders[DistortY]->FWidth, halfHeight);
  FSliders[SpreadY]->SetBounds(beside, FView->FTop + halfHeight, FSliders[SpreadY]->FWidth, FView->FHeight - halfHeight);
  const int infoLeft = beside + FSliders[DistortY]->FWidth + 5;
  // Below the shape buttons on a short screen.
  const int shapesBottom = FShapeButtons.empty() ? 0 : FShapeButtons.back()->FTop + FShapeButtons.back()->FHeight + 8;
  const int infoTop = std::max(height - 245, shapesBottom);
  FInfoWindow->SetBounds(infoLeft, infoTop, std::max(110, width - 10 - infoLeft), std::max(60, height - 85 - infoTop));
}

// Scroll bars along the inside of the view, each only while the picture is larger than the view
// that way; a smaller picture is shown in the middle.
void TPuzzleMakerInterface::PlaceViewScrollBars() {
  const TRect client = FView->ClientRect();
  const int pw = FCutter->ScaledPicture().Width(), ph = FCutter->ScaledPicture().Height();
  const bool wide = pw > client.Width(), tall = ph > client.Height();
  TDXScrollBar& x = *FViewScrollX;
  TDXScrollBar& y = *FViewScrollY;
  const int left = FView->FLeft + client.Left, top = FView->FTop + client.Top;
  x.SetBounds(left, top + client.Height() - x.FHeight, client.Width() - (tall ? y.FWidth : 0), x.FHeight);
  y.SetBounds(left + client.Width() - y.FWidth, top, y.FWidth, client.Height() - (wide ? x.FHeight : 0));
  const TFlagScope loading(FLoading, true);
  x.SetMin(-kViewMargin);
  x.SetMax(std::max(-kViewMargin, pw - client.Width() + kViewMargin));
  y.SetMin(-kViewMargin);
  y.SetMax(std::max(-kViewMargin, ph - client.Height() + kViewMargin));
  SetShown(&x, wide);
  SetShown(&y, tall);
  ScrollView();
}

void TPuzzleMakerInterface::ScrollView() {
  if (!FView) return;
  const TRect client = FView->ClientRect();
  const int pw = FCutter->ScaledPicture().Width(), ph = FCutter->ScaledPicture().Height();
  const int x = pw > client.Width() ? FViewScrollX->FPosition : (pw - client.Width()) / 2;
  const int y = ph > client.Height() ? FViewScrollY->FPosition : (ph - client.Height()) / 2;
  FView->SetScrollOrigin({x, y});
}

// ---- The cut --------------------------------------------------------------------------------------

void TPuzzleMakerInterface::ShowPicture() { FView->SetImage(FCutter->ScaledPicture()); }

void TPuzzleMakerInterface::SelectStyle(int style) {
  FCurrentStyle = style;
  PlaceMarks();
  GridChanged();
}

// The grid stays where it was: the same seed draws the same displacement with the new shape.
void TPuzzleMakerInterface::SelectShape(int shape) {
  FShape = shape;
  Randomize(FCutter->CutParameters().RandomSeed);
  GridChanged();
}

// Every change of the grid draws a fresh displacement from the generator as it stands, and the
// cut has to be checked again.
void TPuzzleMakerInterface::GridChanged() {
  if (FLoading || FDone) return;
  IDisplay& display = FEngine->Display();
  display.SetCursor(TCursorKind::Hourglass);
  FSliders[DistortX]->SetMax(int(std::lround(FSliders[Width]->FPosition / 10.0)));
  FSliders[DistortY]->SetMax(int(std::lround(FSliders[Height]->FPosition / 10.0)));
  const auto at = [this](ESlider s) { return double(FSliders[s]->FPosition); };
  FCutter->SetCutStyle(FCurrentStyle, FShape, at(Width), at(Height), at(DistortX), at(DistortY), at(SpreadX) / 10,
                       at(SpreadY) / 10);
  PlaceMarks();
  try {
    FCutter->DrawCutMap();
    FView->SetPicture(FCutter->CutMap());
  } catch (const std::runtime_error& e) {
    Message(e.what());
  }
  FCheckState = Unchecked;
  PaintInfo();
  display.SetCursor(TCursorKind::Arrow);
}

void TPuzzleMakerInterface::LookChanged() {
  if (FLoading || FDone) return;
  FCutter->PuzzleOptions().ShadowSize = FSliders[Shadow]->FPosition;
  FCutter->PuzzleOptions().BevelStrength = FSliders[Bevel]->FPosition;
  PaintLook();
}

void TPuzzleMakerInterface::OptionsChanged() {
  if (FLoading || FDone) return;
  const auto bytes = OptionBytes(FCutter->PuzzleOptions());
  for (int i = 0; i < kCheckBoxCount; ++i) *bytes[size_t(i)] = FCheckBoxes[size_t(i)]->FChecked ? 1 : 0;
}

// ---- Check and save -------------------------------------------------------------------------------

// The shaped cut against the straight cut of the same grid: a shape that crosses another cut or
// leaves a region open changes the count.
void TPuzzleMakerInterface::PressCheck() {
  TDXInfoWindow& info = InfoWindow();
  info.Start({Lang(Text::CheckingTheCut)});
  info.Draw();
  FEngine->Display().ShowPrimary();
  TPuzzleCutter& c = *FCutter;
  try {
    Randomize(c.CutParameters().RandomSeed);
    c.DrawCutMap();
    FShapedCount = c.CountPieces();
    FStraightCount = c.CountStraightPieces();
  } catch (const std::runtime_error& e) {
    Message(e.what());
    FShapedCount = FStraightCount = 0;
  }
  FCheckState = IsSoundCut(FShapedCount, FStraightCount) ? Sound : Unsound;
  PaintInfo();
}

void TPuzzleMakerInterface::PressSave() {
  if (FCheckState == Unchecked) PressCheck();
  if (FCheckState == Unsound) {
    ShowError(true);
    return;
  }
  if (FShapedCount > kManyPieces) {
    ShowQuestion(true);
    return;
  }
  WritePuzzle();
}

// The saved game of the old cut goes only once the new puzzle is written; a puzzle that cannot
// be written is named with the cause and the player stays to try again.
void TPuzzleMakerInterface::WritePuzzle() {
  ShowQuestion(false);
  const std::string puzzle = ChangeFileExt(FCutter->FileName(), ".pzl");
  if (!FCutter->SavePuzzleFile(puzzle)) {
    Message(FCutter->LastError());
    return;
  }
  const std::string saved = ChangeFileExt(puzzle, ".zip");
  if (FileExists(saved) && !DeleteFile(saved))
    Message("cannot delete the saved game of the old cut " + saved + ": " + std::strerror(errno));
  Finish(MakerResult::ToSelector);
}

// ---- The dialogs ----------------------------------------------------------------------------------

bool TPuzzleMakerInterface::ErrorShown() const { return Shown(FErrorWindow); }
bool TPuzzleMakerInterface::QuestionShown() const { return Shown(FQuestionWindow); }

void TPuzzleMakerInterface::ShowError(bool shown) {
  if (shown) {
    const std::vector<std::string> lines = {Lang(Text::CutCannotBeSaved), Lang(Text::ShapesSplitOrJoinPieces),
                                            Lang(Text::PiecesWouldNotMatch), Lang(Text::TryAnotherShape),
                                            Lang(Text::OrLessDistortion)};
    PlaceDialog(*FErrorWindow, lines, ErrorOk, ButtonCount);
  }
  ShowDialog(FErrorWindow, {ErrorOk}, shown);
}

void TPuzzleMakerInterface::ShowQuestion(bool shown) {
  if (shown) {
    const std::vector<std::string> lines = {Lang(Text::PiecesLabel) + " " + std::to_string(FShapedCount),
                                            Lang(Text::TakesALongTime), Lang(Text::SaveAllTheSame)};
    PlaceDialog(*FQuestionWindow, lines, QuestionYes, QuestionNo);
  }
  ShowDialog(FQuestionWindow, {QuestionYes, QuestionNo}, shown);
}

void TPuzzleMakerInterface::ShowDialog(TDXWindow* window, std::initializer_list<EButton> buttons, bool shown) {
  SetShown(window, shown);
  for (EButton b : buttons) SetShown(FButtons[b], shown);
}

// The window takes the size of its text and its buttons, in the middle of the screen.
void TPuzzleMakerInterface::PlaceDialog(TDXWindow& window, const std::vector<std::string>& lines, EButton first, EButton second) {
  const int size = CurrentTheme().FontSize + 2;
  int textWidth = 0;
  for (const std::string& line : lines) textWidth = std::max(textWidth, TextWidthAt(line, size));
  const int step = TextHeightAt(size) + 4, buttonHeight = FButtons[first]->FHeight;
  (void)window.SetClientSize(std::max(textWidth + 20, kDialogWidth - 20), step * int(lines.size()) + 30 + buttonHeight);
  std::vector<TTextRow> rows;
  for (size_t i = 0; i < lines.size(); ++i) rows.push_back({10, 10 + int(i) * step, lines[i]});
  window.SetImage(TextImage(window.ClientWidth(), window.ClientHeight(), rows, size));
  window.SetBounds((FEngine->FWidth - window.FWidth) / 2, (FEngine->FHeight - window.FHeight) / 2, window.FWidth, window.FHeight);
  window.Paint();
  const int top = window.FTop + window.FHeight - buttonHeight - 14;
  if (second == ButtonCount) {
    FButtons[first]->SetBounds(window.FLeft + (window.FWidth - 120) / 2, top, 120, buttonHeight);
    return;
  }
  FButtons[first]->SetBounds(window.FLeft + 20, top, 120, buttonHeight);
  FButtons[second]->SetBounds(window.FLeft + window.FWidth - 140, top, 120, buttonHeight);
}

// ---- Painting the small windows -------------------------------------------------------------------

// Six lines: pieces, picture size, piece size, distortion, spread and the state of the check.
void TPuzzleMakerInterface::PaintInfo() {
  if (!FInfoWindow) return;
  const auto pair = [this](ESlider a, ESlider b) { return std::to_string(FSliders[a]->FPosition) + "x" + std::to_string(FSliders[b]->FPosition); };
  std::string check = Lang(Text::CheckStates + FCheckState);
  if (FCheckState == Unsound) check += " (" + std::to_string(FShapedCount - FStraightCount) + ")";
  const std::vector<std::string> values = {
      FCheckState == Unchecked ? Lang(Text::NotCheckedYet) : std::to_string(FShapedCount),
      std::to_string(FCutter->ScaledPicture().Width()) + "x" + std::to_string(FCutter->ScaledPicture().Height()),
      pair(Width, Height), pair(DistortX, DistortY), pair(SpreadX, SpreadY), check};
  std::vector<std::string> labels;
  for (size_t n = 0; n < values.size(); ++n) labels.push_back(Lang(Text::MakerInfoLabels + int(n)));
  const int width = FInfoWindow->ClientWidth(), height = FInfoWindow->ClientHeight();
  int size = CurrentTheme().FontSize;
  const std::vector<TTextRow> rows = LabelledRows(labels, values, width, height, size);
  FInfoWindow->SetImage(TextImage(width, height, rows, size));
}

// The shadow and bevel values, each just above its slider.
void TPuzzleMakerInterface::PaintLook() {
  if (!FLookWindow) return;
  const TRect client = FLookWindow->ClientRect();
  const int size = CurrentTheme().FontSize;
  const int textHeight = TextHeightAt(size);
  std::vector<TTextRow> rows;
  for (auto [slider, label] : {std::pair{Shadow, Text::ShadowLabel}, {Bevel, Text::BevelLabel}}) {
    const int y = FSliders[slider]->FTop - FLookWindow->FTop - client.Top - textHeight;
    rows.push_back({8, y, Lang(label) + " " + std::to_string(FSliders[slider]->FPosition)});
  }
  FLookWindow->SetImage(TextImage(client.Width(), client.Height(), rows, size));
}

void TPuzzleMakerInterface::Message(const std::string& text) {
  if (OnMessage) OnMessage(Lang(Text::PuzzleMaker), text);
  else LogError("%s", text.c_str());
}

// ---- Input ----------------------------------------------------------------------------------------

// While a dialog is open only presses on it count.
bool TPuzzleMakerInterface::ReachesDialog(int x, int y) const {
  if (ErrorShown()) return Contains(*FErrorWindow, x, y);
  if (QuestionShown()) return Contains(*FQuestionWindow, x, y);
  return true;
}

void TPuzzleMakerInterface::MouseDown(int button, int shift, int x, int y) {
  if (FDone || !ReachesDialog(x, y)) return;
  TInterface::MouseDown(button, shift, x, y);
}

void TPuzzleMakerInterface::MouseUp(int button, int shift, int x, int y) {
  if (FDone || !ReachesDialog(x, y)) return;
  TInterface::MouseUp(button, shift, x, y);
}

// The wheel scrolls the picture up and down, with Shift sideways.
void TPuzzleMakerInterface::MouseWheel(int shift, int notches, int x, int y) {
  if (FDone || ErrorShown() || QuestionShown()) return;
  TDXScrollBar* bar = (shift & ssShift) ? FViewScrollX : FViewScrollY;
  if (Shown(bar)) bar->SetPosition(bar->FPosition - notches * kWheelStep);
}

// Escape closes an open dialog, or leaves without saving.
void TPuzzleMakerInterface::KeyDown(uint16_t& key, int shift) {
  if (FDone || key != VK_ESCAPE) return;
  if (ErrorShown()) ShowError(false);
  else if (QuestionShown()) ShowQuestion(false);
  else Finish(MakerResult::ToSelector);
}

void TPuzzleMakerInterface::KeyUp(uint16_t& key, int shift) {
  if (key == VK_F1 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) ShowHelp(kHelpTopic);
}

// After a theme change every control paints itself again; the shapes and texts are drawn anew.
void TPuzzleMakerInterface::Restore() {
  if (FDone) return;
  RestoreControls();
  PaintShapeButtons();
  BuildMarks();
  Resize();
}

}  // namespace qj
