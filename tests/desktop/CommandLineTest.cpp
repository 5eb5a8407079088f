// The game's command line: options, pictures for "Open with", and what is refused.
#include <gtest/gtest.h>

#include "app/UCommandLine.h"

namespace qj {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, NothingPlays) {
  const TCommandLine line = ParseCommandLine({});
  EXPECT_EQ(line.Command, ECommand::Play);
  EXPECT_EQ(line.Showcase, EShowcase::None);
  EXPECT_EQ(line.Theme, -1);
  EXPECT_TRUE(line.Pictures.empty());
}

TEST(CommandLine, HelpAndVersionWinOverEverythingElse) {
  EXPECT_EQ(ParseCommandLine({"--help"}).Command, ECommand::Help);
  EXPECT_EQ(ParseCommandLine({"-h"}).Command, ECommand::Help);
  EXPECT_EQ(ParseCommandLine({"Cat.jpg", "--version"}).Command, ECommand::Version);
  EXPECT_NE(UsageText().find("--gallery"), std::string::npos);
  EXPECT_EQ(VersionText(), std::string("Quorvane Jigsaw ") + QJ_VERSION + "\n");
}

TEST(CommandLine, ShowcasesTakeAnOptionalThemeNumber) {
  TCommandLine line = ParseCommandLine({"--theme-preview", "2"});
  EXPECT_EQ(line.Showcase, EShowcase::ThemePreview);
  EXPECT_EQ(line.Theme, 2);
  line = ParseCommandLine({"--gallery"});
  EXPECT_EQ(line.Showcase, EShowcase::Gallery);
  EXPECT_EQ(line.Theme, -1);
  line = ParseCommandLine({"--gallery", "Cat.png"});  // a picture is not a theme number
  EXPECT_EQ(line.Theme, -1);
  EXPECT_EQ(line.Pictures, Args{"Cat.png"});
}

TEST(CommandLine, PicturesAreKeptInOrderWhateverTheCaseOfTheirExtension) {
  const TCommandLine line = ParseCommandLine({"a.JPG", "/home/p/b c.jpeg", "c.Bmp", "d.png", "e.dib"});
  EXPECT_EQ(line.Command, ECommand::Play);
  EXPECT_EQ(line.Pictures, (Args{"a.JPG", "/home/p/b c.jpeg", "c.Bmp", "d.png", "e.dib"}));
}

TEST(CommandLine, AfterTwoDashesANameIsAPictureEvenWithALeadingDash) {
  const TCommandLine line = ParseCommandLine({"--", "-odd.jpg"});
  EXPECT_EQ(line.Command, ECommand::Play);
  EXPECT_EQ(line.Pictures, Args{"-odd.jpg"});
}

TEST(CommandLine, PlayTakesOnePicture) {
  TCommandLine line = ParseCommandLine({"--play", "Sunset.JPG"});
  EXPECT_EQ(line.Command, ECommand::Play);
  EXPECT_EQ(line.Play, "Sunset.JPG");
  EXPECT_TRUE(line.Pictures.empty());
  EXPECT_EQ(ParseCommandLine({"--play"}).Command, ECommand::Error);
  EXPECT_EQ(ParseCommandLine({"--play", "notes.txt"}).Command, ECommand::Error);
  EXPECT_NE(UsageText().find("--play"), std::string::npos);
}

TEST(CommandLine, TourTakesAFolder) {
  EXPECT_EQ(ParseCommandLine({"--tour", "shots"}).Tour, "shots");
  EXPECT_EQ(ParseCommandLine({"--tour"}).Command, ECommand::Error);
  EXPECT_EQ(ParseCommandLine({"--tour", "--play"}).Command, ECommand::Error);
  EXPECT_NE(UsageText().find("--tour"), std::string::npos);
}

TEST(CommandLine, WrongArgumentsAreErrorsThatNameThem) {
  for (const Args& args : {Args{"--fullscreen"}, Args{"-x"}, Args{"notes.txt"}, Args{"Cat"}, Args{"--gallery", "x"},
                           Args{"--theme-preview", "-1x"}, Args{"--gallery", "1", "2"}}) {
    const TCommandLine line = ParseCommandLine(args);
    EXPECT_EQ(line.Command, ECommand::Error) << args.back();
    EXPECT_NE(line.Error.find(args.back()), std::string::npos) << line.Error;
  }
}

// The player's current folder, not the program's: --play and pictures given by a relative name.
TEST(CommandLine, RelativeNamesAreTakenFromTheFolderThePlayerStartedIn) {
  TCommandLine line = ParseCommandLine({"--play", "holiday/Beach.jpg", "../Cat.png", "/srv/Dog.bmp"});
  MakePathsAbsolute(line, "/home/p/photos");
  EXPECT_EQ(line.Play, "/home/p/photos/holiday/Beach.jpg");
  EXPECT_EQ(line.Pictures, (Args{"/home/p/Cat.png", "/srv/Dog.bmp"}));
}

}  // namespace
}  // namespace qj
