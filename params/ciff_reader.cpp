#include "params/ciff_reader.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "params/byte_order.h"
#include "params/image_bitmap.h"
#include "params/jpeg_decode.h"
#include "params/jpeg_reader.h"
#include "params/progress.h"
#include "params/tiff_env.h"

namespace velmora {

namespace {

constexpr size_t kHeaderSize = 14;
constexpr size_t kRecordSize = 10;
// Storage location bits: records at or above this keep their 8 data bytes in the record itself.
constexpr uint16_t kDataInRecord = 0x4000;
constexpr uint16_t kKindMask = 0x3FFF;
// Longest text taken from one record; longer texts are cut.
constexpr size_t kMaxTextBytes = 0xFFFF;
// Distinct thumbnail candidates that are examined.
constexpr int kMaxThumbnailCandidates = 16;
// Largest maker-note block built; entries that would pass it are dropped.
constexpr size_t kMaxMakerNoteBytes = size_t(1) << 20;

enum CiffKind : uint16_t {
    kDescription = 0x0805,
    kMakeModel = 0x080A,
    kFirmware = 0x080B,
    kImageInfo = 0x1810,
    kCameraSettings = 0x102D,
    kShotInfo = 0x102A,
    kJpgFromRaw = 0x2007,
    kThumbnail = 0x2008,
};

bool IsSubHeap(uint16_t kind) {
    switch (kind) {
        case 0x2800: case 0x2807: case 0x3000: case 0x3002:
        case 0x3003: case 0x3004: case 0x300A: case 0x300B:
            return true;
        default:
            return false;
    }
}

// The text at the start of data: up to the first zero byte or the end of data.
std::string TextAt(const std::vector<uint8_t>& data, size_t from) {
    if (from >= data.size()) return {};
    const auto begin = data.begin() + std::ptrdiff_t(from);
    return std::string(begin, std::find(begin, data.end(), uint8_t(0)));
}

struct MakerEntry {
    uint16_t tag;
    std::vector<uint16_t> values;
};

struct Heap {
    int64_t start;
    int64_t length;
};

class CiffParser {
public:
    CiffParser(TStream& stream, bool little, TIOParamsVals& params)
        : stream_(stream), little_(little), params_(params), fileSize_(stream.Size()) {}

    void ParseHeap(const Heap& heap, int depth);
    void StoreThumbnail();
    void StoreMakerNote();

private:
    // Reads count bytes at the absolute position; fewer when the file ends early.
    std::vector<uint8_t> ReadAt(int64_t position, size_t count) {
        stream_.Seek(position);
        return stream_.ReadBytes(count);
    }
    void HandleRecord(uint16_t kind, const std::vector<uint8_t>& data);
    void AddMakerEntry(uint16_t tag, const std::vector<uint8_t>& data);
    void ExamineCandidate(int64_t position, uint32_t size);

    TStream& stream_;
    bool little_;
    TIOParamsVals& params_;
    int64_t fileSize_;
    int recordBudget_ = kCiffMaxRecordsTotal;
    std::vector<Heap> open_;  // heaps being parsed, outermost first
    std::vector<MakerEntry> makerEntries_;
    size_t makerBytes_ = 2;
    std::vector<int64_t> candidatesSeen_;
    std::vector<uint8_t> chosen_;
    int chosenWidth_ = 0;
    int chosenHeight_ = 0;
};

void CiffParser::ParseHeap(const Heap& heap, int depth) {
    if (depth > kCiffMaxHeapDepth || heap.length < 4) return;
    // A heap that is already being parsed (one that contains itself) is not entered again.
    for (const Heap& h : open_) {
        if (h.start == heap.start && h.length == heap.length) return;
    }

    const std::vector<uint8_t> tail = ReadAt(heap.start + heap.length - 4, 4);
    if (tail.size() < 4) return;
    const uint32_t tableOffset = LoadU32(tail.data(), little_);
    const int64_t tableRoom = heap.length - 4;
    if (tableOffset > tableRoom || tableRoom - tableOffset < 2) return;

    const std::vector<uint8_t> countBytes = ReadAt(heap.start + tableOffset, 2);
    if (countBytes.size() < 2) return;
    const int64_t recordRoom = (tableRoom - tableOffset - 2) / int64_t(kRecordSize);
    const int count = int(std::min<int64_t>({LoadU16(countBytes.data(), little_), kCiffMaxRecordsPerTable, recordRoom}));
    const std::vector<uint8_t> table = ReadAt(heap.start + tableOffset + 2, size_t(count) * kRecordSize);

    open_.push_back(heap);
    for (size_t k = 0; k + kRecordSize <= table.size() && recordBudget_ > 0; k += kRecordSize, --recordBudget_) {
        const uint8_t* record = table.data() + k;
        const uint16_t tag = LoadU16(record, little_);
        const uint16_t kind = tag & kKindMask;
        if (tag >= kDataInRecord) {
            HandleRecord(kind, std::vector<uint8_t>(record + 2, record + kRecordSize));
            continue;
        }
        const uint32_t size = LoadU32(record + 2, little_);
        const uint32_t offset = LoadU32(record + 6, little_);
        // The data must lie inside this heap.
        if (offset > heap.length || size > heap.length - offset) continue;
        const int64_t position = heap.start + offset;
        if (IsSubHeap(kind)) {
            ParseHeap({position, int64_t(size)}, depth + 1);
        } else if (kind == kJpgFromRaw || kind == kThumbnail) {
            ExamineCandidate(position, size);
        } else if (kind == kDescription || kind == kMakeModel || kind == kFirmware || kind == kImageInfo ||
                   kind == kCameraSettings || kind == kShotInfo) {
            // Texts are cut at kMaxTextBytes; maker-note data that long could not be kept anyway.
            const bool makerData = kind == kCameraSettings || kind == kShotInfo;
            const size_t limit = std::min<size_t>(size, makerData ? kMaxMakerNoteBytes : kMaxTextBytes);
            HandleRecord(kind, ReadAt(position, limit));
        }
    }
    open_.pop_back();
}

void CiffParser::HandleRecord(uint16_t kind, const std::vector<uint8_t>& data) {
    switch (kind) {
        case kDescription: params_.EXIF_ImageDescription = TextAt(data, 0); break;
        case kFirmware: params_.EXIF_Software = TextAt(data, 0); break;
        case kMakeModel: {
            // The make, its zero byte, then the model.
            std::string make = TextAt(data, 0);
            params_.EXIF_Model = TextAt(data, make.size() + 1);
            params_.EXIF_Make = std::move(make);
            break;
        }
        case kImageInfo:
            if (data.size() >= 8) {
                params_.EXIF_ExifImageWidth = int32_t(LoadU32(data.data(), little_));
                params_.EXIF_ExifImageHeight = int32_t(LoadU32(data.data() + 4, little_));
            }
            break;
        case kCameraSettings: AddMakerEntry(1, data); break;
        case kShotInfo: AddMakerEntry(4, data); break;
        default: break;
    }
}

void CiffParser::AddMakerEntry(uint16_t tag, const std::vector<uint8_t>& data) {
    const size_t count = data.size() / 2;
    const size_t outOfLine = count > 2 ? count * 2 : 0;
    if (makerEntries_.size() >= 0xFFFF || makerBytes_ + 12 + outOfLine > kMaxMakerNoteBytes) return;
    MakerEntry entry{tag, std::vector<uint16_t>(count)};
    for (size_t i = 0; i < count; ++i) entry.values[i] = LoadU16(data.data() + 2 * i, little_);
    makerBytes_ += 12 + outOfLine;
    makerEntries_.push_back(std::move(entry));
}

void CiffParser::ExamineCandidate(int64_t position, uint32_t size) {
    if (std::find(candidatesSeen_.begin(), candidatesSeen_.end(), position) != candidatesSeen_.end()) return;
    if (int(candidatesSeen_.size()) >= kMaxThumbnailCandidates) return;
    candidatesSeen_.push_back(position);

    std::vector<uint8_t> jpeg = ReadAt(position, size);
    TMemoryStream image(jpeg);
    TIOParamsVals header(params_.Owner());
    TImageBitmap unused;
    bool failed = false;
    TProgressRec progress;
    progress.Aborting = &failed;
    JpegReadOptions options;
    options.parametersOnly = true;
    options.readMetadata = false;
    options.readICC = false;
    try {
        ReadJPegStream(image, nullptr, unused, header, progress, options);
    } catch (...) {
        failed = true;
    }
    // Data the JPEG reader cannot read is no candidate.
    if (failed || header.Width <= 0 || header.Height <= 0) return;
    if (chosen_.empty() || (header.Width < chosenWidth_ && header.Height < chosenHeight_)) {
        chosen_ = std::move(jpeg);
        chosenWidth_ = header.Width;
        chosenHeight_ = header.Height;
    }
}

void CiffParser::StoreThumbnail() {
    if (!params_.EXIF_Bitmap) params_.EXIF_Bitmap = std::make_unique<TImageBitmap>();
    params_.EXIF_Bitmap->Clear();
    if (!chosen_.empty()) DecodeJpegToBitmap(chosen_.data(), chosen_.size(), *params_.EXIF_Bitmap);
}

// The block form of the tag store: a little-endian count and 12-byte entries, values of up to
// 4 bytes inside the entry, longer ones after the table in entry order.
void CiffParser::StoreMakerNote() {
    std::vector<uint8_t> block;
    auto put16 = [&block](uint16_t v) {
        block.push_back(uint8_t(v));
        block.push_back(uint8_t(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        put16(uint16_t(v));
        put16(uint16_t(v >> 16));
    };
    put16(uint16_t(makerEntries_.size()));
    uint32_t dataOffset = uint32_t(2 + 12 * makerEntries_.size());
    for (const MakerEntry& e : makerEntries_) {
        const uint32_t count = uint32_t(e.values.size());
        put16(e.tag);
        put16(kTiffShort);
        put32(count);
        if (count <= 2) {
            put16(count > 0 ? e.values[0] : 0);
            put16(count > 1 ? e.values[1] : 0);
        } else {
            put32(dataOffset);
            dataOffset += 2 * count;
        }
    }
    for (const MakerEntry& e : makerEntries_) {
        if (e.values.size() <= 2) continue;
        for (uint16_t v : e.values) put16(v);
    }
    params_.EXIF_MakerNote.SetData(block);
    params_.EXIF_MakerNote.Update();
}

}  // namespace

bool CRWGetCIFFAsExif(TStream& stream, TIOParamsVals& params) {
    StreamPositionGuard guard(stream);
    stream.Seek(0);
    uint8_t header[kHeaderSize];
    if (stream.Read(header, kHeaderSize) < kHeaderSize) return false;
    // Every CIFF file carries the signature, whatever its byte order mark says.
    if (std::memcmp(header + 6, "HEAPCCDR", 8) != 0) return false;
    const bool little = !(header[0] == 'M' && header[1] == 'M');
    const uint32_t headerLength = LoadU32(header + 2, little);
    const int64_t size = stream.Size();

    CiffParser parser(stream, little, params);
    if (headerLength >= kHeaderSize && headerLength < size) parser.ParseHeap({headerLength, size - headerLength}, 0);
    parser.StoreThumbnail();
    parser.StoreMakerNote();
    return true;
}

}  // namespace velmora
