// Effect and music volumes, loading the effects, and the SDL2_mixer device.
#include <SDL.h>

#include <cstdlib>

#include "platform/Sound.h"
#include "platform/sdl/SdlSound.h"
#include "tests/settings/SettingsFixture.h"

namespace qj::test {
namespace {

TEST(Volume, EffectsGoFromMinus30DbToFullAndZeroIsSilent) {
  EXPECT_EQ(EffectVolume(100), 0);
  EXPECT_EQ(EffectVolume(50), -1500);
  EXPECT_EQ(EffectVolume(1), -2970);
  EXPECT_EQ(EffectVolume(0), -10000);
  EXPECT_EQ(EffectVolume(-4), -10000);
  EXPECT_EQ(EffectVolume(250), 0);  // never louder than the recording
}

TEST(Volume, MusicLevelIsRoundedSixteenBits) {
  EXPECT_EQ(MidiLevel(100), 65535u);
  EXPECT_EQ(MidiLevel(50), 32768u);
  EXPECT_EQ(MidiLevel(0), 0u);
  EXPECT_EQ(MidiLevel(120), 65535u);
}

TEST(Volume, MixerVolumesFollowTheDecibels) {
  EXPECT_EQ(sdl::MixVolumeFromHundredthsDb(0), 128);
  EXPECT_EQ(sdl::MixVolumeFromHundredthsDb(-2000), 13);  // a tenth
  EXPECT_EQ(sdl::MixVolumeFromHundredthsDb(-1500), 23);
  EXPECT_EQ(sdl::MixVolumeFromHundredthsDb(-10000), 0);
  EXPECT_EQ(sdl::MixVolumeFromHundredthsDb(500), 128);
  EXPECT_EQ(sdl::MixVolumeFromMidiLevel(65535), 128);
  EXPECT_EQ(sdl::MixVolumeFromMidiLevel(32768), 64);
  EXPECT_EQ(sdl::MixVolumeFromMidiLevel(0), 0);
}

class Effects : public TProgramFolderTest {
 protected:
  void WriteSoundBlock() const {
    Folder.Write("Text/VarEroRuze.rls", "[Sound]\nsound\\Click\nsound\\Piece\nsound\\Finish\n[End Sound]\n");
  }
};

TEST_F(Effects, SoundsLoadFromTheLayoutBlockAtTheConfiguredVolume) {
  WriteSoundBlock();
  Folder.Write("sound/Click-0.wav", MakeWave(100));
  Folder.Write("sound/Piece-0.wav", MakeWave(100));
  Folder.Write("sound/Finish.wav", MakeWave(100));
  Options.Sound = 50;
  LoadSounds();
  ASSERT_TRUE(ClickSound && PieceSound && FinishSound);
  EXPECT_EQ(ClickSound->Volume(), -1500);
  EXPECT_EQ(FinishSound->Volume(), -1500);
  SetSoundVolume(0);
  EXPECT_EQ(PieceSound->Volume(), -10000);
  EXPECT_EQ(Options.Sound, 0);
  PlayClick();
}

TEST_F(Effects, MissingBlockOrBrokenFilesLeaveTheProgramRunning) {
  LoadSounds();  // no layout list at all
  EXPECT_FALSE(ClickSound);
  WriteSoundBlock();
  Folder.Write("sound/Click-0.wav", "this is not a wave");
  LoadSounds();
  ASSERT_TRUE(ClickSound);
  EXPECT_FALSE(ClickSound->LoadFromFile(Folder.File("sound/Click-0.wav")));
  PlaySound(nullptr);
}

TEST_F(Effects, MusicRestoresTheEarlierVolumesWhenItEnds) {
  SoundDevice().SetMidiVolume(0, 1234);
  Options.Music = 50;
  StartMusic();  // no music file: runs silent
  EXPECT_EQ(SoundDevice().MidiVolume(0), 32768u);
  RestoreMidiVolumes();
  EXPECT_EQ(SoundDevice().MidiVolume(0), 1234u);
  SetMusicVolume(100);  // still works after the end
  EXPECT_EQ(SoundDevice().MidiVolume(0), 65535u);
  RestoreMidiVolumes();  // a second notice changes nothing
  EXPECT_EQ(SoundDevice().MidiVolume(0), 65535u);
}

TEST(NoAudio, WithoutAnAudioDeviceTheProgramRunsSilent) {
  const std::string driver = std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  EXPECT_EQ(sdl::CreateSdlSoundDevice(), nullptr);
  EXPECT_FALSE(sdl::InitSound());
  EXPECT_EQ(SoundDevice().PlayMidi("anything.mid"), kMidiErrorNoDevice);  // still the silent device
  setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
}

// The real mixer on SDL's dummy audio driver.
class MixerDevice : public TProgramFolderTest {
 protected:
  void SetUp() override {
    TProgramFolderTest::SetUp();
    Device = sdl::CreateSdlSoundDevice();
    if (!Device) GTEST_SKIP() << "no audio driver";
  }
  std::unique_ptr<ISoundDevice> Device;
};

TEST_F(MixerDevice, WavesLoadAndNonWavesAreRefused) {
  auto buffer = Device->CreateBuffer();
  const std::string good = Folder.Write("good.wav", MakeWave(4410));
  EXPECT_TRUE(buffer->LoadFromFile(good));
  EXPECT_FALSE(buffer->LoadFromFile(Folder.Write("bad.wav", "RIFF....WAVEjunk")));
  EXPECT_FALSE(buffer->LoadFromFile(Folder.File("missing.wav")));
  buffer->SetVolume(-1500);
  EXPECT_EQ(buffer->Volume(), -1500);
  buffer->Play();  // the earlier wave is still there
  buffer->Play();
  buffer->Stop();
  auto second = Device->CreateBuffer();  // a channel of its own
  EXPECT_TRUE(second->LoadFromFile(good));
  second->Play();
}

TEST_F(MixerDevice, MidiPlaysOnceAndReportsItsEnd) {
  if (sdl::FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI sound font installed";
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
  EXPECT_NE(Device->PlayMidi(Folder.File("missing.mid")), 0);
  Device->SetMidiVolume(0, 32768);
  EXPECT_EQ(Device->MidiVolume(0), 32768u);
  const int result = Device->PlayMidi(Folder.Write("tune.mid", MakeMidi()));
  if (result != 0) GTEST_SKIP() << "this SDL2_mixer cannot play MIDI: " << SDL_GetError();
  bool ended = false;
  SDL_Event event;
  const uint32_t deadline = SDL_GetTicks() + 10000;
  while (!ended && SDL_GetTicks() < deadline)
    if (SDL_WaitEventTimeout(&event, 100) && event.type == sdl::MusicEndedEventType()) ended = true;
  EXPECT_TRUE(ended);
  SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

}  // namespace
}  // namespace qj::test
