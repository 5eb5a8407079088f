// Every text a control shows fits the room the control gives it, in every language and theme:
// the whole program runs headless on the data set, visits its screens and dialogs the way a
// player reaches them, and asks each control of the screen for its texts and their rooms. A new
// screen is one more step in the table; a new kind of control answers TextRooms().
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include "app/UGameEngine.h"
#include "controls/UButtons.h"
#include "controls/UScrollBar.h"
#include "core/UMiscelaneous.h"
#include "platform/Input.h"
#include "platform/Paths.h"
#include "play/UBoardMenu.h"
#include "play/UBoardPlayInterface.h"
#include "screens/UOptionsInterface.h"
#include "tests/support/GameRun.h"
#include "tests/support/TempFolder.h"

namespace qj::test {
namespace {

namespace fs = std::filesystem;

struct TLook {
  const char* Language;
  int Theme;
};

// A copy of the program folder whose settings choose the language and the theme, with a library
// of one small puzzle; the data set itself is linked, never written.
class TextFitTest : public ::testing::TestWithParam<TLook>, public TGameRun {
 public:
  TextFitTest() : FSavedFolder(ProgramFolder()) {
    const fs::path program = QJ_PROGRAM_DIR;
    for (const char* name : {"Graphics", "Shapes", "sound", "help"})
      fs::create_directory_symlink(program / name, FFolder.File(name));
    fs::copy(program / "Text", FFolder.File("Text"), fs::copy_options::recursive);
    std::string settings = ReadAll(FFolder.File("Text/Jigsaw.stg"));
    Replace(settings, "Environment=0", "Environment=" + std::to_string(GetParam().Theme));
    Replace(settings, "LanguageFile=English.lang", std::string("LanguageFile=") + GetParam().Language);
    FFolder.Write("Text/Jigsaw.stg", settings);
    fs::create_directories(FFolder.File("Jigsaws"));
    SetProgramFolder(FFolder.Path());
    Options = TOptions();
    FPicture = MakeSmallJigsaw(FFolder.Path(), "Harbour", true);
  }
  ~TextFitTest() override {
    mainWindow.reset();
    SetProgramFolder(FSavedFolder);
    Options = TOptions();
  }

  static std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void Replace(std::string& text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  }

  // Runs frames until windows have drawn what their owners paint onto them.
  void Settle() {
    for (int i = 0; i < 5 && Running(); ++i) Frame();
  }
  void ClickButton(const TDXButton& b) {
    const int x = b.FLeft + b.FWidth / 2, y = b.FTop + b.FHeight / 2;
    MouseMove(x, y);
    MouseDown(x, y);
    Frame();
    MouseUp(x, y);
    for (int i = 0; i < 15; ++i) Frame();
  }

  // Each text of a control of the active screen that does not fit is a failure of its own.
  void ExpectAllFit(const std::string& screen) {
    const TInterface* active = Running() ? Engine().Active() : nullptr;
    ASSERT_NE(active, nullptr) << screen;
    for (const TDXControl* control : active->FControls)
      for (const TTextRoom& room : control->TextRooms())
        EXPECT_TRUE(room.Fits()) << GetParam().Language << ", theme " << GetParam().Theme << ", " << screen << ": "
                                 << typeid(*control).name() << " \"" << room.Text << "\" needs " << room.NeededWidth
                                 << " x " << room.NeededHeight << ", has " << room.Width << " x " << room.Height;
  }

  TTempFolder FFolder;
  std::string FSavedFolder;
  std::string FPicture;
};

// The screens in the order a player reaches them; each step starts where the one before left.
struct TStep {
  const char* Name;
  const char* Screen;  // as TGameRun names the screen the step ends on
  std::function<void(TextFitTest&)> Go;
};

TEST_P(TextFitTest, EveryControlsTextFitsItsRoom) {
  const std::vector<TStep> steps = {
      {"main menu", "main-menu", [](TextFitTest&) {}},
      {"selector", "selector", [](TextFitTest& t) { t.Step({'1'}); }},
      {"maker", "maker", [](TextFitTest& t) { t.Step({'M'}); }},
      {"options", "options", [](TextFitTest& t) {
         for (const uint16_t key : {uint16_t(VK_ESCAPE), uint16_t(VK_ESCAPE), uint16_t('2')}) t.Step({key});
       }},
      {"options, every screen size", "options",
       [](TextFitTest& t) {
         TDXHScrollBar& sizes = *t.Engine().OptionsScreen().Slider(TOptionsInterface::ResolutionSlider);
         for (int size = sizes.FMin; size < sizes.FMax; ++size) {
           sizes.SetPosition(size);
           t.Settle();
           t.ExpectAllFit("options, screen size " + std::to_string(size));
         }
         sizes.SetPosition(sizes.FMax);
       }},
      {"options, keys and advanced", "options",
       [](TextFitTest& t) { t.ClickButton(*t.Engine().OptionsScreen().Button(TOptionsInterface::Page)); }},
      {"play", "play", [](TextFitTest& t) {
         t.Step({VK_ESCAPE});
         t.PlayPicture(t.FPicture);
       }},
      {"completion panel", "play", [](TextFitTest& t) { t.Engine().BoardPlay().Menu().ShowCompletion({}); }},
      {"exit dialog", "play", [](TextFitTest& t) {
         TBoardMenu& menu = t.Engine().BoardPlay().Menu();
         t.ClickButton(*menu.Completion().Button(TCompletionPanel::StayAtTable));
         menu.ClickSide(MenuButton::Exit, EMenuSide::Left);
       }},
  };
  Start();
  for (const TStep& step : steps) {
    step.Go(*this);
    Settle();
    ASSERT_EQ(ScreenName(), step.Screen) << step.Name;
    ExpectAllFit(step.Name);
  }
}

INSTANTIATE_TEST_SUITE_P(LanguagesAndThemes, TextFitTest,
                         ::testing::Values(TLook{"English.lang", 0}, TLook{"English.lang", 1}, TLook{"English.lang", 2},
                                           TLook{"Deutsch.lang", 0}, TLook{"Deutsch.lang", 1}, TLook{"Deutsch.lang", 2}),
                         [](const ::testing::TestParamInfo<TLook>& info) {
                           return std::string(info.param.Language).substr(0, 2) + std::to_string(info.param.Theme);
                         });

}  // namespace
}  // namespace qj::test
