// Runs one header reader on byte fixtures built with byte_writer.h.
#pragma once

#include <cstdint>
#include <vector>

#include "params/image_bitmap.h"
#include "params/io_params.h"
#include "params/progress.h"
#include "params/stream.h"
#include "tests/support/byte_writer.h"

namespace velmora::test {

using HeaderReader = void (*)(TStream&, TImageBitmap*, TIOParamsVals&, TProgressRec&, bool);

// Runs a reader in parameters-only mode over bytes; true when it did not set the abort flag.
inline bool ReadHeader(HeaderReader reader, const std::vector<uint8_t>& bytes, TIOParamsVals& params) {
    TMemoryStream stream(bytes);
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    reader(stream, nullptr, params, progress, true);
    return !aborting;
}

}  // namespace velmora::test
