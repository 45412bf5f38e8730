#include "params/tiff_env.h"

#include <gtest/gtest.h>

#include "tests/support/tiff_builder.h"

namespace velmora {
namespace {

using test::TiffBuilder;

// Reads directory index of data into env (base 0) and returns the chain length.
struct Walk {
    TMemoryStream stream;
    TTIFFEnv env;
    bool found = false;
    int count = -1;

    Walk(std::vector<uint8_t> data, bool le, int index, int64_t base = 0) : stream(std::move(data)) {
        env.Intel = le;
        env.Stream = &stream;
        env.StreamBase = base;
        const int64_t first = FirstOffset(le, base);
        found = TIFFReadIFD(index, first, env, count);
    }

    int64_t FirstOffset(bool le, int64_t base) {
        stream.Seek(base + 4);
        return stream.ReadU32(le);
    }
};

class TiffEnvByteOrder : public ::testing::TestWithParam<bool> {
protected:
    bool le() const { return GetParam(); }
};

INSTANTIATE_TEST_SUITE_P(BothOrders, TiffEnvByteOrder, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Intel" : "Motorola"; });

TEST_P(TiffEnvByteOrder, WalkLoadsTheRequestedDirectoryAndCountsTheChain) {
    TiffBuilder b(le());
    for (uint32_t i = 0; i < 3; ++i) {
        const int d = b.AddDirectory();
        b.Long(d, 256, {100 + i}).Short(d, 257, {uint16_t(200 + i)});
    }
    const auto data = b.Build();
    for (int index = 0; index < 3; ++index) {
        Walk w(data, le(), index);
        ASSERT_TRUE(w.found) << index;
        EXPECT_EQ(w.count, 3);
        ASSERT_EQ(w.env.NumTags, 2);
        EXPECT_EQ(w.env.IFD[0].IdTag, 256);
        EXPECT_EQ(w.env.IFD[0].DataType, kTiffLong);
        EXPECT_EQ(w.env.IFD[0].DataNum, 1u);
        EXPECT_EQ(TIFFReadSingleValDef(w.env, 256, -1), 100 + index);
        EXPECT_EQ(TIFFReadSingleValDef(w.env, 257, -1), 200 + index);
        EXPECT_EQ(TIFFFindTAG(257, w.env), 1);
        EXPECT_EQ(TIFFFindTAG(258, w.env), -1);
    }
    Walk beyond(data, le(), 3);
    EXPECT_FALSE(beyond.found);
    EXPECT_EQ(beyond.count, 3);
    EXPECT_TRUE(beyond.env.IFD.empty());
}

TEST_P(TiffEnvByteOrder, SelfLinksAndCyclesEndTheChain) {
    {
        TiffBuilder b(le());
        const int d = b.AddDirectory();
        b.Long(d, 256, {1});
        b.LinkNext(d, d);
        Walk w(b.Build(), le(), 0);
        EXPECT_TRUE(w.found);
        EXPECT_EQ(w.count, 1);
    }
    {
        // 0 -> 1 -> 2 -> 1: the directory already visited is not walked again.
        TiffBuilder b(le());
        std::vector<int> dirs;
        for (int i = 0; i < 3; ++i) {
            dirs.push_back(b.AddDirectory());
            b.Long(dirs.back(), 256, {uint32_t(i)});
        }
        b.LinkNext(dirs[2], dirs[1]);
        Walk w(b.Build(), le(), 5);
        EXPECT_FALSE(w.found);
        EXPECT_EQ(w.count, 3);
    }
}

TEST_P(TiffEnvByteOrder, ChainLengthIsCapped) {
    TiffBuilder b(le());
    for (int i = 0; i < kMaxDirectoryChain + 5; ++i) b.Short(b.AddDirectory(), 256, {1});
    Walk w(b.Build(), le(), kMaxDirectoryChain + 2);
    EXPECT_FALSE(w.found);
    EXPECT_EQ(w.count, kMaxDirectoryChain);
}

TEST_P(TiffEnvByteOrder, BadNextOffsetsEndTheChain) {
    for (uint32_t next : {4u, 7u, 0x80000000u, 0xFFFFFFF0u, 5000u}) {
        TiffBuilder b(le());
        const int d = b.AddDirectory();
        b.Long(d, 256, {1});
        b.SetNext(d, next);
        Walk w(b.Build(), le(), 0);
        EXPECT_TRUE(w.found) << next;
        EXPECT_EQ(w.count, 1) << next;
    }
}

TEST_P(TiffEnvByteOrder, TruncatedDirectories) {
    TiffBuilder b(le());
    const int d0 = b.AddDirectory();
    b.Long(d0, 256, {1}).Long(d0, 257, {2});
    const int d1 = b.AddDirectory();
    b.Long(d1, 256, {3}).Long(d1, 257, {4});
    const auto full = b.Build();
    const size_t d1At = b.DirectoryOffset(d1);

    // The second table is cut in its middle: the walk ends before it, the first stays readable.
    auto cut = full;
    cut.resize(d1At + 2 + 12 + 5);
    Walk first(cut, le(), 0);
    EXPECT_TRUE(first.found);
    EXPECT_EQ(first.count, 1);
    Walk second(cut, le(), 1);
    EXPECT_FALSE(second.found);

    // A table that ends exactly at the end of the data is loaded, but not counted.
    auto noNext = full;
    noNext.resize(d1At + 2 + 24);
    Walk last(noNext, le(), 1);
    EXPECT_TRUE(last.found);
    EXPECT_EQ(last.count, 1);
    EXPECT_EQ(TIFFReadSingleValDef(last.env, 257, 0), 4);

    // An entry count far beyond the data allocates nothing and ends the walk.
    auto huge = full;
    huge[8] = 0xFF;
    huge[9] = 0xFF;
    Walk bogus(huge, le(), 0);
    EXPECT_FALSE(bogus.found);
    EXPECT_EQ(bogus.count, 0);
}

TEST_P(TiffEnvByteOrder, OffsetsAreRelativeToTheBase) {
    TiffBuilder b(le());
    const int d0 = b.AddDirectory();
    b.Ascii(d0, 271, "Velmora camera");
    b.Short(b.AddDirectory(), 256, {7});
    auto data = b.Build(/*exifPrefix=*/true);
    data.insert(data.begin(), 30, 0xAB);  // 30 bytes before "Exif\0\0"
    const int64_t base = 36;
    for (int index : {0, 1}) {
        Walk w(data, le(), index, base);
        ASSERT_TRUE(w.found);
        EXPECT_EQ(w.count, 2);
        if (index == 0) {
            EXPECT_EQ(TIFFReadString(w.env, 271), "Velmora camera");
        } else {
            EXPECT_EQ(TIFFReadSingleValDef(w.env, 256, 0), 7);
        }
    }
}

TEST_P(TiffEnvByteOrder, NumericReaders) {
    TiffBuilder b(le());
    const int d = b.AddDirectory();
    b.Short(d, 256, {640})
        .Short(d, 297, {3, 9})
        .Short(d, 258, {8, 16, 32})
        .Long(d, 273, {11, 22, 33})
        .Long(d, 279, {70000})
        .Byte(d, 41728, {3})
        .Rational(d, 282, {{300, 1}, {7, 0}})
        .SRational(d, 37380, {{-2, 3}})
        .RawEntry(d, 283, kTiffRational, 1, 0xFFFFF000u)
        .RawEntry(d, 274, kTiffLong, 2, 0xFFFFF000u);
    Walk w(b.Build(), le(), 0);
    ASSERT_TRUE(w.found);
    TTIFFEnv& env = w.env;

    EXPECT_EQ(TIFFReadSingleValDef(env, 256, 0), 640);
    EXPECT_EQ(TIFFReadSingleValDef(env, 999, -5), -5);
    // The value field is converted as one 32-bit number: a SHORT of a Motorola file sits high.
    EXPECT_EQ(env.IFD[0].DataPos, le() ? 640u : 640u << 16);
    // A one-byte UNDEFINED value reads as the whole field: upper byte in a Motorola file.
    EXPECT_EQ(TIFFReadSingleValDef(env, 41728, 0), le() ? 3 : 50331648);

    EXPECT_EQ(TIFFReadIndexValN(env, 256, 0), 640);
    EXPECT_EQ(TIFFReadIndexValN(env, 256, 1), 640);
    EXPECT_EQ(TIFFReadIndexValN(env, 297, 0), 3);
    EXPECT_EQ(TIFFReadIndexValN(env, 297, 1), 9);
    EXPECT_EQ(TIFFReadIndexValN(env, 297, 2), 0);
    EXPECT_EQ(TIFFReadIndexValN(env, 258, 2), 32);
    EXPECT_EQ(TIFFReadIndexValN(env, 258, 3), 0);
    EXPECT_EQ(TIFFReadIndexValN(env, 273, 1), 22);
    EXPECT_EQ(TIFFReadIndexValN(env, 279, 0), 70000);
    EXPECT_EQ(TIFFReadIndexValN(env, 282, 0), 0);  // not SHORT or LONG
    EXPECT_EQ(TIFFReadIndexValN(env, 274, 1), 0);  // offset outside the data

    EXPECT_EQ(TIFFReadArrayIntegers(env, 258), (std::vector<int32_t>{8, 16, 32}));
    EXPECT_EQ(TIFFReadArrayIntegers(env, 297), (std::vector<int32_t>{3, 9}));
    EXPECT_EQ(TIFFReadArrayIntegers(env, 273), (std::vector<int32_t>{11, 22, 33}));
    EXPECT_EQ(TIFFReadArrayIntegers(env, 256), (std::vector<int32_t>{640}));
    EXPECT_TRUE(TIFFReadArrayIntegers(env, 274).empty());
    EXPECT_TRUE(TIFFReadArrayIntegers(env, 999).empty());

    EXPECT_DOUBLE_EQ(TIFFReadSingleRational(env, 282), 300.0);
    EXPECT_DOUBLE_EQ(TIFFReadRationalIndex(env, 282, 1), 7.0);  // zero denominator taken as 1
    EXPECT_DOUBLE_EQ(TIFFReadRationalIndex(env, 282, 2), 0.0);  // not below the count
    EXPECT_DOUBLE_EQ(TIFFReadSingleRational(env, 37380), -2.0 / 3.0);
    EXPECT_DOUBLE_EQ(TIFFReadSingleRational(env, 283), 0.0);
    EXPECT_DOUBLE_EQ(TIFFReadSingleRational(env, 999), 0.0);
}

TEST_P(TiffEnvByteOrder, TextAndRawReaders) {
    TiffBuilder b(le());
    const int d = b.AddDirectory();
    const std::string xp = std::string("H\0i\0\0\0", 6);
    b.Ascii(d, 270, "A description")
        .Ascii(d, 1, "N")
        .Undefined(d, 36864, {'0', '2', '2', '0'})
        .Ascii(d, 305, "no zero at the end", /*addZero=*/false)
        .Undefined(d, 700, {'<', 'x', '/', '>', '!'})
        .Long(d, 33723, {0x01020304, 0x05060708})
        .Byte(d, 40091, std::vector<uint8_t>(xp.begin(), xp.end()))
        .RawEntry(d, 271, kTiffAscii, kMaxTiffTextCount + 1, 20)
        .RawEntry(d, 272, kTiffAscii, kMaxTiffTextCount, 20)
        .RawEntry(d, 315, kTiffAscii, 10, 0xFFFFFF00u);
    b.AddBlob({'e', 'n', 'd'});
    const auto data = b.Build();
    Walk w(data, le(), 0);
    ASSERT_TRUE(w.found);
    TTIFFEnv& env = w.env;

    EXPECT_EQ(TIFFReadString(env, 270), "A description");
    EXPECT_EQ(TIFFReadString(env, 1), std::string("N\0", 2));  // short text keeps its zero
    EXPECT_EQ(TIFFReadMiniString(env, 1), std::string("N\0", 2));
    EXPECT_EQ(TIFFReadMiniString(env, 36864), "0220");
    EXPECT_EQ(TIFFReadString(env, 305), "no zero at the end");
    EXPECT_EQ(TIFFReadString(env, 271), "");  // count above the text limit
    // A count within the limit but beyond the data: only the bytes that are there.
    EXPECT_EQ(TIFFReadString(env, 272).size(), data.size() - 20);
    EXPECT_EQ(TIFFReadString(env, 315), "");  // offset outside the data
    EXPECT_EQ(TIFFReadString(env, 999), "");

    EXPECT_EQ(TIFFReadRawData(env, 36864), (std::vector<uint8_t>{'0', '2', '2', '0'}));
    EXPECT_EQ(TIFFReadRawData(env, 700), (std::vector<uint8_t>{'<', 'x', '/', '>', '!'}));
    const std::vector<uint8_t> longs = le() ? std::vector<uint8_t>{4, 3, 2, 1, 8, 7, 6, 5}
                                            : std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(TIFFReadRawData(env, 33723), longs);  // count x type size
    EXPECT_TRUE(TIFFReadRawData(env, 315).empty());

    EXPECT_EQ(TIFFReadWideString(env, 40091), u"Hi");
    EXPECT_EQ(TIFFReadWideString(env, 271), u"");
}

TEST(TiffEnv, TypeSizes) {
    const int expected[] = {1, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 0};
    for (uint16_t t = 0; t < 14; ++t) EXPECT_EQ(TiffTypeSize(t), expected[t]) << t;
    EXPECT_EQ(TiffTypeSize(0xFFFF), 0);
}

TEST(TiffEnv, NoStreamOrEmptyStream) {
    TTIFFEnv env;
    int count = -1;
    EXPECT_FALSE(TIFFReadIFD(0, 8, env, count));
    EXPECT_EQ(count, 0);
    TMemoryStream empty;
    env.Stream = &empty;
    EXPECT_FALSE(TIFFReadIFD(0, 8, env, count));
    EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace velmora
