// Where an installed game reads and writes: the XDG folders, the first start, pictures added to
// the library, and the build-folder layout that keeps everything beside the binary.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Paths.h"
#include "platform/PictureLibrary.h"
#include "platform/UserFolders.h"
#include "tests/support/TempFolder.h"

namespace qj {
namespace {

// Sets an environment variable for one test and puts the old value back.
class TEnv {
 public:
  TEnv(const char* name, const char* value) : FName(name) {
    const char* old = std::getenv(name);
    FHad = old != nullptr;
    if (FHad) FOld = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~TEnv() { FHad ? setenv(FName, FOld.c_str(), 1) : unsetenv(FName); }

 private:
  const char* FName;
  bool FHad = false;
  std::string FOld;
};

// The build folder's layout comes back after every test.
class InstalledLayout : public testing::Test {
 protected:
  void TearDown() override { SetProgramFolder(QJ_PROGRAM_DIR); }
  test::TTempFolder Root;
};

std::string Text(const std::string& path) {
  std::vector<uint8_t> data;
  return ReadWholeFile(path, data) ? std::string(data.begin(), data.end()) : "<unreadable>";
}

TEST(UserFolders, FollowTheXdgVariablesAndFallBackToHome) {
  const TEnv home("HOME", "/home/ann");
  {
    const TEnv config("XDG_CONFIG_HOME", "/cfg"), data("XDG_DATA_HOME", "/dat");
    EXPECT_EQ(UserConfigFolder(), "/cfg/quorvane-jigsaw");
    EXPECT_EQ(UserDataFolder(), "/dat/quorvane-jigsaw");
  }
  const TEnv config("XDG_CONFIG_HOME", nullptr), data("XDG_DATA_HOME", "relative/is/ignored");
  EXPECT_EQ(UserConfigFolder(), "/home/ann/.config/quorvane-jigsaw");
  EXPECT_EQ(UserDataFolder(), "/home/ann/.local/share/quorvane-jigsaw");
  {
    const TEnv cache("XDG_CACHE_HOME", "/tmp/c");
    EXPECT_EQ(UserCacheFolder(), "/tmp/c/quorvane-jigsaw");
  }
  const TEnv cache("XDG_CACHE_HOME", "");
  EXPECT_EQ(UserCacheFolder(), "/home/ann/.cache/quorvane-jigsaw");
}

// The picture chooser starts where the desktop keeps pictures.
TEST(UserFolders, ThePicturesFolderIsTheDesktopsOrTheHomesPictures) {
  test::TTempFolder home;
  const TEnv homeVariable("HOME", home.Path().c_str()), config("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(UserPicturesFolder(), home.Path()) << "no Pictures folder: the home folder";
  home.Write("Pictures/.keep", "");
  EXPECT_EQ(UserPicturesFolder(), home.File("Pictures"));
  home.Write("Bilder/.keep", "");
  home.Write(".config/user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
  EXPECT_EQ(UserPicturesFolder(), home.File("Bilder"));
  home.Write(".config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Gone\"\n");
  EXPECT_EQ(UserPicturesFolder(), home.File("Pictures")) << "a folder that is not there is passed over";
}

TEST_F(InstalledLayout, ThumbnailsAreCachedInTheUsersCacheFolder) {
  const TEnv cache("XDG_CACHE_HOME", Root.Path().c_str());
  const std::string picture = Root.File("Cat.bmp");
  ASSERT_TRUE(TMyDib(40, 30).SaveToFile(picture));
  TMyDib thumbnail;
  std::string error;
  ASSERT_TRUE(LoadThumbnail(picture, kThumbnailWidth, thumbnail, error)) << error;
  EXPECT_EQ(ThumbnailFolder(), Root.File("quorvane-jigsaw/thumbnails"));
  EXPECT_TRUE(FileExists(ThumbnailCacheFile(ThumbnailFolder(), picture, kThumbnailWidth)));
}

TEST_F(InstalledLayout, TheDataSetIsBesideTheBinaryOrInShareOfThePrefix) {
  Root.Write("build/Text/English.lang", "x");
  EXPECT_EQ(DataSetFolder(Root.File("build")), Root.File("build"));
  Root.Write("usr/share/quorvane-jigsaw/Text/English.lang", "x");
  std::filesystem::create_directories(Root.File("usr/bin"));
  EXPECT_EQ(DataSetFolder(Root.File("usr/bin")), Root.File("usr") + "/share/quorvane-jigsaw");
  std::filesystem::create_directories(Root.File("elsewhere"));
  EXPECT_EQ(DataSetFolder(Root.File("elsewhere")), Root.File("elsewhere"));  // nothing found: as always
}

TEST_F(InstalledLayout, ReadsTheDataSetAndWritesIntoTheUserFolders) {
  SetInstalledFolders({Root.File("bin"), Root.File("share/qj/"), Root.File("config"), Root.File("data")});
  EXPECT_TRUE(RunsInstalled());
  Root.Write("share/qj/Text/English.lang", "x");
  EXPECT_EQ(DataPath("text\\english.LANG"), Root.File("share/qj/Text/English.lang"));
  EXPECT_EQ(SettingsPath("Jigsaw.stg"), Root.File("config/Jigsaw.stg"));
  EXPECT_EQ(UserPath("Jigsaws\\Cat.pzl"), Root.File("data/Jigsaws/Cat.pzl"));
  SetProgramFolder(Root.Path());
  EXPECT_FALSE(RunsInstalled());
  EXPECT_EQ(SettingsPath("Jigsaw.stg"), Root.File("Text/Jigsaw.stg"));  // the build folder: as always
  EXPECT_EQ(UserPath("Jigsaws"), Root.File("Jigsaws"));
}

TEST_F(InstalledLayout, FirstStartCopiesTheSettingsAndTheSamplesOnce) {
  Root.Write("share/Text/Jigsaw.stg", "[Screen]\n");
  Root.Write("share/Jigsaws/Cat.jpg", "cat");
  Root.Write("share/Jigsaws/Dog.bmp", "dog");
  const TGameFolders folders{Root.File("bin"), Root.File("share"), Root.File("config/qj"), Root.File("data/qj")};
  std::string error;
  ASSERT_TRUE(PrepareUserFolders(folders, error)) << error;
  EXPECT_EQ(Text(Root.File("config/qj/Jigsaw.stg")), "[Screen]\n");
  EXPECT_EQ(ListFiles(Root.File("data/qj/Jigsaws"), "*"), (std::vector<std::string>{"Cat.jpg", "Dog.bmp"}));
  EXPECT_FALSE(DirectoryExists(Root.File("data/qj/Jigsaws.partial")));

  // The player's own changes stay: settings are not reset and deleted samples do not return.
  Root.Write("config/qj/Jigsaw.stg", "mine");
  ASSERT_TRUE(DeleteFile(Root.File("data/qj/Jigsaws/Cat.jpg")));
  ASSERT_TRUE(PrepareUserFolders(folders, error)) << error;
  EXPECT_EQ(Text(Root.File("config/qj/Jigsaw.stg")), "mine");
  EXPECT_EQ(ListFiles(Root.File("data/qj/Jigsaws"), "*"), std::vector<std::string>{"Dog.bmp"});
}

TEST_F(InstalledLayout, AFirstStartCutShortIsRepeated) {
  Root.Write("share/Text/Jigsaw.stg", "x");
  Root.Write("share/Jigsaws/Cat.jpg", "cat");
  Root.Write("data/Jigsaws.partial/Half.jpg", "half");
  std::string error;
  ASSERT_TRUE(PrepareUserFolders({"", Root.File("share"), Root.File("config"), Root.File("data")}, error)) << error;
  EXPECT_EQ(ListFiles(Root.File("data/Jigsaws"), "*"), std::vector<std::string>{"Cat.jpg"});
}

TEST_F(InstalledLayout, AnUnwritableHomeIsReportedByName) {
  Root.Write("home", "a file where a folder should be");
  std::string error;
  EXPECT_FALSE(PrepareUserFolders({"", Root.File("share"), Root.File("home/config"), Root.File("home/data")}, error));
  EXPECT_NE(error.find(Root.File("home/config")), std::string::npos) << error;
}

TEST(Library, APictureIsCopiedInOnceAndNeverReplacesAnother) {
  test::TTempFolder dir;
  const std::string library = dir.File("Jigsaws");
  const std::string cat = dir.Write("Pictures/Cat.jpg", "cat");
  std::string error;
  EXPECT_EQ(CopyIntoFolder(cat, library, error), library + "/Cat.jpg") << error;
  EXPECT_EQ(Text(library + "/Cat.jpg"), "cat");
  EXPECT_EQ(CopyIntoFolder(cat, library, error), library + "/Cat.jpg");  // opened again: no second copy
  EXPECT_EQ(CopyIntoFolder(library + "/Cat.jpg", library, error), library + "/Cat.jpg");  // already there
  const std::string otherCat = dir.Write("Other/cat.JPG", "another cat");
  EXPECT_EQ(CopyIntoFolder(otherCat, library, error), library + "/cat 2.JPG");
  EXPECT_EQ(Text(library + "/Cat.jpg"), "cat");
  EXPECT_EQ(ListFiles(library, "*").size(), 2u);
}

TEST(Library, AMissingPictureIsAnErrorThatNamesIt) {
  test::TTempFolder dir;
  std::string error;
  EXPECT_EQ(CopyIntoFolder(dir.File("Gone.jpg"), dir.File("Jigsaws"), error), "");
  EXPECT_NE(error.find("Gone.jpg"), std::string::npos);
  EXPECT_FALSE(DirectoryExists(dir.File("Jigsaws")));
}

}  // namespace
}  // namespace qj
