// An installed game's own folders under a throwaway home: the settings folder, and a library
// holding a small jigsaw with its puzzle file and a picture without one. Each run of the program
// is a forked child, so a restriction put on it (a read-only folder, a file size limit) ends with it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/damage/ChildRun.h"
#include "tests/support/TempFolder.h"

namespace qj::test {

class TUserFoldersTest : public ::testing::Test {
 protected:
  TUserFoldersTest();
  ~TUserFoldersTest() override;

  // The program started, the jigsaw played (its saved game when it has one) and left, which saves
  // it, then the picture without a puzzle played when `cut` (which makes its puzzle), then the
  // program closed, which writes the settings. `restrict` runs first in the child; when it gives
  // a reason, the child prints "skip: " and the reason and does nothing else. `inspect` runs last,
  // in the child, for what only the child sees (a file system mounted there).
  TChildResult Play(const std::function<std::string()>& restrict = {}, bool cut = false,
                    const std::function<void()>& inspect = {});
  // Skips the test when the child could not put its restriction in place.
  static bool Skipped(const TChildResult& run);

  std::string Library() const;
  std::string SettingsFolder() const;
  std::string SettingsFile() const { return SettingsFolder() + "/Jigsaw.stg"; }
  std::string Jigsaw() const { return Library() + "/Small.bmp"; }
  std::string Archive() const { return Library() + "/Small.zip"; }
  std::string ScoreFile() const { return Library() + "/Small.hsc"; }
  std::string Uncut() const { return Library() + "/Uncut.bmp"; }

  TTempFolder Home;

 private:
  std::string FSavedFolder;
  std::vector<std::pair<std::string, std::string>> FSavedEnvironment;
};

std::vector<uint8_t> Bytes(const std::string& path);
// The names in a folder, sorted.
std::vector<std::string> Names(const std::string& folder);
bool Says(const TChildResult& run, const std::string& text);

}  // namespace qj::test
