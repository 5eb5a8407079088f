// The puzzle maker's controls: building them, the marks of the chosen style and shape, and the layout.
#include "screens/UPuzzleMakerInterface.h"

#include <stdexcept>

#include "controls/UButtons.h"
#include "controls/UCheckBox.h"
#include "controls/UHints.h"
#include "controls/UScrollBar.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UBitmapBuilder.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "screens/UMakerPanels.h"

namespace qj {
namespace {

constexpr int kStyleCount = 9;
constexpr int kSpreadMin = 10, kSpreadMax = 20;  // tenths: a spread of 1.0 to 2.0
constexpr int kShadowMax = 10, kBevelMax = 5;
// The view lies between the left column (styles, options, look) and the right one (the height
// sliders, shapes and information); the left one is wide enough for the options' captions.
constexpr int kColumnWidth = 160, kViewLeft = 180, kViewRightMargin = 165 + 2 * TPuzzleMakerInterface::kCaptionBand;
constexpr int kShapeButtonWidth = 110, kShapeButtonHeight = 35;
constexpr int kFitRow = 24;  // the Fit box's row above the option boxes
constexpr int kCheckBoxWidth = kColumnWidth - 10, kCheckBoxMark = 26;  // the box and the gap before the caption

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
  captions.push_back(Lang(Text::FitToPicture));
  // Bold as the theme has it while the captions fit, else plain, which takes less room.
  const int largest = CurrentTheme().FontSize, room = kCheckBoxWidth - kCheckBoxMark;
  const bool bold = FittingFontSize(captions, room, largest, true) == largest;
  const int size = FittingFontSize(captions, room, largest, bold);
  for (int i = 0; i < kCheckBoxCount; ++i) {
    TDXCheckBox& box = AddOwnedControl<TDXCheckBox>();
    box.Setup(captions[size_t(i)], 0, 0, kCheckBoxWidth, 25, size, bold, true, [this](TDXControl*) { OptionsChanged(); });
    FCheckBoxes[size_t(i)] = &box;
  }
  FFitBox = &AddOwnedControl<TDXCheckBox>();
  FFitBox->Setup(Lang(Text::FitToPicture), 0, 0, kCheckBoxWidth, 25, size, bold, true, [this](TDXControl*) { FitChanged(); });
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
  NewButton(ErrorOk, Lang(Text::Ok), true).OnClick = on(&TPuzzleMakerInterface::CloseError);
  NewButton(QuestionYes, Lang(Text::Save), true).OnClick = on(&TPuzzleMakerInterface::AnswerYes);
  NewButton(QuestionNo, Lang(Text::Cancel), true).OnClick = [this](TDXControl*) { HideQuestion(); };
  for (auto [which, hint] : {std::pair{Save, Text::MakerSaveHint}, {Cancel, Text::MakerCancelHint}, {Check, Text::MakerCheckHint},
                             {ErrorOk, Text::BackToTheMakerHint}})
    FButtons[which]->FHintText = TextKey(hint);
  ShowError(false);
  HideQuestion();
}

// One button per entry of the layout block, its icon beside the style's name.
// A hint over each slider, box and the view; the buttons carry their own.
void TPuzzleMakerInterface::BuildHints() {
  FHints.clear();
  const auto add = [this](TDXControl* control, ETextId line) {
    TDXHint& hint = AddOwnedControl<TDXHint>();
    hint.SetCaption(TextKey(line));
    hint.OnBeforeShow = [&hint](TDXControl*) { hint.PlaceBeside(true); };
    FHints.emplace_back(&hint, control);
  };
  static constexpr std::pair<TPuzzleMakerInterface::ESlider, ETextId> kSliderHints[] = {
      {Shadow, Text::ShadowHint},          {Bevel, Text::BevelHint},          {Width, Text::PieceWidthHint},
      {DistortX, Text::ShiftAcrossHint},   {SpreadX, Text::IrregularityHint}, {Height, Text::PieceHeightHint},
      {DistortY, Text::ShiftDownHint},     {SpreadY, Text::IrregularityHint}};
  for (auto [slider, line] : kSliderHints) add(FSliders[slider], line);
  for (int i = 0; i < kCheckBoxCount; ++i) add(FCheckBoxes[size_t(i)], Text::PlayOptionHints + i);
  add(FFitBox, Text::FitToPictureHint);
  add(FView, Text::PreviewHint);
  for (TDXButton* b : FStyleButtons) b->FHintText = TextKey(Text::CutStyleHint);
  for (TDXButton* b : FShapeButtons) b->FHintText = TextKey(Text::PieceShapeHint);
}

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
  for (auto& [hint, control] : FHints) hint->AttachTo(*control);
  for (TDXControl* c : FControls)
    if (c && c != FFrameWindow) c->Paint();
  PaintCaptions();
  PaintLook();
  PaintInfo();
  if (ErrorShown()) ShowError(true);
  if (QuestionShown()) ShowQuestion(FQuestion);
}

// The look window holds the five option boxes and the shadow and bevel sliders.
void TPuzzleMakerInterface::PlaceLeftColumn(int width, int height) {
  // Fit heads the window, above the five option boxes: it belongs to no slider of its own.
  FLookWindow->SetBounds(10, height - 260 - kFitRow, kColumnWidth, 210 + kFitRow);
  FFitBox->SetBounds(18, height - 235 - kFitRow, kCheckBoxWidth, 25);
  for (int i = 0; i < kCheckBoxCount; ++i) FCheckBoxes[size_t(i)]->SetBounds(18, height - 235 + 20 * i, kCheckBoxWidth, 25);
  const int last = FCheckBoxes.back()->FTop;
  FSliders[Shadow]->SetBounds(15, last + 40, kCheckBoxWidth, FSliders[Shadow]->FHeight);
  FSliders[Bevel]->SetBounds(15, last + 75, kCheckBoxWidth, FSliders[Bevel]->FHeight);
}

// The view in the middle; the width sliders under it, the height sliders right of it, the
// information beside those.
void TPuzzleMakerInterface::PlaceGridSliders(int width, int height) {
  const int band = kCaptionBand;
  FView->SetBounds(kViewLeft, 40, width - kViewLeft - kViewRightMargin, height - 100 - 2 * band);
  const int right = FView->FLeft + FView->FWidth, bottom = FView->FTop + FView->FHeight;
  TDXScrollBar& w = *FSliders[Width];
  TDXScrollBar& h = *FSliders[Height];
  w.SetBounds(FView->FLeft, bottom + band, FView->FWidth, w.FHeight);
  const int half = FView->FWidth / 2, below = bottom + band + w.FHeight + band;
  FSliders[DistortX]->SetBounds(FView->FLeft, below, half, FSliders[DistortX]->FHeight);
  FSliders[SpreadX]->SetBounds(FView->FLeft + half, below, FView->FWidth - half, FSliders[SpreadX]->FHeight);
  h.SetBounds(right, FView->FTop, h.FWidth, FView->FHeight);
  const int halfHeight = FView->FHeight / 2, beside = right + h.FWidth + band;
  FSliders[DistortY]->SetBounds(beside, FView->FTop, FSliders[DistortY]->FWidth, halfHeight);
  FSliders[SpreadY]->SetBounds(beside, FView->FTop + halfHeight, FSliders[SpreadY]->FWidth, FView->FHeight - halfHeight);
  const int infoLeft = beside + FSliders[DistortY]->FWidth + band + 5;
  // Below the shape buttons on a short screen.
  const int shapesBottom = FShapeButtons.empty() ? 0 : FShapeButtons.back()->FTop + FShapeButtons.back()->FHeight + 8;
  const int infoTop = std::max(height - 245, shapesBottom);
  FInfoWindow->SetBounds(infoLeft, infoTop, std::max(110, width - 10 - infoLeft), std::max(60, height - 85 - infoTop));
}
}  // namespace qj
