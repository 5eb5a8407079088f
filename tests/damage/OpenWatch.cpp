#include "tests/damage/OpenWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>

namespace qj::test {

namespace fs = std::filesystem;

TOpenWatch::TOpenWatch(const std::string& folder) : FFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
  if (FFd < 0) return;
  const auto watch = [&](const fs::path& dir) {
    const int wd = inotify_add_watch(FFd, dir.c_str(), IN_OPEN);
    if (wd >= 0) FFolders[wd] = dir.lexically_relative(folder).string();
  };
  watch(folder);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_directory()) watch(entry.path());
}

TOpenWatch::~TOpenWatch() {
  if (FFd >= 0) close(FFd);
}

std::set<std::string> TOpenWatch::Opened() {
  std::set<std::string> opened;
  alignas(inotify_event) char buffer[64 * 1024];
  for (ssize_t n; FFd >= 0 && (n = read(FFd, buffer, sizeof buffer)) > 0;) {
    for (char* p = buffer; p < buffer + n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(p);
      if (event->len > 0 && !(event->mask & IN_ISDIR))
        opened.insert((fs::path(FFolders[event->wd]) / event->name).lexically_normal().string());
      p += sizeof(inotify_event) + event->len;
    }
  }
  return opened;
}

}  // namespace qj::test
