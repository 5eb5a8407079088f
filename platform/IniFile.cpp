// INI files read and written the way the Windows profile functions do.
#include "platform/IniFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/Paths.h"
#include "platform/TextUtil.h"

namespace qj {
namespace {

// The profile functions drop one pair of matching quotes around a value.
std::string Unquote(const std::string& v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// A whole 32-bit number: optional sign and decimal digits, or "0x" / "$" and up to eight hex
// digits taken as the bit pattern (so 0xFFFFFFFF is -1, as the original reader had it).
bool ParseInteger(const std::string& text, int& out) {
  const std::string s = Trim(text);
  if (s.empty()) return false;
  size_t hexStart = 0;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) hexStart = 2;
  else if (s.size() > 1 && s[0] == '$') hexStart = 1;
  if (hexStart) {
    const std::string digits = s.substr(hexStart);
    if (digits.size() > 8) return false;
    for (char c : digits)
      if (!IsHexDigit(c)) return false;
    out = int(uint32_t(std::strtoul(digits.c_str(), nullptr, 16)));
    return true;
  }
  size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
  if (i == s.size()) return false;
  for (size_t j = i; j < s.size(); ++j)
    if (s[j] < '0' || s[j] > '9') return false;
  errno = 0;
  const long long v = std::strtoll(s.c_str(), nullptr, 10);
  if (errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
  out = int(v);
  return true;
}

}  // namespace

TIniFile::TIniFile(const std::string& path) : FPath(path) {
  FSections.push_back({"", false, {}});  // lines before the first header, even when there are none
  std::vector<std::string> lines;
  if (ReadTextLines(path, lines)) Parse(lines);
}

void TIniFile::Parse(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const std::string t = Trim(line);
    const size_t close = t.rfind(']');
    if (!t.empty() && t[0] == '[' && close != std::string::npos) {
      FSections.push_back({Trim(t.substr(1, close - 1)), true, {}});
      continue;
    }
    const size_t eq = t.find('=');
    TEntry e{"", "", line};
    if (!t.empty() && t[0] != ';' && eq != std::string::npos && eq > 0) {
      e.Key = Trim(t.substr(0, eq));
      e.Value = Unquote(Trim(t.substr(eq + 1)));
    }
    FSections.back().Entries.push_back(std::move(e));
  }
}

size_t TIniFile::SectionIndex(const std::string& section) const {
  for (size_t i = 0; i < FSections.size(); ++i)
    if (FSections[i].HasHeader && SameName(FSections[i].Name, section)) return i;
  return FSections.size();
}

// The profile functions look only in the first section of a name, even when it repeats.
const TIniFile::TEntry* TIniFile::Find(const std::string& section, const std::string& key) const {
  const size_t i = SectionIndex(section);
  if (i == FSections.size()) return nullptr;
  for (const TEntry& e : FSections[i].Entries)
    if (!e.Key.empty() && SameName(e.Key, key)) return &e;
  return nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  const TEntry* e = Find(section, key);
  return e ? e->Value : def;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
  const TEntry* e = Find(section, key);
  int v = def;
  return e && ParseInteger(e->Value, v) ? v : def;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string& section) const { return SectionIndex(section) < FSections.size(); }

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  return Find(section, key) != nullptr;
}

TIniFile::TSection& TIniFile::SectionForWrite(const std::string& section) {
  const size_t i = SectionIndex(section);
  if (i < FSections.size()) return FSections[i];
  // A new section goes last, set off from what is above it by a blank line.
  if (!FSections.empty()) {
    TSection& last = FSections.back();
    if (!last.Entries.empty() && !Trim(last.Entries.back().Line).empty()) last.Entries.push_back({"", "", ""});
  }
  FSections.push_back({section, true, {}});
  return FSections.back();
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  TSection& s = SectionForWrite(section);
  for (TEntry& e : s.Entries) {
    if (e.Key.empty() || !SameName(e.Key, key)) continue;
    e.Value = Unquote(Trim(value));  // as a later read of the written line will see it
    e.Line = e.Key + "=" + value;
    return;
  }
  // New keys follow the section's last line with content, ahead of its trailing blank lines.
  size_t at = s.Entries.size();
  while (at > 0 && Trim(s.Entries[at - 1].Line).empty()) --at;
  s.Entries.insert(s.Entries.begin() + long(at), TEntry{key, Unquote(Trim(value)), key + "=" + value});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::UpdateFile() const {
  std::string text;
  for (const TSection& s : FSections) {
    if (s.HasHeader) text += "[" + s.Name + "]\r\n";
    for (const TEntry& e : s.Entries) text += e.Line + "\r\n";
  }
  return WriteFileAtomic(FPath, text.data(), text.size());
}

}  // namespace qj
