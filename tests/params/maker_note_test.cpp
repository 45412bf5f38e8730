#include "params/maker_note.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/byte_writer.h"

namespace velmora {
namespace {

using Bytes = std::vector<uint8_t>;
using test::AppendU16;
using test::AppendU32;

// The maker note sits inside a stream the way an EXIF APP1 payload holds it: "Exif\0\0", a TIFF
// header, then the maker-note directory at offset 8 from the header, followed by its data area.
constexpr int64_t kBase = 6;
constexpr uint32_t kNoteOffset = 8;

class NoteWriter {
public:
    explicit NoteWriter(bool littleEndian) : le_(littleEndian) {}

    Bytes U16(uint16_t v) const {
        Bytes b;
        AppendU16(b, v, le_);
        return b;
    }
    Bytes U32(uint32_t v) const {
        Bytes b;
        AppendU32(b, v, le_);
        return b;
    }
    static Bytes Cat(Bytes a, const Bytes& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    // field: the 4 value bytes in file order.
    void Entry(uint16_t tag, uint16_t type, uint32_t count, const Bytes& field) {
        dir_ = Cat(dir_, Cat(Cat(U16(tag), U16(type)), Cat(U32(count), field)));
        ++entries_;
    }
    // Offset relative to the TIFF header, as the file would hold it.
    void Pointing(uint16_t tag, uint16_t type, uint32_t count, uint32_t offset) {
        Entry(tag, type, count, U32(offset));
    }
    // Offset of the data area, once all entries are known.
    uint32_t DataArea(uint16_t declared) const { return kNoteOffset + 2 + 12 * declared; }

    Bytes Build(const Bytes& data, int declared = -1) const {
        Bytes out = {'E', 'x', 'i', 'f', 0, 0};
        out = Cat(out, le_ ? Bytes{'I', 'I', 42, 0, 8, 0, 0, 0} : Bytes{'M', 'M', 0, 42, 0, 0, 0, 8});
        out = Cat(out, U16(uint16_t(declared < 0 ? entries_ : declared)));
        return Cat(Cat(out, dir_), data);
    }

private:
    bool le_;
    Bytes dir_;
    int entries_ = 0;
};

TIFFTag MakerNoteTag(uint32_t length, uint32_t offset = kNoteOffset) {
    return TIFFTag{37500, kTiffUndefined, length, offset};
}

TTagsHandler HandlerWithOldContent() {
    TTagsHandler h;
    h.SetData({1, 0, 1, 0, 3, 0, 1, 0, 0, 0, 5, 0, 0, 0});
    h.Update();
    return h;
}

TEST(MakerNoteTest, UnusableMakerNotesLeaveTheBlockEmpty) {
    NoteWriter w(true);
    w.Entry(1, kTiffShort, 1, NoteWriter::Cat(w.U16(5), {0, 0}));
    const Bytes good = w.Build({});

    NoteWriter typed(true);
    typed.Entry(1, kTiffShort, 1, NoteWriter::Cat(typed.U16(5), {0, 0}));
    typed.Entry(2, 13, 1, typed.U32(1));
    const Bytes badType = typed.Build({});

    const Bytes tooMany = NoteWriter(true).Build(Bytes(12 * 300, 1), 300);
    const Bytes cutShort = w.Build({}, 2);  // claims two entries, holds one

    struct Case {
        const char* name;
        Bytes stream;
        bool hasTag;
        TIFFTag tag;
    };
    const std::vector<Case> cases = {
        {"no maker note", good, false, {}},
        {"zero bytes", good, true, MakerNoteTag(0)},
        {"one byte", good, true, MakerNoteTag(1)},
        {"one byte left in the stream", good, true, MakerNoteTag(50, uint32_t(good.size() - kBase - 1))},
        {"offset beyond the stream", good, true, MakerNoteTag(14, 5000)},
        {"negative offset", good, true, MakerNoteTag(14, 0x80000000u)},
        {"300 entries", tooMany, true, MakerNoteTag(0xFFFF)},
        {"shorter than its entries", cutShort, true, MakerNoteTag(0xFFFF)},
        {"type 13", badType, true, MakerNoteTag(0xFFFF)},
    };
    for (const Case& c : cases) {
        TMemoryStream stream(c.stream);
        TTagsHandler h = HandlerWithOldContent();
        LoadMakerNote(stream, true, kBase, c.hasTag ? &c.tag : nullptr, h);
        EXPECT_EQ(h.DataSize(), 0) << c.name;
    }

    // The same note read in full is usable, so the cases above fail for the stated reason only.
    TMemoryStream stream(good);
    TTagsHandler h;
    const TIFFTag tag = MakerNoteTag(14);
    LoadMakerNote(stream, true, kBase, &tag, h);
    EXPECT_EQ(h.GetInteger(1), 5);
}

TEST(MakerNoteTest, EmptyDirectoryGivesATwoByteBlock) {
    TMemoryStream stream(NoteWriter(true).Build({}));
    TTagsHandler h = HandlerWithOldContent();
    const TIFFTag tag = MakerNoteTag(2);
    LoadMakerNote(stream, true, kBase, &tag, h);
    EXPECT_EQ(h.Data().Bytes(), (Bytes{0, 0}));
    EXPECT_TRUE(h.Tags().empty());
}

// The same maker note in either byte order normalises to one little-endian block: kept entries
// with new data offsets, dropped ones leaving zero slots, data in entry order.
TEST(MakerNoteTest, CopiesKeptEntriesIntoALittleEndianBlock) {
    constexpr uint16_t kEntries = 9;
    const uint32_t blockData = 2 + 12 * kEntries;
    Bytes expected;
    AppendU16(expected, kEntries, true);
    auto entry = [&expected](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        AppendU16(expected, tag, true);
        AppendU16(expected, type, true);
        AppendU32(expected, count, true);
        AppendU32(expected, value, true);
    };
    entry(1, kTiffShort, 3, blockData);
    entry(2, kTiffShort, 2, 7 | 8u << 16);
    entry(6, kTiffAscii, 10, blockData + 6);
    entry(8, kTiffLong, 1, 0x01020304);
    entry(13, kTiffByte, 3, 0x030201);
    entry(14, kTiffRational, 1, blockData + 16);
    expected.resize(blockData, 0);
    for (uint16_t v : {100, 200, 65535}) AppendU16(expected, v, true);
    const std::string name("PowerShot\0", 10);
    expected.insert(expected.end(), name.begin(), name.end());
    AppendU32(expected, 300, true);
    AppendU32(expected, 7, true);

    for (const bool le : {true, false}) {
        NoteWriter w(le);
        // File data area: a gap, the text, the SHORT array, the rational (not in entry order).
        const uint32_t area = w.DataArea(kEntries);
        Bytes data = {0xAA, 0xBB, 0xCC};
        data.insert(data.end(), name.begin(), name.end());
        for (uint16_t v : {100, 200, 65535}) data = NoteWriter::Cat(data, w.U16(v));
        data = NoteWriter::Cat(data, NoteWriter::Cat(w.U32(300), w.U32(7)));

        w.Pointing(1, kTiffShort, 3, area + 13);
        w.Entry(2, kTiffShort, 2, NoteWriter::Cat(w.U16(7), w.U16(8)));
        w.Pointing(6, kTiffAscii, 10, area + 3);
        w.Entry(8, kTiffLong, 1, w.U32(0x01020304));
        w.Entry(13, kTiffByte, 3, {1, 2, 3, 0});
        w.Pointing(14, kTiffRational, 1, area + 19);
        w.Entry(9, kTiffShort, 1, {0, 0, 0, 0});       // inline value 0: dropped
        w.Pointing(10, kTiffUndefined, 20, 1000);       // data outside the stream: dropped
        w.Pointing(12, kTiffLong, 0xFFFFFFFFu, 16);     // count beyond the stream: dropped
        TMemoryStream stream(w.Build(data));

        TTagsHandler h;
        const TIFFTag tag = MakerNoteTag(0xFFFF);  // longer than the stream: read what is there
        LoadMakerNote(stream, le, kBase, &tag, h);

        SCOPED_TRACE(le ? "little-endian file" : "big-endian file");
        EXPECT_EQ(h.Data().Bytes(), expected);
        EXPECT_EQ(h.Tags().size(), kEntries);
        EXPECT_EQ(h.GetIntegerIndexed(1, 2), 65535);
        EXPECT_EQ(h.GetIntegerIndexed(2, 1), 8);
        EXPECT_EQ(h.GetString(6), "PowerShot");
        EXPECT_EQ(h.GetInteger(8), 0x01020304);
        EXPECT_EQ(h.GetRawData(13), (Bytes{1, 2, 3}));
        EXPECT_DOUBLE_EQ(h.GetRational(14), 300.0 / 7.0);
        EXPECT_FALSE(h.TagExists(9));
        EXPECT_FALSE(h.TagExists(10));
    }
}

TEST(MakerNoteTest, CopiedDataNeverExceedsTheStreamSize) {
    // Three entries share one 40-byte area; copying all three would take more than the stream.
    NoteWriter w(true);
    const uint32_t area = w.DataArea(3);
    for (uint16_t tag = 1; tag <= 3; ++tag) w.Pointing(tag, kTiffUndefined, 40, area);
    const Bytes file = w.Build(Bytes(40, 0x5A));
    ASSERT_LT(file.size(), 120u);
    ASSERT_GT(file.size(), 80u);

    TMemoryStream stream(file);
    TTagsHandler h;
    const TIFFTag tag = MakerNoteTag(0xFFFF);
    LoadMakerNote(stream, true, kBase, &tag, h);
    EXPECT_TRUE(h.TagExists(1));
    EXPECT_TRUE(h.TagExists(2));
    EXPECT_FALSE(h.TagExists(3));
    EXPECT_EQ(h.DataSize(), 2 + 36 + 80);
    EXPECT_EQ(h.GetRawData(2), Bytes(40, 0x5A));
}

}  // namespace
}  // namespace velmora
