// Index: entering and leaving; the values of the puzzle; input. Building and layout, the preview
// and the dialogs of check and save live in the files beside this one.
#include "screens/UPuzzleMakerInterface.h"

#include <cmath>
#include <stdexcept>

#include "controls/UButtons.h"
#include "controls/UCheckBox.h"
#include "controls/UScrollBar.h"
#include "controls/UWindows.h"
#include "core/UMiscelaneous.h"
#include "creation/UBitmapBuilder.h"
#include "creation/UCutGrid.h"
#include "creation/UPuzzleDefaults.h"
#include "creation/URandom.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "screens/UMakerPanels.h"

namespace qj {
namespace {

constexpr int kHelpTopic = 3;
constexpr int kSpreadMin = 10;  // tenths: a spread of 1.0

bool Contains(const TDXControl& c, int x, int y) {
  return x >= c.FLeft && x < c.FLeft + c.FWidth && y >= c.FTop && y < c.FTop + c.FHeight;
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
  BuildHints();
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
  FFitBox = nullptr;
  FHints.clear();
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
  FStoredPuzzle = false;
  if (!FileExists(puzzle)) return;
  if (!c.LoadPuzzleFile(puzzle)) {
    Message(c.LastError());
    c.CutParameters() = defaults;
    c.PuzzleOptions() = defaultOptions;
    return;
  }
  FStoredPuzzle = true;
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
    const TMyDib& picture = FCutter->ScaledPicture();
    const bool fitted = CoversPicture(p, picture.Width(), picture.Height());
    FFitBox->SetChecked(fitted || !FStoredPuzzle);
    FKeptFit = {};
    if (fitted) FKeptFit = {p.CutStyle, PieceSize(), p.PieceWidth, p.PieceHeight};
    FShape = FShapeButtons.empty() ? std::max(0, p.ShapeSet) : std::clamp(p.ShapeSet, 0, int(FShapeButtons.size()) - 1);
  }
  LookChanged();
  OptionsChanged();
  Randomize(p.RandomSeed);
  SelectStyle(std::clamp(p.CutStyle, 0, std::max(0, int(FStyleButtons.size()) - 1)));
}

void TPuzzleMakerInterface::LookChanged() {
  if (FLoading || FDone) return;
  FCutter->PuzzleOptions().ShadowSize = FSliders[Shadow]->FPosition;
  FCutter->PuzzleOptions().BevelStrength = FSliders[Bevel]->FPosition;
  PaintLook();
  PaintCaptions();
}

void TPuzzleMakerInterface::FitChanged() {
  FKeptFit = {};
  GridChanged();
}

void TPuzzleMakerInterface::OptionsChanged() {
  if (FLoading || FDone) return;
  const auto bytes = OptionBytes(FCutter->PuzzleOptions());
  for (int i = 0; i < kCheckBoxCount; ++i) *bytes[size_t(i)] = FCheckBoxes[size_t(i)]->FChecked ? 1 : 0;
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

// The wheel zooms towards the mouse over the view (towards its middle elsewhere); with Shift it
// moves the picture sideways.
void TPuzzleMakerInterface::MouseWheel(int shift, int notches, int x, int y) {
  if (FDone || ErrorShown() || QuestionShown()) return;
  if (shift & ssShift) {
    if (Shown(FViewScrollX)) FViewScrollX->SetPosition(FViewScrollX->FPosition - notches * kWheelStep);
    return;
  }
  const bool over = Contains(*FView, x, y);
  const TPoint anchor = over ? TPoint{x, y} : TPoint{FView->FLeft + FView->FWidth / 2, FView->FTop + FView->FHeight / 2};
  SetZoom(FZoom * std::pow(kZoomStep, notches), anchor);
}

// Escape closes an open dialog, or leaves without saving.
void TPuzzleMakerInterface::KeyDown(uint16_t& key, int shift) {
  if (FDone || key != VK_ESCAPE) return;
  if (ErrorShown()) CloseError();
  else if (QuestionShown()) HideQuestion();
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
