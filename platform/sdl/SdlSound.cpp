// SDL2_mixer sound device.
#include "platform/sdl/SdlSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/Paths.h"
#include "platform/TextUtil.h"

namespace qj::sdl {

namespace {

// The open audio device; buffers share it so it closes only after the last of them is gone.
class TMixerSession {
 public:
  static std::shared_ptr<TMixerSession> Open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) return nullptr;
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) < 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return nullptr;
    }
    Mix_Init(MIX_INIT_MID);  // without MIDI support the music simply fails to load
    const std::string font = FindSoundFont();
    if (!font.empty()) Mix_SetSoundFonts(font.c_str());
    MusicEndedEventType();  // registered here, on the main thread
    Mix_HookMusicFinished(&MusicFinished);
    return std::shared_ptr<TMixerSession>(new TMixerSession);
  }

  ~TMixerSession() {
    Mix_HookMusicFinished(nullptr);
    Mix_HaltMusic();
    if (FMusic) Mix_FreeMusic(FMusic);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  TMixerSession(const TMixerSession&) = delete;
  TMixerSession& operator=(const TMixerSession&) = delete;

  int AllocateChannel() {
    const int channel = FChannels++;
    if (Mix_AllocateChannels(-1) < FChannels) Mix_AllocateChannels(FChannels);
    return channel;
  }

  int PlayMusic(const std::string& path) {
    Mix_HaltMusic();
    if (FMusic) Mix_FreeMusic(FMusic);
    FMusic = Mix_LoadMUS(path.c_str());
    if (!FMusic) return kMidiErrorLoad;
    return Mix_PlayMusic(FMusic, 0) < 0 ? kMidiErrorPlay : 0;
  }

 private:
  TMixerSession() = default;

  // Runs on the audio thread: only posts the event.
  static void MusicFinished() {
    SDL_Event event{};
    event.type = MusicEndedEventType();
    SDL_PushEvent(&event);
  }

  int FChannels = 0;
  Mix_Music* FMusic = nullptr;
};

class TSdlBuffer : public ISoundBuffer {
 public:
  TSdlBuffer(std::shared_ptr<TMixerSession> session, int channel)
      : FSession(std::move(session)), FChannel(channel) {
    Mix_Volume(FChannel, MIX_MAX_VOLUME);
  }
  ~TSdlBuffer() override { Stop(); }

  bool LoadFromFile(const std::string& path) override {
    Mix_Chunk* chunk = Mix_LoadWAV(ResolvePath(path).c_str());
    if (!chunk) return false;
    Stop();
    FChunk.reset(chunk);
    return true;
  }
  void Play() override {
    if (!FChunk) return;
    Stop();
    Mix_PlayChannel(FChannel, FChunk.get(), 0);
  }
  void Stop() override { Mix_HaltChannel(FChannel); }
  void SetVolume(int hundredthsDb) override {
    FVolume = hundredthsDb;
    Mix_Volume(FChannel, MixVolumeFromHundredthsDb(hundredthsDb));
  }
  int Volume() const override { return FVolume; }

 private:
  struct TChunkFree {
    void operator()(Mix_Chunk* c) const { Mix_FreeChunk(c); }
  };
  std::shared_ptr<TMixerSession> FSession;  // declared first: released after the chunk
  int FChannel;
  std::unique_ptr<Mix_Chunk, TChunkFree> FChunk;
  int FVolume = 0;
};

// One "MIDI output device": SDL_mixer's music volume.
class TSdlDevice : public ISoundDevice {
 public:
  explicit TSdlDevice(std::shared_ptr<TMixerSession> session) : FSession(std::move(session)) {
    SetMidiVolume(0, FMidiLevel);
  }

  std::unique_ptr<ISoundBuffer> CreateBuffer() override {
    return std::make_unique<TSdlBuffer>(FSession, FSession->AllocateChannel());
  }
  int MidiDeviceCount() override { return 1; }
  uint32_t MidiVolume(int device) override { return device == 0 ? FMidiLevel : 0; }
  void SetMidiVolume(int device, uint32_t level) override {
    if (device != 0) return;
    FMidiLevel = std::min<uint32_t>(level, 0xFFFF);
    Mix_VolumeMusic(MixVolumeFromMidiLevel(FMidiLevel));
  }
  int PlayMidi(const std::string& path) override { return FSession->PlayMusic(ResolvePath(path)); }
  void StopMidi() override { Mix_HaltMusic(); }

 private:
  std::shared_ptr<TMixerSession> FSession;
  uint32_t FMidiLevel = 0xFFFF;
};

std::string FirstSoundFontIn(const std::string& folder) {
  std::error_code ec;
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (SameName(entry.path().extension().string(), ".sf2") && entry.is_regular_file(ec))
      found.push_back(entry.path().string());
  }
  std::sort(found.begin(), found.end());
  return found.empty() ? std::string() : found.front();
}

}  // namespace

std::unique_ptr<ISoundDevice> CreateSdlSoundDevice() {
  std::shared_ptr<TMixerSession> session = TMixerSession::Open();
  if (!session) return nullptr;
  return std::make_unique<TSdlDevice>(std::move(session));
}

// SDL's dummy driver throws away what it is given: the program then runs silent rather than
// keep a mixer thread synthesising music no one can hear.
bool InitSound() {
  const char* driver = SDL_getenv("SDL_AUDIODRIVER");
  if (driver && SameName(driver, "dummy")) return false;
  std::unique_ptr<ISoundDevice> device = CreateSdlSoundDevice();
  if (!device) return false;
  SetSoundDevice(std::move(device));
  return true;
}

uint32_t MusicEndedEventType() {
  static const uint32_t type = SDL_RegisterEvents(1);
  return type;
}

int MixVolumeFromHundredthsDb(int hundredthsDb) {
  if (hundredthsDb <= -10000) return 0;
  const double gain = std::pow(10.0, std::min(hundredthsDb, 0) / 2000.0);
  return int(std::lround(gain * MIX_MAX_VOLUME));
}

int MixVolumeFromMidiLevel(uint32_t level) {
  return int(std::lround(std::min<uint32_t>(level, 0xFFFF) * double(MIX_MAX_VOLUME) / 0xFFFF));
}

std::string FindSoundFont() {
  if (const char* env = std::getenv("SDL_SOUNDFONTS"); env && *env) return env;
  const std::string preferred = "/usr/share/sounds/sf2/TimGM6mb.sf2";
  std::error_code ec;
  if (std::filesystem::is_regular_file(preferred, ec)) return preferred;
  for (const char* folder : {"/usr/share/sounds/sf2", "/usr/share/soundfonts"}) {
    const std::string font = FirstSoundFontIn(folder);
    if (!font.empty()) return font;
  }
  return "";
}

}  // namespace qj::sdl
