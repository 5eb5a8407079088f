// A fresh folder under /tmp for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <string>

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

}  // namespace qj::test
