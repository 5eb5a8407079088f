// The soak run's player: what it does on each screen, weighted so that most of the run is spent
// in a real game carrying pieces onto their neighbours, into trays and under pins. Sections:
// screens; pieces; menu and trays; table gestures; stray input and the window.
#include <algorithm>
#include <array>

#include "controls/UButtons.h"
#include "controls/UTrayWindow.h"
#include "app/UGameEngine.h"
#include "core/UMiscelaneous.h"
#include "graphics/UGraphicsEngine.h"
#include "play/UBoardPlayInterface.h"
#include "play/UPieceList.h"
#include "platform/Input.h"
#include "screens/UMainInterface.h"
#include "screens/UPuzzleSelectorInterface.h"
#include "tests/soak/SoakFixture.h"

namespace qj::test {
namespace {

// Hot key 2 closes the program; the player uses it rarely.
constexpr int kCloseHotkey = 2;
constexpr int kClickMsFrames = 11;  // frames of 20 ms beyond the click time: a hold, not a click
constexpr int kBarShowFrames = 12;  // an auto-hidden menu bar slides in under the mouse

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
TRect ControlRect(const TDXControl& c) { return MakeRect(c.FLeft, c.FTop, c.FWidth, c.FHeight); }
TPoint Lerp(TPoint a, TPoint b, int i, int n) { return {a.X + (b.X - a.X) * i / n, a.Y + (b.Y - a.Y) * i / n}; }

// A weighted choice among moves: the first whose share the roll falls into.
template <size_t N>
int Pick(const std::array<int, N>& weights, int roll) {
  for (size_t i = 0; i < N; ++i) {
    if (roll < weights[i]) return int(i);
    roll -= weights[i];
  }
  return int(N) - 1;
}

template <size_t N>
int Total(const std::array<int, N>& weights) {
  int total = 0;
  for (const int w : weights) total += w;
  return total;
}

}  // namespace

// ---- Screens ----------------------------------------------------------------------------------

TBoardPlayInterface* TSoakTest::Play() {
  TGameEngine& engine = Engine();
  return engine.Active() == &engine.BoardPlay() ? &engine.BoardPlay() : nullptr;
}

void TSoakTest::Step() {
  TGameEngine& engine = Engine();
  const TInterface* active = engine.Active();
  if (!active || active->Done()) {
    FLastAction = "wait for the next screen";
    return Wait(1);
  }
  if (Chance(1)) return WindowChange();
  if (active == &engine.MainMenu()) return StepMainMenu();
  if (active == &engine.Selector()) return StepSelector();
  if (TBoardPlayInterface* play = Play()) return StepPlay(*play);
  // The options screen and the maker: mostly Escape, which leaves them, and random input between.
  FLastAction = "options or maker";
  if (Chance(70)) return Tap(VK_ESCAPE);
  Chance(50) ? RandomMouse() : RandomKey();
}

void TSoakTest::StepMainMenu() {
  static constexpr std::array<int, 7> kWeights = {45, 30, 5, 4, 1, 9, 6};
  static constexpr std::array<uint16_t, 5> kKeys = {'1', '3', '2', '4', VK_ESCAPE};
  const int move = Pick(kWeights, Random(0, Total(kWeights) - 1));
  FLastAction = "main menu move " + std::to_string(move);
  if (move < int(kKeys.size())) return Tap(kKeys[size_t(move)]);
  move == 5 ? RandomMouse() : RandomKey();
}

void TSoakTest::StepSelector() {
  static constexpr std::array<int, 7> kWeights = {55, 15, 5, 3, 8, 8, 6};
  static constexpr std::array<uint16_t, 5> kKeys = {VK_RETURN, VK_RIGHT, VK_LEFT, 'M', VK_ESCAPE};
  const int move = Pick(kWeights, Random(0, Total(kWeights) - 1));
  FLastAction = "selector move " + std::to_string(move);
  if (move < int(kKeys.size())) return Tap(kKeys[size_t(move)]);
  move == 5 ? RandomMouse() : RandomKey();
}

// Moves that find nothing to act on fall back to stray mouse input.
void TSoakTest::StepPlay(TBoardPlayInterface& play) {
  if (play.Menu().ModalOpen()) return StepExitDialog(play);
  static constexpr std::array<int, 11> kWeights = {400, 90, 70, 70, 80, 40, 30, 20, 4, 60, 36};
  const int move = Pick(kWeights, Random(0, Total(kWeights) - 1));
  FLastAction = "play move " + std::to_string(move);
  bool done = true;
  switch (move) {
    case 0: done = JoinNeighbours(play); break;
    case 1: done = CarryAnywhere(play); break;
    case 2: done = TurnPiece(play); break;
    case 3: done = UseTray(play); break;
    case 4: done = ClickMenuButton(play, Random(MenuButton::Scatter, MenuButton::Count - 1), Random(0, 1)); break;
    case 5: PressHotKey(); break;
    case 6: PullBand(); break;
    case 7: ScrollTable(); break;
    case 8: done = ClickMenuButton(play, MenuButton::Exit, 0); break;
    case 9: RandomMouse(); break;
    default: RandomKey(); break;
  }
  if (!done) RandomMouse();
}

// The exit dialog: save and leave, abandon the game, or go on playing. The completion panel: back
// to the pictures, or stay at the table.
void TSoakTest::StepExitDialog(TBoardPlayInterface& play) {
  static constexpr std::array<int, 4> kWeights = {30, 4, 60, 6};
  const int move = Pick(kWeights, Random(0, Total(kWeights) - 1));
  FLastAction = "exit dialog move " + std::to_string(move);
  const TCompletionPanel& panel = play.Menu().Completion();
  const TDXButton* button = panel.Shown() ? (move < 2 ? panel.Button(move) : nullptr)
                                          : (move < 3 ? play.Menu().ExitButton(move) : nullptr);
  if (!button) return Chance(50) ? RandomMouse() : RandomKey();
  const TPoint at = Centre(ControlRect(*button));
  Move(at);
  Click(at, mbLeft);
}

// ---- Pieces -----------------------------------------------------------------------------------

// A random piece on the table that can be picked up and a spot on it the mouse reaches.
std::optional<TSoakTest::TGrip> TSoakTest::LoosePiece(TBoardPlayInterface& play) {
  TPieces& set = play.Pieces();
  for (int tries = 0; tries < 12 && set.Count() > 0; ++tries) {
    TBPiece& p = set.Piece(Random(0, set.Count() - 1));
    const bool shown = p.Sprite() && p.Sprite()->Visible;
    if (!shown || p.FTray != 0 || p.FState == PieceState::Pinned || p.IsBusy() || p.FGroup != -1) continue;
    if (const std::optional<TPoint> spot = SpotOn(play, p)) return TGrip{&p, *spot};
  }
  return std::nullopt;
}

bool TSoakTest::OnTable(TBoardPlayInterface& play, TPoint p) const {
  const TRect bar = play.Menu().BarRect();
  const int bottom = play.Menu().Built() ? std::min(bar.Top, display.Height()) : display.Height();
  return p.X > 2 && p.X < display.Width() - 2 && p.Y > 2 && p.Y < bottom - 12;
}

std::optional<TPoint> TSoakTest::SpotOn(TBoardPlayInterface& play, const TBPiece& piece) {
  const TGraphicsEngine& graphics = Engine().Graphics();
  const TRect r = piece.Bounds();
  const TRect s{r.Left - graphics.FScrollX, r.Top - graphics.FScrollY, r.Right - graphics.FScrollX,
                r.Bottom - graphics.FScrollY};
  if (s.Width() < 3 || s.Height() < 3) return std::nullopt;
  for (int tries = 0; tries < 12; ++tries) {
    const TPoint p = tries == 0 ? Centre(s) : TPoint{Random(s.Left + 1, s.Right - 2), Random(s.Top + 1, s.Bottom - 2)};
    if (OnTable(play, p) && graphics.SpriteAt(p.X, p.Y) == piece.SpriteIndex() && !play.Menu().MouseOverMenu(p.X, p.Y))
      return p;
  }
  return std::nullopt;
}

// A piece carried to its place beside one of its neighbours, a few pixels off; one that lies
// turned otherwise is turned first.
bool TSoakTest::JoinNeighbours(TBoardPlayInterface& play) {
  if (Chance(70) && ToolsOff(play)) return true;
  std::optional<TGrip> grip = LoosePiece(play);
  if (!grip) return TidyUp(play);
  TBPiece& a = *grip->Piece;
  if (a.FNeighbours.empty()) return false;
  const TBPiece& b = play.Pieces().Piece(a.FNeighbours[size_t(Random(0, int(a.FNeighbours.size()) - 1))]);
  if (b.FTray != 0 || !b.Sprite() || !b.Sprite()->Visible) return false;
  // Turning runs frames, in which a fusion may free both pieces.
  if (a.FOrientation != b.FOrientation && !(grip = TurnTo(play, a, b.FOrientation))) return true;
  const TPoint goal = a.PlaceBeside(b);
  const TPoint from = grip->Spot;
  const TPoint to{from.X + goal.X - a.FPosition.X + Random(-3, 3), from.Y + goal.Y - a.FPosition.Y + Random(-3, 3)};
  if (!OnTable(play, to)) return false;
  Carry(from, to);
  return true;
}

// Quarter turns with right clicks, each awaited, the short way round (Ctrl turns back); the
// piece and a spot on it when it arrived at the orientation while no piece of the set was fused
// (a fusion frees pieces).
std::optional<TSoakTest::TGrip> TSoakTest::TurnTo(TBoardPlayInterface& play, TBPiece& piece, int orientation) {
  const int pieces = play.PieceCount();
  for (int turns = 0; turns < 3; ++turns) {
    const std::optional<TPoint> spot = SpotOn(play, piece);
    if (!spot) return std::nullopt;
    if (piece.FOrientation == orientation) return TGrip{&piece, *spot};
    const bool back = (piece.FOrientation - orientation + 4) % 4 == 1;
    Click(*spot, mbRight, back ? ssCtrl : 0);
    for (int frames = 0; frames < 40 && piece.Rotating(); ++frames) Wait(1);
    if (!Play() || play.PieceCount() != pieces) return std::nullopt;
  }
  return std::nullopt;
}

// The left-side tools (scatter, pin, magnet) change what a click on a piece does: a player who
// wants to carry pieces switches them off.
bool TSoakTest::ToolsOff(TBoardPlayInterface& play) {
  for (const int tool : {MenuButton::Scatter, MenuButton::Pin, MenuButton::Magnet})
    if (play.Menu().IsOn(tool, EMenuSide::Left)) return ClickMenuButton(play, tool, 0);
  return false;
}

// No piece can be taken: the ghost's and the small picture's windows cover pieces while the
// mouse is near them, and pinned pieces stay put. The player puts a help away or lifts a pin
// with the pin tool.
bool TSoakTest::TidyUp(TBoardPlayInterface& play) {
  for (const int help : {MenuButton::Ghost, MenuButton::SmallPicture})
    if (play.Menu().IsOn(help, EMenuSide::Left) && Chance(50)) return ClickMenuButton(play, help, 0);
  TPieces& set = play.Pieces();
  for (int tries = 0; tries < 12 && set.Count() > 0; ++tries) {
    const TBPiece& p = set.Piece(Random(0, set.Count() - 1));
    const std::optional<TPoint> spot = p.FState == PieceState::Pinned ? SpotOn(play, p) : std::nullopt;
    if (!spot) continue;
    if (!play.Menu().IsOn(MenuButton::Pin, EMenuSide::Left)) ClickMenuButton(play, MenuButton::Pin, 0);
    Click(*spot, mbRight);
    return true;
  }
  return false;
}

bool TSoakTest::CarryAnywhere(TBoardPlayInterface& play) {
  const std::optional<TGrip> grip = LoosePiece(play);
  if (!grip) return false;
  Carry(grip->Spot, RandomPoint());
  return true;
}

// A right click turns a piece, or with the pin tool pins it, or with the magnet pulls its
// neighbours; a left click on a pinned piece lifts its pin.
bool TSoakTest::TurnPiece(TBoardPlayInterface& play) {
  TPieces& set = play.Pieces();
  if (set.Count() == 0) return false;
  const TBPiece& p = set.Piece(Random(0, set.Count() - 1));
  if (!p.Sprite() || !p.Sprite()->Visible) return false;
  const TGraphicsEngine& graphics = Engine().Graphics();
  const TPoint centre = Centre(p.Bounds());
  const TPoint at = SpotOn(play, p).value_or(TPoint{centre.X - graphics.FScrollX, centre.Y - graphics.FScrollY});
  Click(at, Chance(85) ? mbRight : mbLeft, Chance(25) ? ssCtrl : 0);
  return true;
}

void TSoakTest::Carry(TPoint from, TPoint to) {
  const bool quick = Chance(30);
  Down(from, mbLeft);
  if (quick) Up(from, mbLeft);
  const int steps = Random(2, 6);
  for (int i = 1; i <= steps; ++i) {
    Move(Lerp(from, to, i, steps));
    if (Chance(4)) Click(Lerp(from, to, i, steps), mbRight, Chance(30) ? ssCtrl : 0);  // a turn on the way
  }
  if (quick) return Click(to, mbLeft);
  Wait(std::max(0, kClickMsFrames - steps));
  Up(to, mbLeft);
}

// ---- Menu and trays ---------------------------------------------------------------------------

// The button is looked up again after every frame: a change of theme rebuilds the menu.
bool TSoakTest::ClickMenuButton(TBoardPlayInterface& play, int index, int side) {
  const auto where = [&]() -> std::optional<TPoint> {
    const TBoardMenuButton* button = Play() && play.Menu().Built() ? play.Menu().Button(index) : nullptr;
    return button ? std::optional<TPoint>(Centre(ControlRect(*button))) : std::nullopt;
  };
  if (!where()) return false;
  Move(*where());
  for (int i = 0; i < kBarShowFrames && Play() && !play.Menu().BarShown(); ++i) Wait(1);
  if (const std::optional<TPoint> at = where()) Click(*at, side == 0 ? mbLeft : mbRight);
  return true;
}

// A tray's icon opens or collapses it; pieces are dropped into a shown tray and taken out
// again; its title buttons empty and collapse it.
bool TSoakTest::UseTray(TBoardPlayInterface& play) {
  TPieces& set = play.Pieces();
  TDXTrayWindow* tray = set.Tray(Random(1, kTrayCount));
  if (!tray) return false;
  const TGraphicsEngine& graphics = Engine().Graphics();
  const TPoint scroll{graphics.FScrollX, graphics.FScrollY};
  const auto onScreen = [&](const TDXControl& c) {
    return MakeRect(c.FLeft - scroll.X, c.FTop - scroll.Y, c.FWidth, c.FHeight);
  };
  switch (Random(0, 4)) {
    case 0: {
      const TMySprite* icon = tray->IconSprite();
      if (!icon || !icon->Visible || icon->Surfaces.empty()) return false;
      Click(Centre(MakeRect(icon->X, icon->Y, icon->Surfaces[0]->Width(), icon->Surfaces[0]->Height())), mbLeft);
      return true;
    }
    case 1: {
      const std::optional<TGrip> grip = LoosePiece(play);
      const TRect r = onScreen(*tray);
      if (!grip || !tray->WindowShown() || r.Width() < 20 || r.Height() < 40) return false;
      const TPoint to{Random(r.Left + 5, r.Right - 5), Random(r.Top + 25, r.Bottom - 5)};
      if (!OnTable(play, to)) return false;
      Carry(grip->Spot, to);
      return true;
    }
    case 2: {
      for (int i = 0; i < set.Count(); ++i) {
        const TBPiece& p = set.Piece(i);
        if (p.FTray == 0 || !p.Sprite() || !p.Sprite()->Visible) continue;
        const std::optional<TPoint> from = SpotOn(play, p);
        if (!from) continue;
        Carry(*from, RandomPoint());
        return true;
      }
      return false;
    }
    default: {
      const TDXButton* button = Random(3, 4) == 3 ? tray->FEmptyButton.get() : tray->FCloseButton.get();
      if (!button || !tray->WindowShown()) return false;
      Click(Centre(onScreen(*button)), mbLeft);
      return true;
    }
  }
}

void TSoakTest::PressHotKey() {
  const int index = Random(0, kHotkeyCount - 1);
  if (index == kCloseHotkey && !Chance(10)) return;
  const THotKey hot = Options.Hotkeys[size_t(index)];
  FLastAction = "hot key " + std::to_string(index);
  if (hot.Key != 0) Tap(hot.Key, hot.Shift);
}

// ---- Table gestures ---------------------------------------------------------------------------

// A rubber band pulled over the table from a spot of bare table.
void TSoakTest::PullBand() {
  const TPoint from = RandomPoint();
  const TPoint to{std::clamp(from.X + Random(-250, 250), 0, display.Width() - 1),
                  std::clamp(from.Y + Random(-200, 200), 0, display.Height() - 1)};
  Down(from, mbLeft);
  for (int i = 1; i <= 3; ++i) Move(Lerp(from, to, i, 3));
  Up(to, mbLeft);
}

void TSoakTest::ScrollTable() {
  const TPoint from = RandomPoint();
  const TPoint to = RandomPoint();
  Down(from, mbRight);
  for (int i = 1; i <= 3; ++i) Move(Lerp(from, to, i, 3));
  Up(to, mbRight);
}

// ---- Stray input and the window ---------------------------------------------------------------

void TSoakTest::RandomMouse() {
  static constexpr std::array<int, 5> kKeys = {0, 0, 0, ssShift, ssCtrl};
  const TPoint p = Chance(2) ? TPoint{0, 0} : RandomPoint();  // a press at the corner minimises
  const int keys = kKeys[size_t(Random(0, int(kKeys.size()) - 1))] | (Chance(5) ? ssDouble : 0);
  const int button = Random(0, 9) < 7 ? mbLeft : Random(0, 9) < 8 ? mbRight : mbMiddle;
  switch (Random(0, 2)) {
    case 0: return Move(p, keys);
    case 1: return Click(p, button, keys);
    default:
      Down(p, button, keys);
      Move(RandomPoint(), keys);
      Up(RandomPoint(), button, keys);
  }
}

// Any key but F1 (it starts the desktop's browser) and the surface dumps of Ctrl+Alt+F6..F8
// (they write files into the current folder).
void TSoakTest::RandomKey() {
  static constexpr std::array<uint16_t, 16> kKeys = {VK_ESCAPE, VK_RETURN, VK_SPACE, VK_LEFT,  VK_RIGHT, VK_UP,
                                                     VK_DOWN,   VK_TAB,    VK_F2,    VK_F9,    VK_F10,   VK_F11,
                                                     VK_F12,    VK_DELETE, VK_HOME,  VK_PRIOR};
  static constexpr std::array<int, 7> kModifiers = {0, 0, 0, ssShift, ssCtrl, ssAlt, ssCtrl | ssAlt};
  uint16_t key = Chance(40) ? uint16_t(Random('A', 'Z')) : Chance(20) ? uint16_t(Random('0', '9'))
                                                                       : kKeys[size_t(Random(0, int(kKeys.size()) - 1))];
  const int modifiers = kModifiers[size_t(Random(0, int(kModifiers.size()) - 1))];
  if (modifiers == (ssCtrl | ssAlt) && key >= VK_F6 && key <= VK_F8) key = VK_F9;
  FLastAction = "key " + std::to_string(key) + " with " + std::to_string(modifiers);
  Tap(key, modifiers);
}

// Focus lost and found, minimised and restored, a new window size, the display lost and
// restored, full screen and back, or the window's close button.
void TSoakTest::WindowChange() {
  const int change = Random(0, 9);
  FLastAction = "window change " + std::to_string(change);
  switch (change) {
    case 0:
    case 1:
    case 2:
      Window(TInputKind::Deactivated);
      for (int i = Random(0, 3); i > 0; --i) RandomMouse();
      return Window(TInputKind::Activated);
    case 3:
      Window(TInputKind::Minimized);
      Wait(Random(1, 200));  // a long absence: the play clock must not count it
      return Window(TInputKind::Restored);
    case 4:
    case 5:
      return Resize(Random(700, kLargestWindow.X), Random(500, kLargestWindow.Y));
    case 6:
      return Resize(Tmf::kWindowWidth, Tmf::kWindowHeight);
    case 7:
      display.Finalize();
      Wait(2);
      display.Initialize();
      return Wait(1);
    case 8:
      return Tap(VK_RETURN, ssAlt);
    default:
      if (Chance(30)) Window(TInputKind::CloseQuery);
  }
}

}  // namespace qj::test
