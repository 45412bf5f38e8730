#include "params/format_detection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <unistd.h>

#include "params/format_registry.h"
#include "params/image_io.h"
#include "tests/support/byte_writer.h"
#include "tests/support/tiff_builder.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using test::PatchU16;
using test::PatchU32;
using test::TiffBuilder;
using namespace std::string_literals;

Bytes Str(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Padded(Bytes v, size_t size) {
    v.resize(size, 0);
    return v;
}

int32_t Detect(const Bytes& data) {
    TMemoryStream s(data);
    return FindStreamFormat(s);
}

struct IconEntry {
    uint8_t reserved = 0;
    uint32_t bytes = 40;
    uint32_t offset = 0;  // 0: just after the directory
};

Bytes Icon(uint16_t type, const std::vector<IconEntry>& entries, size_t size, uint16_t count = 0xFFFF) {
    Bytes b(std::max<size_t>(size, 6 + 16 * entries.size()), 0);
    PatchU16(b, 2, type, true);
    PatchU16(b, 4, count == 0xFFFF ? uint16_t(entries.size()) : count, true);
    const uint32_t dataStart = uint32_t(6 + 16 * entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t at = 6 + 16 * i;
        b[at] = b[at + 1] = 16;
        b[at + 3] = entries[i].reserved;
        PatchU16(b, at + 4, 1, true);
        PatchU16(b, at + 6, 32, true);
        PatchU32(b, at + 8, entries[i].bytes, true);
        PatchU32(b, at + 12, entries[i].offset ? entries[i].offset : dataStart, true);
    }
    b.resize(size);
    return b;
}

Bytes Tga(uint8_t mapType, uint8_t imageType, uint16_t width, uint16_t height, uint8_t depth) {
    Bytes b(18 + 12, 0x55);
    b[0] = 0;
    b[1] = mapType;
    b[2] = imageType;
    PatchU16(b, 12, width, true);
    PatchU16(b, 14, height, true);
    b[16] = depth;
    b[17] = 0;
    return b;
}

Bytes Psd(uint16_t version, uint16_t channels, uint16_t depth, uint16_t mode) {
    Bytes b = Padded(Str("8BPS"), 40);
    PatchU16(b, 4, version, false);
    PatchU16(b, 12, channels, false);
    b[17] = 8;  // height
    b[21] = 8;  // width
    PatchU16(b, 22, depth, false);
    PatchU16(b, 24, mode, false);
    return b;
}

Bytes Wmf(bool placeable, uint16_t type, uint16_t headerSize, uint16_t parameters) {
    Bytes b(80, 0);
    const size_t at = placeable ? 22 : 0;
    if (placeable) PatchU32(b, 0, 0x9AC6CDD7u, true);
    PatchU16(b, at, type, true);
    PatchU16(b, at + 2, headerSize, true);
    PatchU16(b, at + 4, 0x300, true);
    PatchU16(b, at + 16, parameters, true);
    return b;
}

Bytes Emf(uint32_t type, uint32_t signature) {
    Bytes b(88, 0);
    PatchU32(b, 0, type, true);
    PatchU32(b, 4, 88, true);
    PatchU32(b, 40, signature, true);
    return b;
}

Bytes Dcx(const std::vector<uint32_t>& pages, size_t size) {
    Bytes b(std::max<size_t>(size, 4 + 4 * pages.size()), 0x11);
    PatchU32(b, 0, 987654321u, true);
    for (size_t i = 0; i < pages.size(); ++i) PatchU32(b, 4 + 4 * i, pages[i], true);
    b.resize(size);
    return b;
}

Bytes Tiff(bool le, const std::function<void(TiffBuilder&, int)>& fill) {
    TiffBuilder b(le);
    const int d = b.AddDirectory();
    fill(b, d);
    return b.Build();
}

void Size(TiffBuilder& b, int d, uint32_t w, uint32_t h) { b.Long(d, 256, {w}).Long(d, 257, {h}); }

Bytes Jpeg(size_t leading) {
    Bytes b(leading, 0);
    for (uint8_t v : {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10}) b.push_back(v);
    b.resize(b.size() + 40, 0);
    return b;
}

Bytes PxmWithComments(int comments) {
    std::string text = "P6\n";
    for (int i = 0; i < comments; ++i) text += "# c\n";
    return Str(text + "3 2\n255\n");
}

struct Case {
    const char* name;
    Bytes data;
    int32_t expected;
};

std::vector<Case> ContentCases() {
    // A MM file whose byte 8 is 0xBA: a detached directory is placed first, so the header's
    // directory follows it and byte 8 can be patched freely.
    auto tiffWithByte8 = [](bool le) {
        TiffBuilder b(le);
        b.Short(b.AddDetachedDirectory(), 1, {1});
        Size(b, b.AddDirectory(), 10, 10);
        Bytes data = b.Build();
        data[8] = 0xBA;
        return data;
    };
    return {
        {"JFIF text, 13 bytes", Padded(Str("JFIF"), 13), ioJPEG},
        {"JFIF text, 12 bytes", Padded(Str("JFIF"), 12), ioUnknown},
        {"JFIF text without zero", Padded(Str("JFIFX"), 20), ioUnknown},
        {"GIF, 14 bytes", Padded(Str("GIF89a"), 14), ioGIF},
        {"GIF, 13 bytes", Padded(Str("GIF89a"), 13), ioUnknown},
        {"PCX2 text, 13 bytes", Padded(Str("PCX2"), 13), ioPCX},
        {"PCX text, 5 bytes", Padded(Str("PCX"), 5), ioPCX},
        {"PCX text, 4 bytes", Padded(Str("PCX"), 4), ioUnknown},
        {"BMP, 15 bytes", Padded(Str("BM"), 15), ioBMP},
        {"BMP, 14 bytes", Padded(Str("BM"), 14), ioUnknown},
        {"PCX header, 129 bytes", Padded({0x0A, 5, 1, 8}, 129), ioPCX},
        {"PCX header, 128 bytes", Padded({0x0A, 5, 1, 8}, 128), ioUnknown},
        {"PCX header, version 6", Padded({0x0A, 6, 1, 8}, 129), ioUnknown},
        {"TIFF text, 13 bytes", Padded(Str("TIFF"), 13), ioTIFF},
        {"TIFF II", Tiff(true, [](auto& b, int d) { Size(b, d, 10, 10); }), ioTIFF},
        {"TIFF MM", Tiff(false, [](auto& b, int d) { Size(b, d, 10, 10); }), ioTIFF},
        {"TIFF without height", Tiff(true, [](auto& b, int d) { b.Long(d, 256, {10}); }), ioUnknown},
        {"TIFF MM byte 8 is 0xBA", tiffWithByte8(false), ioUnknown},
        {"TIFF II byte 8 is 0xBA", tiffWithByte8(true), ioTIFF},
        {"TIFF first offset beyond size", Padded({'I', 'I', 42, 0, 0xFF, 0, 0, 0}, 40), ioUnknown},
        {"DNG version", Tiff(true, [](auto& b, int d) { Size(b, d, 10, 10); b.Byte(d, 50706, {1, 4, 0, 0}); }),
         ioUnknown},
        {"DNG version of type SHORT", Tiff(true, [](auto& b, int d) { Size(b, d, 10, 10); b.Short(d, 50706, {1, 4, 0, 0}); }),
         ioTIFF},
        {"DNG photometric MM", Tiff(false, [](auto& b, int d) { Size(b, d, 10, 10); b.Short(d, 262, {32803}); }),
         ioUnknown},
        {"DNG photometric II", Tiff(true, [](auto& b, int d) { Size(b, d, 10, 10); b.Short(d, 262, {34892}); }),
         ioUnknown},
        {"RGB photometric", Tiff(false, [](auto& b, int d) { Size(b, d, 10, 10); b.Short(d, 262, {2}); }), ioTIFF},
        {"photometric 32803 as LONG", Tiff(true, [](auto& b, int d) { Size(b, d, 10, 10); b.Long(d, 262, {32803}); }),
         ioTIFF},
        {"DNG small preview with SubIFDs",
         Tiff(true, [](auto& b, int d) { Size(b, d, 199, 199); b.Long(d, 330, {8}).Long(d, 37398, {1}); }), ioUnknown},
        {"large IFD0 with SubIFDs",
         Tiff(true, [](auto& b, int d) { Size(b, d, 200, 199); b.Long(d, 330, {8}).Long(d, 37398, {1}); }), ioTIFF},
        {"PNG, 9 bytes", Padded({0x89, 'P', 'N', 'G'}, 9), ioPNG},
        {"PNG, 8 bytes", Padded({0x89, 'P', 'N', 'G'}, 8), ioUnknown},
        {"icon", Icon(1, {{}, {}}, 200), ioICO},
        {"cursor", Icon(2, {{}}, 200), ioCUR},
        {"icon of exactly 22 bytes", Icon(1, {{}}, 22), ioUnknown},
        {"icon of 23 bytes", Icon(1, {{0, 40, 22}}, 23), ioICO},
        {"icon type 3", Icon(3, {{}}, 200), ioUnknown},
        {"icon without images", Icon(1, {}, 200, 0), ioUnknown},
        {"icon entry reserved byte set", Icon(1, {{}, {1, 40, 0}}, 200), ioUnknown},
        {"icon entry of size 0", Icon(1, {{}, {0, 0, 0}}, 200), ioUnknown},
        {"icon image inside its entry", Icon(1, {{0, 40, 21}}, 200), ioUnknown},
        {"icon directory cut short", Icon(1, {{}, {}}, 30, 2), ioUnknown},
        {"TGA", Tga(0, 2, 4, 4, 24), ioTGA},
        {"TGA colour-mapped RLE", Tga(1, 9, 4, 4, 8), ioTGA},
        {"TGA image type 4", Tga(0, 4, 4, 4, 24), ioUnknown},
        {"TGA depth 15", Tga(0, 2, 4, 4, 15), ioUnknown},
        {"TGA colour map type 2", Tga(2, 2, 4, 4, 24), ioUnknown},
        {"TGA zero width", Tga(0, 2, 0, 4, 24), ioUnknown},
        {"TGA zero height", Tga(0, 2, 4, 0, 24), ioUnknown},
        {"PXM with comment", Str("P6\n# made by hand\n640 480\n255\n"), ioPXM},
        {"PXM ASCII bitmap", Str("P1 2 2 0101"), ioPXM},
        {"PXM zero width", Str("P6\n0 480\n255\n"), ioUnknown},
        {"PXM width not a number", Str("P6\n64x 480\n255\n"), ioUnknown},
        {"PXM magic P7", Str("P7\n2 2\n255\n"), ioUnknown},
        {"PXM within the token budget", PxmWithComments(498), ioPXM},
        {"PXM beyond the token budget", PxmWithComments(499), ioUnknown},
        {"JPEG after 99 bytes", Jpeg(99), ioJPEG},
        {"JPEG after 100 bytes", Jpeg(100), ioUnknown},
        {"JP2", Padded({0, 0, 0, 12, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A}, 40), ioJP2},
        {"J2K", Padded({0xFF, 0x4F, 0xFF, 0x51}, 40), ioJ2K},
        {"AVI", Padded(Str("RIFF\x10\0\0\0AVI LIST"s), 40), ioAVI},
        {"WAVE", Padded(Str("RIFF\x10\0\0\0WAVEfmt "s), 40), ioUnknown},
        {"DCX", Dcx({16, 40, 0}, 64), ioDCX},
        {"DCX page at the end", Dcx({16, 64, 0}, 64), ioUnknown},
        {"DCX table without end", Dcx({8, 8}, 12), ioUnknown},
        {"DCX of 1024 pages", Dcx(std::vector<uint32_t>(1024, 8), 4 + 4 * 1024), ioDCX},
        {"WMF", Wmf(false, 1, 9, 0), ioWMF},
        {"WMF placeable", Wmf(true, 1, 9, 0), ioWMF},
        {"WMF with parameters", Wmf(false, 1, 9, 2), ioUnknown},
        {"WMF type 2", Wmf(true, 2, 9, 0), ioUnknown},
        {"WMF header size 10", Wmf(false, 1, 10, 0), ioUnknown},
        {"EMF", Emf(1, 0x464D4520u), ioEMF},
        {"EMF other signature", Emf(1, 0x20464D45u), ioUnknown},
        {"EMF other record type", Emf(2, 0x464D4520u), ioUnknown},
        {"PSD", Psd(1, 3, 8, 3), ioPSD},
        {"PSD version 2", Psd(2, 3, 8, 3), ioUnknown},
        {"PSD 25 channels", Psd(1, 25, 8, 3), ioUnknown},
        {"PSD depth 0", Psd(1, 3, 0, 3), ioUnknown},
        {"PSD mode 10", Psd(1, 3, 8, 10), ioUnknown},
        {"empty", {}, ioUnknown},
        {"text", Str("hello world, this is no image at all"), ioUnknown},
    };
}

TEST(FormatDetection, ContentTestsWithTheirBoundaries) {
    for (const Case& c : ContentCases()) EXPECT_EQ(Detect(c.data), c.expected) << c.name;
}

TEST(FormatDetection, StartsAtThePositionAndRestoresIt) {
    Bytes data = Str("junk!!!");
    const Bytes png = Padded({0x89, 'P', 'N', 'G'}, 20);
    data.insert(data.end(), png.begin(), png.end());
    TMemoryStream s(data);
    s.Seek(7);
    EXPECT_EQ(FindStreamFormat(s), ioPNG);
    EXPECT_EQ(s.Position(), 7);
    s.Seek(0);
    EXPECT_EQ(FindStreamFormat(s), ioUnknown);

    TMemoryStream jpeg(Jpeg(10));
    jpeg.Seek(3);
    EXPECT_EQ(JpegTryStream(jpeg), 10);
    EXPECT_EQ(jpeg.Position(), 3);
    EXPECT_FALSE(IsTIFFStream(jpeg));
    EXPECT_EQ(jpeg.Position(), 3);
}

// A stream whose reads fail with an exception.
class BrokenStream : public TStream {
public:
    int64_t Size() const override { return 1000; }
    int64_t Position() const override { return pos_; }
    void Seek(int64_t p) override { pos_ = p; }
    size_t Read(void*, size_t) override { throw StreamError("read error"); }

private:
    int64_t pos_ = 0;
};

TEST(FormatDetection, StreamErrorsEndTheSearchQuietly) {
    BrokenStream s;
    EXPECT_EQ(FindStreamFormat(s), ioUnknown);
}

class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() / ("velmora-detection-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }

    std::string Write(const std::string& name, const Bytes& data) const {
        const fs::path p = path_ / name;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
        return p.string();
    }
    std::string Path(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

const Bytes& TiffBytes() {
    static const Bytes data = Tiff(true, [](auto& b, int d) { Size(b, d, 10, 10); });
    return data;
}

TEST(FormatDetection, FileFormatReconcilesContentAndExtension) {
    TempDir dir;
    const Bytes jpeg = Jpeg(0), ico = Icon(1, {{}}, 100), cur = Icon(2, {{}}, 100);
    const Bytes avi = Padded(Str("RIFF\x10\0\0\0AVI LIST"s), 40);
    const Bytes dng = Tiff(false, [](auto& b, int d) { Size(b, d, 10, 10); b.Byte(d, 50706, {1, 4, 0, 0}); });
    const struct {
        const char* name;
        const Bytes& data;
        int32_t verified;
        int32_t unverified;
    } cases[] = {
        {"photo.jpg", jpeg, ioJPEG, ioJPEG},
        {"PHOTO.JPEG", jpeg, ioJPEG, ioJPEG},
        {"photo.png", jpeg, ioUnknown, ioJPEG},
        {"photo", jpeg, ioUnknown, ioJPEG},
        {"folder.jpg/photo", jpeg, ioUnknown, ioJPEG},
        {"icon.ico", ico, ioICO, ioICO},
        {"icon.cur", ico, ioCUR, ioICO},
        {"cursor.ico", cur, ioICO, ioCUR},
        {"icon.jpg", ico, ioUnknown, ioICO},
        {"raw.cr2", TiffBytes(), ioRAW, ioRAW},
        {"raw.NEF", TiffBytes(), ioRAW, ioRAW},
        {"image.tif", TiffBytes(), ioTIFF, ioTIFF},
        {"image.png", TiffBytes(), ioUnknown, ioTIFF},
        {"nikon.nef", jpeg, ioUnknown, ioJPEG},
        {"movie.avi", avi, ioUnknown, ioAVI},
        {"raw.dng", dng, ioUnknown, ioUnknown},
        {"empty.jpg", {}, ioUnknown, ioUnknown},
    };
    for (const auto& c : cases) {
        const std::string path = dir.Write(c.name, c.data);
        EXPECT_EQ(FindFileFormat(path, true), c.verified) << c.name;
        EXPECT_EQ(FindFileFormat(path, false), c.unverified) << c.name;
    }
    EXPECT_EQ(FindFileFormat(dir.Path("missing.jpg"), true), ioUnknown);
    EXPECT_EQ(FindFileFormat(dir.Path("missing.jpg"), false), ioUnknown);
    EXPECT_EQ(FindFileFormat(dir.Path("folder.jpg"), false), ioUnknown);
    EXPECT_EQ(FindFileFormat("", true), ioUnknown);
}

TEST(FormatDetection, KnownFormatsByExtension) {
    const struct {
        const char* name;
        bool known;
    } cases[] = {
        {"a.jpg", true},    {"A.JPEG", true},       {"/x/y/raw.Cr2", true}, {"b.tif", true},
        {"c.pdf", false},   {"d.eps", false},       {"e.avi", false},       {"f.AVI", false},
        {"noext", false},   {"g.", false},          {"h.tar.gz", false},    {"dir.jpg/file", false},
        {"i.jpg.txt", false}, {"j.txt.jpg", true},
    };
    for (const auto& c : cases) EXPECT_EQ(IsKnownFormat(c.name), c.known) << c.name;
}

// A format added at run time with its own content test and reader.
struct ExternalFormat {
    static constexpr int32_t kType = 901;
    static inline bool readerAborts = false;
    static inline bool readerThrows = false;
    static inline bool sawParametersOnly = false;

    ExternalFormat() {
        TFileFormatInfo info;
        info.FileType = kType;
        info.DisplayName = "Velmora test format";
        info.ExtensionList = "VLMA";
        info.IsInternal = false;
        info.TryProc = [](TStream& s, int32_t type) {
            char magic[4] = {};
            return type == kType && s.Read(magic, 4) == 4 && std::string(magic, 4) == "VLMA";
        };
        info.ReadProc = [](TStream&, TImageBitmap&, TIOParamsVals& params, TProgressRec& progress, bool parametersOnly) {
            sawParametersOnly = parametersOnly;
            if (readerThrows) throw StreamError("broken");
            params.Width = 77;
            if (readerAborts) progress.SetAborting();
        };
        FileFormatAdd(info);
        readerAborts = readerThrows = sawParametersOnly = false;
    }
    ~ExternalFormat() { FileFormatRemove(kType); }
};

TEST(FormatDetection, RegisteredTryFunctionsAndForeignExtensions) {
    ExternalFormat format;
    EXPECT_EQ(Detect(Padded(Str("VLMA"), 10)), ExternalFormat::kType);
    EXPECT_EQ(Detect(Padded(Str("GIF89a"), 20)), ioGIF);  // fixed tests come first

    TempDir dir;
    // A foreign format's extension decides whatever the content says.
    EXPECT_EQ(FindFileFormat(dir.Write("photo.vlma", Jpeg(0)), true), ExternalFormat::kType);
    EXPECT_TRUE(IsKnownFormat("photo.vlma"));
}

TEST(ImageIO, ParamsFromFileFailures) {
    TempDir dir;
    TImageIO io;
    EXPECT_EQ(io.Params.Owner(), &io);

    const std::string missing = dir.Path("missing.jpg");
    io.Params.FileType = ioJPEG;
    io.Params.XMP_Info = "left over";
    EXPECT_NO_THROW(io.ParamsFromFile(missing));
    EXPECT_EQ(io.Params.FileType, ioUnknown);
    EXPECT_EQ(io.Params.FileName, missing);

    // Truncated: too short to be recognised, so nothing is read; the record was reset.
    const std::string truncated = dir.Write("cut.gif", Str("GIF89a\x10\0"s));
    io.Params.XMP_Info = "left over";
    io.ParamsFromFile(truncated);
    EXPECT_EQ(io.Params.FileType, ioUnknown);
    EXPECT_EQ(io.Params.FileName, truncated);
    EXPECT_EQ(io.Params.XMP_Info, "");

    const std::string misnamed = dir.Write("photo.png", Jpeg(0));
    io.ParamsFromFile(misnamed);
    EXPECT_EQ(io.Params.FileType, ioUnknown);
    EXPECT_EQ(io.Params.FileName, misnamed);

    io.ParamsFromFileFormat(dir.Path("missing.wmf"), ioWMF);
    EXPECT_EQ(io.Params.FileType, ioUnknown);
    EXPECT_EQ(io.Params.FileName, dir.Path("missing.wmf"));
}

TEST(ImageIO, FormatsWithoutParameterReaderKeepTheirType) {
    TempDir dir;
    TImageIO io;
    const std::string wmf = dir.Write("drawing.wmf", Wmf(true, 1, 9, 0));
    io.ParamsFromFile(wmf);
    EXPECT_EQ(io.Params.FileType, ioWMF);
    EXPECT_EQ(io.Params.FileName, wmf);

    // A plain TIFF under a raw extension goes to the camera raw reader, whose decoder refuses it.
    const std::string raw = dir.Write("raw.cr2", TiffBytes());
    io.ParamsFromFile(raw);
    EXPECT_EQ(io.Params.FileType, ioUnknown);

    TMemoryStream emf(Emf(1, 0x464D4520u));
    io.ParamsFromStream(emf);
    EXPECT_EQ(io.Params.FileType, ioEMF);
    EXPECT_EQ(io.Params.FileName, raw);  // the stream variants leave the name alone
}

TEST(ImageIO, ReaderFailuresGiveUnknownType) {
    ExternalFormat format;
    TempDir dir;
    TImageIO io;
    const std::string path = dir.Write("x.vlma", Padded(Str("VLMA"), 16));

    io.ParamsFromFile(path);
    EXPECT_EQ(io.Params.FileType, ExternalFormat::kType);
    EXPECT_TRUE(ExternalFormat::sawParametersOnly);
    EXPECT_EQ(io.Params.Width, 77);

    ExternalFormat::readerAborts = true;
    io.ParamsFromFile(path);
    EXPECT_EQ(io.Params.FileType, ioUnknown);
    EXPECT_EQ(io.Params.FileName, path);

    ExternalFormat::readerAborts = false;
    ExternalFormat::readerThrows = true;
    io.ParamsFromFile(path);
    EXPECT_EQ(io.Params.FileType, ioUnknown);

    TMemoryStream stream(Padded(Str("VLMA"), 16));
    EXPECT_NO_THROW(io.ParamsFromStream(stream));
    EXPECT_EQ(io.Params.FileType, ioUnknown);
    ExternalFormat::readerThrows = false;
    stream.Seek(0);
    io.ParamsFromStream(stream);
    EXPECT_EQ(io.Params.FileType, ExternalFormat::kType);
}

}  // namespace
}  // namespace velmora
