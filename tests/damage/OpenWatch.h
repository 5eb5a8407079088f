// Which files below a folder are opened while it is watched (inotify), so a test can tell the
// data files a run reads from those it never touches.
#pragma once

#include <map>
#include <set>
#include <string>

namespace qj::test {

class TOpenWatch {
 public:
  // Watches the folder and every folder below it.
  explicit TOpenWatch(const std::string& folder);
  ~TOpenWatch();
  TOpenWatch(const TOpenWatch&) = delete;
  TOpenWatch& operator=(const TOpenWatch&) = delete;

  bool Watching() const { return FFd >= 0; }
  // The files opened since the watch began, relative to the folder.
  std::set<std::string> Opened();

 private:
  int FFd = -1;
  std::map<int, std::string> FFolders;  // watch descriptor -> folder relative to the root
};

}  // namespace qj::test
