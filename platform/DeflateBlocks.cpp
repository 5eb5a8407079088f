// A walker over deflate blocks: it decodes every code to find where a block ends but copies
// nothing, so finding a stream's final block costs a fraction of inflating it.
#include "platform/DeflateBlocks.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace qj {
namespace {

// Codes up to this long decode with one table look-up. A table is built for every block, and
// the blocks of a fast compressor are short: the distances' table is kept small.
constexpr unsigned kLiteralBits = 11, kDistanceBits = 8;
constexpr int kMaxBits = 15;
constexpr int kMaxSymbols = 288;

// What a code stands for, as far as walking over it matters: the bits it takes with its extra
// bits (the low six bits of an entry) and whether a distance follows. Special entries stop the
// plain walk: the end of the block, bits that are no code, and codes too long for the table.
constexpr uint16_t kSizeMask = 63, kLength = 1 << 6, kSpecial = 1 << 7, kEnd = kSpecial | 1 << 8, kBad = kSpecial | 1 << 9;

// Bits least significant first, as deflate packs them, through a 64-bit buffer refilled eight
// bytes at a time; reading past the end yields zeros and marks an overrun.
class TBits {
 public:
  TBits(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
  // The next n (at most 32) bits, not consumed.
  uint32_t Peek(unsigned n) {
    if (FHeld < n) Refill();
    return uint32_t(FBuffer & ((uint64_t(1) << n) - 1));
  }
  void Skip(unsigned n) {
    if (n > 56) return SkipFar(n);
    if (FHeld < n) Refill();
    Drop(n);
  }
  uint32_t Get(unsigned n) {
    const uint32_t v = Peek(n);
    Skip(n);
    return v;
  }
  // At least 56 bits held afterwards: enough for a length, its distance and their extra bits,
  // which then go without checks.
  void Refill() {
    if (!RefillWhole()) RefillNearEnd();
  }
  // Eight bytes loaded at once, false near the end of the data. The buffer then holds 64 bits of
  // the data, of which the held ones are counted; a look-up may read past those before the next
  // refill.
  bool RefillWhole() {
    if (FNext + 8 > FSize) return false;
    uint64_t v;
    std::memcpy(&v, FData + FNext, 8);
    FBuffer |= v << FHeld;
    FNext += (63 - FHeld) / 8;
    FHeld |= 56;
    return true;
  }
  void RefillNearEnd() {
    for (; FHeld <= 56; FHeld += 8, ++FNext) FBuffer |= uint64_t(FNext < FSize ? FData[FNext] : 0) << FHeld;
  }
  uint64_t Held() const { return FBuffer; }
  void Drop(unsigned n) {
    FBuffer >>= n;
    FHeld -= n;
  }
  void AlignToByte() { Skip(FHeld % 8); }
  size_t Position() const { return FNext * 8 - FHeld; }
  bool Overrun() const { return Position() > FSize * 8; }

 private:
  // More than a refill holds (a stored block's bytes): the buffer is emptied and the position
  // moved on.
  void SkipFar(unsigned n) {
    const size_t to = Position() + n;
    FBuffer = 0;
    FHeld = 0;
    FNext = to / 8;
    Skip(unsigned(to % 8));
  }

  const uint8_t* FData;
  size_t FSize;
  size_t FNext = 0;  // the next byte to load
  uint64_t FBuffer = 0;
  unsigned FHeld = 0;  // bits in the buffer
};

// The walk's entry for a symbol whose code is `length` bits long.
using TClassify = uint16_t (*)(int symbol, int length);

uint16_t LiteralOrLength(int symbol, int length) {
  static constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                               2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  if (symbol < 256) return uint16_t(length);
  if (symbol == 256) return uint16_t(kEnd | length);
  if (symbol > 285) return kBad;
  return uint16_t(kLength | (length + kLengthExtra[symbol - 257]));
}

uint16_t Distance(int symbol, int length) {
  if (symbol > 29) return kBad;
  return uint16_t(length + (symbol < 4 ? 0 : symbol / 2 - 1));
}

uint16_t Plain(int, int length) { return uint16_t(length); }

// A canonical Huffman code: short codes through a table indexed by the next bits that tells at
// once how many bits the code and its extra bits take; longer codes bit by bit.
class THuffman {
 public:
  // False for lengths that over-subscribe the code; an incomplete code is allowed.
  // `tableBits` 0 builds no table: the code is decoded bit by bit only.
  bool Build(const uint8_t* lengths, int count, TClassify classify, unsigned tableBits) {
    FCount.fill(0);
    for (int s = 0; s < count; ++s) ++FCount[lengths[s]];
    FCount[0] = 0;
    int left = 1;
    std::array<uint16_t, kMaxBits + 2> offset{};
    for (int len = 1; len <= kMaxBits; ++len) {
      left = (left << 1) - FCount[len];
      if (left < 0) return false;
      offset[len + 1] = uint16_t(offset[len] + FCount[len]);
    }
    for (int s = 0; s < count; ++s)
      if (lengths[s]) FSymbols[offset[lengths[s]]++] = uint16_t(s);
    FClassify = classify;
    FBits = tableBits;
    FMask = (1u << tableBits) - 1;
    if (tableBits) FillFastTable();
    return true;
  }

  // The entry for the next code, nothing consumed.
  uint16_t Entry(const TBits& bits) const { return FFast[bits.Held() & FMask]; }
  // The entry for the next code decoded bit by bit: its code consumed, its size the extra bits.
  uint16_t Slowly(TBits& bits) const {
    const int symbol = Decode(bits);
    return symbol < 0 ? kBad : FClassify(symbol, 0);
  }

  // The next symbol, or -1 for bits that are no code; bit by bit.
  int Decode(TBits& bits) const {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= kMaxBits; ++len) {
      code |= int(bits.Get(1));
      const int count = FCount[len];
      if (code - first < count) return FSymbols[size_t(index + code - first)];
      index += count;
      first = (first + count) << 1;
      code <<= 1;
    }
    return -1;
  }

 private:
  // Every code of the table's bits or fewer, bit-reversed as it arrives, at each index it prefixes.
  void FillFastTable() {
    std::fill_n(FFast.begin(), FMask + 1, kSpecial);
    int code = 0, index = 0;
    for (int len = 1; len <= int(FBits); ++len) {
      for (int k = 0; k < FCount[len]; ++k, ++code) {
        int reversed = 0;
        for (int b = 0; b < len; ++b) reversed |= ((code >> b) & 1) << (len - 1 - b);
        const uint16_t entry = FClassify(FSymbols[size_t(index + k)], len);
        for (unsigned i = unsigned(reversed); i <= FMask; i += 1u << len) FFast[i] = entry;
      }
      index += FCount[len];
      code <<= 1;
    }
    if (FClassify == LiteralOrLength) JoinLiterals();
  }

  // Literals that follow each other within the table's bits are skipped as one: an index's entry
  // takes every whole literal it holds. From the top down, so that the shorter indices read are
  // still single codes.
  void JoinLiterals() {
    for (size_t i = FMask + 1; i-- > 0;) {
      unsigned taken = 0;
      for (uint16_t next = FFast[i]; !(next & (kSpecial | kLength)) && taken + next <= FBits; next = FFast[i >> taken])
        taken += next;
      if (taken) FFast[i] = uint16_t(taken);
    }
  }

  std::array<uint16_t, 1 << kLiteralBits> FFast{};
  unsigned FBits = 0, FMask = 0;
  std::array<uint16_t, kMaxBits + 1> FCount{};
  std::array<uint16_t, kMaxSymbols> FSymbols{};
  TClassify FClassify = Plain;
};

struct TFixedCodes {
  THuffman Literals, Distances;
  TFixedCodes() {
    std::array<uint8_t, kMaxSymbols> lengths{};
    for (int s = 0; s < kMaxSymbols; ++s) lengths[size_t(s)] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    (void)Literals.Build(lengths.data(), kMaxSymbols, LiteralOrLength, kLiteralBits);
    lengths.fill(5);
    (void)Distances.Build(lengths.data(), 30, Distance, kDistanceBits);
  }
};

bool SkipStored(TBits& bits) {
  bits.AlignToByte();
  const uint32_t length = bits.Get(16);
  if (length != (~bits.Get(16) & 0xFFFFu)) return false;
  bits.Skip(length * 8);
  return !bits.Overrun();
}

// The codes of one block up to its end-of-block code, with their extra bits skipped. One refill
// covers a literal or a length with its distance; only a refill near the end of the data can let
// a code reach past it, so only that one is checked.
// A distance is looked up after every code and skipped only after a length: literals and lengths
// come in no order a branch could predict.
// The next code's entry is looked up before the refill, from the 64 bits the last whole refill
// loaded, so that the look-up and the refill overlap.
bool SkipCodes(TBits& bits, const THuffman& literals, const THuffman& distances) {
  bits.Refill();
  if (bits.Overrun()) return false;
  uint16_t code = literals.Entry(bits);
  for (;;) {
    if ((code & ~kSizeMask) == kEnd) {
      bits.Drop(code & kSizeMask);
      return true;
    }
    if (code & kSpecial) {
      code = literals.Slowly(bits);
      if (code & kSpecial) return code == kEnd;
    }
    bits.Drop(code & kSizeMask);
    const uint16_t after = uint16_t(-(code >> 6 & 1));  // all ones after a length
    uint16_t distance = distances.Entry(bits) & after;
    if (distance & kSpecial) {
      distance = distances.Slowly(bits);
      if (distance & kSpecial) return false;
    }
    bits.Drop(distance & kSizeMask);
    code = literals.Entry(bits);
    if (!bits.RefillWhole()) {
      bits.RefillNearEnd();
      if (bits.Overrun()) return false;
      code = literals.Entry(bits);
    }
  }
}

// A dynamic block's code lengths, themselves coded.
bool ReadCodes(TBits& bits, THuffman& literals, THuffman& distances) {
  static constexpr uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  const int nLiterals = int(bits.Get(5)) + 257, nDistances = int(bits.Get(5)) + 1, nLengths = int(bits.Get(4)) + 4;
  if (nLiterals > 286 || nDistances > 30) return false;
  std::array<uint8_t, 19> codeLengths{};
  for (int i = 0; i < nLengths; ++i) codeLengths[kOrder[i]] = uint8_t(bits.Get(3));
  THuffman lengthCode;
  if (!lengthCode.Build(codeLengths.data(), 19, Plain, 0)) return false;
  std::array<uint8_t, 286 + 30> lengths{};
  const int total = nLiterals + nDistances;
  for (int i = 0; i < total;) {
    const int symbol = lengthCode.Decode(bits);
    if (symbol < 0 || bits.Overrun()) return false;
    if (symbol < 16) {
      lengths[size_t(i++)] = uint8_t(symbol);
      continue;
    }
    if (symbol == 16 && i == 0) return false;
    const uint8_t value = symbol == 16 ? lengths[size_t(i - 1)] : 0;
    const int repeat = symbol == 16 ? 3 + int(bits.Get(2)) : symbol == 17 ? 3 + int(bits.Get(3)) : 11 + int(bits.Get(7));
    if (i + repeat > total) return false;
    for (int k = 0; k < repeat; ++k) lengths[size_t(i++)] = value;
  }
  return lengths[256] != 0 && literals.Build(lengths.data(), nLiterals, LiteralOrLength, kLiteralBits) &&
         distances.Build(lengths.data() + nLiterals, nDistances, Distance, kDistanceBits);
}

bool SkipBlock(TBits& bits, unsigned type, THuffman& literals, THuffman& distances) {
  static const TFixedCodes fixed;
  switch (type) {
    case 0: return SkipStored(bits);
    case 1: return SkipCodes(bits, fixed.Literals, fixed.Distances);
    case 2: return ReadCodes(bits, literals, distances) && SkipCodes(bits, literals, distances);
    default: return false;
  }
}

}  // namespace

bool LeaveOpen(uint8_t* deflated, size_t& size) {
  TBits bits(deflated, size);
  THuffman literals, distances;
  size_t header = 0;
  bool last = false;
  while (!last) {
    header = bits.Position();
    last = bits.Get(1) != 0;
    if (!SkipBlock(bits, bits.Get(2), literals, distances) || bits.Overrun()) return false;
  }
  const size_t end = bits.Position();
  if ((end + 7) / 8 != size) return false;  // only padding may follow the final block
  deflated[header / 8] &= uint8_t(~(1u << (header % 8)));
  // Three zero header bits (not final, stored) after the end, then the padding to the byte, then
  // the empty block's length and its complement.
  if (end % 8) deflated[end / 8] &= uint8_t((1u << (end % 8)) - 1);
  const size_t lengthAt = (end + 3 + 7) / 8;
  for (; size < lengthAt; ++size) deflated[size] = 0;
  for (const uint8_t b : {0x00, 0x00, 0xFF, 0xFF}) deflated[size++] = b;
  return true;
}

}  // namespace qj
