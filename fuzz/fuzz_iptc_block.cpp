// IPTC decoding of arbitrary bytes, and the encoding of what was decoded.
#include <cstddef>
#include <cstdint>

#include "params/iptc_info_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::TIPTCInfoList list;
    list.LoadFromStandardBuffer(data, size);
    list.SaveToStandardBuffer(true);
    list.SaveToStandardBuffer(false);
    return 0;
}
