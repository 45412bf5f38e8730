// Expected header values of real corpus files, and the check that reads them.
#pragma once

#include <cstdint>

namespace velmora::test {

// A corpus file with the format, size and depth that reading its parameters gives.
struct CorpusImage {
    const char* file;
    int32_t fileType;
    int32_t width, height, bits, samples;
};

// Reads the file's parameters (ParamsFromFile) and checks the five values.
void ExpectImageParams(const CorpusImage& image);

}  // namespace velmora::test
