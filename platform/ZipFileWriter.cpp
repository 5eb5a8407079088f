// The zip records for one deflated member, little-endian as the format has them; sizes in the
// local header are patched in place once the member is complete.
#include "platform/ZipFileWriter.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

namespace qj {
namespace {

constexpr uint16_t kVersionNeeded = 20;             // deflate
constexpr uint16_t kMadeByUnix = 3 << 8 | 20;
constexpr uint16_t kUtf8Name = 1 << 11;
constexpr uint16_t kDeflated = 8;
constexpr uint32_t kRegularFile = 0100644u << 16;   // rw-r--r-- in the Unix half of the attributes
constexpr size_t kLocalHeader = 30, kSizesAt = 14;  // CRC, compressed and plain size follow at 14
constexpr uint64_t kZip32Limit = 0xFFFFFFFFu;
constexpr size_t kMaxExtraField = 0xFFFF;

class TRecord {
 public:
  TRecord& U16(uint64_t v) { return Put(v, 2); }
  TRecord& U32(uint64_t v) { return Put(v, 4); }
  TRecord& Text(const std::string& s) {
    FBytes.insert(FBytes.end(), s.begin(), s.end());
    return *this;
  }
  const std::vector<uint8_t>& Bytes() const { return FBytes; }

 private:
  TRecord& Put(uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) FBytes.push_back(uint8_t(v >> (8 * i)));
    return *this;
  }
  std::vector<uint8_t> FBytes;
};

void DosTime(uint16_t& time, uint16_t& date) {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  const int year = std::clamp(t.tm_year + 1900, 1980, 2107);
  time = uint16_t(t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec / 2);
  date = uint16_t((year - 1980) << 9 | (t.tm_mon + 1) << 5 | t.tm_mday);
}

}  // namespace

TZipFileWriter::TZipFileWriter(int fd, std::string name) : FFd(fd), FName(std::move(name)) {
  DosTime(FTime, FDate);
  const bool ascii = std::all_of(FName.begin(), FName.end(), [](char c) { return uint8_t(c) < 0x80; });
  FFlags = ascii ? 0 : kUtf8Name;
}

bool TZipFileWriter::Begin() {
  TRecord r;
  r.U32(0x04034b50).U16(kVersionNeeded).U16(FFlags).U16(kDeflated).U16(FTime).U16(FDate);
  r.U32(0).U32(0).U32(0).U16(FName.size()).U16(0).Text(FName);
  return WriteAll(r.Bytes().data(), r.Bytes().size());
}

bool TZipFileWriter::Append(const uint8_t* data, size_t size) { return WriteAll(data, size); }

bool TZipFileWriter::End(uint32_t crc, uint64_t size, const std::vector<uint32_t>& chunkSizes) {
  const uint64_t packed = FWritten - kLocalHeader - FName.size();
  if (size >= kZip32Limit || FWritten >= kZip32Limit) return Fail("the member is too large for a zip without its 64-bit extension");
  TRecord sizes;
  sizes.U32(crc).U32(packed).U32(size);
  if (pwrite(FFd, sizes.Bytes().data(), sizes.Bytes().size(), off_t(kSizesAt)) != off_t(sizes.Bytes().size()))
    return Fail(std::strerror(errno));
  const uint64_t directoryAt = FWritten;
  const size_t listed = chunkSizes.size() * 4 + 4 <= kMaxExtraField ? chunkSizes.size() : 0;
  const size_t extra = listed ? listed * 4 + 4 : 0;
  TRecord r;
  r.U32(0x02014b50).U16(kMadeByUnix).U16(kVersionNeeded).U16(FFlags).U16(kDeflated).U16(FTime).U16(FDate);
  r.U32(crc).U32(packed).U32(size).U16(FName.size()).U16(extra).U16(0).U16(0).U16(0).U32(kRegularFile).U32(0).Text(FName);
  if (listed) r.U16(kChunkListField).U16(listed * 4);
  for (size_t i = 0; i < listed; ++i) r.U32(chunkSizes[i]);
  const size_t directorySize = r.Bytes().size();
  r.U32(0x06054b50).U16(0).U16(0).U16(1).U16(1).U32(directorySize).U32(directoryAt).U16(0);
  return WriteAll(r.Bytes().data(), r.Bytes().size());
}

bool TZipFileWriter::Fail(const std::string& what) {
  if (FError.empty()) FError = what;
  return false;
}

bool TZipFileWriter::WriteAll(const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(FFd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(std::strerror(n < 0 ? errno : ENOSPC));
    data += n;
    size -= size_t(n);
    FWritten += uint64_t(n);
  }
  return true;
}

}  // namespace qj
