// Runs of zeros as matches, everything else as literals, then each block's Huffman codes built
// from its own counts; a block that would not shrink is stored instead, which bounds the output.
#include "platform/DeflateFast.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace qj {
namespace {

constexpr size_t kMinMatch = 4, kMaxMatch = 258, kMaxStored = 65535;
constexpr size_t kBlockSymbols = size_t(1) << 16, kBlockBytes = size_t(1) << 18, kMaxLiteralRun = 65535;
constexpr int kLitLenCodes = 286, kDistanceCodes = 30, kLengthCodes = 19, kEndOfBlock = 256;
constexpr int kMaxCodeBits = 15, kMaxLengthCodeBits = 7;
constexpr std::array<uint8_t, kLengthCodes> kLengthCodeOrder{16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// A match length's symbol (257..285) with its extra bits, for lengths 3..258.
struct TLengthCode {
  uint16_t Symbol = 0;
  uint8_t ExtraBits = 0;
  uint16_t Base = 0;
};

std::array<TLengthCode, kMaxMatch + 1> MakeLengthCodes() {
  std::array<TLengthCode, kMaxMatch + 1> t{};
  for (unsigned len = 3; len <= kMaxMatch; ++len) {
    const unsigned l = len - 3;
    if (len == kMaxMatch) t[len] = {285, 0, 258};
    else if (l < 8) t[len] = {uint16_t(257 + l), 0, uint16_t(len)};
    else {
      const unsigned b = unsigned(std::bit_width(l)) - 1, extra = b - 2;
      t[len] = {uint16_t(257 + 4 * (b - 1) + ((l >> extra) & 3)), uint8_t(extra), uint16_t(len - (l & ((1u << extra) - 1)))};
    }
  }
  return t;
}

const std::array<TLengthCode, kMaxMatch + 1> kLengthCodesTable = MakeLengthCodes();

// Distance 1..32768 to its code 0..29; the extra bits are the low bits of distance - 1.
unsigned DistanceCode(unsigned distance, unsigned& extraBits) {
  const unsigned x = distance - 1;
  if (x < 4) return extraBits = 0, x;
  const unsigned b = unsigned(std::bit_width(x)) - 1;
  extraBits = b - 1;
  return 2 * b + ((x >> (b - 1)) & 1);
}

// Bits least significant first, four whole bytes stored at a time.
class TBitWriter {
 public:
  explicit TBitWriter(uint8_t* out) : FStart(out), FOut(out) {}
  // n <= 32, and `bits` has nothing above its n bits.
  void Put(uint32_t bits, unsigned n) {
    FBuffer |= uint64_t(bits) << FCount;
    FCount += n;
    if (FCount < 32) return;
    const uint32_t word = uint32_t(FBuffer);
    std::memcpy(FOut, &word, 4);
    FOut += 4;
    FBuffer >>= 32;
    FCount -= 32;
  }
  void AlignToByte() {
    FCount = (FCount + 7) & ~7u;
    for (; FCount > 0; FCount -= 8, FBuffer >>= 8) *FOut++ = uint8_t(FBuffer);
  }
  void Copy(const uint8_t* data, size_t size) {
    if (size) std::memcpy(FOut, data, size);
    FOut += size;
  }
  size_t Size() const { return size_t(FOut - FStart); }

 private:
  uint8_t* FStart;
  uint8_t* FOut;
  uint64_t FBuffer = 0;
  unsigned FCount = 0;
};

// Code lengths of at most `limit` bits for the counted symbols: a Huffman tree by the two-queue
// merge; when it grows too deep the counts are flattened and it is built again.
bool TryLengths(const uint32_t* freq, int n, int limit, uint8_t* lengths) {
  std::array<int, kLitLenCodes> leaves;
  int m = 0;
  for (int s = 0; s < n; ++s)
    if (freq[s]) leaves[size_t(m++)] = s;
  std::sort(leaves.begin(), leaves.begin() + m, [freq](int a, int b) { return freq[a] != freq[b] ? freq[a] < freq[b] : a < b; });
  std::array<uint64_t, 2 * kLitLenCodes> weight;
  std::array<int, 2 * kLitLenCodes> parent;
  for (int i = 0; i < m; ++i) weight[size_t(i)] = freq[leaves[size_t(i)]];
  int leaf = 0, inner = m;
  const auto smallest = [&](int made) { return leaf < m && (inner >= made || weight[size_t(leaf)] <= weight[size_t(inner)]) ? leaf++ : inner++; };
  for (int made = m; made < 2 * m - 1; ++made) {
    const int a = smallest(made), b = smallest(made);
    weight[size_t(made)] = weight[size_t(a)] + weight[size_t(b)];
    parent[size_t(a)] = parent[size_t(b)] = made;
  }
  std::array<int, 2 * kLitLenCodes> depth;
  depth[size_t(2 * m - 2)] = 0;
  for (int i = 2 * m - 3; i >= 0; --i) depth[size_t(i)] = depth[size_t(parent[size_t(i)])] + 1;
  std::fill(lengths, lengths + n, uint8_t(0));
  for (int i = 0; i < m; ++i) {
    if (depth[size_t(i)] > limit) return false;
    lengths[leaves[size_t(i)]] = uint8_t(depth[size_t(i)]);
  }
  return true;
}

// At least two symbols are counted (a decoder may refuse a code of one), which TryLengths needs.
void BuildLengths(const uint32_t* counts, int n, int limit, uint8_t* lengths) {
  std::array<uint32_t, kLitLenCodes> freq{};
  std::copy(counts, counts + n, freq.begin());
  for (int s = 0, used = int(std::count_if(counts, counts + n, [](uint32_t c) { return c > 0; })); used < 2; ++s)
    if (!freq[size_t(s)]) freq[size_t(s)] = 1, ++used;
  while (!TryLengths(freq.data(), n, limit, lengths))
    for (uint32_t& f : freq) f = (f + 1) / 2;
}

uint16_t Reversed(unsigned code, unsigned bits) {
  unsigned r = 0;
  for (unsigned i = 0; i < bits; ++i, code >>= 1) r = r << 1 | (code & 1);
  return uint16_t(r);
}

// Canonical codes, bit-reversed for the least-significant-first writer.
void MakeCodes(const uint8_t* lengths, int n, uint16_t* codes) {
  std::array<uint16_t, kMaxCodeBits + 2> count{}, next{};
  for (int s = 0; s < n; ++s) ++count[lengths[s]];
  count[0] = 0;
  for (int bits = 1; bits <= kMaxCodeBits; ++bits) next[size_t(bits)] = uint16_t((next[size_t(bits - 1)] + count[size_t(bits - 1)]) << 1);
  for (int s = 0; s < n; ++s) {
    const unsigned len = lengths[s];
    if (!len) continue;
    const unsigned code = next[len]++;
    codes[s] = Reversed(code, len);
  }
}


// A code length, or a run of equal ones, as a block's header sends them: symbol 0..18 with the
// value of its extra bits.
struct TLengthItem {
  uint8_t Symbol = 0, Extra = 0;
};

unsigned RunExtraBits(unsigned symbol) { return symbol == 16 ? 2 : symbol == 17 ? 3 : symbol == 18 ? 7 : 0; }

int RunLengths(const uint8_t* lengths, int n, TLengthItem* items) {
  int k = 0;
  for (int i = 0; i < n;) {
    const uint8_t v = lengths[i];
    int run = 1;
    while (i + run < n && lengths[i + run] == v) ++run;
    i += run;
    if (v == 0) {
      for (int r; run >= 11; run -= r) items[k++] = {18, uint8_t((r = std::min(run, 138)) - 11)};
      if (run >= 3) items[k++] = {17, uint8_t(run - 3)}, run = 0;
    } else {
      items[k++] = {v, 0};
      for (int r = --run; run >= 3; run -= r) items[k++] = {16, uint8_t((r = std::min(run, 6)) - 3)};
    }
    for (; run > 0; --run) items[k++] = {v, 0};
  }
  return k;
}

unsigned LengthSymbolExtraBits(int symbol) { return symbol < 265 || symbol == 285 ? 0 : unsigned(symbol - 261) / 4; }
unsigned DistanceExtraBits(int code) { return code < 4 ? 0 : unsigned(code) / 2 - 1; }

// One block's codes and the header that describes them.
struct TBlockCodes {
  std::array<uint8_t, kLitLenCodes> LitLenLengths;
  std::array<uint16_t, kLitLenCodes> LitLenCodes;
  std::array<uint8_t, kDistanceCodes> DistanceLengths;
  std::array<uint16_t, kDistanceCodes> DistanceCodes;
  int LitLenCount = 0, DistanceCount = 0, OrderCount = 0, ItemCount = 0;
  std::array<TLengthItem, kLitLenCodes + kDistanceCodes> Items;
  std::array<uint8_t, kLengthCodes> ItemLengths;
  std::array<uint16_t, kLengthCodes> ItemCodes;
};

void PlanHeader(TBlockCodes& c) {
  c.LitLenCount = kLitLenCodes;
  while (c.LitLenCount > 257 && !c.LitLenLengths[size_t(c.LitLenCount - 1)]) --c.LitLenCount;
  c.DistanceCount = kDistanceCodes;
  while (c.DistanceCount > 1 && !c.DistanceLengths[size_t(c.DistanceCount - 1)]) --c.DistanceCount;
  std::array<uint8_t, kLitLenCodes + kDistanceCodes> all;
  std::copy_n(c.LitLenLengths.begin(), c.LitLenCount, all.begin());
  std::copy_n(c.DistanceLengths.begin(), c.DistanceCount, all.begin() + c.LitLenCount);
  c.ItemCount = RunLengths(all.data(), c.LitLenCount + c.DistanceCount, c.Items.data());
  std::array<uint32_t, kLengthCodes> counts{};
  for (int i = 0; i < c.ItemCount; ++i) ++counts[c.Items[size_t(i)].Symbol];
  BuildLengths(counts.data(), kLengthCodes, kMaxLengthCodeBits, c.ItemLengths.data());
  MakeCodes(c.ItemLengths.data(), kLengthCodes, c.ItemCodes.data());
  c.OrderCount = kLengthCodes;
  while (c.OrderCount > 4 && !c.ItemLengths[kLengthCodeOrder[size_t(c.OrderCount - 1)]]) --c.OrderCount;
}

void WriteHeader(TBitWriter& w, const TBlockCodes& c, bool final) {
  w.Put(final ? 1 : 0, 1);
  w.Put(2, 2);  // dynamic Huffman codes
  w.Put(uint32_t(c.LitLenCount - 257), 5);
  w.Put(uint32_t(c.DistanceCount - 1), 5);
  w.Put(uint32_t(c.OrderCount - 4), 4);
  for (int i = 0; i < c.OrderCount; ++i) w.Put(c.ItemLengths[kLengthCodeOrder[size_t(i)]], 3);
  for (int i = 0; i < c.ItemCount; ++i) {
    const TLengthItem& item = c.Items[size_t(i)];
    w.Put(c.ItemCodes[item.Symbol], c.ItemLengths[item.Symbol]);
    if (item.Symbol >= 16) w.Put(item.Extra, RunExtraBits(item.Symbol));
  }
}

// Stored blocks, as many as the bytes need; the empty one brings a stream to a byte boundary.
void WriteStored(TBitWriter& w, const uint8_t* data, size_t size, bool final) {
  do {
    const size_t n = std::min(size, kMaxStored);
    w.Put(final && n == size ? 1 : 0, 3);
    w.AlignToByte();
    w.Put(uint32_t(n) | uint32_t(~n & 0xFFFF) << 16, 32);
    w.Copy(data, n);
    data += n;
    size -= n;
  } while (size > 0);
}

// At least three bytes are known to match.
// Two codes a write: fifteen bits at most each, they fit the writer's 32.
void WriteLiterals(TBitWriter& w, const TBlockCodes& c, const uint8_t* bytes, size_t count) {
  size_t i = 0;
  for (; i + 2 <= count; i += 2) {
    const unsigned a = bytes[i], b = bytes[i + 1], bitsA = c.LitLenLengths[a];
    w.Put(c.LitLenCodes[a] | uint32_t(c.LitLenCodes[b]) << bitsA, bitsA + c.LitLenLengths[b]);
  }
  if (i < count) w.Put(c.LitLenCodes[bytes[i]], c.LitLenLengths[bytes[i]]);
}

size_t MatchLength(const uint8_t* earlier, const uint8_t* here, size_t most) {
  size_t len = 0;
  for (; len + 8 <= most; len += 8)
    if (const uint64_t diff = Load64(earlier + len) ^ Load64(here + len)) return len + size_t(std::countr_zero(diff)) / 8;
  while (len < most && earlier[len] == here[len]) ++len;
  return len;
}

// LitLen literal bytes from Start on (Distance 0), or a match of LitLen bytes Distance back.
struct TSymbol {
  uint32_t Start = 0;
  uint16_t LitLen = 0, Distance = 0;
};

// Where the next run of zeros worth a match begins at or after `pos`; `end` when none does.
size_t NextZeroRun(const uint8_t* in, size_t pos, size_t end) {
  while (pos < end && Load32(in + pos) != 0) ++pos;
  return pos;
}

}  // namespace

struct TFastDeflate::TState {
  std::vector<TSymbol> Symbols;
  std::array<uint32_t, kLitLenCodes> LitLenCounts;
  std::array<uint32_t, kDistanceCodes> DistanceCounts;

  std::array<std::array<uint32_t, 256>, 4> LiteralCounts;

  void StartBlock() {
    Symbols.clear();
    for (auto& counts : LiteralCounts) counts.fill(0);
    LitLenCounts.fill(0);
    DistanceCounts.fill(0);
    LitLenCounts[kEndOfBlock] = 1;
  }
  void AddLiterals(const uint8_t* in, size_t start, size_t end);
  void EndBlock() {
    for (size_t b = 0; b < 256; ++b) LitLenCounts[b] += LiteralCounts[0][b] + LiteralCounts[1][b] + LiteralCounts[2][b] + LiteralCounts[3][b];
  }
  void AddMatch(size_t length, size_t distance) {
    Symbols.push_back({0, uint16_t(length), uint16_t(distance)});
    ++LitLenCounts[kLengthCodesTable[length].Symbol];
    unsigned extra;
    ++DistanceCounts[DistanceCode(unsigned(distance), extra)];
  }
  size_t Parse(const uint8_t* in, size_t size, size_t pos);
  uint64_t PlanCodes(TBlockCodes& c) const;
  void WriteSymbols(TBitWriter& w, const TBlockCodes& c, const uint8_t* in) const;
  void WriteBlock(TBitWriter& w, const uint8_t* in, size_t start, size_t end, bool final) const;
};

// Literals are counted four ways, so that a byte repeated does not wait on its own count; the
// counts join when the block ends.
void TFastDeflate::TState::AddLiterals(const uint8_t* in, size_t start, size_t end) {
  size_t i = start;
  for (; i + 4 <= end; i += 4)
    for (size_t k = 0; k < 4; ++k) ++LiteralCounts[k][in[i + k]];
  for (; i < end; ++i) ++LiteralCounts[0][in[i]];
  for (size_t at = start; at < end; at += kMaxLiteralRun)
    Symbols.push_back({uint32_t(at), uint16_t(std::min(end - at, kMaxLiteralRun)), 0});
}

// Symbols from `pos` on until the block is full or the bytes end; returns where it stopped. The
// only matches are runs of zeros, taken at distance one: in pixels with transparency they are
// nearly all there is to find, and a search for others would probe at every byte.
size_t TFastDeflate::TState::Parse(const uint8_t* in, size_t size, size_t pos) {
  const size_t probeEnd = size >= kMinMatch ? size - kMinMatch + 1 : 0, blockEnd = std::min(size, pos + kBlockBytes);
  while (pos < blockEnd && Symbols.size() + kBlockBytes / kMaxLiteralRun + 2 < kBlockSymbols) {
    const size_t run = NextZeroRun(in, pos, std::min(probeEnd, blockEnd));
    if (run >= std::min(probeEnd, blockEnd)) {
      AddLiterals(in, pos, blockEnd);
      return blockEnd;
    }
    // A match at distance one needs a zero before it: the run's first zero is a literal when
    // the byte before it is not.
    const size_t matchAt = run > 0 && in[run - 1] == 0 ? run : run + 1;
    AddLiterals(in, pos, matchAt);
    const size_t len = MatchLength(in + matchAt - 1, in + matchAt, std::min(kMaxMatch, size - matchAt));
    AddMatch(len, 1);
    pos = matchAt + len;
  }
  return pos;
}

// The bits the block takes with these codes, header and end included.
uint64_t TFastDeflate::TState::PlanCodes(TBlockCodes& c) const {
  BuildLengths(LitLenCounts.data(), kLitLenCodes, kMaxCodeBits, c.LitLenLengths.data());
  MakeCodes(c.LitLenLengths.data(), kLitLenCodes, c.LitLenCodes.data());
  BuildLengths(DistanceCounts.data(), kDistanceCodes, kMaxCodeBits, c.DistanceLengths.data());
  MakeCodes(c.DistanceLengths.data(), kDistanceCodes, c.DistanceCodes.data());
  PlanHeader(c);
  uint64_t bits = 3 + 5 + 5 + 4 + 3 * uint64_t(c.OrderCount);
  for (int i = 0; i < c.ItemCount; ++i) bits += c.ItemLengths[c.Items[size_t(i)].Symbol] + RunExtraBits(c.Items[size_t(i)].Symbol);
  for (int s = 0; s < kLitLenCodes; ++s) bits += uint64_t(LitLenCounts[size_t(s)]) * (c.LitLenLengths[size_t(s)] + LengthSymbolExtraBits(s));
  for (int d = 0; d < kDistanceCodes; ++d) bits += uint64_t(DistanceCounts[size_t(d)]) * (c.DistanceLengths[size_t(d)] + DistanceExtraBits(d));
  return bits;
}

// The writer is worked on as a copy of its own: kept in registers, where stores of output bytes
// would otherwise make the compiler reload it for every code.
void TFastDeflate::TState::WriteSymbols(TBitWriter& writer, const TBlockCodes& c, const uint8_t* in) const {
  TBitWriter w = writer;
  for (const TSymbol& s : Symbols) {
    if (!s.Distance) {
      WriteLiterals(w, c, in + s.Start, s.LitLen);
      continue;
    }
    const TLengthCode& lc = kLengthCodesTable[s.LitLen];
    const unsigned lengthBits = c.LitLenLengths[lc.Symbol];
    w.Put(c.LitLenCodes[lc.Symbol] | uint32_t(s.LitLen - lc.Base) << lengthBits, lengthBits + lc.ExtraBits);
    unsigned extra;
    const unsigned d = DistanceCode(s.Distance, extra);
    const unsigned distanceBits = c.DistanceLengths[d];
    w.Put(c.DistanceCodes[d] | ((s.Distance - 1u) & ((1u << extra) - 1)) << distanceBits, distanceBits + extra);
  }
  w.Put(c.LitLenCodes[kEndOfBlock], c.LitLenLengths[kEndOfBlock]);
  writer = w;
}

// Stored when that is no larger, so nothing grows by more than the stored blocks' headers.
void TFastDeflate::TState::WriteBlock(TBitWriter& w, const uint8_t* in, size_t start, size_t end, bool final) const {
  const size_t size = end - start;
  TBlockCodes codes;
  const uint64_t dynamicBits = PlanCodes(codes);
  const uint64_t storedBits = std::max<uint64_t>(1, (size + kMaxStored - 1) / kMaxStored) * (3 + 7 + 32) + 8 * uint64_t(size);
  if (storedBits <= dynamicBits) return WriteStored(w, in + start, size, final);
  WriteHeader(w, codes, final);
  WriteSymbols(w, codes, in);
}

TFastDeflate::TFastDeflate() : FState(std::make_unique<TState>()) { FState->Symbols.reserve(kBlockSymbols); }

TFastDeflate::~TFastDeflate() = default;

size_t TFastDeflate::Bound(size_t size) { return size + size / 1024 + 256; }

size_t TFastDeflate::Compress(const uint8_t* in, size_t size, bool last, uint8_t* out) {
  TState& s = *FState;
  TBitWriter w(out);
  size_t pos = 0;
  do {
    s.StartBlock();
    const size_t start = pos;
    pos = s.Parse(in, size, pos);
    s.EndBlock();
    s.WriteBlock(w, in, start, pos, last && pos == size);
  } while (pos < size);
  if (!last) WriteStored(w, nullptr, 0, false);
  w.AlignToByte();
  return w.Size();
}

}  // namespace qj
