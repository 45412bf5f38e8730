#include "params/ciff_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "params/io_params.h"
#include "params/stream.h"
#include "tests/support/ciff_builder.h"
#include "tests/support/jpeg_fixtures.h"

namespace velmora {
namespace {

using test::CiffHeap;

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> Jpeg(int width, int height) { return test::EncodeJpeg({.width = width, .height = height}); }

// A CRW file laid out like a camera's: image properties with the camera name and an EXIF
// heap, texts, and thumbnail candidates of which 16x8 is the smallest.
std::vector<uint8_t> SampleCrw(bool little) {
    CiffHeap makeModel;
    makeModel.Data(0x080A, Bytes(std::string("Canon\0Canon EOS Test\0", 21)));
    CiffHeap exif;
    exif.Longs(0x1810, {640, 480, 0, 0}).Shorts(0x102D, {92, 2, 0, 40000}).Shorts(0x102A, {7, 9});
    CiffHeap props;
    props.Heap(0x2807, makeModel).Text(0x0805, "A test picture").Heap(0x300B, exif);
    CiffHeap root;
    root.Heap(0x300A, props)
        .InRecord(0x480B, Bytes("Fw 1.2"))
        .Data(0x2008, Bytes("no JPEG here"))
        .Data(0x2007, Jpeg(32, 24))
        .Data(0x2008, Jpeg(16, 8))
        .Data(0x2008, Jpeg(12, 10));
    return test::BuildCiffFile(root, little);
}

bool ReadCiff(const std::vector<uint8_t>& file, TIOParamsVals& params) {
    TMemoryStream stream(file);
    stream.Seek(3);
    const bool result = CRWGetCIFFAsExif(stream, params);
    EXPECT_EQ(stream.Position(), 3);
    return result;
}

class CiffByteOrderTest : public ::testing::TestWithParam<bool> {};

TEST_P(CiffByteOrderTest, ReadsCameraTextsSizeMakerNoteAndSmallestThumbnail) {
    TIOParamsVals params;
    ASSERT_TRUE(ReadCiff(SampleCrw(GetParam()), params));

    EXPECT_EQ(params.EXIF_Make, "Canon");
    EXPECT_EQ(params.EXIF_Model, "Canon EOS Test");
    EXPECT_EQ(params.EXIF_ImageDescription, "A test picture");
    EXPECT_EQ(params.EXIF_Software, "Fw 1.2");
    EXPECT_EQ(params.EXIF_ExifImageWidth, 640);
    EXPECT_EQ(params.EXIF_ExifImageHeight, 480);
    EXPECT_FALSE(params.EXIF_HasEXIF);

    const TTagsHandler& note = params.EXIF_MakerNote;
    ASSERT_EQ(note.Tags().size(), 2u);
    EXPECT_EQ(note.Tags()[0].IdTag, 1);
    EXPECT_EQ(note.Tags()[1].IdTag, 4);
    EXPECT_EQ(note.TagLength(1), 4u);
    const std::vector<int32_t> settings = {92, 2, 0, 40000};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(note.GetIntegerIndexed(1, i), settings[size_t(i)]) << i;
    EXPECT_EQ(note.GetIntegerIndexed(4, 0), 7);
    EXPECT_EQ(note.GetIntegerIndexed(4, 1), 9);

    ASSERT_TRUE(params.EXIF_Bitmap);
    EXPECT_EQ(params.EXIF_Bitmap->Width(), 16);
    EXPECT_EQ(params.EXIF_Bitmap->Height(), 8);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, CiffByteOrderTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "LittleEndian" : "BigEndian"; });

TEST(CiffReaderTest, DataWithoutSignatureChangesNothing) {
    TIOParamsVals params;
    params.EXIF_Make = "kept";
    std::vector<uint8_t> file = SampleCrw(true);
    file[6] = 'X';
    EXPECT_FALSE(ReadCiff(file, params));
    EXPECT_EQ(params.EXIF_Make, "kept");
    EXPECT_FALSE(params.EXIF_Bitmap);
    EXPECT_EQ(params.EXIF_MakerNote.DataSize(), 0);
}

TEST(CiffReaderTest, ReadsOnlyTheFirst256RecordsOfATable) {
    CiffHeap root;
    for (uint16_t k = 0; k < 300; ++k) root.Shorts(0x102A, {k});
    TIOParamsVals params;
    ASSERT_TRUE(ReadCiff(test::BuildCiffFile(root, true), params));
    const std::vector<TIFFTag>& tags = params.EXIF_MakerNote.Tags();
    ASSERT_EQ(tags.size(), 256u);
    EXPECT_EQ(tags.back().DataPos & 0xFFFF, 255u);
}

TEST(CiffReaderTest, TextsEndAtTheirRecord) {
    CiffHeap root;
    root.Data(0x080A, Bytes("Make")).Data(0x0805, Bytes("abc")).Data(0x080B, Bytes("tail"));
    TIOParamsVals params;
    ASSERT_TRUE(ReadCiff(test::BuildCiffFile(root, false), params));
    EXPECT_EQ(params.EXIF_Make, "Make");
    EXPECT_EQ(params.EXIF_Model, "");
    EXPECT_EQ(params.EXIF_ImageDescription, "abc");
    EXPECT_EQ(params.EXIF_Software, "tail");
}

TEST(CiffReaderTest, SubHeapsNestDeeperThanEightLevelsAreSkipped) {
    for (const int depth : {8, 9}) {
        CiffHeap heap;
        heap.Text(0x080A, "Deep");
        for (int d = 0; d < depth; ++d) {
            CiffHeap outer;
            outer.Heap(0x300A, heap);
            heap = outer;
        }
        TIOParamsVals params;
        ASSERT_TRUE(ReadCiff(test::BuildCiffFile(heap, true), params));
        EXPECT_EQ(params.EXIF_Make, depth <= kCiffMaxHeapDepth ? "Deep" : "") << depth;
    }
}

TEST(CiffReaderTest, HeapThatContainsItselfIsReadOnce) {
    // Every record names the whole root heap as its sub-heap: without a guard this never ends.
    const auto build = [](uint32_t rootLength) {
        CiffHeap root;
        root.Text(0x080A, "Loop");
        for (int k = 0; k < 200; ++k) root.Raw(0x300A, rootLength, 0);
        return root;
    };
    const uint32_t length = uint32_t(build(0).Build(true).size());
    TIOParamsVals params;
    ASSERT_TRUE(ReadCiff(test::BuildCiffFile(build(length), true), params));
    EXPECT_EQ(params.EXIF_Make, "Loop");
}

TEST(CiffReaderTest, DataOutsideItsHeapIsIgnored) {
    CiffHeap outside;
    outside.Text(0x080A, "Outside");
    const uint32_t outsideSize = uint32_t(outside.Build(true).size());

    // The sub-heap's record points just past its own end, at a heap kept in the root.
    CiffHeap probe;
    probe.Raw(0x2807, outsideSize, 0).Raw(0x0805, 1000000, 0);
    const uint32_t probeSize = uint32_t(probe.Build(true).size());
    CiffHeap inner;
    inner.Raw(0x2807, outsideSize, probeSize).Raw(0x0805, 1000000, 0);
    ASSERT_EQ(inner.Build(true).size(), probeSize);

    CiffHeap root;
    root.Heap(0x300A, inner).Heap(0x0001, outside);
    TIOParamsVals params;
    ASSERT_TRUE(ReadCiff(test::BuildCiffFile(root, true), params));
    EXPECT_EQ(params.EXIF_Make, "");
    EXPECT_EQ(params.EXIF_ImageDescription, "");

    // The same heap named from the root, which holds it, is read.
    CiffHeap direct;
    direct.Heap(0x300A, inner).Heap(0x2807, outside);
    TIOParamsVals control;
    ASSERT_TRUE(ReadCiff(test::BuildCiffFile(direct, true), control));
    EXPECT_EQ(control.EXIF_Make, "Outside");
}

TEST(CiffReaderTest, EveryTruncationIsReadSafely) {
    for (const bool little : {true, false}) {
        const std::vector<uint8_t> file = SampleCrw(little);
        for (size_t length = 0; length <= file.size(); ++length) {
            TIOParamsVals params;
            const bool read = ReadCiff(std::vector<uint8_t>(file.begin(), file.begin() + std::ptrdiff_t(length)), params);
            ASSERT_EQ(read, length >= 14) << length;
        }
    }
}

}  // namespace
}  // namespace velmora
