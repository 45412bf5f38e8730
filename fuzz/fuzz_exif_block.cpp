// An APP1 payload: "Exif", two zero bytes and whatever follows, through the EXIF decoder
// (directories, GPS, maker-note capture, thumbnails).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "params/exif_reader.h"
#include "params/image_io.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora;
    std::vector<uint8_t> block{'E', 'x', 'i', 'f', 0, 0};
    block.insert(block.end(), data, data + size);
    TImageIO io;
    LoadEXIFFromStandardBuffer(block.data(), block.size(), io.Params);
    io.Params.EXIF_MakerNote.GetString(1);
    io.Params.EXIF_MakerNote.GetIntegerArray(1);
    return 0;
}
