// The puzzle maker: makes a picture into a puzzle. The player chooses a cut style, a piece shape,
// the piece size and the distortion of the grid, sees the cut lines over the picture, checks the
// cut and saves the puzzle file beside the picture. Its cutter holds a picture only while the
// screen is shown.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/UEngines.h"
#include "core/UTextIds.h"
#include "graphics/USpriteHandle.h"
#include "platform/Geometry.h"
#include "platform/PixelBuffer.h"

namespace qj {

class TPuzzleCutter;
class TDXButton;
class TDXCheckBox;
class TDXHint;
class TDXScrollBar;
class TDXWindow;

// What the finished maker asks the engine to do next (its result).
namespace MakerResult {
enum : int { ToSelector = 1 };
}

class TPuzzleMakerInterface : public TInterface {
 public:
  // The sliders: the look of the pieces, then the six that shape the grid.
  enum ESlider : uint8_t { Shadow, Bevel, Width, DistortX, SpreadX, Height, DistortY, SpreadY, SliderCount };
  enum EButton : uint8_t { Save, Cancel, Check, ErrorOk, QuestionYes, QuestionNo, ButtonCount };
  // What the question window asks.
  enum EQuestion : uint8_t { ManyPieces, ReplaceGame };
  // What the last check found.
  enum ECheckState : uint8_t { Unchecked = 0, Sound = 1, Unsound = 2 };
  static constexpr int kCheckBoxCount = 5;
  // A puzzle of more pieces is saved only when the player says so: cutting and playing it is slow.
  static constexpr int kManyPieces = 5000;
  static constexpr int kWheelStep = 40;
  static constexpr double kZoomStep = 1.25;  // per wheel notch
  static constexpr int kCaptionBand = 18;    // the room of a slider's caption beside it
  static constexpr int kDialogWidth = 300;

  explicit TPuzzleMakerInterface(TGraphicsEngine* engine);
  ~TPuzzleMakerInterface() override;

  void Enter() override;
  void Leave() override;
  void MouseDown(int button, int shift, int x, int y) override;
  void MouseUp(int button, int shift, int x, int y) override;
  void MouseWheel(int shift, int notches, int x, int y) override;
  void KeyDown(uint16_t& key, int shift) override;
  void KeyUp(uint16_t& key, int shift) override;
  void Resize() override;
  void Restore() override;

  TPuzzleCutter& Cutter() { return *FCutter; }
  TDXScrollBar* Slider(ESlider slider) const { return FSliders[slider]; }
  TDXButton* Button(EButton button) const { return FButtons[button]; }
  TDXCheckBox* CheckBox(int index) const { return FCheckBoxes[size_t(index)]; }
  TDXCheckBox* FitBox() const { return FFitBox; }
  std::string SliderCaption(ESlider slider) const;
  size_t HintCount() const { return FHints.size(); }
  const std::vector<TDXButton*>& StyleButtons() const { return FStyleButtons; }
  const std::vector<TDXButton*>& ShapeButtons() const { return FShapeButtons; }
  TDXWindow* View() const { return FView; }
  TDXScrollBar* ViewScroll(bool vertical) const { return vertical ? FViewScrollY : FViewScrollX; }
  int Shape() const { return FShape; }
  double Zoom() const { return FZoom; }
  int CurrentStyle() const { return FCurrentStyle; }
  ECheckState CheckState() const { return FCheckState; }
  int ShapedCount() const { return FShapedCount; }
  int StraightCount() const { return FStraightCount; }
  bool ErrorShown() const;
  bool QuestionShown() const;
  EQuestion Question() const { return FQuestion; }
  // The lines the error panel and the question window show, one after the other.
  std::string ErrorText() const;
  std::string QuestionText() const;

  // The picture to make a puzzle of when the screen is entered next, read into the cutter. False,
  // with the cause, when it cannot be read; the cutter then holds no picture.
  [[nodiscard]] bool OpenPicture(const std::string& picture, std::string& error);
  // Lets go of the cutter's images at once, after a failure on the way into or on the screen.
  void ReleasePicture();
  // A message for the player: title and text.
  std::function<void(const std::string& title, const std::string& text)> OnMessage;

 private:
  void BuildWindows();
  void BuildButtons();
  TDXButton& NewButton(EButton which, const std::string& caption, bool overlay);
  void BuildCheckBoxes();
  void BuildSliders();
  void BuildStyleButtons();
  void BuildShapeButtons();
  void PaintShapeButtons();
  void BuildHints();
  void BuildMarks();
  void PlaceMarks();
  void LoadValues();
  void ShowValues();
  void ShowPicture();
  void PlaceLeftColumn(int width, int height);
  void PlaceGridSliders(int width, int height);
  void PlaceViewScrollBars();
  double FitZoom() const;
  double LargestZoom() const;
  TPoint ZoomedSize() const;
  void SetZoom(double zoom, TPoint anchor);
  void RenderView();
  void PlaceDialog(TDXWindow& window, const std::vector<std::string>& lines, EButton first, EButton second);

  void SelectStyle(int style);
  void SelectShape(int shape);
  void GridChanged();
  TPoint PieceSize() const;  // the sliders' piece width and height
  double FittedSize(int position, bool across) const;
  void LookChanged();
  void OptionsChanged();
  void FitChanged();
  void ScrollView();
  void PressCheck();
  void PressSave();
  void SaveUnlessAGameIsLost();
  // Whether the picture has a saved game not yet finished, with its progress for the question.
  bool GameInProgress(std::string& progress) const;
  void AnswerYes();
  void WritePuzzle();
  void ShowError(bool shown);
  void ShowUnsound();
  void ShowFailure(const std::string& what, const std::string& path, int cause);
  void CloseError();
  void ShowQuestion(EQuestion question);
  void HideQuestion();
  std::vector<std::string> QuestionLines() const;
  void ShowDialog(TDXWindow* window, std::initializer_list<EButton> buttons, bool shown);
  bool ReachesDialog(int x, int y) const;
  void PaintInfo();
  void PaintLook();
  void PaintCaptions();
  void Message(const std::string& text);

  std::unique_ptr<TPuzzleCutter> FCutter;
  std::string FPicturePath;  // named when the picture could not be read
  std::vector<std::string> FStyleList;
  TDXWindow* FFrameWindow = nullptr;
  TDXWindow* FView = nullptr;
  TDXWindow* FLookWindow = nullptr;
  TDXWindow* FInfoWindow = nullptr;
  TDXWindow* FErrorWindow = nullptr;
  TDXWindow* FQuestionWindow = nullptr;
  TDXScrollBar* FViewScrollX = nullptr;
  TDXScrollBar* FViewScrollY = nullptr;
  std::array<TDXScrollBar*, SliderCount> FSliders{};
  std::array<TDXButton*, ButtonCount> FButtons{};
  std::array<TDXCheckBox*, kCheckBoxCount> FCheckBoxes{};
  TDXCheckBox* FFitBox = nullptr;
  std::vector<std::pair<TDXHint*, TDXControl*>> FHints;  // hint, the control it explains
  // A stored cut whose whole pieces cover the picture: its exact sizes, for the slider positions
  // and style they were shown at.
  struct TKeptFit {
    int Style = -1;
    TPoint Slider;
    double Width = 0, Height = 0;
  } FKeptFit;
  std::vector<TDXButton*> FStyleButtons;
  std::vector<TDXButton*> FShapeButtons;
  // Frames around the chosen style and shape; presses go through them to the buttons.
  TSpriteHandle FStyleMark, FShapeMark;
  int FShape = 1;
  int FCurrentStyle = 0;
  // The view's zoom; fitted, it follows the view's size.
  double FZoom = 1;
  bool FZoomFitted = true;
  TPixelBuffer FZoomedPicture;  // the picture at FZoom, kept while only the cut changes
  ECheckState FCheckState = Unchecked;
  int FShapedCount = 0;
  int FStraightCount = 0;
  EQuestion FQuestion = ManyPieces;
  std::string FGameProgress;  // of the game the question names
  ETextId FErrorTitle = ETextId::NotSound;
  std::vector<std::string> FErrorLines;
  bool FLeaveAfterError = false;  // the puzzle was saved: OK goes on to the pictures
  bool FStoredPuzzle = false;  // the values came from the picture's puzzle file
  bool FLoading = false;  // the controls are being set from the puzzle: no redraws meanwhile
};

}  // namespace qj
