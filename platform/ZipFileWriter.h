// A zip archive of one deflated member written straight into an open file, its bytes appended as
// they are made, without a library's copy of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qj {

// The extra field that lists a deflated member's independent chunks: their deflated sizes, each
// a 32-bit little-endian number.
constexpr uint16_t kChunkListField = 0x6A71;

class TZipFileWriter {
 public:
  // `fd` is an empty file open for writing; it stays the caller's to flush and close.
  TZipFileWriter(int fd, std::string name);

  // The local header, its sizes and CRC still zero.
  [[nodiscard]] bool Begin();
  // The member's next deflated bytes.
  [[nodiscard]] bool Append(const uint8_t* data, size_t size);
  // The sizes and CRC put into the local header, then the central directory and the end record,
  // the directory entry carrying `chunkSizes` in an extra field of our own (readers skip fields
  // they do not know). False for a member too large for a zip without its 64-bit extension.
  [[nodiscard]] bool End(uint32_t crc, uint64_t size, const std::vector<uint32_t>& chunkSizes = {});

  // Why writing failed, as the system says it; empty while it has not.
  const std::string& LastError() const { return FError; }

 private:
  bool Fail(const std::string& what);
  bool WriteAll(const uint8_t* data, size_t size);

  int FFd;
  std::string FName;
  uint16_t FTime = 0, FDate = 0, FFlags = 0;
  uint64_t FWritten = 0;
  std::string FError;
};

}  // namespace qj
