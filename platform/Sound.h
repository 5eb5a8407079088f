// The sound device: wave buffers for the effects and one MIDI sequencer for the music.
// Volumes of buffers are in hundredths of a decibel (0 = full, -10000 = silent).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace qj {

class ISoundBuffer {
 public:
  virtual ~ISoundBuffer() = default;
  virtual bool LoadFromFile(const std::string& path) = 0;  // a WAV file; false keeps the old sound
  virtual void Play() = 0;  // from position 0, once
  virtual void Stop() = 0;
  virtual void SetVolume(int hundredthsDb) = 0;
  virtual int Volume() const = 0;
};

class ISoundDevice {
 public:
  virtual ~ISoundDevice() = default;
  virtual std::unique_ptr<ISoundBuffer> CreateBuffer() = 0;
  // MIDI output devices and their volume: one 16-bit level each.
  virtual int MidiDeviceCount() = 0;
  virtual uint32_t MidiVolume(int device) = 0;
  virtual void SetMidiVolume(int device, uint32_t level) = 0;
  // Plays the file once; 0 on success, else an error code. The end is reported as a
  // TInputKind::MusicEnded event.
  virtual int PlayMidi(const std::string& path) = 0;
  // Stops the music; its end is reported as when it ends by itself.
  virtual void StopMidi() = 0;
};

// A device that accepts everything and plays nothing: effects load (WAV files only) and keep
// their volume, the one MIDI output device keeps its level, and music reports an error.
std::unique_ptr<ISoundDevice> CreateSilentSoundDevice();
constexpr int kMidiErrorNoDevice = 1;   // no sequencer (silent device, or no MIDI support)
constexpr int kMidiErrorLoad = 2;       // the file could not be loaded
constexpr int kMidiErrorPlay = 3;       // the file loaded but did not start

// The device of the running program (a silent one until the platform installs another).
ISoundDevice& SoundDevice();
void SetSoundDevice(std::unique_ptr<ISoundDevice> device);

}  // namespace qj
