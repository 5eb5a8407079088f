// Small media files for the sound tests.
#include "tests/settings/SettingsFixture.h"

namespace qj::test {

namespace {

void PutLE(std::string& s, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += char((v >> (8 * i)) & 255);
}
void PutBE(std::string& s, uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) s += char((v >> (8 * i)) & 255);
}

}  // namespace

std::string MakeWave(int samples) {
  const uint32_t dataSize = uint32_t(samples) * 2;
  std::string w = "RIFF";
  PutLE(w, 36 + dataSize, 4);
  w += "WAVEfmt ";
  PutLE(w, 16, 4);
  PutLE(w, 1, 2);          // PCM
  PutLE(w, 1, 2);          // mono
  PutLE(w, 44100, 4);
  PutLE(w, 44100 * 2, 4);  // bytes per second
  PutLE(w, 2, 2);          // block align
  PutLE(w, 16, 2);
  w += "data";
  PutLE(w, dataSize, 4);
  w.append(dataSize, '\0');
  return w;
}

std::string MakeMidi() {
  std::string track;
  const unsigned char events[] = {0x00, 0x90, 60, 100,  // note on, middle C
                                  0x30, 0x80, 60, 0,    // 48 ticks later: note off
                                  0x00, 0xFF, 0x2F, 0x00};
  track.assign(reinterpret_cast<const char*>(events), sizeof events);
  std::string m = "MThd";
  PutBE(m, 6, 4);
  PutBE(m, 0, 2);   // format 0
  PutBE(m, 1, 2);   // one track
  PutBE(m, 96, 2);  // ticks per quarter note
  m += "MTrk";
  PutBE(m, uint32_t(track.size()), 4);
  return m + track;
}

}  // namespace qj::test
