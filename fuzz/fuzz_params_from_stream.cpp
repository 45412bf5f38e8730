// Every content test and every reader on arbitrary bytes: detection by content, then the
// reader of each registered format in parameters-only mode.
#include <cstddef>
#include <cstdint>

#include "params/format_detection.h"
#include "params/format_registry.h"
#include "params/image_io.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora;
    TMemoryStream stream(data, size);
    TImageIO io;
    io.ParamsFromStream(stream);
    for (int i = 0; i < FileFormatCount(); ++i) {
        stream.Seek(0);
        io.ParamsFromStreamFormat(stream, FileFormatAt(i).FileType);
    }
    return 0;
}
