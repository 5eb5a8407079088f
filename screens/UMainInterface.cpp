#include "screens/UMainInterface.h"

#include <algorithm>

#include "controls/UHints.h"
#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "creation/UGameRecord.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/TextUtil.h"
#include "screens/UCredits.h"
#include "screens/UGallery.h"
#include "screens/ULettering.h"
#include "screens/UScreenText.h"
#include "screens/UThemePreview.h"
#include "screens/UThumbWindow.h"

namespace qj {
namespace {

struct TChoiceLayout {
  int Position;  // record in the picture's .coord file, and entry in the layout block
  ETextId Hint;
  const char* Key;  // the letter that chooses it, written beside it in the text menu
};
constexpr TChoiceLayout kChoices[TMainInterface::ChoiceCount] = {{1, Text::PickAPuzzle, "P"},
                                                                  {2, Text::SoundScreenAndKeys, "O"},
                                                                  {3, Text::ContinueYourLastPuzzle, "C"},
                                                                  {6, Text::WhoMadeThisGame, ""},
                                                                  {7, Text::QuitSeeYouSoon, "X"}};

// The menu picture draws each button's icon in the square at its left end; the caption takes
// the rest but for a quarter of the height at the right end.
constexpr int kCaptionSize = 18;
constexpr int kSmallestCaption = 9;
constexpr int kTitleSize = 46;
constexpr int kSmallestTitle = 18;
constexpr int kTitleTop = 44;
constexpr int kPanelMargin = 40;  // the menu picture's panel around the buttons
constexpr int kHintGap = 6;
constexpr int kTextMenuSize = 16;
constexpr size_t kLongestName = 28;

constexpr uint32_t kTickerStepMs = 10;
constexpr int kTickerEnd = 1850;
constexpr int kTickerSize = 14;
constexpr int kTickerTop = 10;
constexpr int kCreditsHeadingSize = 18;
constexpr int kCreditsLineSize = 14;
constexpr int kCreditsGap = 16;
constexpr int kCreditsHeadingSpace = 4;  // below a heading, so it stands apart from its lines
constexpr int kCreditsMinWidth = 400;   // free width the roll needs beside the menu's picture
constexpr const char* kCreditsFont = "Times New Roman";
const TPixel kContinueVeil = MakePixel(24, 16, 28);
constexpr uint8_t kContinueVeilAlpha = 150;

// White letters ringed in the dark of the menu's panel read on every button colour.
TLettering CaptionLettering() {
  TLettering style;
  style.Size = kCaptionSize;
  style.Bottom = MakePixel(228, 232, 240);
  style.Outline = MakePixel(30, 22, 38);
  style.OutlineWidth = 2;
  style.Shadow = MakePixel(12, 8, 16);
  return style;
}

TPixel Scaled(TPixel p, double f) {
  const auto c = [f](unsigned v) { return unsigned(std::clamp(v * f, 0.0, 255.0)); };
  return MakePixel(c(PixelR(p)), c(PixelG(p)), c(PixelB(p)));
}

// The theme's highlight colour, lit from above, inked in the theme's darkest colour.
TLettering TitleLettering() {
  const TTheme& theme = CurrentTheme();
  const TPixel select = theme.SelectColor.ToPixel(), say = theme.SayColor.ToPixel();
  const bool sayIsDark = PixelR(say) + PixelG(say) + PixelB(say) < 3 * 96;
  TLettering style;
  style.Size = kTitleSize;
  style.Top = MakePixel((PixelR(select) + 2 * 255) / 3, (PixelG(select) + 2 * 255) / 3, (PixelB(select) + 2 * 255) / 3);
  style.Bottom = select;
  style.Outline = sayIsDark ? say : Scaled(select, 0.22);
  style.OutlineWidth = 3;
  style.Shadow = Scaled(style.Outline, 0.5);
  style.ShadowOffset = 4;
  return style;
}

// The picture's title as the selector shows it, long ones cut at a word end.
std::string PuzzleName(const std::string& picture) {
  return ShortenToWidth(ReadableName(ExtractFileName(picture)), int(kLongestName),
                        [](const std::string& text) { return int(text.size()); });
}

// Copies the lettering onto `face` with its top left corner at (x, y), clipped to the face.
void PutLettering(TMyDib& face, const TPixelBuffer& text, int x, int y) {
  const int left = std::max(0, x), right = std::min(face.Width(), x + text.Width());
  for (int row = std::max(0, y); row < std::min(face.Height(), y + text.Height()) && left < right; ++row)
    std::copy(text.Row(row - y) + (left - x), text.Row(row - y) + (right - x), face.Row(row) + left);
  face.MarkChanged();
}

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

std::string TMainInterface::ContinueHint() {
  const std::string& picture = Options.LastJigsaw;
  if (picture.empty() || !FileExists(ChangeFileExt(picture, ".zip"))) return Lang(Text::NothingToContinue);
  const std::string name = PuzzleName(picture);
  if (!FileExists(picture) || !FileExists(ChangeFileExt(picture, ".pzl")))
    return FillIn(Lang(Text::LastPuzzleGone), "%1", name);
  TGameRecord best, last;
  if (!ReadScoreFile(ChangeFileExt(picture, ".hsc"), best, last) || last.InitialPieces <= 0)
    return Lang(Text::ContinueYourLastPuzzle);
  if (last.Finished == 1) return Lang(Text::LastPuzzleFinished);
  // A game the program autosaved and never got to leave says so, with the time.
  const bool autosaved = !Options.AutosavedAt.empty();
  const std::string text = ProgressText(Lang(autosaved ? Text::ContinueAutosavedGame : Text::ContinueSavedGame), last);
  return FillIn(FillIn(text, "%3", name), "%4", Options.AutosavedAt);
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
    button.FHintText = c == Continue ? ContinueHint() : Lang(kChoices[c].Hint);
    button.FHint->OnBeforeShow = [this, &button](TDXControl*) { PlaceHint(button); };
    const auto choice = EChoice(c);
    button.OnClick = [this, choice](TDXControl*) { Choose(choice); };
    FButtons[size_t(c)] = &button;
  }
  LabelButtons();
  ShadeContinue();
  PlaceMenu();
  return true;
}

// Each caption sits beside its button's icon, on the button's face at rest and lit alike.
void TMainInterface::LabelButtons() {
  for (int c = 0; c < ChoiceCount; ++c) {
    TDXButton& button = *FButtons[size_t(c)];
    const std::string& caption = Lang(Text::MainMenuCaptions + c);
    const int room = button.FWidth - button.FHeight - button.FHeight / 4;
    TLettering style = CaptionLettering();
    style.Size = FitLettering(caption, style, room, kSmallestCaption);
    TMyDib text;
    RenderLettering(text, caption, style);
    TMyDib face(button.FWidth, button.FHeight, 32);
    PutLettering(face, text, button.FHeight + (room - text.Width()) / 2, (button.FHeight - text.Height()) / 2);
    button.SetImage(face);
  }
}

// The hint stands left of the column of buttons, level with its own, so that it covers none.
void TMainInterface::PlaceHint(TDXButton& button) {
  TDXHint& hint = *button.FHint;
  hint.SetCaption(button.FHintText);
  hint.PlaceBeside(true);
  int column = button.FLeft;
  for (const TDXButton* b : FButtons)
    if (b) column = std::min(column, b->FLeft);
  hint.SetLeft(std::max(0, column - kHintGap - hint.FWidth));
  hint.SetTop(button.FTop + (button.FHeight - hint.FHeight) / 2);
}

// The game's name, as large as the room left of the buttons allows.
void TMainInterface::ShowTitle(int right) {
  const std::string& title = Lang(Text::GameTitle);
  TLettering style = TitleLettering();
  style.Size = FitLettering(title, style, right - 2 * kPanelMargin, kSmallestTitle);
  TSurface art;
  RenderLettering(art, title, style);
  if (!FTitle) FTitle = TSpriteHandle(*FEngine, FEngine->AddEmptySprite(0, 0, NextDepth(), 0));
  TMySprite& s = *FTitle.Get();
  s.NoHit = true;
  if (s.Surfaces.empty()) FEngine->AddSurface(FTitle.Index(), nullptr);
  *s.Surfaces[0] = std::move(art);
  s.X = std::max(0, (right - s.Surfaces[0]->Width()) / 2);
  s.Y = kTitleTop;
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
  int column = width;
  for (const TDXButton* b : FButtons) column = std::min(column, b->FLeft);
  ShowTitle(column - kPanelMargin);
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

// Until the menu's pictures exist, its choices are written on the table under the title, each
// with the key that chooses it.
void TMainInterface::ShowTextMenu() {
  const int width = FEngine->FWidth;
  ShowTitle(width);
  int y = kTitleTop + FTitle.Get()->Surfaces[0]->Height() + 30;
  for (int c = 0; c < ChoiceCount; ++c) {
    if (*kChoices[c].Key == 0) continue;
    const std::string& caption = Lang(Text::MainMenuCaptions + c);
    FMenuSprites.push_back(AddTextSprite(*this, kChoices[c].Key, kTextMenuSize, width / 2 - 120, y));
    FMenuSprites.push_back(AddTextSprite(*this, caption, kTextMenuSize, width / 2 - 50, y));
    y += MeasureScreenText(caption, kTextMenuSize).Height + 12;
  }
}

// The welcome line and the credits are drawn by hooks over everything the menu shows; their
// texts are set once and only moved frame by frame.
void TMainInterface::AddRolls() {
  RenderScreenText(FTickerText, Lang(Text::Welcome), kTickerSize);
  FCreditText.clear();
  FCreditHeights.clear();
  for (const TCreditLine& line : CreditLines()) {
    const bool heading = line.Kind == ECreditKind::Heading;
    TSurface& text = FCreditText.emplace_back();
    if (line.Kind != ECreditKind::Gap)
      RenderScreenText(text, line.Text, heading ? kCreditsHeadingSize : kCreditsLineSize, kCreditsFont);
    FCreditHeights.push_back(text.Empty() ? kCreditsGap : text.Height() + (heading ? kCreditsHeadingSpace : 0));
  }
  FTickerOffset = 0;
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
  FTitle.Reset();
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

TRect TMainInterface::TitleRect() const {
  const TMySprite* s = FTitle.Get();
  if (!s || s->Surfaces.empty()) return {};
  return MakeRect(s->X, s->Y, s->Surfaces[0]->Width(), s->Surfaces[0]->Height());
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
}

void TMainInterface::Update() {
  StepTicker();
  TInterface::Update();
}

uint32_t TMainInterface::RestFor(uint32_t now) const {
  const uint32_t rest = TInterface::RestFor(now);
  if (!TickerShown()) return rest;
  const uint32_t since = now - FTickerTick;
  return std::min(rest, since > kTickerStepMs ? 0 : kTickerStepMs + 1 - since);
}

// The line moves a pixel when its step is due, and only where it lies is composed again; it goes
// once it has run its length.
void TMainInterface::StepTicker() {
  TMySprite* ticker = FTicker.Get();
  if (!ticker || !ticker->Visible || !StepDue(FTickerTick, kTickerStepMs)) return;
  ++FTickerOffset;
  ++ticker->Look;
  ticker->Visible = FTickerOffset <= kTickerEnd;
  const int left = FEngine->FWidth - FTickerOffset;
  ticker->DrawReach = {left, kTickerTop - 2, left + FTickerText.Width(), kTickerTop - 2 + FTickerText.Height()};
}

void TMainInterface::DrawTicker() {
  TSurface& back = FEngine->Display().BackBuffer();
  BltFast(back, FEngine->FWidth - FTickerOffset, kTickerTop - 2, FTickerText, true);
}

// The lines rise centred over the part of the screen the menu's picture leaves free (over the
// whole screen when little is left), and the roll hides itself once the last line has gone.
void TMainInterface::DrawCredits() {
  const uint32_t elapsed = GetTickCount() - FCreditsTick;
  TSurface& back = FEngine->Display().BackBuffer();
  const TMySprite* picture = FPicture.Get();
  const int free = picture && picture->X >= kCreditsMinWidth ? picture->X : FEngine->FWidth;
  const std::vector<TCreditPlace> places = PlaceCredits(FCreditHeights, FEngine->FHeight, elapsed);
  for (size_t i = 0; i < FCreditText.size(); ++i)
    if (!FCreditText[i].Empty())
      BltAlpha(back, (free - FCreditText[i].Width()) / 2, places[i].Y, FCreditText[i], places[i].Opacity, true);
  if (elapsed >= kCreditsRollMs) FCredits.Get()->Visible = false;
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
