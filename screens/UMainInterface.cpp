#include "screens/UMainInterface.h"

#include <algorithm>

#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UGameRecord.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "screens/UCredits.h"
#include "screens/UGallery.h"
#include "screens/UScreenText.h"
#include "screens/UThemePreview.h"

namespace qj {
namespace {

struct TChoiceLayout {
  int Position;  // record in the picture's .coord file, and entry in the layout block
  ETextId Hint;
};
constexpr TChoiceLayout kChoices[TMainInterface::ChoiceCount] = {{1, Text::PickAPuzzle},
                                                                  {2, Text::SoundScreenAndKeys},
                                                                  {3, Text::ContinueYourLastPuzzle},
                                                                  {6, Text::WhoMadeThisGame},
                                                                  {7, Text::QuitSeeYouSoon}};

constexpr uint32_t kTickerStepMs = 10;
constexpr int kTickerEnd = 1850;
constexpr int kTickerSize = 14;
constexpr int kTickerTop = 10;
constexpr uint32_t kCreditsStepMs = 100;
constexpr int kCreditsEnd = 1100;
constexpr int kCreditsLineStep = 20;
constexpr int kCreditsRise = 300;     // pixels a line rises before it slides out
constexpr int kCreditsSlideEnd = 500;
constexpr int kCreditsLeft = 20;
constexpr const char* kCreditsFont = "Times New Roman";
const TPixel kContinueVeil = MakePixel(24, 16, 28);
constexpr uint8_t kContinueVeilAlpha = 150;

// One step per frame at most, once more than a period has passed: the roll never jumps after a
// stall.
bool StepDue(uint32_t& lastTick, uint32_t periodMs) {
  const uint32_t now = GetTickCount();
  if (now - lastTick <= periodMs) return false;
  lastTick = now;
  return true;
}

}  // namespace

EShowcase TMainInterface::FShowcase = EShowcase::None;
int TMainInterface::FPreviewTheme = -1;

void TMainInterface::SetShowcase(EShowcase showcase, int theme) {
  FShowcase = showcase;
  FPreviewTheme = theme;
}

TMainInterface::TMainInterface(TGraphicsEngine* engine) : TInterface(engine) {}

TMainInterface::~TMainInterface() = default;

bool TMainInterface::CanContinueLast() {
  const std::string& picture = Options.LastJigsaw;
  return !picture.empty() && FileExists(picture) && FileExists(ChangeFileExt(picture, ".zip")) &&
         FileExists(ChangeFileExt(picture, ".pzl")) && !LastGameFinished();
}

// A finished game is saved too (its picture stays whole on the table), but there is nothing left
// to continue in it. The score file's last record is the saved game's.
bool TMainInterface::LastGameFinished() {
  const std::string scores = ChangeFileExt(Options.LastJigsaw, ".hsc");
  TGameRecord best, last;
  return !Options.LastJigsaw.empty() && FileExists(scores) && ReadScoreFile(scores, best, last) && last.Finished == 1;
}

// A player back from another screen gets no hint from where the mouse happens to rest: hints
// wait until it moves.
void TMainInterface::Enter() {
  TInterface::Enter();
  FMouseStill = 0;
  if (FShowcase == EShowcase::None) {
    ShowMenu();
    return;
  }
  UsePreviewTheme();
  if (FShowcase == EShowcase::Gallery)
    FGallery = std::make_unique<TGallery>(*this);
  else
    FMenuSprites = BuildThemePreview(*this);
}

void TMainInterface::UsePreviewTheme() {
  if (FPreviewTheme < 0 || size_t(FPreviewTheme) >= Themes.size() || FPreviewTheme == Options.Environment) return;
  Options.Environment = FPreviewTheme;
  if (OnAppearanceChanged) OnAppearanceChanged();
}

// The preview is laid out again for the next theme; the gallery's controls stay and take on the
// new theme themselves, as every live control does.
void TMainInterface::NextPreviewTheme() {
  if (Themes.empty()) return;
  FPreviewTheme = int((size_t(Options.Environment) + 1) % Themes.size());
  if (FShowcase == EShowcase::Gallery) {
    UsePreviewTheme();
    FGallery->ThemeChanged();
    return;
  }
  FreeMenu();
  UsePreviewTheme();
  FMenuSprites = BuildThemePreview(*this);
}

void TMainInterface::Leave() {
  if (FDone) return;
  FGallery.reset();
  FreeMenu();
  TInterface::Leave();
}

// A new size or a new display (whose surfaces start empty): the picture menu keeps its buttons
// and goes to the new right edge; everything else is made again.
void TMainInterface::Resize() {
  if (FDone) return;
  switch (FShowcase) {
    case EShowcase::None:
      if (FPicture) PlaceMenu();
      else ShowMenu();
      break;
    case EShowcase::ThemePreview:
      FreeMenu();
      FMenuSprites = BuildThemePreview(*this);
      break;
    case EShowcase::Gallery:
      FGallery.reset();
      FreeOwnedControls();
      FGallery = std::make_unique<TGallery>(*this);
      break;
  }
}

// A theme whose menu picture, buttons or layout are missing still gets a menu: its choices as
// text, with the trouble named on stderr.
void TMainInterface::ShowMenu() {
  FreeMenu();
  if (!ShowPictureMenu()) ShowTextMenu();
  AddRolls();
}

bool TMainInterface::ShowPictureMenu() {
  std::vector<std::string> block;
  try {
    ReadOptionsBlock("MainOptions", block);
    if (block.size() <= size_t(kChoices[ChoiceCount - 1].Position))
      throw ELayoutError("block [MainOptions] has too few entries");
    const std::string coord = ResolvePath(block[0] + ".coord");
    for (int c = 0; c < ChoiceCount; ++c) ReadLayoutRect(coord, FButtonPlaces[size_t(c)], 5 * (kChoices[c].Position - 1) + 1);
  } catch (const ELayoutError& e) {
    LogError("the main menu is shown as text: %s", e.what());
    return false;
  }
  TMyDib picture;
  if (!picture.LoadFromFile(ResolvePath(block[0] + ".jpg"))) {
    LogError("the main menu is shown as text: %s", picture.LastError().c_str());
    return false;
  }
  FPicture = TSpriteHandle(*FEngine, FEngine->AddSpriteFromBitmap(picture, 0, 0, NextDepth(), 0));
  for (int c = 0; c < ChoiceCount; ++c) {
    TDXButton& button = AddOwnedControl<TDXButton>();
    const std::string image = ResolvePath(block[size_t(kChoices[c].Position)] + ".bmp");
    if (!button.SetImages({image, image, image})) {
      FreeMenu();
      return false;
    }
    // Blank at rest: the picture's own drawing of the button shows until the mouse comes.
    auto blank = std::make_shared<TMyDib>(button.FWidth, button.FHeight, 32);
    blank->Fill(0);
    button.FFrames[0] = std::move(blank);
    button.FSprite.Get()->SolidHit = true;
    button.FHintText = Lang(kChoices[c].Hint);
    const auto choice = EChoice(c);
    button.OnClick = [this, choice](TDXControl*) { Choose(choice); };
    FButtons[size_t(c)] = &button;
  }
  ShadeContinue();
  PlaceMenu();
  return true;
}

// Without a game to continue, or with a finished one (which its hint says), its button is dimmed where the picture draws it: a dark veil in
// the button's own shape.
void TMainInterface::ShadeContinue() {
  const TImage& look = FButtons[Continue]->FFrames.back();
  TMyDib veil(look->Width(), look->Height(), 32);
  for (int y = 0; y < veil.Height(); ++y) {
    const TPixel* in = look->Row(y);
    TPixel* out = veil.Row(y);
    for (int x = 0; x < veil.Width(); ++x) out[x] = (in[x] & kRgbMask) == 0 ? 0 : kContinueVeil;
  }
  FContinueVeil = TSpriteHandle(*FEngine, FEngine->AddSpriteFromBitmap(veil, 0, 0, NextDepth(), 0));
  TMySprite& s = *FContinueVeil.Get();
  s.Alpha = kContinueVeilAlpha;
  s.NoHit = true;
  s.Visible = !CanContinueLast();
  if (LastGameFinished()) FButtons[Continue]->FHintText = Lang(Text::LastPuzzleFinished);
}

// The picture and the buttons keep to the right edge of the surface.
void TMainInterface::PlaceMenu() {
  TMySprite* picture = FPicture.Get();
  if (!picture || picture->Surfaces.empty()) return;
  const int width = FEngine->FWidth, height = FEngine->FHeight;
  const TSurface& image = *picture->Surfaces[0];
  picture->X = width - image.Width();
  picture->Y = 0;
  // Where the picture leaves part of a larger surface bare, the table shows there.
  if (TMySprite* table = FEngine->Background()) table->Visible = image.Width() < width || image.Height() < height;
  for (int c = 0; c < ChoiceCount; ++c) {
    const TLayoutRect& r = FButtonPlaces[size_t(c)];
    FButtons[size_t(c)]->SetBounds(width - r.Left, r.Top, r.Right, r.Bottom);
    FButtons[size_t(c)]->Paint();
  }
  if (TMySprite* veil = FContinueVeil.Get()) {
    veil->X = FButtons[Continue]->FLeft;
    veil->Y = FButtons[Continue]->FTop;
  }
}

// A new display took every image with its old surfaces (the menu's picture kept a 1 x 1 stand-in
// and the buttons stayed blank until the mouse came): the menu is made again.
void TMainInterface::Restore() {
  if (FDone) return;
  if (FShowcase == EShowcase::None)
    ShowMenu();
  else
    Resize();
}

// Until the menu's pictures exist, its choices are written on the table with their keys: the
// caption of each button's hint (the part before "|").
void TMainInterface::ShowTextMenu() {
  const int width = FEngine->FWidth, height = FEngine->FHeight;
  const std::string title = Lang(Text::GameTitle);
  const TTextSize titleSize = MeasureScreenText(title, 36);
  FMenuSprites.push_back(AddTextSprite(*this, title, 36, (width - titleSize.Width) / 2, height / 6));
  const std::pair<const char*, ETextId> choices[] = {{"P", Text::PickAPuzzle},
                                                     {"O", Text::SoundScreenAndKeys},
                                                     {"C", Text::ContinueYourLastPuzzle},
                                                     {"X", Text::QuitSeeYouSoon}};
  int y = height / 6 + titleSize.Height + 30;
  for (const auto& [key, line] : choices) {
    const std::string caption = Lang(line).substr(0, Lang(line).find('|'));
    FMenuSprites.push_back(AddTextSprite(*this, key, 16, width / 2 - 120, y));
    FMenuSprites.push_back(AddTextSprite(*this, caption, 16, width / 2 - 50, y));
    y += MeasureScreenText(caption, 16).Height + 12;
  }
}

// The welcome line and the credits are drawn by hooks over everything the menu shows; their
// texts are set once and only moved frame by frame.
void TMainInterface::AddRolls() {
  RenderScreenText(FTickerText, Lang(Text::Welcome), kTickerSize);
  FCreditText.clear();
  for (const TCreditLine& line : CreditLines())
    RenderScreenText(FCreditText.emplace_back(), line.Text, line.Kind == ECreditKind::Heading ? 14 : 12, kCreditsFont);
  FTickerOffset = FCreditsOffset = 0;
  FTickerTick = FCreditsTick = GetTickCount();
  const auto hook = [this](TSpriteHandle& handle, void (TMainInterface::*draw)(), bool visible) {
    handle = TSpriteHandle(*FEngine, FEngine->AddEmptySprite(0, 0, NextDepth(), 0));
    TMySprite& s = *handle.Get();
    s.Kind = ESpriteKind::Hook;
    s.NoHit = true;
    s.Visible = visible;
    s.OnDraw = [this, draw](int) { (this->*draw)(); };
  };
  hook(FCredits, &TMainInterface::DrawCredits, false);
  hook(FTicker, &TMainInterface::DrawTicker, true);
}

void TMainInterface::FreeMenu() {
  FMenuSprites.clear();
  FButtons.fill(nullptr);
  FreeOwnedControls();
  FPicture.Reset();
  FContinueVeil.Reset();
  FTicker.Reset();
  FCredits.Reset();
  if (TMySprite* table = FEngine->Background()) table->Visible = true;
}

bool TMainInterface::CreditsShown() const {
  const TMySprite* s = FCredits.Get();
  return s && s->Visible;
}

bool TMainInterface::ContinueDimmed() const {
  const TMySprite* s = FContinueVeil.Get();
  return s && s->Visible;
}

bool TMainInterface::TickerShown() const {
  const TMySprite* s = FTicker.Get();
  return s && s->Visible;
}

void TMainInterface::Choose(EChoice choice) {
  if (FDone) return;
  switch (choice) {
    case Play: Finish(MainMenuResult::Selector); break;
    case OptionsChoice: Finish(MainMenuResult::Options); break;
    case Continue:
      if (CanContinueLast()) Finish(MainMenuResult::ContinueLast);
      break;
    case Credits: ToggleCredits(); break;
    case Quit: Finish(MainMenuResult::Quit); break;
    case ChoiceCount: break;
  }
}

void TMainInterface::ToggleCredits() {
  TMySprite* credits = FCredits.Get();
  if (!credits) return;
  credits->Visible = !credits->Visible;
  FCreditsTick = GetTickCount();
  FCreditsOffset = 0;
}

void TMainInterface::DrawTicker() {
  if (StepDue(FTickerTick, kTickerStepMs)) ++FTickerOffset;
  TSurface& back = FEngine->Display().BackBuffer();
  BltFast(back, FEngine->FWidth - FTickerOffset, kTickerTop - 2, FTickerText, true);
  if (FTickerOffset > kTickerEnd) FTicker.Get()->Visible = false;
}

// Lines rise from the bottom edge one after another, then slide out to the left.
void TMainInterface::DrawCredits() {
  if (StepDue(FCreditsTick, kCreditsStepMs)) ++FCreditsOffset;
  TSurface& back = FEngine->Display().BackBuffer();
  const int height = FEngine->FHeight;
  for (size_t i = 0; i < FCreditText.size(); ++i) {
    const int v = FCreditsOffset - kCreditsLineStep * int(i);
    if (v < 0 || v >= kCreditsSlideEnd) continue;
    const int x = v < kCreditsRise ? kCreditsLeft : kCreditsLeft - 10 * (v - kCreditsRise);
    BltFast(back, x, height - v, FCreditText[i], true);
  }
  if (FCreditsOffset > kCreditsEnd) FCredits.Get()->Visible = false;
}

// The first button under the mouse, in the order of the choices, lights up; hints are offered
// as on every screen.
void TMainInterface::MouseMove(int shift, int x, int y) {
  if (FDone) return;
  TInterface::MouseMove(shift, x, y);
  bool lit = false;
  for (TDXButton* button : FButtons) {
    if (!button) continue;
    const bool over = !lit && x >= button->FLeft && x < button->Right() && y >= button->FTop && y < button->Bottom();
    button->SetHighlighted(over);
    lit = lit || over;
  }
}

// Keys of the choices: P or S plays, O opens the options, C continues, E or X quits, M opens
// the maker on the last jigsaw.
void TMainInterface::KeyPress(char32_t& key) {
  if (FDone || FShowcase != EShowcase::None) return;
  const char32_t upper = key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key;
  EChoice choice = ChoiceCount;
  switch (upper) {
    case 'P':
    case 'S': choice = Play; break;
    case 'O': choice = OptionsChoice; break;
    case 'C': choice = Continue; break;
    case 'E':
    case 'X': choice = Quit; break;
    case 'M': Finish(MainMenuResult::MakerOfLast); return;
    default: return;
  }
  // A button that ends the screen is freed by its own click: it goes when the click is over.
  TDispatchGuard guard(*this);
  if (TDXButton* button = FButtons[choice]) button->Click();
  else Choose(choice);
}

// The digits take the choices in the order of the buttons (1 to 3, 4 the maker of the last
// jigsaw); Escape quits.
void TMainInterface::KeyDown(uint16_t& key, int shift) {
  if (FDone) return;
  if (key == 'T' && FShowcase != EShowcase::None) NextPreviewTheme();
  if (FShowcase != EShowcase::None && key != VK_ESCAPE) return;
  if (key == VK_ESCAPE) Finish(MainMenuResult::Quit);
  if (key >= '1' && key <= '3') Choose(EChoice(key - '1'));
  if (key == '4') Finish(MainMenuResult::MakerOfLast);
}

void TMainInterface::KeyUp(uint16_t& key, int shift) {
  if (key == VK_F1 && (shift & (ssShift | ssAlt | ssCtrl)) == 0) ShowHelp(22);
}

}  // namespace qj
