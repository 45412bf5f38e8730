// The entries of the metadata lists as plain values, for comparing lists in tests.
#pragma once

#include <string>
#include <tuple>
#include <vector>

#include "params/iptc_info_list.h"

namespace velmora::test {

// One IPTC dataset: record number, dataset number, bytes.
using Dataset = std::tuple<int, int, std::string>;

inline std::vector<Dataset> Contents(const TIPTCInfoList& list) {
    std::vector<Dataset> out;
    for (int i = 0; i < list.GetCount(); ++i) {
        out.emplace_back(list.GetRecordNumber(i), list.GetDataSet(i), list.GetStrings(i));
    }
    return out;
}

}  // namespace velmora::test
