// Themes (colours, fonts, background, the number of every themed graphic), theme fonts, the
// three sound effects and the background music.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/PixelBuffer.h"

namespace qj {

class ISoundBuffer;

struct TThemeColor {
  uint8_t R = 0, G = 0, B = 0;
  TPixel ToPixel() const { return MakePixel(R, G, B); }
  bool operator==(const TThemeColor&) const = default;
};

// One Graphics/*.ini file, section "Default".
struct TTheme {
  std::string Name = "Unknown";
  int FileNr = 0;                      // the number in every themed file name
  TThemeColor SayColor{8, 8, 8};       // texts written onto screens
  TThemeColor SelectColor{127, 140, 250};
  std::string FontName = "Times New Roman";
  int FontSize = 8;  // check boxes and small print
  int FontButtonSize = 12;
  int FontMenuSize = 6;
  int FontTitleSize = 14;  // window titles
  int BackGround = 0;      // index into BackgroundFiles
  bool operator==(const TTheme&) const = default;
};

// Every theme file, in name order; Options.Environment selects the current one.
extern std::vector<TTheme> Themes;
// The current theme. With no theme files at all (or an Environment out of range) this is a
// built-in record with the defaults above and number 0, so themed names end in "-0" and the
// program still runs with whatever "-0" files exist.
const TTheme& CurrentTheme();

// Names (no folder) of Graphics/Backgrounds/*.jpg, in name order. Built by the first LoadThemes;
// BuildBackgroundFiles builds it again (after the program folder changed).
extern std::vector<std::string> BackgroundFiles;
void BuildBackgroundFiles();

// Reads every Graphics/*.ini into Themes (missing keys take their defaults).
void LoadThemes();
// base + "-" + theme number + ".bmp" when that file exists, else ".jpg" when that exists, else
// ".jpeg" (whether or not it exists). The result is resolved against the real file names.
std::string ThemedFileName(const std::string& base);
// Why the theme's image of `base` did not load, for a message: the loader's own cause when the
// file is there, else the name the data set lacks (the .bmp; the .jpeg that ThemedFileName falls
// back to would send the player looking for the wrong file).
std::string ThemedImageError(const std::string& base, const std::string& loadError);

// ---- Fonts -------------------------------------------------------------------------------------

// Makes every file of Graphics/Fonts usable by its family name for this process and returns
// their names. Files that are not fonts are skipped.
std::vector<std::string> InstallFonts();
// The fonts were registered for this process only, so nothing outside it needs undoing; the
// list is emptied.
void RemoveFonts(std::vector<std::string>& fonts);

// ---- Sound effects -----------------------------------------------------------------------------

// The three effects; null until LoadSounds first succeeds in creating them.
extern std::unique_ptr<ISoundBuffer> ClickSound;
extern std::unique_ptr<ISoundBuffer> PieceSound;
extern std::unique_ptr<ISoundBuffer> FinishSound;

// Loads the themed click and piece sounds and (once) the finish sound named in the layout block
// "Sound". Any failure keeps the sounds not yet reached as they were.
void LoadSounds();
// Restarts an effect from its beginning; a missing effect is skipped.
void PlaySound(ISoundBuffer* sound);
inline void PlayClick() { PlaySound(ClickSound.get()); }
// Frees the three effects; the engine calls it before the sound device goes away.
void ReleaseSounds();

// Effect volume in hundredths of a decibel for a percentage: 0 dB at 100, -30 dB at 1,
// silent (-10000) at 0 and below.
int EffectVolume(int percent);
// MIDI output level 0..65535 for a percentage.
uint32_t MidiLevel(int percent);

// Options.Sound := value; every effect gets EffectVolume(value).
void SetSoundVolume(int value);
// Options.Music := value; every MIDI output device gets MidiLevel(value).
void SetMusicVolume(int value);

// ---- Music -------------------------------------------------------------------------------------

// Remembers the MIDI devices' volumes, sets the configured level and plays sound/music.mid once.
void StartMusic();
// After the music has ended: the MIDI devices get their remembered volumes back.
void RestoreMidiVolumes();
// Whether the music started and has not ended yet.
bool MusicPlaying();
// Plays a MIDI file once; 0 on success, else the device's error code.
int PlayMidi(const std::string& fileName);

}  // namespace qj
