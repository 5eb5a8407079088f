#include "platform/Deflate.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace qj {

TParallelDeflate::TParallelDeflate(int level, unsigned threads)
    : FLevel(std::clamp(level, 0, 9)), FThreads(threads ? threads : std::max(1u, std::thread::hardware_concurrency())) {
  FBatch.emplace_back();
  FBatch.back().Input.reserve(kChunkSize);
  FCrc = uint32_t(crc32(0, nullptr, 0));
}

void TParallelDeflate::Write(const uint8_t* data, size_t size) {
  while (size > 0) {
    std::vector<uint8_t>& input = FBatch.back().Input;
    const size_t n = std::min(size, kChunkSize - input.size());
    input.insert(input.end(), data, data + n);
    data += n;
    size -= n;
    if (input.size() < kChunkSize) continue;
    if (FBatch.size() == FThreads) CompressBatch(false);
    FBatch.emplace_back();
    FBatch.back().Input.reserve(kChunkSize);
  }
}

bool TParallelDeflate::Finish(std::string& error) {
  CompressBatch(true);
  if (FFailed) error = "compressing the archive member failed";
  return !FFailed;
}

// Every chunk but the stream's last ends with a sync flush: an empty stored block that leaves
// the output byte-aligned and not final, so the next chunk's blocks can follow it directly.
void TParallelDeflate::Compress(TChunk& chunk, bool last) const {
  z_stream z{};
  if (deflateInit2(&z, FLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    chunk.Ok = false;
    return;
  }
  chunk.Output.resize(deflateBound(&z, uLong(chunk.Input.size())) + 16);
  z.next_in = chunk.Input.data();
  z.avail_in = uInt(chunk.Input.size());
  z.next_out = chunk.Output.data();
  z.avail_out = uInt(chunk.Output.size());
  const int result = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
  chunk.Ok = last ? result == Z_STREAM_END : (result == Z_OK && z.avail_in == 0);
  chunk.Output.resize(z.total_out);
  deflateEnd(&z);
  chunk.Crc = uint32_t(crc32(0, chunk.Input.data(), uInt(chunk.Input.size())));
}

// The batch's chunks side by side (the first on this thread), then joined in order.
void TParallelDeflate::CompressBatch(bool last) {
  std::vector<std::thread> helpers;
  for (size_t i = 1; i < FBatch.size(); ++i)
    helpers.emplace_back([this, i, last] { Compress(FBatch[i], last && i + 1 == FBatch.size()); });
  Compress(FBatch[0], last && FBatch.size() == 1);
  for (std::thread& t : helpers) t.join();
  for (TChunk& chunk : FBatch) {
    FFailed = FFailed || !chunk.Ok;
    FOutput.insert(FOutput.end(), chunk.Output.begin(), chunk.Output.end());
    FCrc = uint32_t(crc32_combine(FCrc, chunk.Crc, z_off_t(chunk.Input.size())));
    FInputSize += chunk.Input.size();
  }
  FBatch.clear();
}

}  // namespace qj
