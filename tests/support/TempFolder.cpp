#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <cstdlib>

#include "platform/Paths.h"

namespace qj::test {

TTempFolder::TTempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qj-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  FPath = pattern;
}

TTempFolder::~TTempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(FPath, ec);
}

std::string TTempFolder::Write(const std::string& name, const std::string& content) const {
  const std::filesystem::path p = std::filesystem::path(FPath) / name;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << content;
  return p.string();
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
  return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  return WriteFileAtomic(path, bytes.data(), bytes.size());
}

}  // namespace qj::test
