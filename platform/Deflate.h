// Deflate on every core: a byte stream is cut into chunks that are compressed side by side, each
// ending on a byte boundary so that the pieces join into one raw deflate stream, with the CRC-32
// and size a zip member records. A chunk is compressed as soon as it is full, while the next one
// fills; only a few chunks are held at a time. Level 1, the fastest, is our own encoder's; the
// others are libdeflate's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

struct libdeflate_compressor;

namespace qj {

class TFastDeflate;

// Where the joined deflated bytes go, in stream order, a chunk at a time; false when they could
// not be taken, which fails the stream.
using TDeflatedSink = std::function<bool(const uint8_t* data, size_t size)>;

class TParallelDeflate {
 public:
  // level 0..9 as zlib counts; threads 0 = one per core. Without a sink the deflated bytes are
  // kept in Output().
  explicit TParallelDeflate(int level, unsigned threads = 0, TDeflatedSink sink = nullptr);
  ~TParallelDeflate();
  TParallelDeflate(const TParallelDeflate&) = delete;
  TParallelDeflate& operator=(const TParallelDeflate&) = delete;

  void Write(const uint8_t* data, size_t size);
  // Compresses what is left and ends the stream; false (with the cause) when compressing failed.
  [[nodiscard]] bool Finish(std::string& error);

  const std::vector<uint8_t>& Output() const { return FOutput; }
  uint32_t Crc() const { return FCrc; }
  // The deflated size of every chunk in stream order. Each is whole in itself, its matches
  // reaching no further back than its own start: a reader that knows where they begin can
  // inflate them side by side.
  const std::vector<uint32_t>& ChunkSizes() const { return FChunkSizes; }
  uint64_t InputSize() const { return FInputSize; }

  static constexpr size_t kChunkSize = size_t(2) << 20;

 private:
  struct TCompressorFree {
    void operator()(libdeflate_compressor* c) const;
  };
  // Room that is written before it is read: growing it sets no bytes, as a vector's resize would
  // for every chunk again.
  struct TRoom {
    std::unique_ptr<uint8_t[]> Data;
    size_t Capacity = 0, Size = 0;
    void Reserve(size_t size);
  };
  struct TChunk {
    std::vector<uint8_t> Input;
    TRoom Output;
    std::unique_ptr<libdeflate_compressor, TCompressorFree> Compressor;  // kept with the buffers
    std::unique_ptr<TFastDeflate> Fast;
    uint32_t Crc = 0;
    bool Ok = true;
    std::future<void> Done;
  };
  void Launch(bool last);
  void CollectOldest();
  void Compress(TChunk& chunk, bool last) const;
  void CompressFast(TChunk& chunk, bool last) const;

  int FLevel;
  unsigned FThreads;
  std::deque<std::unique_ptr<TChunk>> FBusy;   // being compressed, in stream order
  std::vector<std::unique_ptr<TChunk>> FSpare;  // compressed and joined: buffers to fill again
  std::unique_ptr<TChunk> FFilling;
  TDeflatedSink FSink;
  std::vector<uint8_t> FOutput;
  std::vector<uint32_t> FChunkSizes;
  uint32_t FCrc = 0;
  uint64_t FInputSize = 0;
  bool FFailed = false;
};

}  // namespace qj
