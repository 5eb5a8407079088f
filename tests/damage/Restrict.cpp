#include "tests/damage/Restrict.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace qj::test {
namespace {

std::string SystemFailure(const std::string& what) { return what + ": " + std::strerror(errno); }

std::string BindReadOnly(const std::string& folder) {
  if (unshare(CLONE_NEWNS) != 0) return SystemFailure("unshare");
  // Without this the read-only mount would spread to the test program's own namespace.
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return SystemFailure("making / private");
  if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) return SystemFailure("bind mount");
  if (mount(nullptr, folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) != 0)
    return SystemFailure("read-only remount");
  return {};
}

// True when a new file can still be made in the folder (and removes it again).
bool TakesNewFiles(const std::string& folder) {
  const std::string probe = folder + "/.write-probe";
  const int fd = open(probe.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  close(fd);
  unlink(probe.c_str());
  return true;
}

}  // namespace

std::string MakeReadOnly(const std::string& folder) {
  std::string why;
  if (geteuid() == 0) why = BindReadOnly(folder);
  else if (chmod(folder.c_str(), 0555) != 0) why = SystemFailure("chmod");
  if (why.empty() && TakesNewFiles(folder)) why = "the folder still takes new files";
  return why;
}

void RestoreWritable(const std::string& folder) { chmod(folder.c_str(), 0755); }

std::string ReadOnlyCause() { return std::strerror(geteuid() == 0 ? EROFS : EACCES); }

std::string LimitFileSize(long bytes) {
  if (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR) return SystemFailure("ignoring SIGXFSZ");
  const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return SystemFailure("setrlimit");
  return {};
}

}  // namespace qj::test
