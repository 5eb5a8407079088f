// The two-sided bar button: presses per side, momentary and toggle sides, the hints of both
// sides, and a face painted half from each side's frame.
#include "controls/UBoardMenuButton.h"

#include <algorithm>

#include "controls/UControlImages.h"
#include "controls/UHints.h"
#include "core/UMiscelaneous.h"
#include "core/UTextIds.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Canvas.h"
#include "platform/Input.h"
#include "platform/Surface.h"
#include "platform/TextUtil.h"

namespace qj {

namespace {
constexpr int kIconTop = 4;
constexpr int kCaptionBottom = 3;
// Where the themes' hint boxes have their tail: this part of the width in from the side the box
// stands out to.
constexpr double kHintTail = 0.14;
}  // namespace

TBoardMenuButton::TBoardMenuButton(TInterface* owner, int index, EButtonMode left, EButtonMode right)
    : TDXControl(owner),
      FIndex(index),
      FLeftMode(left),
      FRightMode(right),
      FHint(std::make_unique<TDXHint>(owner)) {
  FSprite = TSpriteHandle(*FEngine, FEngine->AddEmptySprite(0, 0, FDepth, 0));
  FEngine->AddSurface(FSprite.Index(), nullptr);
  FCaption = TextKey(Text::MenuCaptions + index);
  // Line 0 is the program's title, not a hint: the first button's two sides do the same, and
  // its right side's line speaks for both.
  if (Text::MenuHints + 2 * index == Text::GameTitle)
    SetHints(TextKey(Text::MenuHints + 2 * index + 1), "");
  else
    SetHints(TextKey(Text::MenuHints + 2 * index), TextKey(Text::MenuHints + 2 * index + 1));
  FHint->OnBeforeShow = [this](TDXControl*) { PlaceHint(); };
}

// Over the left half of the screen the box stands out to the right, else to the left, so that it
// stays on the screen; its tail points at the button's middle.
void TBoardMenuButton::PlaceHint() {
  const bool leftSide = FLeft + FWidth / 2 >= FEngine->FWidth / 2;
  FHint->SetCaption(HintText());
  FHint->PlaceBeside(leftSide);
  const int tail = int(FHint->FWidth * (leftSide ? 1 - kHintTail : kHintTail));
  FHint->SetLeft(std::clamp(FLeft + FWidth / 2 - tail, 0, std::max(0, FEngine->FWidth - FHint->FWidth)));
  FHint->SetTop(FTop - FHint->FHeight);
}

TBoardMenuButton::~TBoardMenuButton() = default;

void TBoardMenuButton::MouseDown(int button, int shift, int x, int y) {
  if (button == mbMiddle) return;
  Press(button == mbRight ? EMenuSide::Right : EMenuSide::Left);
}

void TBoardMenuButton::MouseUp(int button, int shift, int x, int y) { Release(); }

void TBoardMenuButton::ClickSide(EMenuSide side) {
  const std::weak_ptr<const void> life = Life();
  Press(side);
  if (!life.expired()) Release();
}

// Momentary sides show the pressed frame while held and stay off; toggles flip at the press.
void TBoardMenuButton::Press(EMenuSide side) {
  if (!FEnabled || FDown) return;
  PlayClick();
  FDown = true;
  FCapture = true;
  FDownSide = side;
  const std::weak_ptr<const void> life = Life();
  if (OnPress) OnPress(this, side);
  if (life.expired()) return;
  const bool left = side == EMenuSide::Left;
  if ((left ? FLeftMode : FRightMode) == EButtonMode::Momentary) {
    (left ? FLeftOn : FRightOn) = false;
    (left ? FLeftFrame : FRightFrame) = MenuButtonFrame::Pressed;
  } else {
    SetSide(side, !IsOn(side));
  }
  Paint();
  if (OnChanged) OnChanged(this, side);
}

void TBoardMenuButton::Release() {
  if (!FDown) return;
  FDown = false;
  FCapture = false;
  const bool left = FDownSide == EMenuSide::Left;
  int& frame = left ? FLeftFrame : FRightFrame;
  if (frame == MenuButtonFrame::Pressed) frame = MenuButtonFrame::Off;
  Paint();
  if (OnReleased) OnReleased(this, FDownSide);
}

void TBoardMenuButton::SetSide(EMenuSide side, bool on) {
  const bool left = side == EMenuSide::Left;
  (left ? FLeftOn : FRightOn) = on;
  (left ? FLeftFrame : FRightFrame) = on ? MenuButtonFrame::On : MenuButtonFrame::Off;
  Paint();
}

void TBoardMenuButton::SetImages(const TImageList& frames, TImage icon) {
  FFrames = frames;
  FIcon = std::move(icon);
  if (const TMyDib* rest = ImageAt(FFrames, 0)) {
    FWidth = rest->Width();
    FHeight = rest->Height();
  }
  Paint();
}

void TBoardMenuButton::SetHints(const std::string& left, const std::string& right) {
  FLeftHintText = left;
  FRightHintText = right;
}

std::string TBoardMenuButton::HintText() const {
  const std::string left = ReplaceTextKeys(FLeftHintText), right = ReplaceTextKeys(FRightHintText);
  if (right.empty() || right == left) return left;
  const auto side = [](std::string text, const std::string& line) {
    const size_t bar = line.find('|');
    text = FillIn(std::move(text), "%1", line.substr(0, bar));
    return FillIn(std::move(text), "%2", bar == std::string::npos ? std::string() : line.substr(bar + 1));
  };
  const std::string& both = Lang(Text::TwoSidedHint);
  const size_t bar = both.find('|');
  return side(both.substr(0, bar), left) + "|" + side(both.substr(bar + 1), right);
}

void TBoardMenuButton::SetShown(bool shown) {
  if (TMySprite* s = FSprite.Get()) s->Visible = shown;
  FHint->SetEnabled(shown);
  if (!shown) FHint->HideHint();
}

void TBoardMenuButton::HideHints() { FHint->HideHint(); }

bool TBoardMenuButton::ShowHint() { return FHint->ShowHint(); }

void TBoardMenuButton::SetTop(int value) {
  FTop = value;
  AttachHints();
  TDXControl::SetTop(value);
}

void TBoardMenuButton::SetLeft(int value) {
  FLeft = value;
  AttachHints();
  TDXControl::SetLeft(value);
}

void TBoardMenuButton::AttachHints() { FHint->AttachTo(*this); }

// Each half of the button shows its side's frame, the icon and caption over both.
void TBoardMenuButton::Paint() {
  TMySprite* s = FSprite.Get();
  if (FUpdating || !s || s->Surfaces.empty() || FWidth <= 0 || FHeight <= 0) return;
  TSurface& surface = *s->Surfaces[0];
  surface.SetSize(FWidth, FHeight);
  const int half = FWidth / 2;
  if (const TMyDib* frame = ImageAt(FFrames, FLeftFrame)) Blt(surface, {0, 0, half, FHeight}, *frame, {0, 0, half, frame->Height()}, false);
  if (const TMyDib* frame = ImageAt(FFrames, FRightFrame))
    Blt(surface, {half, 0, FWidth, FHeight}, *frame, {frame->Width() / 2, 0, frame->Width(), frame->Height()}, false);
  if (FIcon) BltFast(surface, (FWidth - FIcon->Width()) / 2, kIconTop, *FIcon, true);
  const std::string caption = GetCaption();
  if (!caption.empty()) {
    const TTheme& theme = CurrentTheme();
    TCanvas canvas(surface);
    canvas.Font.Name = theme.FontName;
    canvas.Font.Size = theme.FontMenuSize;
    canvas.Font.Color = theme.SayColor.ToPixel();
    canvas.BrushClear = true;
    canvas.TextOut((FWidth - canvas.TextWidth(caption)) / 2, FHeight - canvas.TextHeight(caption) - kCaptionBottom,
                   caption);
  }
  MoveSprite();
}

std::vector<TTextRoom> TBoardMenuButton::TextRooms() const {
  std::vector<TTextRoom> rooms = TDXControl::TextRooms();
  const std::string caption = GetCaption();
  const TTheme& theme = CurrentTheme();
  if (!caption.empty()) rooms.push_back(MeasureTextRoom({theme.FontName, theme.FontMenuSize, 0, false}, caption, FWidth, FHeight));
  return rooms;
}

}  // namespace qj
