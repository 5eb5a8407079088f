// The archive component for saved games, over libzip and a writer of its own for an archive of
// the saved game alone. Replacing an archive writes a new file beside it, flushes it and renames
// it over the old one, so neither a crash nor a power loss leaves a broken archive.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qj {

// Where a writer puts its bytes, in order, a piece at a time.
using TByteSink = std::function<void(const uint8_t* data, size_t size)>;

// A readable in-memory stream: the extracted member's bytes and a read position.
struct TMemoryStream {
  std::vector<uint8_t> Data;
  size_t Position = 0;
  size_t Size() const { return Data.size(); }
  // Copies up to `count` bytes from the position; returns how many were copied.
  size_t Read(void* out, size_t count);
  void Clear() { Data.clear(); Position = 0; }
};

class TZipMaster {
 public:
  std::string ZipFileName;             // full path of the archive
  std::vector<std::string> FSpecArgs;  // file names for the next operation
  int AddCompLevel = 1;                // deflate level 0..9
  int AddOptions = 0;                  // no options: members are stored under bare file names

  // The libraries are part of the program here; loading always succeeds.
  bool LoadZipLibrary() { return true; }
  bool LoadUnzipLibrary() { return true; }
  void UnloadZipLibrary() {}
  void UnloadUnzipLibrary() {}

  // The one member named `name` (bare name, case ignored) at position 0, or nullptr (with the
  // stream emptied) when the archive or the member is missing or unreadable. The stream belongs
  // to the component and stays valid until the next extraction.
  [[nodiscard]] TMemoryStream* ExtractMemberToStream(const std::string& name);
  // Adds every file of FSpecArgs to ZipFileName under its bare name, creating the archive or
  // replacing members of the same name. False when nothing was written (the old archive stays).
  [[nodiscard]] bool AddSpecifiedFiles();
  // The same for one member made in memory, stored under the bare name of `name`: the bytes go
  // into the archive without passing through a file of their own.
  [[nodiscard]] bool AddMemberFromMemory(const std::string& name, const std::vector<uint8_t>& data);
  // The same for a member that `write` produces into the sink it is given: the bytes are
  // compressed as they come, on every core, and never held whole. An archive that will hold this
  // member alone is written without libzip, each compressed chunk going to the file when done.
  [[nodiscard]] bool AddMemberFromWriter(const std::string& name, const std::function<void(const TByteSink&)>& write);

  const std::string& LastError() const { return FLastError; }

 private:
  TMemoryStream FStream;
  std::string FLastError;
};

}  // namespace qj
