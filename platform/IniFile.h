// INI files as the Windows profile functions read them: sections and keys without regard to
// case, the first of duplicate sections and keys wins, malformed lines and ";" comments are
// skipped, values trimmed (and a pair of surrounding quotes removed). Writing keeps every other
// line of the file in its place.
#pragma once

#include <string>
#include <vector>

namespace qj {

class TIniFile {
 public:
  // Reads the file if it exists; a missing or unreadable file reads as empty.
  explicit TIniFile(const std::string& path);

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  // A value that is not a whole number (after trimming; decimal or 0x hex) gives the default.
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  // Any integer; non-zero is true.
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);  // "1" / "0"

  // Writes the whole file atomically; false when it could not be written (the old file stays).
  [[nodiscard]] bool UpdateFile() const;

  const std::string& FileName() const { return FPath; }

 private:
  // One line of the file. Lines that are not "key=value" (comments, blanks, malformed lines)
  // have an empty Key and are written back exactly as read.
  struct TEntry {
    std::string Key, Value, Line;
  };
  struct TSection {
    std::string Name;
    bool HasHeader = true;  // false only for the lines before the first section header
    std::vector<TEntry> Entries;
  };
  // Index into FSections of the first section of that name, or FSections.size().
  size_t SectionIndex(const std::string& section) const;
  const TEntry* Find(const std::string& section, const std::string& key) const;
  TSection& SectionForWrite(const std::string& section);
  void Parse(const std::vector<std::string>& lines);

  std::string FPath;
  std::vector<TSection> FSections;
};

}  // namespace qj
