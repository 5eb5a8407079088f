#include "tests/damage/FolderCopy.h"

#include <algorithm>
#include <filesystem>

namespace qj::test {

namespace fs = std::filesystem;

namespace {

bool IsProgram(const fs::directory_entry& entry) {
  return (entry.status().permissions() & fs::perms::owner_exec) != fs::perms::none;
}

void CopyOne(const fs::path& from, const fs::path& to) {
  fs::create_directories(to.parent_path());
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  fs::last_write_time(to, fs::last_write_time(from));
}

bool SameFile(const fs::path& original, const fs::path& copy) {
  std::error_code ec;
  if (!fs::is_regular_file(copy, ec)) return false;
  return fs::file_size(copy, ec) == fs::file_size(original) && fs::last_write_time(copy, ec) == fs::last_write_time(original);
}

}  // namespace

std::vector<std::string> DataSetFiles(const std::string& folder) {
  std::vector<std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file() && !IsProgram(entry)) files.push_back(entry.path().lexically_relative(folder).string());
  std::sort(files.begin(), files.end());
  return files;
}

void CopyFiles(const std::string& from, const std::string& to, const std::vector<std::string>& files) {
  for (const std::string& file : files) CopyOne(fs::path(from) / file, fs::path(to) / file);
}

void MendCopy(const std::string& original, const std::string& copy) {
  std::vector<fs::path> extra;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(copy)) {
    if (!fs::exists(fs::path(original) / entry.path().lexically_relative(copy))) extra.push_back(entry.path());
  }
  for (const fs::path& path : extra) fs::remove_all(path);
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(original)) {
    if (!entry.is_regular_file()) continue;
    const fs::path target = fs::path(copy) / entry.path().lexically_relative(original);
    if (!SameFile(entry.path(), target)) CopyOne(entry.path(), target);
  }
}

}  // namespace qj::test
