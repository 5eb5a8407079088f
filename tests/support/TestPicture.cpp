#include "tests/support/TestPicture.h"

#include "platform/Dib.h"

namespace qj::test {

bool WriteTestPicture(const std::string& path, int width, int height) {
  TMyDib picture(width, height, 24);
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) picture.At(x, y) = MakePixel(x, y * 2, (x * y) & 255);
  return SaveJpeg(picture, path, 90);
}

}  // namespace qj::test
