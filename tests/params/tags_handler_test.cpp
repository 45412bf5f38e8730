#include "params/tags_handler.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/byte_writer.h"

namespace velmora {
namespace {

using Bytes = std::vector<uint8_t>;
using test::AppendU16;
using test::AppendU32;

struct RawEntry {
    uint16_t tag, type;
    uint32_t count, value;
};

// A maker-note block: count, entries, then the data area (whose offset is DataStart(n)).
Bytes Block(const std::vector<RawEntry>& entries, const Bytes& data) {
    Bytes b;
    AppendU16(b, static_cast<uint16_t>(entries.size()), true);
    for (const RawEntry& e : entries) {
        AppendU16(b, e.tag, true);
        AppendU16(b, e.type, true);
        AppendU32(b, e.count, true);
        AppendU32(b, e.value, true);
    }
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

uint32_t DataStart(size_t entries) { return static_cast<uint32_t>(2 + 12 * entries); }

TTagsHandler Loaded(const Bytes& block) {
    TTagsHandler h;
    h.SetData(block);
    h.Update();
    return h;
}

TEST(TagsHandlerTest, NewHandlerIsEmptyAndAnswersDefaults) {
    TTagsHandler h;
    h.Update();
    EXPECT_EQ(h.DataSize(), 0);
    EXPECT_TRUE(h.Tags().empty());
    EXPECT_FALSE(h.TagExists(1));
    EXPECT_EQ(h.TagLength(1), 0u);
    EXPECT_EQ(h.GetInteger(1), 0);
    EXPECT_EQ(h.GetIntegerIndexed(1, 0), 0);
    EXPECT_EQ(h.GetRational(1), 0.0);
    EXPECT_EQ(h.GetString(1), "");
    EXPECT_TRUE(h.GetIntegerArray(1).empty());
    EXPECT_TRUE(h.GetRawData(1).empty());
}

TEST(TagsHandlerTest, IntegerLookups) {
    const size_t n = 6;
    Bytes data;
    for (uint16_t i = 0; i < 40; ++i) AppendU16(data, uint16_t(1000 + i), true);  // SHORT array at DataStart
    AppendU32(data, 7, true);
    AppendU32(data, uint32_t(-2), true);  // LONG array after it
    const uint32_t d = DataStart(n);
    const TTagsHandler h = Loaded(Block(
        {
            {1, kTiffShort, 40, d},
            {2, kTiffShort, 2, 11 | 22u << 16},
            {3, kTiffShort, 1, 33 | 0xBEEFu << 16},
            {4, kTiffLong, 2, d + 80},
            {5, kTiffLong, 1, 123456},
            {2, kTiffShort, 1, 99},  // a second entry with tag 2 is never looked at
        },
        data));

    struct Case {
        uint16_t tag;
        int index;
        int32_t expected;
    };
    const std::vector<Case> cases = {
        {1, 0, 1000}, {1, 39, 1039}, {1, 40, 0}, {1, -1, 0},
        {2, 0, 11}, {2, 1, 22}, {2, 2, 0},
        {3, 0, 33}, {3, 7, 33},
        {4, 0, 7}, {4, 1, -2}, {4, 2, 0},
        {5, 0, 123456}, {5, 1, 0},
        {9, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(h.GetIntegerIndexed(c.tag, c.index), c.expected) << c.tag << "[" << c.index << "]";
    }

    EXPECT_EQ(h.GetInteger(2), 11);
    EXPECT_EQ(h.GetInteger(3), 33);
    EXPECT_EQ(h.GetInteger(4), static_cast<int32_t>(d + 80));  // other types: the value field itself
    EXPECT_EQ(h.TagLength(1), 40u);
    EXPECT_EQ(h.GetIntegerArray(1).size(), 40u);
    EXPECT_EQ(h.GetIntegerArray(1)[39], 1039);
    EXPECT_EQ(h.GetIntegerArray(2), (std::vector<int32_t>{11, 22}));
    EXPECT_EQ(h.GetIntegerArray(3), (std::vector<int32_t>{33}));
    EXPECT_EQ(h.GetIntegerArray(4), (std::vector<int32_t>{7, -2}));
}

TEST(TagsHandlerTest, TextsAndRationals) {
    const size_t n = 7;
    const uint32_t d = DataStart(n);
    Bytes data;
    const std::string text = std::string(31, 'C') + '\0';
    data.insert(data.end(), text.begin(), text.end());
    for (uint32_t v : {10u, 0u, 3u, 4u, uint32_t(-9), 2u}) AppendU32(data, v, true);  // three rationals
    const std::string odd = "noZero";
    data.insert(data.end(), odd.begin(), odd.end());
    const TTagsHandler h = Loaded(Block(
        {
            {1, kTiffAscii, 32, d},
            {2, kTiffRational, 3, d + 32},
            {3, kTiffSRational, 3, d + 32},
            {4, kTiffAscii, 3, 'a' | 'b' << 8},
            {5, kTiffAscii, 6, d + 56},
            {6, kTiffAscii, kMaxTiffTextCount + 1, d},
            {7, kTiffAscii, 0, 0},
        },
        data));

    EXPECT_EQ(h.GetString(1), std::string(31, 'C'));
    EXPECT_EQ(h.GetString(4), std::string("ab\0", 3));
    EXPECT_EQ(h.GetMiniString(4), std::string("ab\0", 3));
    EXPECT_EQ(h.GetMiniString(1), "");
    EXPECT_EQ(h.GetString(5), "noZero");
    EXPECT_EQ(h.GetString(6), "");
    EXPECT_EQ(h.GetString(7), "");
    EXPECT_EQ(h.GetRawData(1), Bytes(text.begin(), text.end()));
    EXPECT_EQ(h.GetRawData(4), (Bytes{'a', 'b', 0}));

    EXPECT_DOUBLE_EQ(h.GetRational(2), 10.0);  // denominator 0 reads as 1
    EXPECT_DOUBLE_EQ(h.GetRationalIndexed(2, 1), 0.75);
    EXPECT_DOUBLE_EQ(h.GetRationalIndexed(3, 2), -4.5);
    EXPECT_EQ(h.GetRationalIndexed(2, 3), 0.0);
    EXPECT_EQ(h.GetRationalIndexed(2, -1), 0.0);
}

TEST(TagsHandlerTest, ReadsPastTheBlockEndGiveZeroBytes) {
    const size_t n = 5;
    const uint32_t d = DataStart(n);
    Bytes data = {0x34, 0x12, 'h', 'i'};  // the block ends after these four bytes
    const TTagsHandler h = Loaded(Block(
        {
            {1, kTiffShort, 4, d},
            {2, kTiffAscii, 8, d + 2},
            {3, kTiffUndefined, 0xFFFFFFF0u, d},
            {4, kTiffShort, 0xFFFFFFF0u, d},
            {5, kTiffLong, 3, 0x7FFFFFFF},
        },
        data));

    EXPECT_EQ(h.GetIntegerIndexed(1, 0), 0x1234);
    EXPECT_EQ(h.GetIntegerIndexed(1, 3), 0);
    EXPECT_EQ(h.GetString(2), std::string("hi\0\0\0\0\0", 7));
    EXPECT_EQ(h.GetRawData(3), data);  // never more than the block holds
    EXPECT_EQ(h.GetIntegerArray(4), (std::vector<int32_t>{0x1234, 'h' | 'i' << 8}));
    EXPECT_EQ(h.GetIntegerIndexed(5, 2), 0);
    EXPECT_TRUE(h.GetIntegerArray(5).empty());
    EXPECT_EQ(h.GetRational(5), 0.0);
}

TEST(TagsHandlerTest, UpdateOnAnEmptyBlockKeepsThePreviousTable) {
    TTagsHandler h;
    h.SetData(Block({{1, kTiffShort, 1, 5}}, {}));
    h.Update();
    ASSERT_EQ(h.GetInteger(1), 5);

    h.ClearData();
    h.Update();
    EXPECT_EQ(h.DataSize(), 0);
    EXPECT_TRUE(h.TagExists(1));

    h.SetData(Block({{2, kTiffShort, 1, 6}}, {}));
    h.Update();
    EXPECT_FALSE(h.TagExists(1));
    EXPECT_EQ(h.GetInteger(2), 6);

    // A count larger than the entries present: the missing entries read as zeros.
    h.SetData({3, 0, 9, 0});
    h.Update();
    ASSERT_EQ(h.Tags().size(), 3u);
    EXPECT_EQ(h.Tags()[0].IdTag, 9);
    EXPECT_EQ(h.Tags()[2].IdTag, 0);
}

}  // namespace
}  // namespace velmora
