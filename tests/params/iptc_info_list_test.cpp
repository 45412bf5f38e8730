#include "params/iptc_info_list.h"
#include "tests/support/container_contents.h"

#include <climits>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/byte_writer.h"

namespace velmora {
namespace {

using test::Contents;
using test::Dataset;

TEST(IptcInfoListTest, LookupsAndInsertion) {
    TIPTCInfoList list;
    list.AddStringItem(2, 5, "Title");
    list.AddBufferItem(2, 25, "one", 3);
    list.AddStringItem(2, 25, "two");

    EXPECT_EQ(list.IndexOf(2, 25), 1);
    EXPECT_EQ(list.IndexOf(1, 25), -1);
    EXPECT_EQ(list.GetStrings(-1), "");
    EXPECT_EQ(list.GetStrings(list.GetCount()), "");

    TIPTCInfoList single;
    single.AddStringItem(2, 5, "five");
    single.InsertStringItem(0, 2, 25, "keyword");
    single.InsertStringItem(single.GetCount(), 2, 120, "appended");
    EXPECT_EQ(Contents(single),
              (std::vector<Dataset>{{2, 25, "keyword"}, {2, 5, "five"}, {2, 120, "appended"}}));
}

TEST(IptcInfoListTest, ValuesAreRawBytesOfExactLength) {
    TIPTCInfoList list;
    const std::string bytes("a\0b\xff", 4);
    list.AddStringItem(2, 5, bytes);
    EXPECT_EQ(list.GetStrings(0), bytes);
    list.SetStrings(0, "");
    EXPECT_EQ(list.GetStrings(0), "");
}

TEST(IptcInfoListTest, EveryChangeMarksTheListEdited) {
    const std::vector<std::pair<const char*, std::function<void(TIPTCInfoList&)>>> changes = {
        {"add string", [](TIPTCInfoList& l) { l.AddStringItem(2, 5, "x"); }},
        {"add buffer", [](TIPTCInfoList& l) { l.AddBufferItem(2, 5, "x", 1); }},
        {"insert", [](TIPTCInfoList& l) { l.InsertStringItem(0, 2, 5, "x"); }},
        {"set strings", [](TIPTCInfoList& l) { l.SetStrings(0, "new"); }},
        {"set record", [](TIPTCInfoList& l) { l.SetRecordNumber(0, 1); }},
        {"set dataset", [](TIPTCInfoList& l) { l.SetDataSet(0, 80); }},
        {"delete", [](TIPTCInfoList& l) { l.DeleteItem(0); }},
        {"clear", [](TIPTCInfoList& l) { l.Clear(); }},
        {"assign", [](TIPTCInfoList& l) { TIPTCInfoList other; l.Assign(&other); }},
        {"load from stream", [](TIPTCInfoList& l) { TMemoryStream s; l.LoadFromStream(s); }},
    };
    TIPTCInfoList source;
    source.AddStringItem(2, 5, "Title");
    const std::vector<uint8_t> block = source.SaveToStandardBuffer(true);

    for (const auto& [name, change] : changes) {
        TIPTCInfoList list;
        list.LoadFromStandardBuffer(block.data(), block.size());
        ASSERT_FALSE(list.EditedSinceLoad) << name;
        change(list);
        EXPECT_TRUE(list.EditedSinceLoad) << name;
    }

    TIPTCInfoList list;
    EXPECT_FALSE(list.EditedSinceLoad);
    list.LoadFromStandardBuffer(block.data(), block.size());
    list.Assign(nullptr);
    EXPECT_FALSE(list.EditedSinceLoad);
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(IptcInfoListTest, StreamRoundTrip) {
    TIPTCInfoList list;
    list.AddStringItem(2, 5, "Title");
    list.AddStringItem(2, 25, "");
    list.AddStringItem(1, 90, std::string("\x1b%G", 3));
    TMemoryStream stream;
    list.SaveToStream(stream);
    EXPECT_EQ(stream.Size(), 8 + 3 * 12 + 5 + 0 + 3);

    TIPTCInfoList loaded;
    loaded.AddStringItem(2, 80, "stale");
    stream.Seek(0);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(Contents(loaded), Contents(list));
}

TEST(IptcInfoListTest, LoadFromStreamStopsAtALengthThatCannotBeRead) {
    for (const int32_t badLength : {-1, 1000, INT32_MAX}) {
        TMemoryStream stream;
        TIPTCInfoList list;
        list.AddStringItem(2, 5, "kept");
        list.AddStringItem(2, 25, "lost");
        list.SaveToStream(stream);
        // Length field of the second entry: 8 + (12 + 4) + 8.
        stream.Seek(8 + 16 + 8);
        std::vector<uint8_t> length;
        test::AppendU32(length, static_cast<uint32_t>(badLength), true);
        stream.WriteBuffer(length.data(), length.size());
        stream.Seek(0);

        TIPTCInfoList loaded;
        loaded.LoadFromStream(stream);
        EXPECT_EQ(Contents(loaded), (std::vector<Dataset>{{2, 5, "kept"}})) << badLength;
    }
}

}  // namespace
}  // namespace velmora
