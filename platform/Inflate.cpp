// Each thread inflates every n-th chunk with a decompressor of its own; the chunks' CRCs are
// added up by zlib in stream order.
#include "platform/Inflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <future>
#include <numeric>
#include <thread>

namespace qj {
namespace {

// A chunk but the last ends open, on a byte boundary: an empty final block after it (fixed
// codes, nothing but the end code) makes it a stream of its own.
constexpr uint8_t kEmptyFinalBlock[] = {0x03, 0x00};

struct TChunkJob {
  const uint8_t* Packed = nullptr;
  size_t PackedSize = 0;
  uint8_t* Out = nullptr;
  size_t Size = 0;
  bool Last = false;
  bool Ok = false;
  uint32_t Crc = 0;
};

void InflateEvery(std::vector<TChunkJob>& jobs, size_t first, size_t step) {
  libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
  std::vector<uint8_t> closed;
  for (size_t i = first; inflater && i < jobs.size(); i += step) {
    TChunkJob& job = jobs[i];
    const uint8_t* in = job.Packed;
    size_t inSize = job.PackedSize;
    if (!job.Last) {
      closed.assign(in, in + inSize);
      closed.insert(closed.end(), std::begin(kEmptyFinalBlock), std::end(kEmptyFinalBlock));
      in = closed.data();
      inSize = closed.size();
    }
    size_t produced = 0;
    job.Ok = libdeflate_deflate_decompress(inflater, in, inSize, job.Out, job.Size, &produced) == LIBDEFLATE_SUCCESS &&
             produced == job.Size;
    job.Crc = job.Ok ? libdeflate_crc32(0, job.Out, job.Size) : 0;
  }
  libdeflate_free_decompressor(inflater);
}

}  // namespace

bool InflateChunks(const uint8_t* packed, size_t packedSize, const std::vector<uint32_t>& sizes, size_t chunk,
                   uint8_t* out, size_t size, uint32_t& crc) {
  if (chunk == 0 || sizes.size() != size / chunk + 1 ||
      std::accumulate(sizes.begin(), sizes.end(), uint64_t(0)) != packedSize)
    return false;
  std::vector<TChunkJob> jobs(sizes.size());
  for (size_t i = 0, at = 0; i < jobs.size(); at += sizes[i++]) {
    const bool last = i + 1 == jobs.size();
    jobs[i] = {packed + at, sizes[i], out + i * chunk, last ? size % chunk : chunk, last};
  }
  const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, jobs.size());
  std::vector<std::future<void>> helpers;
  for (size_t t = 1; t < threads; ++t) helpers.push_back(std::async(std::launch::async, InflateEvery, std::ref(jobs), t, threads));
  InflateEvery(jobs, 0, threads);
  for (auto& helper : helpers) helper.get();
  crc = 0;
  for (const TChunkJob& job : jobs) {
    if (!job.Ok) return false;
    crc = uint32_t(crc32_combine(crc, job.Crc, z_off_t(job.Size)));
  }
  return true;
}

}  // namespace qj
