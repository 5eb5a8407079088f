#include "core/URegistry.h"

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/UserFolders.h"

namespace qj {

std::string RegistryFileName() { return UserConfigFolder() + "/registry.ini"; }

void WriteRegistryRecord() {
  const std::string file = RegistryFileName();
  if (!MakeFolders(UserConfigFolder())) return;
  TIniFile ini(file);
  const std::string key = "Software\\Tellmarin\\Quorvane Jigsaw";
  ini.WriteString(key, "FileDir", ProgramFolder());
  ini.WriteString(key, "GameVersion", QJ_VERSION);
  // Nothing reads the record back: when it cannot be written, nothing is lost.
  static_cast<void>(ini.UpdateFile());
}

}  // namespace qj
