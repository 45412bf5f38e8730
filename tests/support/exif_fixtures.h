// EXIF-shaped TIFF structures for the TIFF and EXIF reader tests, built with TiffBuilder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/tiff_builder.h"

namespace velmora::test {

// UTF-16 little-endian bytes of a text, with a terminating zero character.
std::vector<uint8_t> Utf16LeBytes(const std::u16string& text);

// One entry of a maker-note directory, values as written in the file.
struct MakerNoteEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    uint32_t value = 0;
};
// A maker note in IFD form: entry count, the entries, a zero next offset, then extra bytes.
std::vector<uint8_t> MakerNoteDirectory(const TiffBuilder& order, const std::vector<MakerNoteEntry>& entries,
                                        const std::vector<uint8_t>& extra = {});

// A camera-like TIFF structure:
//   IFD0: ImageDescription "A test scene", Make "Velmora Cam", Model "VC-1", Orientation
//         (given), XResolution/YResolution 72, ResolutionUnit 2, Software "Fw 1.0", DateTime,
//         Artist "Ann Lee", Copyright "(c) Ann Lee", XPTitle u"Titel", EXIF and GPS pointers.
//   EXIF: ExposureTime 1/250, FNumber 28/10, ISOSpeedRatings 200, ExifVersion "0220",
//         DateTimeOriginal, FocalLength 50/1, MakerNote (2 entries; tag 6 is the ASCII text
//         "Canon EOS" stored after the entries, offset relative to the TIFF header),
//         UserComment "ASCII\0\0\0Hello", FileSource 3, ExposureMode 1.
//   GPS:  version 2.2.0.0, latitude N 48/1 51/1 2406/100, altitude ref 0.
//   IFD1: a 2 x 1 uncompressed RGB strip thumbnail, red then green.
std::vector<uint8_t> CameraTiff(bool littleEndian, uint16_t orientation = 1, bool exifPrefix = false);

}  // namespace velmora::test
