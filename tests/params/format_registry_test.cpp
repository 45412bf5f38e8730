#include "params/format_registry.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(FormatRegistry, StartUpOrderAndReadWriteFlags) {
    struct Row {
        int32_t type;
        bool read;
        bool write;
    };
    const Row expected[] = {
        {ioTIFF, true, true}, {ioGIF, true, true},  {ioJPEG, true, true}, {ioPCX, true, true},
        {ioBMP, true, true},  {ioICO, true, true},  {ioCUR, true, false}, {ioPNG, true, true},
        {ioWMF, true, false}, {ioEMF, true, false}, {ioTGA, true, true},  {ioPXM, true, true},
        {ioWBMP, true, true}, {ioJP2, true, true},  {ioJ2K, true, true},  {ioPS, false, true},
        {ioPDF, false, true}, {ioDCX, true, true},  {ioRAW, true, false}, {ioPSD, true, true},
    };
    ASSERT_EQ(FileFormatCount(), 20);
    for (int i = 0; i < 20; ++i) {
        const TFileFormatInfo& f = FileFormatAt(i);
        EXPECT_EQ(f.FileType, expected[i].type) << i;
        EXPECT_EQ(f.ReadProc != nullptr, expected[i].read) << i;
        EXPECT_EQ(f.WriteProc != nullptr, expected[i].write) << i;
        EXPECT_EQ(f.TryProc != nullptr, f.FileType == ioWBMP) << i;
        EXPECT_TRUE(f.IsInternal) << i;
    }
    EXPECT_EQ(FileFormatGetInfo(ioPXM)->DisplayName, "Portable Pixmap, GrayMap, BitMap");
    EXPECT_EQ(FileFormatGetInfo(ioRAW)->ExtensionList, "CRW;CR2;NEF;RAW;PEF;RAF;X3F;BAY;ORF;SRF;MRW;DCR;SR2");
    EXPECT_EQ(FileFormatGetInfo(ioAVI), nullptr);
}

TEST(FormatRegistry, ExtensionLookupIgnoresCaseAndOneLeadingDot) {
    const struct {
        const char* ext;
        int32_t type;  // 0: no entry
    } cases[] = {
        {"jpg", ioJPEG}, {".JPEG", ioJPEG}, {"JiF", ioJPEG}, {".tif", ioTIFF},  {"G3F", ioTIFF},
        {"cr2", ioRAW},  {".Sr2", ioRAW},   {"eps", ioPS},   {"pix", ioTGA},    {"j2c", ioJ2K},
        {"dng", 0},      {"avi", 0},        {"", 0},         {".", 0},          {"..jpg", 0},
        {"jp", 0},       {"tif;gif", 0},
    };
    for (const auto& c : cases) {
        const TFileFormatInfo* f = FileFormatGetInfo2(c.ext);
        EXPECT_EQ(f ? f->FileType : 0, c.type) << c.ext;
    }
}

TEST(FormatRegistry, ExtensionsByPosition) {
    EXPECT_EQ(FileFormatGetExtCount(ioTIFF), 6);
    EXPECT_EQ(FileFormatGetExt(ioTIFF, 0), "TIF");
    EXPECT_EQ(FileFormatGetExt(ioTIFF, 5), "XIF");
    EXPECT_EQ(FileFormatGetExt(ioTIFF, 6), "");
    EXPECT_EQ(FileFormatGetExt(ioTIFF, -1), "");
    EXPECT_EQ(FileFormatGetExtCount(ioGIF), 1);
    EXPECT_EQ(FileFormatGetExt(ioGIF, 0), "GIF");
    EXPECT_EQ(FileFormatGetExtCount(ioAVI), 0);
    EXPECT_EQ(FileFormatGetExt(ioAVI, 0), "");
}

TEST(FormatRegistry, AddedEntriesAreCopiedAndRemovable) {
    constexpr int32_t kType = 900;
    TFileFormatInfo info;
    info.FileType = kType;
    info.DisplayName = std::string(100, 'N');
    info.ExtensionList = "XYZ;JPG";
    info.IsInternal = false;
    FileFormatAdd(info);
    info.DisplayName = "changed after adding";

    ASSERT_EQ(FileFormatCount(), 21);
    ASSERT_NE(FileFormatGetInfo(kType), nullptr);
    EXPECT_EQ(FileFormatGetInfo(kType)->DisplayName, std::string(80, 'N'));
    EXPECT_EQ(FileFormatGetInfo2(".xyz")->FileType, kType);
    EXPECT_EQ(FileFormatGetInfo2("jpg")->FileType, ioJPEG);  // the first entry wins

    FileFormatRemove(kType);
    FileFormatRemove(kType);
    EXPECT_EQ(FileFormatGetInfo(kType), nullptr);
    EXPECT_EQ(FileFormatCount(), 20);
}

}  // namespace
}  // namespace velmora
