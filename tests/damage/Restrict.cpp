#include "tests/damage/Restrict.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <map>
#include <vector>

#include "platform/Paths.h"

namespace qj::test {
namespace {

std::string SystemFailure(const std::string& what) { return what + ": " + std::strerror(errno); }

// Mounts made from here on are seen by this process and its children only.
std::string PrivateMounts() {
  if (unshare(CLONE_NEWNS) != 0) return SystemFailure("unshare");
  // Without this a new mount would spread to the test program's own namespace.
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return SystemFailure("making / private");
  return {};
}

std::string BindReadOnly(const std::string& folder) {
  if (std::string why = PrivateMounts(); !why.empty()) return why;
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

std::string MountNearlyFull(const std::string& folder, long room) {
  if (geteuid() != 0) return "mounting a file system needs root";
  std::map<std::string, std::vector<uint8_t>> files;
  for (const std::string& name : ListFiles(folder, "*"))
    if (!ReadWholeFile(folder + "/" + name, files[name])) return "cannot read " + name;
  if (std::string why = PrivateMounts(); !why.empty()) return why;
  if (mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=4m") != 0) return SystemFailure("mounting tmpfs");
  for (const auto& [name, bytes] : files)
    if (!WriteFileAtomic(folder + "/" + name, bytes.data(), bytes.size())) return SystemFailure("copying " + name);
  struct statvfs space;
  if (statvfs(folder.c_str(), &space) != 0) return SystemFailure("statvfs");
  const long free = long(space.f_bavail * space.f_bsize);
  const std::vector<uint8_t> filler(size_t(std::max(0L, free - room)), 0);
  if (!WriteFileAtomic(folder + "/.filler", filler.data(), filler.size())) return SystemFailure("filling");
  return {};
}

std::string LimitFileSize(long bytes) {
  if (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR) return SystemFailure("ignoring SIGXFSZ");
  const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return SystemFailure("setrlimit");
  return {};
}

}  // namespace qj::test
