#include "tests/support/sample_files.h"

#include "tests/support/byte_writer.h"

namespace velmora::test {

std::vector<uint8_t> TinyBmp(int32_t width, int32_t height) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height < 0 ? -height : height);
    std::vector<uint8_t> out{'B', 'M'};
    AppendU32(out, 54 + imageBytes, true);
    AppendU32(out, 0, true);
    AppendU32(out, 54, true);
    AppendU32(out, 40, true);
    AppendU32(out, static_cast<uint32_t>(width), true);
    AppendU32(out, static_cast<uint32_t>(height), true);
    AppendU16(out, 1, true);
    AppendU16(out, 24, true);
    AppendU32(out, 0, true);
    AppendU32(out, imageBytes, true);
    AppendU32(out, 2835, true);
    AppendU32(out, 2835, true);
    AppendU32(out, 0, true);
    AppendU32(out, 0, true);
    out.resize(out.size() + imageBytes, 0x80);
    return out;
}

}  // namespace velmora::test
