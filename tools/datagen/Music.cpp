// "Quiet Table", the background music: an original 34-bar piece (about 107 seconds) in F major at 76 beats per
// minute for flute and vibraphone, warm pad, bass and piano, written as a type-1 MIDI file.
#include <algorithm>
#include <string>

#include "tools/datagen/Audio.h"

namespace qj::datagen {
namespace {

constexpr int kQuarter = 480, kEighth = kQuarter / 2, kBar = 4 * kQuarter;

struct TEvent {
  int Tick;
  std::vector<uint8_t> Bytes;
};

class TTrack {
 public:
  void Note(int channel, int tick, int key, int length, int velocity) {
    FEvents.push_back({tick, {uint8_t(0x90 | channel), uint8_t(key), uint8_t(velocity)}});
    FEvents.push_back({tick + length - 10, {uint8_t(0x80 | channel), uint8_t(key), 0}});
  }
  void Raw(int tick, std::vector<uint8_t> bytes) { FEvents.push_back({tick, std::move(bytes)}); }
  std::vector<uint8_t> Chunk();

 private:
  std::vector<TEvent> FEvents;
};

void PutVarLen(std::vector<uint8_t>& b, uint32_t v) {
  uint8_t tmp[5];
  int n = 0;
  do tmp[n++] = uint8_t(v & 0x7F); while ((v >>= 7) != 0);
  while (n > 1) b.push_back(tmp[--n] | 0x80);
  b.push_back(tmp[0]);
}

void PutBig(std::vector<uint8_t>& b, uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> TTrack::Chunk() {
  // Note-offs sort before note-ons at the same tick, so repeated notes restart cleanly.
  std::stable_sort(FEvents.begin(), FEvents.end(), [](const TEvent& a, const TEvent& b) {
    return a.Tick != b.Tick ? a.Tick < b.Tick : (a.Bytes[0] & 0xF0) == 0x80 && (b.Bytes[0] & 0xF0) != 0x80;
  });
  std::vector<uint8_t> body;
  int last = 0;
  for (const TEvent& e : FEvents) {
    PutVarLen(body, uint32_t(e.Tick - last));
    body.insert(body.end(), e.Bytes.begin(), e.Bytes.end());
    last = e.Tick;
  }
  for (uint8_t b : {0x00, 0xFF, 0x2F, 0x00}) body.push_back(b);  // end of track
  std::vector<uint8_t> chunk{'M', 'T', 'r', 'k'};
  PutBig(chunk, uint32_t(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

// Melody of the two 8-bar phrases: MIDI key and length in eighths (key 0 = rest).
const std::vector<std::pair<int, int>> kPhraseA = {
    {69, 2}, {72, 2}, {77, 4}, {76, 2}, {74, 2}, {69, 4}, {70, 2}, {74, 2}, {77, 3}, {76, 1}, {74, 2}, {72, 2},
    {67, 4}, {69, 1}, {70, 1}, {72, 2}, {77, 2}, {76, 2}, {76, 2}, {72, 2}, {69, 4}, {74, 2}, {70, 2}, {65, 2},
    {67, 2}, {72, 6}, {67, 2}};
const std::vector<std::pair<int, int>> kPhraseB = {
    {77, 2}, {76, 2}, {74, 2}, {69, 2}, {74, 4}, {72, 2}, {70, 2}, {69, 2}, {72, 2}, {77, 2}, {81, 2},
    {79, 6}, {76, 2}, {74, 2}, {70, 2}, {67, 2}, {70, 2}, {74, 2}, {77, 2}, {76, 2}, {74, 2}, {72, 4},
    {76, 4}, {79, 4}, {0, 4}};
// One chord per bar: root key (octave 3) and whether it is minor.
const std::vector<std::pair<int, bool>> kChordsA = {{53, false}, {50, true}, {58, false}, {48, false},
                                                    {53, false}, {57, true}, {58, false}, {48, false}};
const std::vector<std::pair<int, bool>> kChordsB = {{50, true}, {58, false}, {53, false}, {48, false},
                                                    {55, true}, {58, false}, {48, false}, {48, false}};

void Melody(TTrack& t, int start, const std::vector<std::pair<int, int>>& phrase, int shift, int velocity) {
  int tick = start;
  for (auto [key, len] : phrase) {
    if (key) t.Note(0, tick, key + shift, len * kEighth, velocity);
    tick += len * kEighth;
  }
}

void Harmony(TTrack& pad, TTrack& bass, TTrack& piano, int start, const std::vector<std::pair<int, bool>>& chords,
             bool full) {
  for (size_t bar = 0; bar < chords.size(); ++bar) {
    auto [root, minor] = chords[bar];
    int tick = start + int(bar) * kBar, third = root + (minor ? 3 : 4), fifth = root + 7;
    for (int k : {root, third, fifth}) pad.Note(1, tick, k + (k < 52 ? 12 : 0), kBar, 52);
    if (!full) continue;
    bass.Note(2, tick, root - 12, 2 * kQuarter, 80);
    bass.Note(2, tick + 2 * kQuarter, fifth - 24 + (fifth - 24 < 36 ? 12 : 0), 2 * kQuarter, 70);
    const int arp[8] = {root + 12, fifth + 12, third + 12, fifth + 12, root + 24, fifth + 12, third + 12, fifth + 12};
    for (int i = 0; i < 8; ++i) piano.Note(3, tick + i * kEighth, arp[i], kEighth + 60, i % 4 == 0 ? 58 : 44);
  }
}

TTrack Conductor() {
  TTrack t;
  std::string name = "Quiet Table";
  std::vector<uint8_t> title{0xFF, 0x03, uint8_t(name.size())};
  title.insert(title.end(), name.begin(), name.end());
  t.Raw(0, title);
  const uint32_t usPerQuarter = 60000000 / 76;
  t.Raw(0, {0xFF, 0x51, 0x03, uint8_t(usPerQuarter >> 16), uint8_t(usPerQuarter >> 8), uint8_t(usPerQuarter)});
  t.Raw(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8});
  t.Raw(0, {0xFF, 0x59, 0x02, 0xFF, 0x00});  // one flat: F major
  return t;
}

}  // namespace

std::vector<uint8_t> MusicFile() {
  TTrack lead, pad, bass, piano;
  // Instruments: flute, warm pad, acoustic bass, piano; reverb-friendly volumes.
  const int programs[4] = {73, 89, 32, 0}, volumes[4] = {100, 70, 90, 64};
  TTrack* parts[4] = {&lead, &pad, &bass, &piano};
  for (int c = 0; c < 4; ++c) {
    parts[c]->Raw(0, {uint8_t(0xC0 | c), uint8_t(programs[c])});
    parts[c]->Raw(0, {uint8_t(0xB0 | c), 7, uint8_t(volumes[c])});
    parts[c]->Raw(0, {uint8_t(0xB0 | c), 91, 70});
  }
  // First statement over the pad alone; the second with bass and piano, its answer on the
  // vibraphone an octave higher, then the flute returns for the close.
  for (int section = 0; section < 2; ++section) {
    int start = section * 16 * kBar;
    Melody(lead, start, kPhraseA, 0, 84);
    if (section == 1) lead.Raw(start + 8 * kBar, {0xC0, 11});
    Melody(lead, start + 8 * kBar, kPhraseB, section == 1 ? 12 : 0, 88);
    Harmony(pad, bass, piano, start, kChordsA, section > 0);
    Harmony(pad, bass, piano, start + 8 * kBar, kChordsB, section > 0);
  }
  int coda = 32 * kBar;
  lead.Raw(coda, {0xC0, 73});
  lead.Note(0, coda, 77, 2 * kBar, 80);
  for (int k : {53, 57, 60}) pad.Note(1, coda, k, 2 * kBar, 56);
  bass.Note(2, coda, 41, 2 * kBar, 76);
  std::vector<uint8_t> file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 5};
  PutBig(file, kQuarter, 2);
  TTrack conductor = Conductor();
  for (TTrack* t : {&conductor, &lead, &pad, &bass, &piano}) {
    std::vector<uint8_t> chunk = t->Chunk();
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

}  // namespace qj::datagen
