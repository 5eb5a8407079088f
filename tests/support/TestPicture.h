// A picture for tests that cut and play it: colour gradients, so that no two pieces look alike.
#pragma once

#include <string>

namespace qj::test {

// Writes a width x height JPEG; false when it could not be written.
[[nodiscard]] bool WriteTestPicture(const std::string& path, int width, int height);

}  // namespace qj::test
