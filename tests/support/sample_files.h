// Tiny image files made in code, for tests that need a file of a given format.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora::test {

// A 2 x 2 BMP with a 40-byte header, 24 bits per pixel.
std::vector<uint8_t> TinyBmp(int32_t width = 2, int32_t height = 2);

}  // namespace velmora::test
