// The installation record: where the game lives and which version it is, kept in the user's
// configuration folder for other programs to find. Nothing in the game reads it back.
#pragma once

#include <string>

namespace qj {

// The record's file: $XDG_CONFIG_HOME (or ~/.config) + "/quorvane-jigsaw/registry.ini".
std::string RegistryFileName();
// Writes "FileDir" (the program folder) and "GameVersion" under the key
// "Software\Tellmarin\Quorvane Jigsaw"; failures are ignored.
void WriteRegistryRecord();

}  // namespace qj
