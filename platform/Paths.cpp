// File names as the game spells them, mapped onto a case-sensitive file system.
#include "platform/Paths.h"

#include "platform/Log.h"
#include "platform/TextUtil.h"
#include "platform/UserFolders.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <utility>

namespace qj {
namespace {

TGameFolders gFolders{".", ".", "./Text", "."};
bool gInstalled = false;
TFileSync gFileSync = nullptr;  // fsync

std::string WithSlashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool PathExists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` spelled like `name` without regard to case; the alphabetically first
// one when several differ only in case, so the choice does not depend on directory order.
bool FindCaseless(const std::string& folder, const std::string& name, std::string& found) {
  DIR* dir = opendir(folder.empty() ? "/" : folder.c_str());
  if (!dir) return false;
  bool any = false;
  while (const dirent* e = readdir(dir)) {
    if (!SameName(e->d_name, name)) continue;
    if (!any || found > e->d_name) found = e->d_name;
    any = true;
  }
  closedir(dir);
  return any;
}

// Walks the components: once one is missing, the rest are kept as written.
std::string ResolveComponents(const std::string& path) {
  const bool absolute = !path.empty() && path[0] == '/';
  std::string result = absolute ? "" : ".";  // what the file system is asked about
  std::string out;                           // what the caller gets: relative stays relative
  bool searching = true;
  size_t start = absolute ? 1 : 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    if (searching && part != "." && part != "..") {
      std::string match;
      const std::string candidate = result + "/" + part;
      if (!PathExists(candidate)) {
        if (FindCaseless(result, part, match))
          part = match;
        else
          searching = false;
      }
    }
    result += "/" + part;
    out += (out.empty() && !absolute) ? part : "/" + part;
  }
  if (out.empty()) return absolute ? "/" : ".";
  return out;
}

bool StatResolved(const std::string& path, struct stat& st) {
  return stat(ResolvePath(path).c_str(), &st) == 0;
}

// "*" and "?" wildcards without regard to case, by backtracking to the last star.
bool WildcardMatch(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*") return true;
  size_t p = 0, n = 0, star = std::string::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool CaselessLess(const std::string& a, const std::string& b) {
  const int c = strcasecmp(a.c_str(), b.c_str());
  return c != 0 ? c < 0 : a < b;
}

bool WriteAll(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= size_t(n);
  }
  return true;
}

std::string WithoutTrailingSlash(const std::string& folder) {
  std::string f = WithSlashes(folder);
  while (f.size() > 1 && f.back() == '/') f.pop_back();
  return f.empty() ? "." : f;
}

std::string Below(const std::string& folder, const std::string& relative) {
  std::string r = WithSlashes(relative);
  const size_t first = r.find_first_not_of('/');
  return ResolvePath(folder + "/" + (first == std::string::npos ? "" : r.substr(first)));
}

std::string ExecutableFolder(const char* argv0) {
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  const std::string exe = n > 0 ? std::string(buf, size_t(n)) : std::string(argv0 ? argv0 : "");
  const size_t slash = exe.rfind('/');
  return slash == std::string::npos ? "." : exe.substr(0, slash);
}

bool Fail(std::string& error, const std::string& why) {
  error = why;
  return false;
}

// Filled beside the library and renamed into place, so a first start that is cut short is
// simply repeated next time.
bool CopySamples(const std::string& samples, const std::string& library, std::string& error) {
  const std::string partial = library + ".partial";
  std::error_code ec;
  std::filesystem::remove_all(partial, ec);
  if (!MakeFolders(partial)) return Fail(error, "cannot create the folder " + partial);
  for (const std::string& name : ListFiles(samples, "*")) {
    if (!CopyFile(samples + "/" + name, partial + "/" + name))
      return Fail(error, "cannot copy " + samples + "/" + name + " to " + partial);
  }
  if (rename(partial.c_str(), library.c_str()) != 0)
    return Fail(error, "cannot rename " + partial + ": " + std::strerror(errno));
  return true;
}

bool Report(const std::string& why) {
  LogError("%s", why.c_str());
  return false;
}

}  // namespace

const std::string& ProgramFolder() { return gFolders.Program; }

const TGameFolders& GameFolders() { return gFolders; }

bool RunsInstalled() { return gInstalled; }

void SetProgramFolder(const std::string& folder) {
  const std::string f = WithoutTrailingSlash(folder);
  gFolders = {f, f, f + "/Text", f};
  gInstalled = false;
}

void SetInstalledFolders(const TGameFolders& folders) {
  gFolders = {WithoutTrailingSlash(folders.Program), WithoutTrailingSlash(folders.Data),
              WithoutTrailingSlash(folders.Settings), WithoutTrailingSlash(folders.User)};
  gInstalled = true;
}

bool PrepareUserFolders(const TGameFolders& folders, std::string& error) {
  for (const std::string& folder : {folders.Settings, folders.User}) {
    if (!MakeFolders(folder)) return Fail(error, "cannot create the folder " + folder);
  }
  const std::string settings = folders.Settings + "/Jigsaw.stg";
  if (!FileExists(settings) && !CopyFile(folders.Data + "/Text/Jigsaw.stg", settings))
    return Fail(error, "cannot write the settings file " + settings);
  const std::string library = folders.User + "/Jigsaws";
  return DirectoryExists(library) || CopySamples(folders.Data + "/Jigsaws", library, error);
}

bool UseScratchUserFolders(const std::string& folder, std::string& error) {
  const std::string base = WithoutTrailingSlash(folder);
  const TGameFolders scratch{gFolders.Program, gFolders.Data, base + "/config", base + "/data"};
  if (!MakeFolders(scratch.Settings)) return Fail(error, "cannot create the folder " + scratch.Settings);
  const std::string settings = SettingsPath("Jigsaw.stg");
  if (FileExists(settings) && !CopyFile(settings, scratch.Settings + "/Jigsaw.stg"))
    return Fail(error, "cannot copy " + settings + " to " + scratch.Settings);
  if (!PrepareUserFolders(scratch, error)) return false;
  SetInstalledFolders(scratch);
  if (chdir(gFolders.User.c_str()) != 0) return Fail(error, "cannot enter " + gFolders.User + ": " + std::strerror(errno));
  return true;
}

std::string DataSetFolder(const std::string& program) {
  if (DirectoryExists(program + "/Text")) return program;
  const std::string data = std::filesystem::path(program).parent_path().string() + "/share/quorvane-jigsaw";
  return DirectoryExists(data + "/Text") ? data : program;
}

bool InitProgramFolder(const char* argv0) {
  const std::string program = ExecutableFolder(argv0);
  const std::string data = DataSetFolder(program);
  if (data == program) {
    SetProgramFolder(program);
  } else {
    SetInstalledFolders({program, data, UserConfigFolder(), UserDataFolder()});
    std::string error;
    if (!PrepareUserFolders(gFolders, error)) return Report(error);
  }
  if (chdir(gFolders.User.c_str()) != 0) return Report("cannot enter " + gFolders.User + ": " + std::strerror(errno));
  return true;
}

std::string ResolvePath(const std::string& path) { return ResolveComponents(WithSlashes(path)); }

std::string DataPath(const std::string& relative) { return Below(gFolders.Data, relative); }

std::string SettingsPath(const std::string& name) { return Below(gFolders.Settings, name); }

std::string UserPath(const std::string& relative) { return Below(gFolders.User, relative); }

bool FileExists(const std::string& path) {
  struct stat st;
  return StatResolved(path, st) && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st;
  return StatResolved(path, st) && S_ISDIR(st.st_mode);
}

bool ReadFileStamp(const std::string& path, TFileStamp& stamp) {
  struct stat st;
  if (!StatResolved(path, st) || !S_ISREG(st.st_mode)) return false;
  stamp.Size = uint64_t(st.st_size);
  stamp.ModifiedNs = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return true;
}

bool DeleteFile(const std::string& path) { return unlink(ResolvePath(path).c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
  return rename(ResolvePath(from).c_str(), ResolvePath(to).c_str()) == 0;
}

namespace {

// The names in a folder whose kind (stat's mode) and name pass, sorted without regard to case.
template <typename TKeep>
std::vector<std::string> ListEntries(const std::string& folder, TKeep keep) {
  std::vector<std::string> names;
  const std::string dirPath = ResolvePath(folder);
  DIR* dir = opendir(dirPath.c_str());
  if (!dir) return names;
  while (const dirent* e = readdir(dir)) {
    struct stat st;
    if (stat((dirPath + "/" + e->d_name).c_str(), &st) == 0 && keep(st.st_mode, e->d_name)) names.push_back(e->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end(), CaselessLess);
  return names;
}

}  // namespace

std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern) {
  return ListEntries(folder, [&](mode_t mode, const char* name) { return S_ISREG(mode) && WildcardMatch(pattern, name); });
}

std::vector<std::string> ListFolders(const std::string& folder) {
  return ListEntries(folder, [](mode_t mode, const char* name) { return S_ISDIR(mode) && name[0] != '.'; });
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  const size_t sep = path.find_last_of("/\\");
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return path + ext;
  return path.substr(0, dot) + ext;
}

std::string ExtractFileName(const std::string& path) {
  const size_t sep = path.find_last_of("/\\");
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string ExtractFileExt(const std::string& path) {
  const std::string name = ExtractFileName(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out) {
  const int fd = open(ResolvePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  std::vector<uint8_t> data;
  if (ok) data.resize(size_t(st.st_size));
  size_t done = 0;
  while (ok && done < data.size()) {
    const ssize_t n = read(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += size_t(n);
  }
  close(fd);
  if (ok) out = std::move(data);
  return ok;
}

namespace {

// A writer killed before its rename leaves its temporary file behind. One untouched for this long
// is no save still being written, even of the largest game.
constexpr auto kStaleTempAge = std::chrono::hours(1);

// "<name>.tmp-" and six letters or digits (mkstemp), perhaps followed by "." and six more (the
// archive library's own temporary file beside ours).
bool IsTempNameOf(const std::string& entry, const std::string& name) {
  const std::string prefix = name + ".tmp-";
  if (entry.size() != prefix.size() + 6 && entry.size() != prefix.size() + 13) return false;
  if (entry.compare(0, prefix.size(), prefix) != 0) return false;
  for (size_t i = prefix.size(); i < entry.size(); ++i) {
    const bool dot = i == prefix.size() + 6;
    if (dot ? entry[i] != '.' : !std::isalnum(static_cast<unsigned char>(entry[i]))) return false;
  }
  return true;
}

// Without this, every save cut short would leave a copy of the file beside it for good.
void RemoveStaleTempFiles(const std::filesystem::path& file) {
  std::error_code ec;
  const auto now = std::filesystem::file_time_type::clock::now();
  const std::string name = file.filename().string();
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (!IsTempNameOf(entry.path().filename().string(), name) || !entry.is_regular_file(ec)) continue;
    const auto written = entry.last_write_time(ec);
    if (!ec && now - written > kStaleTempAge) std::filesystem::remove(entry.path(), ec);
  }
}

}  // namespace

int FileSync(int fd) { return gFileSync ? gFileSync(fd) : fsync(fd); }

TFileSync SetFileSync(TFileSync sync) { return std::exchange(gFileSync, sync); }

void SyncFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)FileSync(fd);
  close(fd);
}

std::string CreateTempFileBeside(const std::string& path) {
  RemoveStaleTempFiles(ResolvePath(path));
  std::string name = ResolvePath(path) + ".tmp-XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0) return {};
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);  // mkstemp's 0600 would make every replaced file private
  close(fd);
  return name;
}

bool WriteFileAtomic(const std::string& path, const void* data, size_t size) {
  const std::string temp = CreateTempFileBeside(path);
  if (temp.empty()) return false;
  const int fd = open(temp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  bool ok = fd >= 0 && WriteAll(fd, data, size) && FileSync(fd) == 0;
  if (fd >= 0 && close(fd) != 0) ok = false;
  ok = ok && rename(temp.c_str(), ResolvePath(path).c_str()) == 0;
  if (!ok) {
    const int cause = errno;  // for the caller's message, not the clean-up's
    unlink(temp.c_str());
    errno = cause;
  } else {
    SyncFolderOf(ResolvePath(path));
  }
  return ok;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::vector<uint8_t> data;
  if (!ReadWholeFile(path, data)) return false;
  size_t start = (data.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) ? 3 : 0;
  while (start < data.size()) {
    const auto nl = std::find(data.begin() + long(start), data.end(), uint8_t('\n'));
    size_t end = size_t(nl - data.begin());
    const size_t next = end + 1;
    if (end > start && data[end - 1] == '\r') --end;
    lines.emplace_back(reinterpret_cast<const char*>(data.data()) + start, end - start);
    start = next;
  }
  return true;
}

}  // namespace qj
