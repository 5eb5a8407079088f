// A program folder of the test's own: settings, language, themes and layout files written by
// the test, with the process-wide state reset before and after.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/UMiscelaneous.h"
#include "core/UThemes.h"
#include "platform/Paths.h"
#include "tests/support/TempFolder.h"

namespace qj::test {

class TProgramFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    FOldFolder = ProgramFolder();
    SetProgramFolder(Folder.Path());
    ResetState();
  }
  void TearDown() override {
    ResetState();
    SetProgramFolder(FOldFolder);
  }

  // A language file of `count` lines "line N" (N from 0).
  void WriteLanguage(const std::string& name, int count) const {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
    Folder.Write("Text/" + name, text);
  }
  void UseThemes(int count) { Themes.assign(size_t(count), TTheme{}); }

  TTempFolder Folder;

 private:
  static void ResetState() {
    Options = TOptions();
    Themes.clear();
    BackgroundFiles.clear();
    LanguageText.clear();
    ReleaseSounds();
  }
  std::string FOldFolder;
};

// A valid mono 16-bit PCM wave of `samples` samples of silence.
std::string MakeWave(int samples);
// A one-note Standard MIDI File of about a quarter of a second.
std::string MakeMidi();

}  // namespace qj::test
