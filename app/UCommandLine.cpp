// Reading the command line; main acts on the result.
#include "app/UCommandLine.h"

#include <charconv>
#include <filesystem>

namespace qj {
namespace {

// The optional theme number after a showcase option: a whole number that is not negative.
bool ReadTheme(const std::string& text, int& theme) {
  const char* end = text.data() + text.size();
  const auto [stop, err] = std::from_chars(text.data(), end, theme);
  return err == std::errc() && stop == end && theme >= 0;
}

TCommandLine Failure(const std::string& why) {
  TCommandLine result;
  result.Command = ECommand::Error;
  result.Error = why + "\nTry 'quorvane-jigsaw --help' for the options.";
  return result;
}

bool IsOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  TCommandLine result;
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (optionsEnded || !IsOption(a)) {
      if (!IsPictureName(a)) return Failure("not a picture the game reads (JPEG, BMP, PNG or DIB): " + a);
      result.Pictures.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--help" || a == "-h") {
      result.Command = ECommand::Help;
      return result;
    } else if (a == "--version") {
      result.Command = ECommand::Version;
      return result;
    } else if (a == "--play") {
      if (i + 1 >= arguments.size() || !IsPictureName(arguments[i + 1])) return Failure("--play needs a picture");
      result.Play = arguments[++i];
    } else if (a == "--tour") {
      if (i + 1 >= arguments.size() || IsOption(arguments[i + 1])) return Failure("--tour needs a folder");
      result.Tour = arguments[++i];
    } else if (a == "--theme-preview" || a == "--gallery") {
      result.Showcase = a == "--gallery" ? EShowcase::Gallery : EShowcase::ThemePreview;
      if (i + 1 < arguments.size() && !IsOption(arguments[i + 1]) && !IsPictureName(arguments[i + 1])) {
        if (!ReadTheme(arguments[i + 1], result.Theme)) return Failure("not a theme number: " + arguments[i + 1]);
        ++i;
      }
    } else {
      return Failure("unknown option: " + a);
    }
  }
  return result;
}

void MakePathsAbsolute(TCommandLine& line, const std::string& folder) {
  const auto absolute = [&folder](std::string& name) {
    if (!name.empty() && name[0] != '/') name = (std::filesystem::path(folder) / name).lexically_normal().string();
  };
  for (std::string& picture : line.Pictures) absolute(picture);
  absolute(line.Play);
  absolute(line.Tour);
}

std::string UsageText() {
  return "Usage: quorvane-jigsaw [OPTION] [PICTURE...]\n"
         "A jigsaw-puzzle game: turn your own pictures into puzzles and assemble them.\n"
         "\n"
         "PICTURE (JPEG, BMP, PNG or DIB) is added to your library of jigsaws and chosen in the\n"
         "puzzle selector.\n"
         "\n"
         "  --play PICTURE       play PICTURE at once: its saved game, or a new game of its puzzle\n"
         "                       (made with the maker's first values when it has none)\n"
         "  --tour FOLDER        visit every screen in every theme and write a screenshot of each\n"
         "                       into FOLDER as THEME-SCREEN.png, then exit (your settings and\n"
         "                       library are left alone)\n"
         "  --theme-preview [N]  show every control image of theme N (T steps to the next theme)\n"
         "  --gallery [N]        show a working example of every control in theme N\n"
         "  --help               show this help and exit\n"
         "  --version            show the version and exit\n"
         "\n"
         "Installed, settings are kept in $XDG_CONFIG_HOME/quorvane-jigsaw and the library in\n"
         "$XDG_DATA_HOME/quorvane-jigsaw/Jigsaws.\n";
}

std::string VersionText() { return std::string("Quorvane Jigsaw ") + QJ_VERSION + "\n"; }

}  // namespace qj
