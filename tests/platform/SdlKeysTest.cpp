// SDL key codes become the Windows virtual-key codes that hot keys and the key-name table use,
// with the modifiers held at each key. The expected codes are written out as numbers, not taken
// from the game's own enum, so a wrong constant shows up here as well as a wrong table row.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/Input.h"
#include "platform/sdl/SdlDisplay.h"
#include "platform/sdl/SdlInput.h"

namespace qj {
namespace {

struct TExpected {
  SDL_Keycode Sdl;
  uint16_t Vk;
  const char* Name;
};

TEST(SdlKeys, EveryNamedKeyHasItsVirtualKeyCode) {
  const TExpected keys[] = {
      {SDLK_BACKSPACE, 8, "Backspace"},     {SDLK_TAB, 9, "Tab"},
      {SDLK_RETURN, 13, "Return"},          {SDLK_KP_ENTER, 13, "keypad Enter"},
      {SDLK_PAUSE, 19, "Pause"},            {SDLK_ESCAPE, 27, "Escape"},
      {SDLK_SPACE, 32, "Space"},            {SDLK_PAGEUP, 33, "Page Up"},
      {SDLK_PAGEDOWN, 34, "Page Down"},     {SDLK_END, 35, "End"},
      {SDLK_HOME, 36, "Home"},              {SDLK_LEFT, 37, "Left"},
      {SDLK_UP, 38, "Up"},                  {SDLK_RIGHT, 39, "Right"},
      {SDLK_DOWN, 40, "Down"},              {SDLK_PRINTSCREEN, 44, "Print Screen"},
      {SDLK_INSERT, 45, "Insert"},          {SDLK_DELETE, 46, "Delete"},
      {SDLK_SCROLLLOCK, 145, "Scroll Lock"}, {SDLK_LSHIFT, 16, "left Shift"},
      {SDLK_RSHIFT, 16, "right Shift"},     {SDLK_LCTRL, 17, "left Ctrl"},
      {SDLK_RCTRL, 17, "right Ctrl"},       {SDLK_LALT, 18, "left Alt"},
      {SDLK_RALT, 18, "right Alt"},         {SDLK_KP_MULTIPLY, 106, "keypad *"},
      {SDLK_KP_PLUS, 107, "keypad +"},      {SDLK_KP_MINUS, 109, "keypad -"},
      {SDLK_KP_PERIOD, 110, "keypad ."},    {SDLK_KP_DIVIDE, 111, "keypad /"},
      {SDLK_SEMICOLON, 186, ";"},           {SDLK_EQUALS, 187, "="},
      {SDLK_COMMA, 188, ","},               {SDLK_MINUS, 189, "-"},
      {SDLK_PERIOD, 190, "."},              {SDLK_SLASH, 191, "/"},
      {SDLK_BACKQUOTE, 192, "`"},           {SDLK_LEFTBRACKET, 219, "["},
      {SDLK_BACKSLASH, 220, "\\"},          {SDLK_RIGHTBRACKET, 221, "]"},
      {SDLK_QUOTE, 222, "'"},
  };
  for (const TExpected& k : keys) EXPECT_EQ(sdl::VirtualKey(k.Sdl), k.Vk) << k.Name;
}

TEST(SdlKeys, LettersAndDigitsMapOneByOne) {
  for (int i = 0; i < 26; ++i) {
    const SDL_Keycode letter = SDL_Keycode('a' + i);  // SDL's letter keys are the lower-case characters
    EXPECT_EQ(sdl::VirtualKey(letter), 65 + i) << char('a' + i);
  }
  for (int i = 0; i < 10; ++i) EXPECT_EQ(sdl::VirtualKey(SDL_Keycode('0' + i)), 48 + i) << i;
}

TEST(SdlKeys, FunctionKeysMapOneByOne) {
  const SDL_Keycode f[12] = {SDLK_F1, SDLK_F2, SDLK_F3, SDLK_F4,  SDLK_F5,  SDLK_F6,
                             SDLK_F7, SDLK_F8, SDLK_F9, SDLK_F10, SDLK_F11, SDLK_F12};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(sdl::VirtualKey(f[i]), 112 + i) << "F" << i + 1;
}

TEST(SdlKeys, KeypadDigitsMapOneByOne) {
  const SDL_Keycode kp[10] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                              SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(sdl::VirtualKey(kp[i]), 96 + i) << "keypad " << i;
}

TEST(SdlKeys, KeysJustOutsideTheRangesAndUnknownKeysAreNotMistaken) {
  // The characters either side of the letter and digit runs are keys of their own.
  EXPECT_EQ(sdl::VirtualKey(SDL_Keycode('a' - 1)), 192);  // back quote
  EXPECT_EQ(sdl::VirtualKey(SDL_Keycode('z' + 1)), 0);
  EXPECT_EQ(sdl::VirtualKey(SDL_Keycode('0' - 1)), 191);  // slash
  EXPECT_EQ(sdl::VirtualKey(SDL_Keycode('9' + 1)), 0);    // colon
  for (const SDL_Keycode k : {SDLK_UNKNOWN, SDLK_F13, SDLK_F24, SDLK_CAPSLOCK, SDLK_NUMLOCKCLEAR, SDLK_LGUI,
                              SDLK_KP_EQUALS, SDLK_KP_00, SDLK_APPLICATION, SDLK_MENU})
    EXPECT_EQ(sdl::VirtualKey(k), 0) << SDL_GetKeyName(k);
}

// A key carries the modifiers held when it went down or up, not those held when it is read: an
// Alt+Enter typed while a frame was drawn is read after Alt was let go, and is still Alt+Enter.
TEST(SdlKeys, AKeyCarriesTheModifiersHeldAtIt) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
  {
    sdl::TSdlDisplay display;
    SDL_SetModState(KMOD_NONE);
    SDL_Event release{};
    release.type = SDL_KEYUP;
    release.key.keysym.sym = SDLK_RETURN;
    release.key.keysym.mod = KMOD_LALT;
    ASSERT_EQ(SDL_PushEvent(&release), 1) << SDL_GetError();
    TInputEvent in;
    while (sdl::PollInput(display, in) && in.Kind != TInputKind::KeyUp) {
    }
    ASSERT_EQ(in.Kind, TInputKind::KeyUp);
    EXPECT_EQ(in.Key, VK_RETURN);
    EXPECT_EQ(in.Shift, ssAlt);
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

}  // namespace
}  // namespace qj
