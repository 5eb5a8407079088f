// Synthesised sound effects (44.1 kHz, 16-bit mono WAV): a wooden click, a piece snap and a
// finishing chime, each theme with its own timbre for the first two.
#include <numbers>

#include "tools/datagen/Audio.h"
#include "tools/datagen/DataSet.h"
#include "tools/datagen/Raster.h"

namespace qj::datagen {
namespace {

constexpr int kRate = 44100;
constexpr float kTwoPi = 2 * std::numbers::pi_v<float>;

void Put16(std::vector<uint8_t>& b, unsigned v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); }
void Put32(std::vector<uint8_t>& b, uint32_t v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }

struct TMode {
  float Freq, Amp, Decay;  // Hz, level, seconds to fall by e
};

// A struck body: decaying partials plus a short noise burst for the contact.
std::vector<float> Strike(const std::vector<TMode>& modes, float seconds, float noise, float noiseDecay, uint64_t seed) {
  std::vector<float> s(size_t(seconds * kRate));
  TRng rng(seed);
  float lp = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    float t = float(i) / kRate, v = 0;
    for (const TMode& m : modes) v += m.Amp * std::exp(-t / m.Decay) * std::sin(kTwoPi * m.Freq * t);
    lp += (rng.Range(-1, 1) - lp) * 0.35f;
    v += noise * lp * std::exp(-t / noiseDecay);
    s[i] = v * std::min(1.f, float(i) / 40.f);
  }
  return s;
}

std::vector<float> Chime() {
  std::vector<float> s(size_t(1.8f * kRate));
  const float notes[4] = {523.25f, 659.25f, 783.99f, 1046.5f};
  for (int n = 0; n < 4; ++n) {
    size_t start = size_t(n * 0.11f * kRate);
    for (size_t i = start; i < s.size(); ++i) {
      float t = float(i - start) / kRate, f = notes[n];
      float bell = std::sin(kTwoPi * f * t) + 0.4f * std::sin(kTwoPi * f * 2.01f * t) * std::exp(-t * 3) +
                   0.2f * std::sin(kTwoPi * f * 3.98f * t) * std::exp(-t * 6);
      s[i] += 0.22f * bell * std::exp(-t * 2.2f) * std::min(1.f, t * 400);
    }
  }
  return s;
}

}  // namespace

std::vector<uint8_t> WavFile(const std::vector<float>& samples) {
  float peak = 1e-6f;
  for (float v : samples) peak = std::max(peak, std::fabs(v));
  float gain = 0.85f / peak;
  std::vector<uint8_t> b{'R', 'I', 'F', 'F'};
  Put32(b, uint32_t(36 + samples.size() * 2));
  for (char c : std::string("WAVEfmt ")) b.push_back(uint8_t(c));
  Put32(b, 16);
  Put16(b, 1);          // PCM
  Put16(b, 1);          // mono
  Put32(b, kRate);
  Put32(b, kRate * 2);  // bytes per second
  Put16(b, 2);          // block align
  Put16(b, 16);
  for (char c : std::string("data")) b.push_back(uint8_t(c));
  Put32(b, uint32_t(samples.size() * 2));
  for (float v : samples) Put16(b, unsigned(int16_t(std::lround(std::clamp(v * gain, -1.f, 1.f) * 32767))));
  return b;
}

void WriteSounds(const TOutput& out, const TLayoutList& layout) {
  std::vector<std::string> names = layout.Block("Sound", 3);
  // Per theme: wood, glass, leaf-soft.
  const std::vector<std::vector<TMode>> clicks = {
      {{1250, 1, 0.012f}, {2900, 0.5f, 0.006f}, {620, 0.4f, 0.02f}},
      {{2600, 1, 0.03f}, {5200, 0.4f, 0.02f}, {3900, 0.3f, 0.025f}},
      {{900, 1, 0.015f}, {1800, 0.4f, 0.008f}, {450, 0.5f, 0.02f}}};
  const std::vector<std::vector<TMode>> snaps = {
      {{420, 1, 0.03f}, {980, 0.6f, 0.018f}, {1900, 0.35f, 0.01f}},
      {{1500, 1, 0.07f}, {3010, 0.5f, 0.05f}, {4480, 0.25f, 0.03f}},
      {{330, 1, 0.04f}, {760, 0.5f, 0.02f}, {1400, 0.3f, 0.012f}}};
  for (size_t t = 0; t < clicks.size(); ++t) {
    out.Bytes(TOutput::ThemedName(names[0], int(t)) + ".wav", WavFile(Strike(clicks[t], 0.09f, 0.6f, 0.004f, 3 + t)));
    out.Bytes(TOutput::ThemedName(names[1], int(t)) + ".wav", WavFile(Strike(snaps[t], 0.22f, 0.9f, 0.006f, 9 + t)));
  }
  out.Bytes(names[2] + ".wav", WavFile(Chime()));
  out.Bytes("sound\\music.mid", MusicFile());
}

}  // namespace qj::datagen
