#include "params/marker_list.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/byte_writer.h"

namespace velmora {
namespace {

struct Marker {
    uint8_t type;
    std::string data;
};

void Fill(TMarkerList& list, const std::vector<Marker>& markers) {
    for (const Marker& m : markers) list.AddMarker(m.type, m.data.data(), static_cast<uint16_t>(m.data.size()));
}

std::vector<Marker> Contents(const TMarkerList& list) {
    std::vector<Marker> out;
    for (int i = 0; i < list.GetCount(); ++i) {
        const auto* data = reinterpret_cast<const char*>(list.GetMarkerData(i));
        out.push_back({list.GetMarkerType(i), std::string(data, data + list.GetMarkerLength(i))});
    }
    return out;
}

bool operator==(const Marker& a, const Marker& b) { return a.type == b.type && a.data == b.data; }

void PrintTo(const Marker& m, std::ostream* os) { *os << std::hex << int(m.type) << ":" << m.data; }

const std::string kExif("Exif\0\0MM", 8);
const std::string kXmp = "http://ns.adobe.com/xap/1.0/";

TEST(MarkerListTest, SortOrdersByTypeAndPutsExifFirstAmongApp1) {
    struct Case {
        const char* name;
        std::vector<Marker> input;
        std::vector<Marker> expected;
    };
    const std::vector<Case> cases = {
        {"empty", {}, {}},
        {"xmp app0 exif", {{0xE1, kXmp}, {0xE0, "JFIF"}, {0xE1, kExif}},
         {{0xE0, "JFIF"}, {0xE1, kExif}, {0xE1, kXmp}}},
        {"com and app13 around", {{0xFE, "note"}, {0xED, "iptc"}, {0xE1, kXmp}, {0xE1, kExif}, {0xE2, "icc"}},
         {{0xE1, kExif}, {0xE1, kXmp}, {0xE2, "icc"}, {0xED, "iptc"}, {0xFE, "note"}}},
        // "Exif" without its zero byte is not an EXIF block.
        {"not exif", {{0xE1, kXmp}, {0xE1, "Exif"}}, {{0xE1, kXmp}, {0xE1, "Exif"}}},
    };
    for (const Case& c : cases) {
        TMarkerList list;
        Fill(list, c.input);
        list.Sort();
        EXPECT_EQ(Contents(list), c.expected) << c.name;
    }
}

TEST(MarkerListTest, EditingOperationsKeepTypesAndDataAligned) {
    TMarkerList list;
    Fill(list, {{0xE0, "a"}, {0xE1, "bb"}, {0xE1, "ccc"}});
    EXPECT_EQ(list.IndexOf(0xE1), 1);
    EXPECT_EQ(list.IndexOf(0xFE), -1);

    list.InsertMarker(0, "zz", 0xFE, 2);
    list.SetMarker(2, 0xED, "set", 3);
    list.DeleteMarker(3);
    EXPECT_EQ(Contents(list), (std::vector<Marker>{{0xFE, "zz"}, {0xE0, "a"}, {0xED, "set"}}));

    TMemoryStream stream = list.GetMarkerStream(2);
    EXPECT_EQ(stream.Position(), 0);
    EXPECT_EQ(stream.Bytes(), (std::vector<uint8_t>{'s', 'e', 't'}));

    TMarkerList copy;
    copy.AddMarker(0xE5, "old", 3);
    copy.Assign(&list);
    EXPECT_EQ(Contents(copy), Contents(list));
    copy.Assign(nullptr);
    EXPECT_EQ(copy.GetCount(), 3);
}

TEST(MarkerListTest, StreamRoundTripKeepsOrderTypesAndBytes) {
    TMarkerList list;
    Fill(list, {{0xE1, kExif}, {0xE0, ""}, {0xFE, std::string(300, 'x')}});
    TMemoryStream stream;
    list.SaveToStream(stream);
    EXPECT_EQ(stream.Size(), 5 + 3 * 5 + 8 + 0 + 300);
    EXPECT_EQ(stream.Bytes()[0], 0);  // version
    EXPECT_EQ(stream.Bytes()[1], 3);  // count, little-endian

    TMarkerList loaded;
    loaded.AddMarker(0xE9, "stale", 5);
    stream.Seek(0);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(Contents(loaded), Contents(list));
}

// Serialised entries: version, count, then type, length and data.
std::vector<uint8_t> Serialised(int32_t count, const std::vector<std::pair<uint8_t, int32_t>>& entries,
                                size_t dataAvailable) {
    std::vector<uint8_t> out = {0};
    test::AppendU32(out, uint32_t(count), true);
    for (const auto& [type, length] : entries) {
        out.push_back(type);
        test::AppendU32(out, uint32_t(length), true);
        if (length > 0) out.insert(out.end(), std::min<size_t>(length, dataAvailable), 'd');
    }
    return out;
}

TEST(MarkerListTest, LoadStopsAtInvalidLengthOrCountKeepingWhatWasRead) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        int expectedCount;
    };
    std::vector<Case> cases = {
        {"empty stream", {}, 0},
        {"negative count", Serialised(-1, {{0xE0, 1}}, 1), 0},
        {"count beyond the entries", Serialised(0x7FFFFFFF, {{0xE0, 2}, {0xE1, 1}}, 10), 2},
        {"length beyond the stream", Serialised(2, {{0xE0, 2}, {0xE1, 1000}}, 10), 1},
        {"negative length", Serialised(2, {{0xE0, 2}, {0xE1, -5}}, 10), 1},
        {"length above a segment's size", Serialised(1, {{0xE1, 70000}}, 70000), 0},
        {"entry header cut", Serialised(2, {{0xE0, 1}}, 1), 1},
    };
    // The second entry's header stops after its type and one length byte.
    cases.back().bytes.insert(cases.back().bytes.end(), {0xE1, 0x01});
    for (const Case& c : cases) {
        TMemoryStream stream(c.bytes);
        TMarkerList list;
        list.LoadFromStream(stream);
        EXPECT_EQ(list.GetCount(), c.expectedCount) << c.name;
        if (c.expectedCount > 0) {
            EXPECT_EQ(list.GetMarkerType(0), 0xE0) << c.name;
        }
    }
}

}  // namespace
}  // namespace velmora
