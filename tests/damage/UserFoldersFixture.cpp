#include "tests/damage/UserFoldersFixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/UMiscelaneous.h"
#include "platform/Dib.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "platform/UserFolders.h"
#include "tests/damage/Restrict.h"
#include "tests/support/GameRun.h"

namespace qj::test {

namespace fs = std::filesystem;

TUserFoldersTest::TUserFoldersTest() : FSavedFolder(ProgramFolder()) {
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
    const char* value = std::getenv(name);
    FSavedEnvironment.emplace_back(name, value ? value : "");
  }
  setenv("XDG_CONFIG_HOME", Home.File("config").c_str(), 1);
  setenv("XDG_DATA_HOME", Home.File("data").c_str(), 1);
  const TGameFolders folders{QJ_PROGRAM_DIR, QJ_PROGRAM_DIR, UserConfigFolder(), UserDataFolder()};
  SetInstalledFolders(folders);
  // The library exists before the first start, so the sample pictures are not copied into it.
  EXPECT_TRUE(MakeFolders(Library()));
  EXPECT_FALSE(MakeSmallJigsaw(folders.User, "Small").empty());
  EXPECT_TRUE(TMyDib(640, 480, 24).SaveToFile(Uncut()));
  std::string error;
  EXPECT_TRUE(PrepareUserFolders(folders, error)) << error;
}

TUserFoldersTest::~TUserFoldersTest() {
  RestoreWritable(Library());
  RestoreWritable(SettingsFolder());
  for (const auto& [name, value] : FSavedEnvironment) {
    if (value.empty()) unsetenv(name.c_str());
    else setenv(name.c_str(), value.c_str(), 1);
  }
  SetProgramFolder(FSavedFolder);
}

std::string TUserFoldersTest::Library() const { return UserDataFolder() + "/Jigsaws"; }
std::string TUserFoldersTest::SettingsFolder() const { return UserConfigFolder(); }

TChildResult TUserFoldersTest::Play(const std::function<std::string()>& restrict, bool cut,
                                    const std::function<void()>& inspect) {
  return RunInChild([&] {
    if (const std::string why = restrict ? restrict() : std::string(); !why.empty()) {
      std::printf("skip: %s\n", why.c_str());
      return;
    }
    TGameRun run;
    run.Start();
    run.Choose(Jigsaw());
    std::printf("step play: %s\n", run.Step({VK_RETURN}).c_str());
    std::printf("step leave: %s\n", run.LeaveGame().c_str());
    if (cut) std::printf("step cut: %s\n", run.PlayPicture(Uncut()).c_str());
    run.Close();
    run.PrintMessages();
    if (inspect) inspect();
  });
}

bool TUserFoldersTest::Skipped(const TChildResult& run) { return run.Output.rfind("skip: ", 0) == 0; }

std::vector<uint8_t> Bytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
  return bytes;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool Says(const TChildResult& run, const std::string& text) { return run.Output.find(text) != std::string::npos; }

}  // namespace qj::test
