// Pictures as phones and cameras write them, for the tests of reading photos: JPEG files with an
// EXIF orientation, in either byte order, and test pictures whose corners tell every turn apart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PixelBuffer.h"

namespace qj::test {

// Colours of Quadrants(): top left, top right, bottom left, bottom right.
constexpr TPixel kTopLeft = MakePixel(220, 30, 30), kTopRight = MakePixel(30, 200, 40),
                 kBottomLeft = MakePixel(20, 40, 210), kBottomRight = MakePixel(240, 240, 240);

// Four quadrants of the colours above: every mirror and turn of it looks different.
TPixelBuffer Quadrants(int width, int height);

// The payload of an APP1 segment ("Exif\0\0" and a TIFF structure) whose first IFD holds the
// camera's make and then the orientation, a SHORT of any value.
std::vector<uint8_t> ExifPayload(uint16_t orientation, bool bigEndian);
// The JPEG with an APP1 segment of the payload right after its start-of-image marker.
std::vector<uint8_t> WithApp1(const std::vector<uint8_t>& jpeg, const std::vector<uint8_t>& payload);
// A JPEG of the pixels at quality 95.
std::vector<uint8_t> JpegOf(const TPixelBuffer& pixels);
// A JPEG of the pixels at quality 95 that carries the orientation.
std::vector<uint8_t> PhotoJpeg(const TPixelBuffer& pixels, uint16_t orientation, bool bigEndian = false);

}  // namespace qj::test
