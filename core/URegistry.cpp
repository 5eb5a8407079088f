#include "core/URegistry.h"

#include <cstdlib>
#include <filesystem>

#include "platform/IniFile.h"
#include "platform/Paths.h"

namespace qj {

std::string RegistryFileName() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string folder;
  if (config && *config) {
    folder = config;
  } else {
    const char* home = std::getenv("HOME");
    folder = std::string(home ? home : ".") + "/.config";
  }
  return folder + "/quorvane-jigsaw/registry.ini";
}

void WriteRegistryRecord() {
  const std::string file = RegistryFileName();
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
  TIniFile ini(file);
  const std::string key = "Software\\Tellmarin\\Quorvane Jigsaw";
  ini.WriteString(key, "FileDir", ProgramFolder());
  ini.WriteString(key, "GameVersion", "1.0");
  // Nothing reads the record back: when it cannot be written, nothing is lost.
  static_cast<void>(ini.UpdateFile());
}

}  // namespace qj
