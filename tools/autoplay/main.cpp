// quorvane-jigsaw-autoplay: plays a puzzle headless and prints one line about the game.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/autoplay/AutoPlayer.h"

namespace {

const char* const kUsage =
    "usage: quorvane-jigsaw-autoplay PICTURE [the cut options of quorvane-jigsaw-cut]\n"
    "         [--from-pzl] [--joins K] [--continue] [--screen] [--autosave-seconds S]\n"
    "         [--program-folder DIR]\n"
    "         [--layout-report] [--layout spread|heap] [--phase-peaks]\n"
    "Cuts PICTURE (writing its .pzl, or from its .pzl with --from-pzl), or continues its saved\n"
    "game (--continue); joins K pieces (all by default) like a careful player, leaves the table\n"
    "and saves the game beside the picture. --screen plays through mouse and key events on the\n"
    "play screen, leaving by the exit dialog. Prints one line:\n"
    "pieces=N left=L joins=J drops=D score=S finished=0|1 cut_ms=T play_ms=T save_ms=T load_ms=T\n"
    "fuse_ms=T (the part of play_ms spent fusing) peak_mb=M (resident-memory peak of the run)\n"
    "--phase-peaks adds peak_cut_mb=M peak_play_mb=M peak_save_mb=M peak_continue_mb=M, each phase's\n"
    "own peak (0 for the phase not run); it lowers the kernel's high-water mark between phases, so\n"
    "an outside measure such as GNU time's %M then sees only the last phase.\n"
    "--layout-report then prints, as the last line, how the new game's pieces lay after its layout:\n"
    "layout=spread|heap pieces=N layout_ms=T overlap=F, F being the share of the pieces' opaque\n"
    "pixels that other pieces' opaque pixels cover and T the new game's set-up, layout included.\n"
    "--layout picks the layout instead of the settings.\n"
    "--autosave-seconds saves the game by itself after every S seconds of play, as the game's\n"
    "autosave does (on a worker, beside the play).\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace qj::autoplay;
  for (int k = 1; k < argc; ++k)
    if (std::string(argv[k]) == "--help" || std::string(argv[k]) == "-h") {
      std::printf("%s", kUsage);
      return 0;
    }
  try {
    const TAutoPlayOptions options = ParseAutoPlayOptions(std::vector<std::string>(argv + 1, argv + argc));
    TAutoPlayResult result;
    const int status = RunAutoPlay(options, result);
    if (status == 0) std::printf("%s\n", ResultLine(result).c_str());
    if (status == 0 && options.LayoutReport && result.Overlap >= 0) std::printf("%s\n", LayoutLine(result).c_str());
    return status;
  } catch (const qj::cuttool::TUsageError& e) {
    std::fprintf(stderr, "%s\n%s", e.Message.c_str(), kUsage);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
}
