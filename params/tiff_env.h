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

// Value readers. Every read is checked against the stream: a value outside it reads as 0 or
// empty, and out-of-line data is cut to the bytes the stream really holds. Data of 4 bytes or
// fewer is taken from the value field itself.

// SHORT: the first 16-bit value of the value field; any other type: the value field as an
// unsigned 32-bit number (so a BYTE in a big-endian file sits in the upper 8 bits).
int64_t TIFFReadSingleValDef(TTIFFEnv& env, uint16_t tag, int64_t fallback);
// Signed numerator / signed denominator, a zero denominator taken as 1; 0 when absent.
double TIFFReadSingleRational(TTIFFEnv& env, uint16_t tag);
// Rational number index; 0 when absent or index is not below the count.
double TIFFReadRationalIndex(TTIFFEnv& env, uint16_t tag, int index);
// Value number index of a SHORT or LONG entry (a single SHORT answers every index); 0 otherwise.
int64_t TIFFReadIndexValN(TTIFFEnv& env, uint16_t tag, int index);
// Every value as an integer (values of other types than SHORT and LONG read as 0).
std::vector<int32_t> TIFFReadArrayIntegers(TTIFFEnv& env, uint16_t tag);
// The count x type-size data bytes of the entry.
std::vector<uint8_t> TIFFReadRawData(TTIFFEnv& env, uint16_t tag);
// Count 1 to 4: as TIFFReadMiniString; above 4: the bytes less one trailing zero; counts
// above kMaxTiffTextCount give an empty text.
std::string TIFFReadString(TTIFFEnv& env, uint16_t tag);
// Exactly count bytes in file order, zero bytes included.
std::string TIFFReadMiniString(TTIFFEnv& env, uint16_t tag);
// The bytes as UTF-16 little-endian text, less one trailing zero character.
std::u16string TIFFReadWideString(TTIFFEnv& env, uint16_t tag);

}  // namespace velmora
