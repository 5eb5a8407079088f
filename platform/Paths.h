// File names as the game spells them: relative to the program folder, backslashes allowed,
// case ignored. Everything that opens a data file resolves its name here first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qj {

// The folders of the game, without trailing separators. Run from its build folder (the data set
// beside the binary), every one is the program folder, which is writable there. Installed (the
// binary in P/bin, the data set in P/share/quorvane-jigsaw) the data set is only read, settings
// go to the user's config folder and everything else the game writes to the user's data folder.
struct TGameFolders {
  std::string Program;   // the executable's folder
  std::string Data;      // the data set: Text, Graphics, Shapes, sound, help, the sample Jigsaws
  std::string Settings;  // Jigsaw.stg with the player's hot keys
  std::string User;      // the picture library Jigsaws (puzzles, saved games, scores beside each
                         // picture; the selector's layout) and diagnostic dumps
};

const std::string& ProgramFolder();
const TGameFolders& GameFolders();
bool RunsInstalled();  // the data set lies apart from the binary
// The build-folder layout around one folder (tests and tools point it at a folder of their own).
void SetProgramFolder(const std::string& folder);
// The installed layout: data set and user folders apart.
void SetInstalledFolders(const TGameFolders& folders);
// The data set of a binary in `program`: beside it (the build folder, and any folder laid out
// like it), else P/share/quorvane-jigsaw when the binary is installed in P/bin.
std::string DataSetFolder(const std::string& program);
// Finds the executable (/proc/self/exe, else argv[0]) and the layout around it. Installed, the
// user's folders are made, filled on first start (see PrepareUserFolders) and the user's data
// folder becomes the current directory; otherwise the program folder does, as always.
// False, after saying why on stderr, when the folders cannot be made or entered.
bool InitProgramFolder(const char* argv0);
// First start of an installed game: the shipped Text/Jigsaw.stg becomes the player's settings
// file, and the sample pictures are copied once into the player's library (puzzle files, saved
// games and score files are written beside the pictures, so the library has to be the player's
// own). A library folder that exists is left alone, even when the player emptied it.
[[nodiscard]] bool PrepareUserFolders(const TGameFolders& folders, std::string& error);
// After InitProgramFolder: settings and library move to `folder`, which gets a copy of the
// player's settings and the sample pictures, so that a run can play and save without touching
// anything of the player's.
[[nodiscard]] bool UseScratchUserFolders(const std::string& folder, std::string& error);

// Backslashes become slashes; every existing component is matched without regard to case
// (an exact match wins). Components that do not exist are kept as written, so the result can
// name a file about to be created.
std::string ResolvePath(const std::string& path);
// The data set's folder + "/" + relative, resolved: read only.
std::string DataPath(const std::string& relative);
// The settings folder + "/" + name, resolved: Text/ of the program folder in the build folder.
std::string SettingsPath(const std::string& name);
// The user's data folder + "/" + relative, resolved: what the game writes, the library above all.
std::string UserPath(const std::string& relative);

bool FileExists(const std::string& path);       // resolved; a regular file
// What tells one version of a file from the next without reading it.
struct TFileStamp {
  uint64_t Size = 0;
  int64_t ModifiedNs = 0;  // modification time, nanoseconds since 1970
  bool operator==(const TFileStamp&) const = default;
};
// Of a regular file (resolved); false when there is none.
[[nodiscard]] bool ReadFileStamp(const std::string& path, TFileStamp& stamp);
bool DirectoryExists(const std::string& path);  // resolved
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);  // replaces `to` atomically
// Regular files of a folder whose names match a pattern with "*" and "?" (case ignored; "*.*"
// matches every name, as on Windows), names only, sorted by name without regard to case so every
// run lists them in the same order.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern);
// The folders in a folder, hidden ones (".name") left out, sorted by name without regard to case.
std::vector<std::string> ListFolders(const std::string& folder);

std::string ChangeFileExt(const std::string& path, const std::string& ext);  // ext with its dot
std::string ExtractFileName(const std::string& path);  // after the last / or backslash
std::string ExtractFileExt(const std::string& path);   // with its dot, or empty

[[nodiscard]] bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out);
// Writes a temporary file beside `path`, flushes it and renames it over, so a crash never leaves
// half a file, and a power loss leaves the old file or the new one. On failure the temporary
// file is gone and errno holds the cause.
[[nodiscard]] bool WriteFileAtomic(const std::string& path, const void* data, size_t size);
// Creates an empty, uniquely named file ("<path>.tmp-XXXXXX") in the folder of `path` (resolved),
// readable as a new file would be, for a writer that renames it over `path` when done. Empty
// string on failure. Such files of `path` that a killed writer left an hour ago or more go first.
std::string CreateTempFileBeside(const std::string& path);
// How an open file reaches the disk: fsync, unless a test put another function in its place to
// watch the flushes. Every writer that renames a new file over an old one flushes through
// FileSync first; FileSync returns fsync's result.
using TFileSync = int (*)(int fd);
int FileSync(int fd);
// Puts `sync` in fsync's place (nullptr: fsync again); returns the function it replaces.
TFileSync SetFileSync(TFileSync sync);
// Makes a rename in the folder of `path` durable. Best effort: some file systems refuse to sync
// a folder, and the file is complete either way.
void SyncFolderOf(const std::string& path);
// Lines split at LF with a trailing CR removed; a last line without a line end is kept, a UTF-8
// byte-order mark is dropped. False (and no lines) when the file cannot be read.
[[nodiscard]] bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

}  // namespace qj
