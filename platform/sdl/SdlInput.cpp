#include "platform/sdl/SdlInput.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "platform/sdl/SdlDisplay.h"
#include "platform/sdl/SdlSound.h"

namespace qj::sdl {
namespace {

int MouseButton(uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_RIGHT: return mbRight;
    case SDL_BUTTON_MIDDLE: return mbMiddle;
    default: return mbLeft;
  }
}

// Letters, digits and F-keys map by range; the rest by table.
uint16_t RangeKey(int32_t k) {
  if (k >= SDLK_a && k <= SDLK_z) return uint16_t('A' + (k - SDLK_a));
  if (k >= SDLK_0 && k <= SDLK_9) return uint16_t('0' + (k - SDLK_0));
  if (k >= SDLK_F1 && k <= SDLK_F12) return uint16_t(VK_F1 + (k - SDLK_F1));
  if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return uint16_t(97 + (k - SDLK_KP_1));
  return 0;
}

struct TKeyPair {
  int32_t Sdl;
  uint16_t Vk;
};

constexpr TKeyPair kKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},  {SDLK_TAB, VK_TAB},         {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN}, {SDLK_PAUSE, VK_PAUSE},     {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE},     {SDLK_PAGEUP, VK_PRIOR},    {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},         {SDLK_HOME, VK_HOME},       {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},           {SDLK_RIGHT, VK_RIGHT},     {SDLK_DOWN, VK_DOWN},
    {SDLK_PRINTSCREEN, VK_SNAPSHOT}, {SDLK_INSERT, VK_INSERT}, {SDLK_DELETE, VK_DELETE},
    {SDLK_SCROLLLOCK, VK_SCROLL}, {SDLK_LSHIFT, VK_SHIFT},  {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},   {SDLK_RCTRL, VK_CONTROL},   {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},       {SDLK_KP_0, 96},            {SDLK_KP_MULTIPLY, 106},
    {SDLK_KP_PLUS, 107},        {SDLK_KP_MINUS, 109},       {SDLK_KP_PERIOD, 110},
    {SDLK_KP_DIVIDE, 111},      {SDLK_SEMICOLON, 186},      {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188},          {SDLK_MINUS, 189},          {SDLK_PERIOD, 190},
    {SDLK_SLASH, 191},          {SDLK_BACKQUOTE, 192},      {SDLK_LEFTBRACKET, 219},
    {SDLK_BACKSLASH, 220},      {SDLK_RIGHTBRACKET, 221},   {SDLK_QUOTE, 222},
};

// The Shift set of the keyboard modifiers `mod` and the mouse buttons held now.
int ShiftOf(unsigned mod) {
  int shift = 0;
  if (mod & KMOD_SHIFT) shift |= ssShift;
  if (mod & KMOD_ALT) shift |= ssAlt;
  if (mod & KMOD_CTRL) shift |= ssCtrl;
  const uint32_t buttons = SDL_GetMouseState(nullptr, nullptr);
  if (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) shift |= ssLeft;
  if (buttons & SDL_BUTTON(SDL_BUTTON_RIGHT)) shift |= ssRight;
  if (buttons & SDL_BUTTON(SDL_BUTTON_MIDDLE)) shift |= ssMiddle;
  return shift;
}

// Keys that type a control character: the game sees them as key presses too.
char32_t ControlChar(uint16_t vk) {
  return (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE) ? vk : 0;
}

bool TranslateWindowEvent(const SDL_WindowEvent& w, TSdlDisplay& display, TInputEvent& out) {
  switch (w.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      display.ClientResized(w.data1, w.data2);
      out.Kind = TInputKind::Resized;
      out.Width = w.data1;
      out.Height = w.data2;
      return true;
    case SDL_WINDOWEVENT_CLOSE: out.Kind = TInputKind::CloseQuery; return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED: out.Kind = TInputKind::Activated; return true;
    case SDL_WINDOWEVENT_FOCUS_LOST: out.Kind = TInputKind::Deactivated; return true;
    case SDL_WINDOWEVENT_MINIMIZED: out.Kind = TInputKind::Minimized; return true;
    case SDL_WINDOWEVENT_RESTORED: out.Kind = TInputKind::Restored; return true;
    case SDL_WINDOWEVENT_MOVED: out.Kind = TInputKind::Moved; return true;
    case SDL_WINDOWEVENT_MAXIMIZED: out.Kind = TInputKind::Maximized; return true;
    case SDL_WINDOWEVENT_EXPOSED: display.Refresh(); return false;
    default: return false;
  }
}

bool TranslateKey(const SDL_KeyboardEvent& k, TInputEvent& out) {
  out.Kind = k.type == SDL_KEYDOWN ? TInputKind::KeyDown : TInputKind::KeyUp;
  out.Key = VirtualKey(k.keysym.sym);
  // The modifiers held at this key, not when it is read: a quick Alt+Enter typed while a frame
  // was drawn has let go of Alt by the time its Enter comes out of the queue.
  out.Shift = ShiftOf(k.keysym.mod);
  return out.Key != 0;
}

// Window coordinates become back-buffer pixels through the display's scaling.
void SetPosition(const TSdlDisplay& display, int x, int y, TInputEvent& out) {
  const TPoint p = display.ToSurface(x, y);
  out.X = p.X;
  out.Y = p.Y;
}

bool TranslateMouse(const SDL_Event& e, const TSdlDisplay& display, TInputEvent& out) {
  out.Shift = ShiftState();
  if (e.type == SDL_MOUSEMOTION) {
    out.Kind = TInputKind::MouseMove;
    SetPosition(display, e.motion.x, e.motion.y, out);
    return true;
  }
  out.Kind = e.type == SDL_MOUSEBUTTONDOWN ? TInputKind::MouseDown : TInputKind::MouseUp;
  out.Button = MouseButton(e.button.button);
  SetPosition(display, e.button.x, e.button.y, out);
  if (e.type == SDL_MOUSEBUTTONDOWN && e.button.clicks == 2) out.Shift |= ssDouble;
  return true;
}

// A sideways wheel (or tilt) arrives as the upright wheel with Shift, the usual way to ask for
// sideways scrolling: to the left counts as away from the player.
bool TranslateWheel(const SDL_MouseWheelEvent& wheel, const TSdlDisplay& display, TInputEvent& out) {
  const int sign = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
  out.Kind = TInputKind::MouseWheel;
  out.Shift = ShiftState();
  if (wheel.y == 0 && wheel.x != 0) out.Shift |= ssShift;
  out.Wheel = sign * (wheel.y != 0 ? wheel.y : -wheel.x);
  int x = 0, y = 0;
  SDL_GetMouseState(&x, &y);
  SetPosition(display, x, y, out);
  return out.Wheel != 0;
}

// The first character of a UTF-8 text.
char32_t FirstCodePoint(const char* text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  if (s[0] < 0x80) return s[0];
  const int extra = s[0] >= 0xF0 ? 3 : s[0] >= 0xE0 ? 2 : 1;
  char32_t c = s[0] & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0xFFFD;
    c = (c << 6) | (s[i] & 0x3F);
  }
  return c;
}

// A key press that typed a control character is followed by its key-press record.
uint16_t gPendingChar = 0;

}  // namespace

bool InitSdl(std::string& error) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
    error = SDL_GetError();
    return false;
  }
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_StartTextInput();
  WatchDisplayConnection();
  return true;
}

void QuitSdl() { SDL_Quit(); }

uint16_t VirtualKey(int32_t sdlKey) {
  if (const uint16_t vk = RangeKey(sdlKey)) return vk;
  for (const TKeyPair& p : kKeys)
    if (p.Sdl == sdlKey) return p.Vk;
  return 0;
}

int ShiftState() { return ShiftOf(SDL_GetModState()); }

bool PollInput(TSdlDisplay& display, TInputEvent& out) {
  if (gPendingChar) {
    out = {};
    out.Kind = TInputKind::KeyPress;
    out.Char = gPendingChar;
    gPendingChar = 0;
    return true;
  }
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    out = {};
    switch (e.type) {
      case SDL_QUIT: out.Kind = TInputKind::CloseQuery; return true;
      case SDL_WINDOWEVENT:
        if (TranslateWindowEvent(e.window, display, out)) return true;
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        if (TranslateKey(e.key, out)) {
          if (e.type == SDL_KEYDOWN) gPendingChar = uint16_t(ControlChar(out.Key));
          return true;
        }
        break;
      case SDL_TEXTINPUT:
        out.Kind = TInputKind::KeyPress;
        out.Char = FirstCodePoint(e.text.text);
        return true;
      case SDL_MOUSEMOTION:
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: return TranslateMouse(e, display, out);
      case SDL_MOUSEWHEEL: return TranslateWheel(e.wheel, display, out);
      case SDL_DROPFILE:
        out.Kind = TInputKind::DropFile;
        out.Path = e.drop.file ? e.drop.file : "";
        SDL_free(e.drop.file);
        return !out.Path.empty();
      default:
        if (e.type == MusicEndedEventType()) {
          out.Kind = TInputKind::MusicEnded;
          return true;
        }
        break;
    }
  }
  return false;
}

void WaitForInput(uint32_t ms) {
  if (ms == UINT32_MAX) SDL_WaitEvent(nullptr);
  else SDL_WaitEventTimeout(nullptr, int(std::min<uint32_t>(ms, INT32_MAX)));
}

void PumpMessages() { SDL_PumpEvents(); }

void ShowMessage(const std::string& text, const std::string& title) {
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
}

}  // namespace qj::sdl
