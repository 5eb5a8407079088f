// Theme files, theme fonts, the three sound effects and the background music.
#include "core/UThemes.h"

#include <algorithm>
#include <cmath>

#include "core/ULayoutFiles.h"
#include "core/UMiscelaneous.h"
#include "platform/FontRasterizer.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Sound.h"
#include "platform/TextUtil.h"

namespace qj {

std::vector<TTheme> Themes;
std::vector<std::string> BackgroundFiles;
std::unique_ptr<ISoundBuffer> ClickSound;
std::unique_ptr<ISoundBuffer> PieceSound;
std::unique_ptr<ISoundBuffer> FinishSound;

namespace {

bool gBackgroundsBuilt = false;

// The MIDI devices' volumes from before the music started, and whether it is still playing.
std::vector<uint32_t> gSavedMidiVolumes;
bool gMusicPlaying = false;

TThemeColor ReadColor(const TIniFile& ini, const std::string& key, TThemeColor def) {
  // Each channel keeps only the low byte of the integer read.
  return {uint8_t(ini.ReadInteger("Default", key + "R", def.R)),
          uint8_t(ini.ReadInteger("Default", key + "G", def.G)),
          uint8_t(ini.ReadInteger("Default", key + "B", def.B))};
}

// The whole file name matches without regard to case; so does the name without ".jpg", as the
// default "Wood" is written.
int BackgroundIndex(const std::string& name) {
  for (size_t i = 0; i < BackgroundFiles.size(); ++i) {
    const std::string& file = BackgroundFiles[i];
    if (SameName(file, name) || SameName(ChangeFileExt(file, ""), name))
      return int(i);
  }
  return 0;
}

TTheme ReadTheme(const std::string& path) {
  const TIniFile ini(path);
  const TTheme def;
  TTheme t;
  t.Name = ini.ReadString("Default", "Name", def.Name);
  t.FileNr = ini.ReadInteger("Default", "FileNr", def.FileNr);
  t.SayColor = ReadColor(ini, "SayColor", def.SayColor);
  t.SelectColor = ReadColor(ini, "SelectColor", def.SelectColor);
  t.FontName = ini.ReadString("Default", "FontName", def.FontName);
  t.FontSize = ini.ReadInteger("Default", "FontSize", def.FontSize);
  t.FontButtonSize = ini.ReadInteger("Default", "FontButtonSize", def.FontButtonSize);
  t.FontMenuSize = ini.ReadInteger("Default", "FontMenuSize", def.FontMenuSize);
  t.FontTitleSize = ini.ReadInteger("Default", "FontTitleSize", def.FontTitleSize);
  t.BackGround = BackgroundIndex(ini.ReadString("Default", "BackGround", "Wood"));
  return t;
}

}  // namespace

const TTheme& CurrentTheme() {
  static const TTheme kBuiltIn;
  const int env = Options.Environment;
  if (env < 0 || size_t(env) >= Themes.size()) return kBuiltIn;
  return Themes[size_t(env)];
}

void BuildBackgroundFiles() {
  BackgroundFiles = ListFiles(DataPath("Graphics/Backgrounds"), "*.jpg");
  gBackgroundsBuilt = true;
}

void LoadThemes() {
  if (!gBackgroundsBuilt) BuildBackgroundFiles();
  const std::string folder = DataPath("Graphics");
  std::vector<TTheme> themes;
  for (const std::string& name : ListFiles(folder, "*.ini")) themes.push_back(ReadTheme(folder + "/" + name));
  Themes = std::move(themes);
}

std::string ThemedFileName(const std::string& base) {
  const std::string stem = base + "-" + std::to_string(CurrentTheme().FileNr);
  for (const char* ext : {".bmp", ".jpg"}) {
    const std::string name = ResolvePath(stem + ext);
    if (FileExists(name)) return name;
  }
  return ResolvePath(stem + ".jpeg");
}

std::string ThemedImageError(const std::string& base, const std::string& loadError) {
  const std::string name = ThemedFileName(base);
  if (FileExists(name)) return loadError;
  return "missing " + ChangeFileExt(name, ".bmp") + " (nor is there a .jpg or .jpeg of it)";
}

// ---- Fonts -------------------------------------------------------------------------------------

std::vector<std::string> InstallFonts() {
  const std::string folder = DataPath("Graphics/Fonts");
  std::vector<std::string> fonts = ListFiles(folder, "*");
  IFontRasterizer* rasterizer = FontRasterizer();
  if (rasterizer)
    for (const std::string& name : fonts) rasterizer->AddFontFile(folder + "/" + name);
  return fonts;
}

void RemoveFonts(std::vector<std::string>& fonts) { fonts.clear(); }

// ---- Sound effects -----------------------------------------------------------------------------

namespace {

void LoadSoundsFromBlock() {
  std::vector<std::string> entries;
  ReadOptionsBlock("Sound", entries);
  if (entries.size() < 3) return;
  ISoundDevice& device = SoundDevice();
  if (!ClickSound) ClickSound = device.CreateBuffer();
  ClickSound->Stop();
  if (!PieceSound) PieceSound = device.CreateBuffer();
  if (!FinishSound) {
    FinishSound = device.CreateBuffer();
    FinishSound->LoadFromFile(ResolvePath(ChangeFileExt(entries[2], ".wav")));
  }
  PieceSound->Stop();
  // A file that does not load keeps the sound that was there; the theme may lack one.
  ClickSound->LoadFromFile(ChangeFileExt(ThemedFileName(entries[0]), ".wav"));
  PieceSound->LoadFromFile(ChangeFileExt(ThemedFileName(entries[1]), ".wav"));
}

}  // namespace

void LoadSounds() {
  try {
    LoadSoundsFromBlock();
  } catch (const ELayoutError&) {
    // Without the block there is nothing to load; the effects stay as they were.
  }
  SetSoundVolume(Options.Sound);
}

void PlaySound(ISoundBuffer* sound) {
  if (sound) sound->Play();
}

void ReleaseSounds() {
  ClickSound.reset();
  PieceSound.reset();
  FinishSound.reset();
}

int EffectVolume(int percent) {
  if (percent <= 0) return -10000;
  return std::clamp(percent * 30 - 3000, -10000, 0);
}

uint32_t MidiLevel(int percent) {
  const double level = std::nearbyint(std::clamp(percent, 0, 100) / 100.0 * 65535.0);
  return uint32_t(level);
}

void SetSoundVolume(int value) {
  Options.Sound = value;
  const int volume = EffectVolume(value);
  for (ISoundBuffer* sound : {ClickSound.get(), PieceSound.get(), FinishSound.get()})
    if (sound) sound->SetVolume(volume);
}

void SetMusicVolume(int value) {
  Options.Music = value;
  ISoundDevice& device = SoundDevice();
  const int count = device.MidiDeviceCount();
  for (int i = 0; i < count; ++i) device.SetMidiVolume(i, MidiLevel(value));
}

// ---- Music -------------------------------------------------------------------------------------

void StartMusic() {
  ISoundDevice& device = SoundDevice();
  gSavedMidiVolumes.clear();
  for (int i = 0; i < device.MidiDeviceCount(); ++i) gSavedMidiVolumes.push_back(device.MidiVolume(i));
  SetMusicVolume(Options.Music);
  PlayMidi(DataPath("sound/music.mid"));  // no music is no error: the game runs silent
  gMusicPlaying = true;
}

void RestoreMidiVolumes() {
  if (!gMusicPlaying) return;
  ISoundDevice& device = SoundDevice();
  const int count = std::min(device.MidiDeviceCount(), int(gSavedMidiVolumes.size()));
  for (int i = 0; i < count; ++i) device.SetMidiVolume(i, gSavedMidiVolumes[size_t(i)]);
  gSavedMidiVolumes.clear();
  gMusicPlaying = false;
}

bool MusicPlaying() { return gMusicPlaying; }

int PlayMidi(const std::string& fileName) { return SoundDevice().PlayMidi(ResolvePath(fileName)); }

}  // namespace qj
