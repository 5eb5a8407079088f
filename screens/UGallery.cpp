#include "screens/UGallery.h"

#include <algorithm>

#include "controls/UButtons.h"
#include "controls/UCheckBox.h"
#include "controls/UScrollBar.h"
#include "controls/UTrayWindow.h"
#include "controls/UWindows.h"
#include "controls/UEngines.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Dib.h"
#include "platform/Paths.h"
#include "platform/PictureLibrary.h"
#include "screens/UScreenText.h"

namespace qj {
namespace {

constexpr int kMargin = 12;
constexpr int kButtonLeft = 160;
constexpr int kPieceSize = 40;
constexpr int kTrayPieces = 8;
// The themes' small print is made for the light client areas of windows; on the table the
// captions want a size that reads from a distance.
constexpr int kCheckBoxFontSize = 12;

// Value labels, in the order they stand in FValueTexts.
enum EValue : size_t { vClicks, vRepeats, vLargeBar, vSmallBar, vVerticalBar, vCount };

// The first picture of the library, or an empty bitmap when there is none.
TMyDib SamplePicture() {
  TMyDib picture;
  for (const std::string& path : ListPictures(DataPath("Jigsaws")))
    if (picture.LoadFromFile(path)) break;
  return picture;
}

// A square stand-in for a puzzle piece: a colour with a lit top-left and a shaded bottom-right.
TMyDib SamplePiece(int index) {
  static constexpr TPixel kColours[] = {MakePixel(200, 80, 60), MakePixel(70, 140, 200), MakePixel(90, 170, 90),
                                        MakePixel(220, 190, 70)};
  const TPixel base = kColours[index % 4];
  TMyDib piece(kPieceSize, kPieceSize, 32);
  for (int y = 0; y < kPieceSize; ++y) {
    TPixel* row = piece.Row(y);
    std::fill(row, row + kPieceSize, base);
    if (y < 3) std::fill(row, row + kPieceSize, MakePixel(240, 240, 240));
    if (y >= kPieceSize - 3) std::fill(row, row + kPieceSize, MakePixel(40, 40, 40));
    row[0] = row[1] = MakePixel(240, 240, 240);
    row[kPieceSize - 1] = row[kPieceSize - 2] = MakePixel(40, 40, 40);
  }
  return piece;
}

}  // namespace

TGallery::TGallery(TInterface& screen) : FScreen(screen) {
  FValueTexts.resize(vCount);
  MakeButtons();
  MakeCheckBoxes();
  MakeScrollBars();
  MakeWindows();
  MakeTray();
  WriteTexts();
}

TSpriteHandle TGallery::Text(const std::string& text, int size, int x, int y) {
  return AddTextSprite(FScreen, text, size, x, y);
}

void TGallery::ThemeChanged() {
  ReloadTrayButtons(*FTray);
  WriteTexts();
}

void TGallery::WriteTexts() {
  FTexts.clear();
  FTexts.push_back(Text("Theme " + std::to_string(Options.Environment) + ": " + CurrentTheme().Name +
                            "    T: next theme    Esc: quit",
                        14, kMargin, 8));
  for (size_t label = 0; label < vCount; ++label) WriteValue(label);
}

void TGallery::WriteValue(size_t label) {
  const int bar = int(label) - vLargeBar;
  std::string text;
  if (label == vClicks) text = "Clicks: " + std::to_string(FClicks);
  else if (label == vRepeats) text = "Held: " + std::to_string(FRepeats);
  else text = "Value: " + std::to_string(FBars[size_t(bar)]->FPosition);
  static constexpr TPoint kPlaces[] = {{300, 88}, {300, 124}, {240, 230}, {240, 266}, {322, 298}};
  FValueTexts[label] = Text(text, 12, kPlaces[label].X, kPlaces[label].Y);
}

void TGallery::MakeButtons() {
  FClickButton = &FScreen.AddOwnedControl<TDXButton>();
  // The hints stand above the button, beside its left and right edges: room is left for them.
  FClickButton->SetButton("Click me", kButtonLeft, 84, 130, 0, 0);
  FClickButton->FHintText = "Counts|every click";
  FClickButton->FHintText2 = "A second hint|on the right";
  FClickButton->OnClick = [this](TDXControl*) {
    ++FClicks;
    WriteValue(vClicks);
  };
  FRepeatButton = &FScreen.AddOwnedControl<TDXButton>();
  FRepeatButton->SetButton("Hold me", kButtonLeft, 120, 130, 0, 0);
  FRepeatButton->FAutoRepeat = true;
  FRepeatButton->FHintText = "Repeats|while held";
  FRepeatButton->OnClick = [this](TDXControl*) {
    ++FRepeats;
    WriteValue(vRepeats);
  };
}

void TGallery::MakeCheckBoxes() {
  auto& aspect = FScreen.AddOwnedControl<TDXCheckBox>();
  aspect.Setup("Keep the aspect", kMargin, 158, 280, 26, kCheckBoxFontSize, false, true, [this](TDXControl* sender) {
    FLargeWindow->FKeepAspect = static_cast<TDXCheckBox*>(sender)->FChecked;
    FLargeWindow->Paint();
  });
  auto& fill = FScreen.AddOwnedControl<TDXCheckBox>();
  fill.Setup("Fill the small window", kMargin, 188, 280, 26, kCheckBoxFontSize, false, true, [this](TDXControl* sender) {
    FSmallWindow->SetFillClient(static_cast<TDXCheckBox*>(sender)->FChecked);
  });
}

void TGallery::MakeScrollBars() {
  const auto wire = [this](size_t label) {
    return [this, label](TDXControl*) { WriteValue(label); };
  };
  auto& large = FScreen.AddOwnedControl<TDXHScrollBar>();
  large.Setup(kMargin, 228, 220, 0, 0, 100, 30, 0, wire(vLargeBar));
  auto& small = FScreen.AddOwnedControl<TDXHScrollBar>();
  small.Setup(kMargin, 264, 220, 0, 0, 100, 0, 1, [this](TDXControl*) {
    WriteValue(vSmallBar);
    const TRect client = FSmallWindow->ClientRect();
    const int width = FSmallWindow->FPicture ? FSmallWindow->FPicture->Width() : 0;
    const int64_t reach = std::max<int64_t>(0, int64_t(width) - client.Width());
    FSmallWindow->SetScrollOrigin({int(reach * FBars[1]->FPosition / 100), 0});
  });
  auto& vertical = FScreen.AddOwnedControl<TDXVScrollBar>();
  vertical.Setup(340, 150, 0, 140, -50, 50, 0, 0, wire(vVerticalBar));
  FBars = {&large, &small, &vertical};
}

void TGallery::MakeWindows() {
  const TMyDib picture = SamplePicture();
  FLargeWindow = &FScreen.AddOwnedControl<TDXWindow>();
  FLargeWindow->Setup("A large window", 390, 40, 380, 250, {.Style = 0, .Resizable = true});
  FLargeWindow->FStretchContents = true;
  FLargeWindow->FKeepAspect = true;
  if (!picture.Empty()) FLargeWindow->SetPicture(picture);
  FSmallWindow = &FScreen.AddOwnedControl<TDXWindow>();
  FSmallWindow->Setup("A small one, scrolled", kMargin, 300, 300, 200, {.Style = 1, .Resizable = true});
  FSmallWindow->FFullSizeContents = true;
  if (!picture.Empty()) FSmallWindow->SetPicture(picture);
}

void TGallery::MakeTray() {
  FTray = &FScreen.AddOwnedControl<TDXTrayWindow>();
  FTray->SetTrayNumber(1);
  FTray->RestoreBounds(400, 320, 370, 200);
  if (TMySprite* icon = FTray->IconSprite()) {
    icon->X = FTray->FLeft - 56;
    icon->Y = FTray->FTop;
  }
  FTray->Open();
  AddTrayPieces();
  FTray->OnMove = [this](TDXControl*) { FollowTray(); };
  FTray->OnHide = FTray->OnShow = [this](TDXControl*) {
    for (TSpriteHandle& piece : FTrayPieces)
      if (TMySprite* s = piece.Get()) s->Visible = FTray->WindowShown();
  };
  FTray->OnEmpty = [this](TDXControl*) {
    FTrayPieces.clear();
    FTray->FHasPieces = false;
  };
}

// A row of pieces inside the tray, just above it in depth.
void TGallery::AddTrayPieces() {
  TGraphicsEngine& engine = *FScreen.FEngine;
  FTrayLeft = FTray->FLeft;
  FTrayTop = FTray->FTop;
  for (int i = 0; i < kTrayPieces; ++i) {
    const int x = FTrayLeft + 20 + (i % 4) * (kPieceSize + 12), y = FTrayTop + 50 + (i / 4) * (kPieceSize + 12);
    TSpriteHandle& piece = FTrayPieces.emplace_back(engine, engine.AddSpriteFromBitmap(SamplePiece(i), x, y, FTray->FDepth + 0.5, 0));
    piece.Get()->Fixed = false;
  }
  FTray->FHasPieces = true;
}

void TGallery::FollowTray() {
  const int dx = FTray->FLeft - FTrayLeft, dy = FTray->FTop - FTrayTop;
  for (TSpriteHandle& piece : FTrayPieces)
    if (TMySprite* s = piece.Get()) {
      s->X += dx;
      s->Y += dy;
    }
  FTrayLeft = FTray->FLeft;
  FTrayTop = FTray->FTop;
}

}  // namespace qj
