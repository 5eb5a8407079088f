// The lower layers never reach up: the platform, the sprite engine and puzzle creation are used
// by the game but know nothing of its screens, settings or engine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qj {
namespace {

// Folders of the game a lower layer may not include from.
const std::vector<std::string> kUpperLayers = {"core", "controls", "play", "screens"};

std::vector<std::string> UpwardIncludes(const std::string& layer, const std::vector<std::string>& forbidden) {
  std::vector<std::string> found;
  const std::filesystem::path root = std::filesystem::path(QJ_SOURCE_DIR) / layer;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    std::ifstream in(entry.path());
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind("#include \"", 0) != 0) continue;
      for (const std::string& upper : forbidden)
        if (line.compare(10, upper.size() + 1, upper + "/") == 0)
          found.push_back(entry.path().filename().string() + ": " + line);
    }
  }
  return found;
}

TEST(Layers, ThePlatformIncludesOnlyItself) {
  std::vector<std::string> above = kUpperLayers;
  above.insert(above.end(), {"graphics", "creation"});
  EXPECT_EQ(UpwardIncludes("platform", above), std::vector<std::string>{});
}

TEST(Layers, TheSpriteEngineAndCreationStayBelowTheGame) {
  std::vector<std::string> aboveGraphics = kUpperLayers;
  aboveGraphics.push_back("creation");
  EXPECT_EQ(UpwardIncludes("graphics", aboveGraphics), std::vector<std::string>{});
  std::vector<std::string> aboveCreation = kUpperLayers;
  aboveCreation.push_back("graphics");
  EXPECT_EQ(UpwardIncludes("creation", aboveCreation), std::vector<std::string>{});
}

}  // namespace
}  // namespace qj
