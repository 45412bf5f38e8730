// Reading TIFF image file directories: the environment of one directory and the value readers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "params/stream.h"

namespace velmora {

// TIFF 6.0 field types.
enum TiffType : uint16_t {
    kTiffByte = 1, kTiffAscii = 2, kTiffShort = 3, kTiffLong = 4, kTiffRational = 5, kTiffSByte = 6,
    kTiffUndefined = 7, kTiffSShort = 8, kTiffSLong = 9, kTiffSRational = 10, kTiffFloat = 11,
    kTiffDouble = 12
};

// Size in bytes of one value of a type; code 0 counts as 1, codes above 12 give 0.
int TiffTypeSize(uint16_t type);

// One 12-byte directory entry in native order. In a big-endian file the value field is
// converted as one 32-bit number, so a SHORT held inline sits in the upper 16 bits.
struct TIFFTag {
    uint16_t IdTag = 0;
    uint16_t DataType = 0;
    uint32_t DataNum = 0;
    uint32_t DataPos = 0;
};

// The reading environment of one directory.
struct TTIFFEnv {
    bool Intel = true;              // true for "II" (little-endian), false for "MM"
    TStream* Stream = nullptr;
    std::vector<TIFFTag> IFD;       // entries of the directory read last
    uint16_t NumTags = 0;
    int64_t StreamBase = 0;         // added to every offset: the position of the TIFF header
};

// Largest number of directories a chain walk visits; longer chains are cut there.
inline constexpr int kMaxDirectoryChain = 1024;
// Largest text count a reader accepts (larger counts give an empty text).
inline constexpr uint32_t kMaxTiffTextCount = 0xFFFFF;

// Walks the chain from offset (relative to the base), loads directory number index into env
// and gives the chain length in imageCount. False when the chain is shorter than index + 1.
bool TIFFReadIFD(int index, int64_t offset, TTIFFEnv& env, int& imageCount);
// Position of the first entry with the tag, or -1.
int TIFFFindTAG(uint16_t tag, const TTIFFEnv& env);

int64_t TIFFReadSingleValDef(TTIFFEnv& env, uint16_t tag, int64_t fallback);
double TIFFReadSingleRational(TTIFFEnv& env, uint16_t tag);
double TIFFReadRationalIndex(TTIFFEnv& env, uint16_t tag, int index);
int64_t TIFFReadIndexValN(TTIFFEnv& env, uint16_t tag, int index);
std::vector<int32_t> TIFFReadArrayIntegers(TTIFFEnv& env, uint16_t tag);
std::vector<uint8_t> TIFFReadRawData(TTIFFEnv& env, uint16_t tag);
std::string TIFFReadString(TTIFFEnv& env, uint16_t tag);
std::string TIFFReadMiniString(TTIFFEnv& env, uint16_t tag);
std::u16string TIFFReadWideString(TTIFFEnv& env, uint16_t tag);

}  // namespace velmora
