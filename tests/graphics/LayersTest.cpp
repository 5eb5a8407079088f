// Each layer includes only itself and the layers below it. The build enforces the same rule (every
// layer sees only its own include root); this test names the offending line when it is broken.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qj {
namespace {

struct TLayer {
  std::string Folder;
  std::vector<std::string> MayInclude;  // besides itself
};

// platform -> graphics, creation -> core -> ui (controls) -> play, screens -> app
const std::vector<TLayer> kLayers = {
    {"platform", {}},
    {"graphics", {"platform"}},
    {"creation", {"platform"}},
    {"core", {"platform", "graphics", "creation"}},
    {"controls", {"platform", "graphics", "creation", "core"}},
    {"play", {"platform", "graphics", "creation", "core", "controls"}},
    {"screens", {"platform", "graphics", "creation", "core", "controls"}},
    {"app", {"platform", "graphics", "creation", "core", "controls", "play", "screens"}},
};

// The includes of the layer's files that name another folder of the game it may not use.
std::vector<std::string> ForbiddenIncludes(const TLayer& layer) {
  std::vector<std::string> found;
  const std::filesystem::path root = std::filesystem::path(QJ_SOURCE_DIR) / layer.Folder;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    std::ifstream in(entry.path());
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind("#include \"", 0) != 0) continue;
      const std::string folder = line.substr(10, line.find('/', 10) - 10);
      bool allowed = folder == layer.Folder;
      for (const std::string& below : layer.MayInclude) allowed = allowed || folder == below;
      for (const TLayer& other : kLayers)
        if (!allowed && folder == other.Folder) found.push_back(entry.path().filename().string() + ": " + line);
    }
  }
  return found;
}

TEST(Layers, EveryLayerIncludesOnlyItselfAndTheLayersBelow) {
  for (const TLayer& layer : kLayers)
    EXPECT_EQ(ForbiddenIncludes(layer), std::vector<std::string>{}) << layer.Folder;
}

}  // namespace
}  // namespace qj
