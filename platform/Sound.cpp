// The silent sound device and the process-wide device accessor.
#include "platform/Sound.h"

#include <cstring>
#include <fstream>

#include "platform/Paths.h"

namespace qj {

namespace {

// RIFF header with the WAVE form type: the least a file must have to be a wave file.
bool LooksLikeWave(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char header[12] = {};
  if (!in.read(header, sizeof header)) return false;
  return std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "WAVE", 4) == 0;
}

class TSilentBuffer : public ISoundBuffer {
 public:
  bool LoadFromFile(const std::string& path) override { return LooksLikeWave(ResolvePath(path)); }
  void Play() override {}
  void Stop() override {}
  void SetVolume(int hundredthsDb) override { FVolume = hundredthsDb; }
  int Volume() const override { return FVolume; }

 private:
  int FVolume = 0;
};

class TSilentDevice : public ISoundDevice {
 public:
  std::unique_ptr<ISoundBuffer> CreateBuffer() override { return std::make_unique<TSilentBuffer>(); }
  int MidiDeviceCount() override { return 1; }
  uint32_t MidiVolume(int device) override { return device == 0 ? FMidiLevel : 0; }
  void SetMidiVolume(int device, uint32_t level) override {
    if (device == 0) FMidiLevel = level;
  }
  int PlayMidi(const std::string&) override { return kMidiErrorNoDevice; }
  void StopMidi() override {}

 private:
  uint32_t FMidiLevel = 0xFFFF;
};

std::unique_ptr<ISoundDevice>& Installed() {
  static std::unique_ptr<ISoundDevice> device = CreateSilentSoundDevice();
  return device;
}

}  // namespace

std::unique_ptr<ISoundDevice> CreateSilentSoundDevice() { return std::make_unique<TSilentDevice>(); }

ISoundDevice& SoundDevice() { return *Installed(); }

void SetSoundDevice(std::unique_ptr<ISoundDevice> device) {
  Installed() = device ? std::move(device) : CreateSilentSoundDevice();
}

}  // namespace qj
