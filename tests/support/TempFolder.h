// A fresh folder under /tmp for one test, removed afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qj::test {

class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::string& Path() const { return FPath; }
  std::string File(const std::string& name) const { return FPath + "/" + name; }
  // Writes `content` to a file in the folder (sub-folders are created) and returns its path.
  std::string Write(const std::string& name, const std::string& content) const;

 private:
  std::string FPath;
};

// The bytes of a file; a test failure (and no bytes) when it cannot be read.
std::vector<uint8_t> ReadBytes(const std::string& path);
// Writes bytes to a file atomically; false when it cannot.
[[nodiscard]] bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace qj::test
