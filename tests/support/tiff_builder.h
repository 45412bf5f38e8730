// Builds small TIFF structures in memory for tests, in either byte order.
//
// Layout of the result: the 8-byte header, then every directory in the order it was created
// (chain directories and detached ones alike), each followed by the out-of-line values of its
// entries, then the appended blobs. Offsets are relative to the header, also when an "Exif\0\0"
// prefix is asked for. Entries are written in the order they were added (add them by ascending
// tag for a well-formed file). Out-of-line values and blobs start at even offsets.
//
//   TiffBuilder b(/*littleEndian=*/false);
//   int ifd0 = b.AddDirectory();
//   b.Long(ifd0, 256, {640}).Long(ifd0, 257, {480}).Ascii(ifd0, 271, "Maker");
//   int exif = b.AddSubDirectory(ifd0, 34665);
//   b.Rational(exif, 33434, {{1, 250}});
//   int ifd1 = b.AddDirectory();
//   int jpeg = b.AddBlob(thumbnailBytes);
//   b.PointToBlob(ifd1, 513, jpeg).Long(ifd1, 514, {uint32_t(thumbnailBytes.size())});
//   std::vector<uint8_t> tiff = b.Build();           // or b.Build(/*exifPrefix=*/true)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora::test {

class TiffBuilder {
public:
    explicit TiffBuilder(bool littleEndian = true) : littleEndian_(littleEndian) {}

    bool LittleEndian() const { return littleEndian_; }

    // A directory appended to the main chain (the first one is pointed to by the header).
    int AddDirectory();
    // A directory outside the main chain; reference it with PointTo. Its next offset is 0.
    int AddDetachedDirectory();
    // AddDetachedDirectory plus a LONG entry tag in parent pointing to it (34665 EXIF, 34853 GPS, ...).
    int AddSubDirectory(int parent, uint16_t tag);
    // An entry of type LONG (or the given type) whose values are the offsets of the directories.
    TiffBuilder& PointTo(int dir, uint16_t tag, const std::vector<int>& targets, uint16_t type = 4);

    // Typed entries; the count is the number of values (for Ascii the bytes incl. the zero).
    TiffBuilder& Byte(int dir, uint16_t tag, const std::vector<uint8_t>& values);
    TiffBuilder& Undefined(int dir, uint16_t tag, const std::vector<uint8_t>& values);
    TiffBuilder& Ascii(int dir, uint16_t tag, const std::string& text, bool addZero = true);
    TiffBuilder& Short(int dir, uint16_t tag, const std::vector<uint16_t>& values);
    TiffBuilder& Long(int dir, uint16_t tag, const std::vector<uint32_t>& values);
    TiffBuilder& Rational(int dir, uint16_t tag, const std::vector<std::pair<uint32_t, uint32_t>>& values);
    TiffBuilder& SRational(int dir, uint16_t tag, const std::vector<std::pair<int32_t, int32_t>>& values);
    // Any type: bytes already in the file's byte order; placed inline when they fit in 4 bytes.
    TiffBuilder& Entry(int dir, uint16_t tag, uint16_t type, uint32_t count, const std::vector<uint8_t>& data);
    // An entry written exactly as given: count and value field (a 32-bit number in file order)
    // are not checked against anything; use it for bogus counts and offsets.
    TiffBuilder& RawEntry(int dir, uint16_t tag, uint16_t type, uint32_t count, uint32_t valueField);

    // Bytes placed after all directories (strips, thumbnails, maker notes ...).
    int AddBlob(const std::vector<uint8_t>& bytes);
    // A LONG entry (count 1) holding the offset of the blob.
    TiffBuilder& PointToBlob(int dir, uint16_t tag, int blob);

    // Next-directory offset of dir: a literal value, or the offset of another directory (cycles).
    TiffBuilder& SetNext(int dir, uint32_t offset);
    TiffBuilder& LinkNext(int dir, int targetDir);
    // Header overrides: the first-directory offset and the magic number (42 by default).
    TiffBuilder& SetFirstOffset(uint32_t offset);
    TiffBuilder& SetMagic(uint16_t magic);

    // Offsets (relative to the header) in the layout Build would produce now.
    uint32_t DirectoryOffset(int dir) const;
    uint32_t BlobOffset(int blob) const;

    // The TIFF bytes, optionally preceded by "Exif\0\0" as in a JPEG APP1 payload.
    std::vector<uint8_t> Build(bool exifPrefix = false) const;

    // Encodes integers in this builder's byte order (for Entry data and blob contents).
    std::vector<uint8_t> U16(uint16_t v) const;
    std::vector<uint8_t> U32(uint32_t v) const;

private:
    enum class Ref { None, Directories, Blob };
    struct EntrySpec {
        uint16_t tag = 0;
        uint16_t type = 0;
        uint32_t count = 0;
        std::vector<uint8_t> data;           // value bytes in file order
        std::optional<uint32_t> rawValue;    // RawEntry: the value field as given
        Ref ref = Ref::None;
        std::vector<int> targets;            // directories or one blob
    };
    struct DirSpec {
        std::vector<EntrySpec> entries;
        bool inChain = true;
        std::optional<uint32_t> nextLiteral;
        std::optional<int> nextDir;
    };
    struct Layout {
        std::vector<uint32_t> dirOffsets;
        std::vector<uint32_t> blobOffsets;
        uint32_t size = 0;
    };

    Layout ComputeLayout() const;
    TiffBuilder& Add(int dir, EntrySpec entry);
    uint32_t ResolvedValue(const EntrySpec& e, const Layout& layout) const;
    static uint32_t DataSize(const EntrySpec& e);

    bool littleEndian_;
    uint16_t magic_ = 42;
    std::optional<uint32_t> firstOffset_;
    std::vector<DirSpec> dirs_;
    std::vector<std::vector<uint8_t>> blobs_;
};

}  // namespace velmora::test
