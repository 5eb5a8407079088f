// Chunks deflated side by side with libdeflate, joined into one raw deflate stream; zlib adds up
// their CRCs.
#include "platform/Deflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>

#include "platform/DeflateBlocks.h"
#include "platform/DeflateFast.h"

namespace qj {

constexpr int kFastLevel = 1;

void TParallelDeflate::TCompressorFree::operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }

void TParallelDeflate::TRoom::Reserve(size_t size) {
  if (size <= Capacity) return;
  Data.reset(new uint8_t[size]);
  Capacity = size;
}

TParallelDeflate::TParallelDeflate(int level, unsigned threads, TDeflatedSink sink)
    : FLevel(std::clamp(level, 0, 9)),
      FThreads(threads ? threads : std::max(1u, std::thread::hardware_concurrency())),
      FFilling(std::make_unique<TChunk>()),
      FSink(std::move(sink)) {
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
  const TRoom& out = chunk->Output;
  if (FSink && !FFailed) FFailed = !FSink(out.Data.get(), out.Size);
  else if (!FSink) FOutput.insert(FOutput.end(), out.Data.get(), out.Data.get() + out.Size);
  FChunkSizes.push_back(uint32_t(out.Size));
  FCrc = uint32_t(crc32_combine(FCrc, chunk->Crc, z_off_t(chunk->Input.size())));
  FInputSize += chunk->Input.size();
  FSpare.push_back(std::move(chunk));
}

// libdeflate makes every chunk a whole stream of its own; all but the stream's last are then left
// open.
void TParallelDeflate::Compress(TChunk& chunk, bool last) const {
  chunk.Crc = libdeflate_crc32(0, chunk.Input.data(), chunk.Input.size());
  if (FLevel == kFastLevel) return CompressFast(chunk, last);
  if (!chunk.Compressor) chunk.Compressor.reset(libdeflate_alloc_compressor(FLevel));
  chunk.Ok = chunk.Compressor != nullptr;
  if (!chunk.Ok) return;
  libdeflate_compressor* compressor = chunk.Compressor.get();
  TRoom& out = chunk.Output;
  out.Reserve(libdeflate_deflate_compress_bound(compressor, chunk.Input.size()) + kOpenedTail);
  out.Size = libdeflate_deflate_compress(compressor, chunk.Input.data(), chunk.Input.size(), out.Data.get(), out.Capacity);
  chunk.Ok = out.Size > 0 && (last || LeaveOpen(out.Data.get(), out.Size));
}

void TParallelDeflate::CompressFast(TChunk& chunk, bool last) const {
  if (!chunk.Fast) chunk.Fast = std::make_unique<TFastDeflate>();
  TRoom& out = chunk.Output;
  out.Reserve(TFastDeflate::Bound(chunk.Input.size()));
  out.Size = chunk.Fast->Compress(chunk.Input.data(), chunk.Input.size(), last, out.Data.get());
  chunk.Ok = true;
}

}  // namespace qj
