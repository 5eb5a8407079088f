// The sound device over SDL2_mixer: effects as chunks on channels of their own, music as MIDI
// through a General MIDI sound font, the end of the music reported as an SDL user event.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Sound.h"

namespace qj::sdl {

// Opens the audio device (44,100 Hz, 16-bit, stereo) and installs it as the program's sound
// device. Without an audio device, or when anything fails, the silent device stays and the
// result is false; that is not an error.
bool InitSound();
// The SDL2_mixer device, or null when audio cannot be opened.
std::unique_ptr<ISoundDevice> CreateSdlSoundDevice();

// The SDL event type posted when the music has played to its end (the main loop turns it into
// TInputKind::MusicEnded).
uint32_t MusicEndedEventType();

// A volume in hundredths of a decibel (0 = full, -10000 = silent) as SDL_mixer's 0..128.
int MixVolumeFromHundredthsDb(int hundredthsDb);
// A MIDI output level 0..65535 as SDL_mixer's music volume 0..128.
int MixVolumeFromMidiLevel(uint32_t level);
// The General MIDI sound font to use: $SDL_SOUNDFONTS when set, else TimGM6mb, else the first
// .sf2 in the usual folders; "" when the machine has none.
std::string FindSoundFont();

}  // namespace qj::sdl
