// Sound file encoders of the generator: PCM WAV and the background music as a MIDI file.
#pragma once

#include <cstdint>
#include <vector>

namespace qj::datagen {

// 44.1 kHz, 16-bit mono; samples normalised to a comfortable peak.
std::vector<uint8_t> WavFile(const std::vector<float>& samples);
// The calm background piece, a Standard MIDI File of type 1.
std::vector<uint8_t> MusicFile();

}  // namespace qj::datagen
