// File names as the game spells them: relative to the program folder, backslashes allowed,
// case ignored. Everything that opens a data file resolves its name here first.
#pragma once

#include <string>
#include <vector>

namespace qj {

// The folder holding the executable, without a trailing separator. Set once at start
// (tests point it at a folder of their own).
const std::string& ProgramFolder();
void SetProgramFolder(const std::string& folder);
// Sets ProgramFolder from argv[0] / /proc/self/exe and makes it the current directory.
void InitProgramFolder(const char* argv0);

// Backslashes become slashes; every existing component is matched without regard to case
// (an exact match wins). Components that do not exist are kept as written, so the result can
// name a file about to be created.
std::string ResolvePath(const std::string& path);
// ProgramFolder() + "/" + relative, resolved.
std::string DataPath(const std::string& relative);

bool FileExists(const std::string& path);       // resolved; a regular file
bool DirectoryExists(const std::string& path);  // resolved
bool DeleteFile(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);  // replaces `to` atomically
// Regular files of a folder whose names match a pattern with "*" and "?" (case ignored; "*.*"
// matches every name, as on Windows), names only, sorted by name without regard to case so every
// run lists them in the same order.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& pattern);

std::string ChangeFileExt(const std::string& path, const std::string& ext);  // ext with its dot
std::string ExtractFileName(const std::string& path);  // after the last / or backslash
std::string ExtractFileExt(const std::string& path);   // with its dot, or empty

[[nodiscard]] bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out);
// Writes a temporary file beside `path` and renames it over, so a crash never leaves half a file.
[[nodiscard]] bool WriteFileAtomic(const std::string& path, const void* data, size_t size);
// Creates an empty, uniquely named file in the folder of `path` (resolved), readable as a new file
// would be, for a writer that renames it over `path` when done. Empty string on failure.
std::string CreateTempFileBeside(const std::string& path);
// Lines split at LF with a trailing CR removed; a last line without a line end is kept, a UTF-8
// byte-order mark is dropped. False (and no lines) when the file cannot be read.
[[nodiscard]] bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);

}  // namespace qj
