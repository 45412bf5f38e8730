#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "params/iptc_info_list.h"
#include "tests/support/container_contents.h"

namespace velmora {
namespace {

using Bytes = std::vector<uint8_t>;
using test::Contents;
using test::Dataset;

Bytes PhotoshopHeader(uint32_t size) {
    const std::string head("Photoshop 3.0\0" "8BIM\x04\x04\0\0", 22);
    Bytes out(head.begin(), head.end());
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(size >> shift));
    return out;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(IptcCodecTest, EmptyListEncodesToNothing) {
    TIPTCInfoList list;
    EXPECT_TRUE(list.SaveToStandardBuffer(true).empty());
    EXPECT_TRUE(list.SaveToStandardBuffer(false).empty());
}

TEST(IptcCodecTest, EncodesDatasetsInBothWrappings) {
    struct Case {
        const char* name;
        std::vector<Dataset> datasets;
        bool wrapped;
        Bytes expected;
    };
    const std::vector<Case> cases = {
        {"wrapped, even total", {{2, 5, "Title"}}, true,
         Concat(PhotoshopHeader(10), Concat({0x1C, 2, 5, 0, 5}, Text("Title")))},
        {"wrapped, padded to even", {{2, 5, "Title6"}}, true,
         Concat(Concat(PhotoshopHeader(11), Concat({0x1C, 2, 5, 0, 6}, Text("Title6"))), {0})},
        {"unwrapped starts with the record version", {{2, 5, "Title6"}}, false,
         Concat({0x1C, 2, 0, 0, 2, 0, 2}, Concat({0x1C, 2, 5, 0, 6}, Text("Title6")))},
        {"record version and empty values are left out", {{2, 0, "x"}, {2, 25, ""}, {2, 25, "abc"}}, false,
         Concat(Concat({0x1C, 2, 0, 0, 2, 0, 2}, {0x1C, 2, 25, 0, 3}), Concat(Text("abc"), {0}))},
        {"numbers are written as their low byte", {{0x102, 0x1FF, "a"}}, true,
         Concat(PhotoshopHeader(6), {0x1C, 2, 0xFF, 0, 1, 'a'})},
    };
    for (const Case& c : cases) {
        TIPTCInfoList list;
        for (const auto& [record, dataset, value] : c.datasets) list.AddStringItem(record, dataset, value);
        EXPECT_EQ(list.SaveToStandardBuffer(c.wrapped), c.expected) << c.name;
    }
}

TEST(IptcCodecTest, LargeDatasetUsesExtendedLengthAndRoundTrips) {
    TIPTCInfoList list;
    std::string big(40000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    list.AddStringItem(2, 5, "before");
    list.AddStringItem(2, 120, big);
    list.AddStringItem(2, 25, "after");

    const Bytes block = list.SaveToStandardBuffer(true);
    const size_t at = 26 + 5 + 6;
    ASSERT_GT(block.size(), at + 9);
    EXPECT_EQ(Bytes(block.begin() + at, block.begin() + at + 9),
              (Bytes{0x1C, 2, 120, 0x80, 0x04, 0x00, 0x00, 0x9C, 0x40}));
    EXPECT_EQ(Bytes(block.begin() + 22, block.begin() + 26), (Bytes{0, 0, 0x9C, 0x40 + 11 + 9 + 10}));

    TIPTCInfoList decoded;
    decoded.LoadFromStandardBuffer(block.data(), block.size());
    EXPECT_EQ(Contents(decoded), Contents(list));
    EXPECT_FALSE(decoded.EditedSinceLoad);

    const Bytes plain = list.SaveToStandardBuffer(false);
    decoded.LoadFromStandardBuffer(plain.data(), plain.size());
    EXPECT_EQ(decoded.GetCount(), 4);  // the record version dataset comes back too
    EXPECT_EQ(Contents(decoded)[0], Dataset(2, 0, std::string("\0\2", 2)));
}

TEST(IptcCodecTest, DecodingStopsAtMalformedDataKeepingEarlierDatasets) {
    const Bytes first = {0x1C, 2, 5, 0, 2, 'o', 'k'};
    struct Case {
        const char* name;
        Bytes buffer;
        std::vector<Dataset> expected;
    };
    const std::vector<Case> cases = {
        {"no tag marker", Text("Photoshop 3.0"), {}},
        {"last dataset claims more than remains", Concat(first, {0x1C, 2, 25, 0, 9, 'a', 'b'}), {{2, 5, "ok"}}},
        {"empty dataset ending exactly at the end", Concat(first, {0x1C, 2, 25, 0, 0}), {{2, 5, "ok"}}},
        {"extended header cut", Concat(first, {0x1C, 2, 25, 0x80, 4, 0, 0}), {{2, 5, "ok"}}},
        {"4-byte length of INT32_MIN", Concat(first, {0x1C, 2, 25, 0x80, 4, 0x80, 0, 0, 0, 'x', 'y'}),
         {{2, 5, "ok"}}},
        {"4-byte length of -1 counts as 1", Concat(first, {0x1C, 2, 25, 0x80, 4, 0xFF, 0xFF, 0xFF, 0xFF, 'x'}),
         {{2, 5, "ok"}, {2, 25, "x"}}},
        {"4-byte length near the maximum", Concat(first, {0x1C, 2, 25, 0x80, 4, 0x7F, 0xFF, 0xFF, 0xFF, 'x'}),
         {{2, 5, "ok"}}},
        {"another resource follows", Concat(first, Text("8BIM\x04\x0c")), {{2, 5, "ok"}}},
        {"prefix and a run of markers", Concat(Text("junk\x1C\x1C"), Bytes{2, 5, 0, 1, 'z', 0}), {{2, 5, "z"}}},
    };
    for (const Case& c : cases) {
        TIPTCInfoList list;
        list.AddStringItem(9, 9, "stale");
        list.LoadFromStandardBuffer(c.buffer.data(), c.buffer.size());
        EXPECT_EQ(Contents(list), c.expected) << c.name;
        EXPECT_FALSE(list.EditedSinceLoad) << c.name;
    }

    TIPTCInfoList list;
    list.AddStringItem(2, 5, "stale");
    list.LoadFromStandardBuffer(nullptr, 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(list.EditedSinceLoad);
}

}  // namespace
}  // namespace velmora
