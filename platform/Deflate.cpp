// Chunks deflated side by side with libdeflate, joined into one raw deflate stream.
#include "platform/Deflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <thread>

namespace qj {
namespace {

struct TCompressorFree {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// Where the final block of a complete raw deflate stream begins and ends, in bits from its start.
struct TFinalBlock {
  size_t HeaderBit = 0;
  size_t EndBit = 0;
};

// libdeflate gives no way to leave a stream open, so the final block is found by inflating the
// chunk once more: zlib's Z_BLOCK stops at every block boundary and says whether the block that
// just ended was the last. Inflating costs far less than deflating the same bytes.
bool FindFinalBlock(const std::vector<uint8_t>& deflated, TFinalBlock& out) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) return false;
  std::array<uint8_t, 64 * 1024> scratch;
  z.next_in = const_cast<uint8_t*>(deflated.data());
  z.avail_in = uInt(deflated.size());
  size_t header = 0;  // the first block's header is the stream's first bit
  bool found = false;
  for (;;) {
    z.next_out = scratch.data();
    z.avail_out = uInt(scratch.size());
    if (inflate(&z, Z_BLOCK) != Z_OK) break;
    if (!(z.data_type & 128)) continue;  // the scratch space filled up, not a boundary
    const size_t bit = size_t(z.total_in) * 8 - size_t(z.data_type & 7);
    if (!(z.data_type & 64)) {
      header = bit;
      continue;
    }
    out = {header, bit};
    // Nothing may follow the final block but the padding of its last byte.
    found = z.avail_in == 0 && (bit + 7) / 8 == deflated.size();
    break;
  }
  inflateEnd(&z);
  return found;
}

// Turns a complete stream into one that goes on: its final block is marked not final, and an
// empty stored block after it (the bytes 00 00 FF FF once aligned, as a zlib sync flush writes)
// brings the end to a byte boundary where the next chunk's blocks can start.
bool LeaveOpen(std::vector<uint8_t>& deflated) {
  TFinalBlock last;
  if (!FindFinalBlock(deflated, last)) return false;
  deflated[last.HeaderBit / 8] &= uint8_t(~(1u << (last.HeaderBit % 8)));
  // Three zero header bits (not final, stored) after the end, then the padding to the byte.
  deflated.resize((last.EndBit + 3 + 7) / 8, 0);
  if (last.EndBit % 8) deflated[last.EndBit / 8] &= uint8_t((1u << (last.EndBit % 8)) - 1);
  for (const uint8_t b : {0x00, 0x00, 0xFF, 0xFF}) deflated.push_back(b);
  return true;
}

}  // namespace

TParallelDeflate::TParallelDeflate(int level, unsigned threads)
    : FLevel(std::clamp(level, 0, 9)),
      FThreads(threads ? threads : std::max(1u, std::thread::hardware_concurrency())),
      FFilling(std::make_unique<TChunk>()) {
  FFilling->Input.reserve(kChunkSize);
}

// Chunks still being compressed refer to this object: they end before it does.
TParallelDeflate::~TParallelDeflate() {
  for (const auto& chunk : FBusy) chunk->Done.wait();
}

void TParallelDeflate::Write(const uint8_t* data, size_t size) {
  while (size > 0) {
    std::vector<uint8_t>& input = FFilling->Input;
    const size_t n = std::min(size, kChunkSize - input.size());
    input.insert(input.end(), data, data + n);
    data += n;
    size -= n;
    if (input.size() == kChunkSize) Launch(false);
  }
}

bool TParallelDeflate::Finish(std::string& error) {
  Launch(true);
  while (!FBusy.empty()) CollectOldest();
  if (FFailed) error = "compressing the archive member failed";
  return !FFailed;
}

// The filled chunk goes to a task of its own; with every thread busy, the oldest is waited for
// first. Joined chunks give their buffers to the next ones: fresh buffers would cost a page fault
// every few kilobytes of the stream.
void TParallelDeflate::Launch(bool last) {
  if (FBusy.size() >= FThreads) CollectOldest();
  TChunk& chunk = *FFilling;
  chunk.Done = std::async(std::launch::async, [this, &chunk, last] { Compress(chunk, last); });
  FBusy.push_back(std::move(FFilling));
  if (last) return;
  if (FSpare.empty()) {
    FFilling = std::make_unique<TChunk>();
  } else {
    FFilling = std::move(FSpare.back());
    FSpare.pop_back();
  }
  FFilling->Input.clear();
  FFilling->Input.reserve(kChunkSize);
}

void TParallelDeflate::CollectOldest() {
  std::unique_ptr<TChunk> chunk = std::move(FBusy.front());
  FBusy.pop_front();
  chunk->Done.get();
  FFailed = FFailed || !chunk->Ok;
  FOutput.insert(FOutput.end(), chunk->Output.begin(), chunk->Output.end());
  FCrc = uint32_t(crc32_combine(FCrc, chunk->Crc, z_off_t(chunk->Input.size())));
  FInputSize += chunk->Input.size();
  FSpare.push_back(std::move(chunk));
}

// Every chunk is a whole stream of its own first; all but the stream's last are then left open.
void TParallelDeflate::Compress(TChunk& chunk, bool last) const {
  const std::unique_ptr<libdeflate_compressor, TCompressorFree> compressor(libdeflate_alloc_compressor(FLevel));
  chunk.Ok = compressor != nullptr;
  if (!chunk.Ok) return;
  chunk.Output.resize(libdeflate_deflate_compress_bound(compressor.get(), chunk.Input.size()));
  const size_t size = libdeflate_deflate_compress(compressor.get(), chunk.Input.data(), chunk.Input.size(),
                                                  chunk.Output.data(), chunk.Output.size());
  chunk.Output.resize(size);
  chunk.Ok = size > 0 && (last || LeaveOpen(chunk.Output));
  chunk.Crc = libdeflate_crc32(0, chunk.Input.data(), chunk.Input.size());
}

}  // namespace qj
