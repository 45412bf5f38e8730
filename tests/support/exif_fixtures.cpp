#include "tests/support/exif_fixtures.h"

#include <functional>

#include "tests/support/byte_writer.h"

namespace velmora::test {

std::vector<uint8_t> Utf16LeBytes(const std::u16string& text) { return LeBytes().Wide(text).Data(); }

std::vector<uint8_t> MakerNoteDirectory(const TiffBuilder& order, const std::vector<MakerNoteEntry>& entries,
                                        const std::vector<uint8_t>& extra) {
    std::vector<uint8_t> out = order.U16(uint16_t(entries.size()));
    const auto append = [&out](const std::vector<uint8_t>& b) { out.insert(out.end(), b.begin(), b.end()); };
    for (const MakerNoteEntry& e : entries) {
        append(order.U16(e.tag));
        append(order.U16(e.type));
        append(order.U32(e.count));
        append(order.U32(e.value));
    }
    append(order.U32(0));
    append(extra);
    return out;
}

std::vector<uint8_t> CameraTiff(bool littleEndian, uint16_t orientation, bool exifPrefix) {
    static const std::string kMakerText("Canon EOS\0", 10);
    // The maker note's text offset depends on where the note lands, so lay the file out once
    // with a stand-in of the same size, then again with the real note.
    const std::function<TiffBuilder(uint32_t)> build = [&](uint32_t makerNoteOffset) {
        TiffBuilder b(littleEndian);
        const int ifd0 = b.AddDirectory();
        b.Ascii(ifd0, 270, "A test scene").Ascii(ifd0, 271, "Velmora Cam").Ascii(ifd0, 272, "VC-1");
        b.Short(ifd0, 274, {orientation}).Rational(ifd0, 282, {{72, 1}}).Rational(ifd0, 283, {{72, 1}});
        b.Short(ifd0, 296, {2}).Ascii(ifd0, 305, "Fw 1.0").Ascii(ifd0, 306, "2024:05:06 07:08:09");
        b.Ascii(ifd0, 315, "Ann Lee").Ascii(ifd0, 33432, "(c) Ann Lee");
        const int exif = b.AddSubDirectory(ifd0, 34665);
        const int gps = b.AddSubDirectory(ifd0, 34853);
        b.Byte(ifd0, 40091, Utf16LeBytes(u"Titel"));

        b.Rational(exif, 33434, {{1, 250}}).Rational(exif, 33437, {{28, 10}}).Short(exif, 34855, {200});
        b.Undefined(exif, 36864, {'0', '2', '2', '0'}).Ascii(exif, 36867, "2024:05:06 07:08:09");
        b.Rational(exif, 37386, {{50, 1}});
        const uint32_t entries = 2;
        const uint32_t textOffset = makerNoteOffset + 2 + 12 * entries + 4;
        const std::vector<uint8_t> note = MakerNoteDirectory(
            b, {{1, 3, 1, littleEndian ? 7u : 7u << 16}, {6, 2, uint32_t(kMakerText.size()), textOffset}},
            std::vector<uint8_t>(kMakerText.begin(), kMakerText.end()));
        b.AddBlob(note);  // the first blob: its offset is what the probe layout gives
        b.RawEntry(exif, 37500, 7, uint32_t(note.size()), makerNoteOffset);
        static const std::string kComment("ASCII\0\0\0Hello", 13);
        b.Undefined(exif, 37510, std::vector<uint8_t>(kComment.begin(), kComment.end()));
        b.Undefined(exif, 41728, {3}).Short(exif, 41986, {1});

        b.Byte(gps, 0, {2, 2, 0, 0}).Ascii(gps, 1, "N").Rational(gps, 2, {{48, 1}, {51, 1}, {2406, 100}});
        b.Byte(gps, 5, {0});

        const int ifd1 = b.AddDirectory();
        const int strip = b.AddBlob({255, 0, 0, 0, 255, 0});
        b.Short(ifd1, 256, {2}).Short(ifd1, 257, {1}).Short(ifd1, 258, {8, 8, 8}).Short(ifd1, 259, {1});
        b.Short(ifd1, 262, {2}).PointToBlob(ifd1, 273, strip).Short(ifd1, 277, {3}).Short(ifd1, 278, {1});
        b.Long(ifd1, 279, {6});
        return b;
    };
    const TiffBuilder probe = build(0);
    return build(probe.BlobOffset(0)).Build(exifPrefix);
}

}  // namespace velmora::test
