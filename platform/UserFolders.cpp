// The user's XDG folders and the file copies that fill them.
#include "platform/UserFolders.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/Paths.h"

namespace qj {
namespace {

constexpr const char* kFolderName = "/quorvane-jigsaw";

// A relative XDG folder is ignored, as desktops do: it would depend on the current folder.
std::string XdgFolder(const char* variable, const char* fallbackUnderHome) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + fallbackUnderHome;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool SameContent(const std::string& a, const std::string& b) {
  std::vector<uint8_t> da, db;
  return ReadWholeFile(a, da) && ReadWholeFile(b, db) && da == db;
}

// "Cat.jpg", "Cat 2.jpg", "Cat 3.jpg"...: the first name in the folder that is free or already
// holds this very picture.
std::string PlaceFor(const std::string& file, const std::string& folder) {
  const std::string name = ExtractFileName(file);
  const std::string ext = ExtractFileExt(name);
  const std::string stem = name.substr(0, name.size() - ext.size());
  for (int n = 1;; ++n) {
    const std::string candidate = ResolvePath(folder + "/" + (n == 1 ? name : stem + " " + std::to_string(n) + ext));
    if (!FileExists(candidate) || SameContent(file, candidate)) return candidate;
  }
}

}  // namespace

std::string UserPicturesFolder() {
  const char* homeValue = std::getenv("HOME");
  const std::string home = homeValue && *homeValue ? homeValue : ".";
  std::vector<std::string> lines;
  if (ReadTextLines(XdgFolder("XDG_CONFIG_HOME", "/.config") + "/user-dirs.dirs", lines))
    for (const std::string& line : lines) {
      const std::string key = "XDG_PICTURES_DIR=\"";
      if (line.rfind(key, 0) != 0 || line.size() < key.size() + 1 || line.back() != '"') continue;
      std::string value = line.substr(key.size(), line.size() - key.size() - 1);
      if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
      if (!value.empty() && value[0] == '/' && DirectoryExists(value)) return value;
    }
  return DirectoryExists(home + "/Pictures") ? home + "/Pictures" : home;
}

std::string UserConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", "/.config") + kFolderName; }

std::string UserDataFolder() { return XdgFolder("XDG_DATA_HOME", "/.local/share") + kFolderName; }

std::string UserCacheFolder() { return XdgFolder("XDG_CACHE_HOME", "/.cache") + kFolderName; }

bool MakeFolders(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(ResolvePath(folder), ec);
  return DirectoryExists(folder);
}

bool CopyFile(const std::string& from, const std::string& to) {
  std::vector<uint8_t> data;
  return ReadWholeFile(from, data) && WriteFileAtomic(to, data.data(), data.size());
}

std::string CopyIntoFolder(const std::string& file, const std::string& folder, std::string& error) {
  if (!FileExists(file)) {
    error = "cannot read " + file;
    return {};
  }
  const std::string inPlace = ResolvePath(folder + "/" + ExtractFileName(file));
  if (SameFile(ResolvePath(file), inPlace)) return inPlace;
  if (!MakeFolders(folder)) {
    error = "cannot create the folder " + folder;
    return {};
  }
  const std::string target = PlaceFor(file, folder);
  if (FileExists(target)) return target;  // the same picture was added before
  if (CopyFile(file, target)) return target;
  error = "cannot copy " + file + " to " + target;
  return {};
}

}  // namespace qj
