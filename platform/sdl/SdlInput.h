// SDL's events as the game's input records, and the services the main loop needs from SDL.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Input.h"

union SDL_Event;

namespace qj::sdl {

class TSdlDisplay;

// Starts SDL's video, audio-less timer and event subsystems; false with a message on failure.
bool InitSdl(std::string& error);
// Under X11: losing the display ends the program with a plain message instead of Xlib's.
void WatchDisplayConnection();
void QuitSdl();

// The next input record, if any is waiting. Window size changes reach the display first.
bool PollInput(TSdlDisplay& display, TInputEvent& out);
// Sleeps until an event arrives or `ms` pass (UINT32_MAX: until an event arrives).
void WaitForInput(uint32_t ms);
void PumpMessages();

// SDL key codes as Windows virtual-key codes (0 for keys the game has no code for).
uint16_t VirtualKey(int32_t sdlKey);
// The Shift set of the current keyboard modifiers and held mouse buttons.
int ShiftState();

void ShowMessage(const std::string& text, const std::string& title);

}  // namespace qj::sdl
