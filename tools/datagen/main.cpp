// quorvane-jigsaw-datagen OUTDIR [--layout FILE] [--preview]: draws, synthesises and composes
// every generated file of the game's data set into the program folder OUTDIR.
// quorvane-jigsaw-datagen --icons DIR: the desktop icons, which the installation ships apart from
// the data set.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>

#include "tools/datagen/DataSet.h"
#include "tools/datagen/Icons.h"
#include "tools/datagen/Preview.h"

using namespace qj::datagen;
using qj::TMyDib;

namespace {

struct TArgs {
  std::string OutDir, Layout, Icons;
  bool Preview = false;
};

bool ParseArgs(int argc, char** argv, TArgs& args) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--preview") == 0) {
      args.Preview = true;
    } else if (std::strcmp(argv[i], "--icons") == 0 && i + 1 < argc) {
      args.Icons = argv[++i];
    } else if (std::strcmp(argv[i], "--layout") == 0 && i + 1 < argc) {
      args.Layout = argv[++i];
    } else if (args.OutDir.empty() && argv[i][0] != '-') {
      args.OutDir = argv[i];
    } else {
      return false;
    }
  }
  if (args.Layout.empty()) args.Layout = args.OutDir + "/Text/VarEroRuze.rls";
  return args.OutDir.empty() != args.Icons.empty();
}

void Run(const TArgs& args) {
  if (!args.Icons.empty()) return WriteIcons(args.Icons);
  TOutput out(args.OutDir);
  TLayoutList layout(args.Layout);
  TMyDib table = WritePictures(out);
  for (const TThemeArt& theme : ThemeArts()) {
    TControlArt art = MakeControlArt(theme);
    WriteControls(out, layout, theme, art);
    WriteBoardArt(out, layout, theme);
    if (args.Preview) {
      std::filesystem::path preview = std::filesystem::path(args.OutDir).parent_path() /
                                      ("theme-preview-" + std::to_string(theme.FileNr) + ".bmp");
      const TMyDib picture = ComposePreview(art, table);
      if (!picture.SaveToFile(preview.string()))
        std::fprintf(stderr, "datagen: %s\n", picture.LastError().c_str());
    }
  }
  WriteScreens(out, layout);
  WriteSounds(out, layout);
}

}  // namespace

int main(int argc, char** argv) {
  TArgs args;
  if (!ParseArgs(argc, argv, args)) {
    std::fprintf(stderr, "usage: %s OUTDIR [--layout FILE] [--preview] | --icons DIR\n", argv[0]);
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  try {
    Run(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "datagen: %s\n", e.what());
    return 1;
  }
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("datagen: %s written in %.0f ms\n", args.Icons.empty() ? args.OutDir.c_str() : args.Icons.c_str(), ms);
  return 0;
}
