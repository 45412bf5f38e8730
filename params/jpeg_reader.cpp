#include "params/jpeg_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <vector>

#include "params/exif_reader.h"
#include "params/format_detection.h"
#include "params/jpeg_lib_glue.h"

namespace velmora {

namespace {

constexpr size_t kSourceBufferSize = 65536;
constexpr size_t kIccScanBufferSize = 8192;
// Markers kept per read; real files carry a handful, this only bounds a hostile one.
constexpr size_t kMaxSavedMarkers = 65536;
constexpr int kMaxIccChunks = 255;

constexpr uint8_t kApp0 = 0xE0;
constexpr uint8_t kApp1 = 0xE1;
constexpr uint8_t kApp13 = 0xED;
constexpr uint8_t kCom = 0xFE;

// The XMP namespace identifier that opens an XMP packet in an APP1 segment.
constexpr char kXmpIdentifier[] = "http://ns.adobe.com/xap/1.0/";
constexpr size_t kXmpCompared = 24;
constexpr size_t kXmpMinLength = 30;

struct SavedMarker {
    uint8_t type;
    std::vector<uint8_t> data;
};

// Source manager reading a TStream through a buffer owned by libjpeg's permanent pool.
// At the end of the data it delivers an end-of-image marker, as often as it is asked.
struct StreamSource {
    jpeg_source_mgr pub;
    TStream* stream;
    JOCTET* buffer;
    // Nothing was delivered yet from the current stream.
    bool atStart;
    // The buffer holds the end-of-image marker made up at the end of the data.
    bool endReached;
    const TProgressRec* progress;
};

// Everything a read keeps between libjpeg's callbacks and the closing steps.
struct ReadContext {
    TStream* stream = nullptr;
    TStream* tableStream = nullptr;
    TImageBitmap* bitmap = nullptr;
    TIOParamsVals* params = nullptr;
    TProgressRec* progress = nullptr;
    const JpegReadOptions* options = nullptr;
    StreamSource* source = nullptr;
    std::vector<SavedMarker> markers;
    // The caller's abort flag stopped the rows, or maxRows left rows undecoded on purpose.
    bool stoppedEarly = false;
};

StreamSource* SourceOf(j_decompress_ptr cinfo) { return reinterpret_cast<StreamSource*>(cinfo->src); }
ReadContext* ContextOf(j_decompress_ptr cinfo) { return static_cast<ReadContext*>(cinfo->client_data); }

void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    StreamSource* src = SourceOf(cinfo);
    size_t count = 0;
    if (!src->endReached) {
        try {
            count = src->stream->Read(src->buffer, kSourceBufferSize);
        } catch (...) {
            count = 0;
        }
    }
    if (count == 0) {
        if (src->atStart) src->progress->SetAborting();
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        count = 2;
        src->endReached = true;
    }
    src->atStart = false;
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = count;
    return TRUE;
}

// Skips by seeking, never beyond the end of the data: a length that claims more bytes than
// the file holds ends at its end, where the next fill delivers the end-of-image marker.
void SkipInputData(j_decompress_ptr cinfo, long numBytes) {
    StreamSource* src = SourceOf(cinfo);
    if (numBytes <= 0) return;
    const size_t wanted = static_cast<size_t>(numBytes);
    if (wanted <= src->pub.bytes_in_buffer) {
        src->pub.next_input_byte += wanted;
        src->pub.bytes_in_buffer -= wanted;
        return;
    }
    const size_t beyondBuffer = wanted - src->pub.bytes_in_buffer;
    src->pub.next_input_byte += src->pub.bytes_in_buffer;
    src->pub.bytes_in_buffer = 0;
    if (src->endReached) return;
    try {
        const int64_t remaining = std::max<int64_t>(0, src->stream->Remaining());
        const int64_t step = std::min<int64_t>(remaining, static_cast<int64_t>(beyondBuffer));
        src->stream->Seek(src->stream->Position() + step);
    } catch (...) {
    }
}

void TermSource(j_decompress_ptr) {}

void AttachSource(j_decompress_ptr cinfo, TStream& stream) {
    StreamSource* src = SourceOf(cinfo);
    src->stream = &stream;
    src->atStart = true;
    src->endReached = false;
    src->pub.next_input_byte = nullptr;
    src->pub.bytes_in_buffer = 0;
}

void CreateSource(j_decompress_ptr cinfo, const TProgressRec& progress) {
    auto* src = static_cast<StreamSource*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(StreamSource)));
    std::memset(src, 0, sizeof *src);
    src->buffer = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, kSourceBufferSize));
    src->pub.init_source = InitSource;
    src->pub.fill_input_buffer = FillInputBuffer;
    src->pub.skip_input_data = SkipInputData;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = TermSource;
    src->progress = &progress;
    cinfo->src = &src->pub;
}

// Reads up to count real bytes of the data (never the made-up end marker) into target.
size_t ReadRealBytes(j_decompress_ptr cinfo, uint8_t* target, size_t count) {
    StreamSource* src = SourceOf(cinfo);
    size_t done = 0;
    while (done < count) {
        if (src->endReached) break;
        if (src->pub.bytes_in_buffer == 0) {
            FillInputBuffer(cinfo);
            if (src->endReached) break;
        }
        const size_t step = std::min(count - done, src->pub.bytes_in_buffer);
        if (target) std::memcpy(target + done, src->pub.next_input_byte, step);
        src->pub.next_input_byte += step;
        src->pub.bytes_in_buffer -= step;
        done += step;
    }
    return done;
}

// What libjpeg itself learns from the JFIF and Adobe segments, which it no longer sees
// once this reader collects APP0 and APP14 itself.
void ExamineSegment(j_decompress_ptr cinfo, uint8_t type, const std::vector<uint8_t>& data) {
    if (type == kApp0 && data.size() >= 14 && std::memcmp(data.data(), "JFIF\0", 5) == 0) {
        cinfo->saw_JFIF_marker = TRUE;
        cinfo->JFIF_major_version = data[5];
        cinfo->JFIF_minor_version = data[6];
        cinfo->density_unit = data[7];
        cinfo->X_density = static_cast<UINT16>((data[8] << 8) | data[9]);
        cinfo->Y_density = static_cast<UINT16>((data[10] << 8) | data[11]);
    } else if (type == 0xEE && data.size() >= 12 && std::memcmp(data.data(), "Adobe", 5) == 0) {
        cinfo->saw_Adobe_marker = TRUE;
        cinfo->Adobe_transform = data[11];
    }
}

// Collects the segment whose marker libjpeg just read. The payload is what follows the
// length word, cut where the data ends. False only when memory ran out.
bool CollectSegment(j_decompress_ptr cinfo) {
    ReadContext* context = ContextOf(cinfo);
    const uint8_t type = static_cast<uint8_t>(cinfo->unread_marker);
    uint8_t lengthBytes[2];
    if (ReadRealBytes(cinfo, lengthBytes, 2) < 2) return true;
    const size_t length = (size_t(lengthBytes[0]) << 8) | lengthBytes[1];
    if (length < 2) return true;
    try {
        std::vector<uint8_t> data(length - 2);
        data.resize(ReadRealBytes(cinfo, data.data(), data.size()));
        ExamineSegment(cinfo, type, data);
        if (context->markers.size() < kMaxSavedMarkers) context->markers.push_back({type, std::move(data)});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

boolean SaveSegment(j_decompress_ptr cinfo) {
    if (!CollectSegment(cinfo)) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    return TRUE;
}

// The record's colour space, samples per pixel and the decoder's output for each colour
// space a file can state; an unknown colour space changes nothing.
struct ColorSpaceRow {
    J_COLOR_SPACE inFile;
    TIOJPEGColorspace colorSpace;
    int32_t samplesPerPixel;
    J_COLOR_SPACE output;
};

constexpr ColorSpaceRow kColorSpaces[] = {
    {JCS_GRAYSCALE, ioJPEG_GRAYLEV, 1, JCS_GRAYSCALE},
    {JCS_RGB, ioJPEG_RGB, 3, JCS_RGB},
    {JCS_YCbCr, ioJPEG_YCbCr, 3, JCS_RGB},
    {JCS_CMYK, ioJPEG_CMYK, 4, JCS_CMYK},
    {JCS_YCCK, ioJPEG_YCbCrK, 4, JCS_CMYK},
};

void SetColorSpace(jpeg_decompress_struct& cinfo, TIOParamsVals& params, bool raw) {
    for (const ColorSpaceRow& row : kColorSpaces) {
        if (row.inFile != cinfo.jpeg_color_space) continue;
        params.JPEG_ColorSpace = row.colorSpace;
        params.SamplesPerPixel = row.samplesPerPixel;
        cinfo.out_color_space = row.output;
        break;
    }
    // Raw output leaves the samples as stored: YCbCr stays YCbCr. libjpeg converts into no
    // other space from grey or four channels, so those keep the output chosen above.
    if (raw && (cinfo.jpeg_color_space == JCS_YCbCr || cinfo.jpeg_color_space == JCS_RGB)) {
        cinfo.out_color_space = cinfo.jpeg_color_space;
    }
}

J_DCT_METHOD DctMethodOf(TIOJPEGDctMethod method) {
    switch (method) {
        case ioJPEG_IFAST:
            return JDCT_IFAST;
        case ioJPEG_FLOAT:
            return JDCT_FLOAT;
        default:
            return JDCT_ISLOW;
    }
}

void SetDensity(const jpeg_decompress_struct& cinfo, TIOParamsVals& params) {
    switch (cinfo.density_unit) {
        case 0:
        case 1:
            params.DpiX = cinfo.X_density;
            params.DpiY = cinfo.Y_density;
            break;
        case 2:
            params.DpiX = static_cast<int32_t>(cinfo.X_density * 2.54);
            params.DpiY = static_cast<int32_t>(cinfo.Y_density * 2.54);
            break;
        default:
            break;
    }
}

// Decodes the chosen rows into the bitmap. False when the picture cannot be held.
bool DecodeRows(jpeg_decompress_struct& cinfo, ReadContext& context) {
    if (int64_t(cinfo.output_width) * int64_t(cinfo.output_height) > TImageBitmap::kMaxPixels) return false;
    // libjpeg allocates its own buffers first, within its memory limit.
    jpeg_start_decompress(&cinfo);
    TImageBitmap& bitmap = *context.bitmap;
    if (!bitmap.Allocate(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height))) return false;
    const int64_t maxRows = context.options->maxRows;
    const JDIMENSION rows = maxRows < 0 ? cinfo.output_height
                                        : static_cast<JDIMENSION>(std::min<int64_t>(maxRows, cinfo.output_height));
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * static_cast<JDIMENSION>(cinfo.output_components), 1);
    TProgressRec& progress = *context.progress;
    progress.per1 = rows > 0 ? 100.0 / rows : 0.0;
    const bool adobeInverted = !context.options->invertCMYK;
    while (cinfo.output_scanline < rows) {
        if (progress.IsAborting()) {
            context.stoppedEarly = true;
            return true;
        }
        const int y = static_cast<int>(cinfo.output_scanline);
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1) return false;
        ConvertJpegRowToRgb(row[0], cinfo.output_components, static_cast<int>(cinfo.output_width), adobeInverted,
                            bitmap.ScanLine(y));
        progress.Report(y + 1);
    }
    if (rows < cinfo.output_height) context.stoppedEarly = true;
    return true;
}

// The libjpeg part of a read, up to the closing steps. False after a fatal libjpeg error
// (which jumps back here) or when the picture could not be decoded. Only trivially
// destructible locals live in this frame, so the jump skips no destructor.
bool RunDecompression(jpeg_decompress_struct& cinfo, JpegErrorManager& errors, ReadContext& context) {
    if (setjmp(errors.jump)) return false;
    const JpegReadOptions& options = *context.options;
    TIOParamsVals& params = *context.params;

    if (context.tableStream != nullptr && context.tableStream != context.stream) {
        AttachSource(&cinfo, *context.tableStream);
        jpeg_read_header(&cinfo, FALSE);
        jpeg_abort_decompress(&cinfo);
        // Like libjpeg's own marker list, what the tables-only datastream carried is not kept.
        context.markers.clear();
    }
    AttachSource(&cinfo, *context.stream);
    jpeg_read_header(&cinfo, TRUE);

    params.BitsPerSample = 8;
    SetColorSpace(cinfo, params, options.raw);
    cinfo.dct_method = DctMethodOf(params.JPEG_DCTMethod);
    SetDensity(cinfo, params);
    params.FreeColorMap();
    params.JPEG_Progressive = cinfo.progressive_mode != FALSE;
    params.JPEG_OriginalWidth = static_cast<int32_t>(cinfo.image_width);
    params.JPEG_OriginalHeight = static_cast<int32_t>(cinfo.image_height);
    const int denominator = JpegScaleDenominator(params.JPEG_Scale, params.JPEG_OriginalWidth,
                                                 params.JPEG_OriginalHeight, params.Width, params.Height);
    params.JPEG_Scale_Used = denominator;
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(denominator);

    if (options.parametersOnly) {
        params.Width = params.JPEG_OriginalWidth;
        params.Height = params.JPEG_OriginalHeight;
        return true;
    }
    jpeg_calc_output_dimensions(&cinfo);
    if (!DecodeRows(cinfo, context)) return false;
    params.Width = static_cast<int32_t>(cinfo.output_width);
    params.Height = static_cast<int32_t>(cinfo.output_height);
    return true;
}

// Finishes a completed full read; errors are ignored apart from too few rows taken.
void FinishDecompression(jpeg_decompress_struct& cinfo, JpegErrorManager& errors, const TProgressRec& progress) {
    if (setjmp(errors.jump)) {
        if (errors.fatalCode == JERR_TOO_LITTLE_DATA) progress.SetAborting();
        return;
    }
    jpeg_finish_decompress(&cinfo);
}

// Creates the decompression object; false when libjpeg could not.
bool CreateDecompression(jpeg_decompress_struct& cinfo, JpegErrorManager& errors, const TProgressRec& progress) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kJpegMaxLibraryMemory;
    CreateSource(&cinfo, progress);
    for (int m = 0; m < 16; ++m) jpeg_set_marker_processor(&cinfo, JPEG_APP0 + m, SaveSegment);
    jpeg_set_marker_processor(&cinfo, JPEG_COM, SaveSegment);
    return true;
}

void RebuildMarkerList(const std::vector<SavedMarker>& markers, TMarkerList& list) {
    list.Clear();
    bool firstApp0Seen = false;
    for (const SavedMarker& marker : markers) {
        if (marker.type == kApp0 && !firstApp0Seen) {
            firstApp0Seen = true;
            continue;
        }
        list.AddMarker(marker.type, marker.data.data(), static_cast<uint16_t>(marker.data.size()));
    }
}


bool IsXmpPayload(const uint8_t* data, int length) {
    return length >= static_cast<int>(kXmpMinLength) && std::memcmp(data, kXmpIdentifier, kXmpCompared) == 0;
}

// decodedBitmap: the bitmap holds this read's pixels and may be turned upright.
void HandOverMetadata(TIOParamsVals& params, TImageBitmap& bitmap, bool decodedBitmap) {
    TMarkerList& list = params.JPEG_MarkerList;
    const int count = list.GetCount();
    for (int i = 0; i < count; ++i) {
        if (list.GetMarkerType(i) == kApp13) {
            params.IPTC_Info.LoadFromStandardBuffer(list.GetMarkerData(i), static_cast<size_t>(list.GetMarkerLength(i)));
            break;
        }
    }
    for (int i = 0; i < count; ++i) {
        if (list.GetMarkerType(i) != kApp1) continue;
        const int32_t dpiX = params.DpiX;
        const int32_t dpiY = params.DpiY;
        if (LoadEXIFFromStandardBuffer(list.GetMarkerData(i), static_cast<size_t>(list.GetMarkerLength(i)), params)) {
            if (dpiX == 1 && dpiY == 1) {
                // The EXIF resolutions already arrive in dots per inch, whatever unit the block names.
                params.DpiX = static_cast<int32_t>(params.EXIF_XResolution);
                params.DpiY = static_cast<int32_t>(params.EXIF_YResolution);
            } else {
                params.DpiX = dpiX;
                params.DpiY = dpiY;
            }
            if (decodedBitmap && params.JPEG_EnableAdjustOrientation) bitmap.TurnUpright(params.EXIF_Orientation);
        }
        break;
    }
    for (int i = 0; i < count; ++i) {
        if (list.GetMarkerType(i) != kApp1) continue;
        const uint8_t* data = list.GetMarkerData(i);
        const int length = list.GetMarkerLength(i);
        if (!IsXmpPayload(data, length)) continue;
        const uint8_t* end = data + length;
        const uint8_t* zero = std::find(data, end, uint8_t(0));
        params.XMP_Info = zero == end ? std::string() : std::string(zero + 1, end);
        break;
    }
}

bool ReadExifThumbnailFirst(TStream& stream, TStream* tableStream, TImageBitmap& bitmap, TIOParamsVals& params,
                            TProgressRec& progress, const JpegReadOptions& options) {
    const int64_t start = stream.Position();
    if (params.EXIF_Bitmap) params.EXIF_Bitmap->Clear();
    params.SetJPEG_GetExifThumbnail(false);
    const int32_t wishedWidth = params.Width;
    const int32_t wishedHeight = params.Height;
    JpegReadOptions headerOptions = options;
    headerOptions.parametersOnly = true;
    headerOptions.readMetadata = true;
    headerOptions.readICC = false;
    headerOptions.maxRows = -1;
    ReadJPegStream(stream, tableStream, bitmap, params, progress, headerOptions);
    // Back to where the caller's data began, which need not be the start of the stream.
    stream.Seek(start);
    params.SetJPEG_GetExifThumbnail(true);
    if (params.EXIF_Bitmap && !params.EXIF_Bitmap->IsEmpty()) {
        bitmap = *params.EXIF_Bitmap;
        return true;
    }
    params.Width = wishedWidth;
    params.Height = wishedHeight;
    return false;
}

// Buffered byte-wise reading for the ICC scan; never reads beyond the stream's end.
class ScanReader {
public:
    explicit ScanReader(TStream& stream) : stream_(stream), buffer_(kIccScanBufferSize) {}

    bool Next(uint8_t& value) {
        if (pos_ == filled_ && !Refill()) return false;
        value = buffer_[pos_++];
        return true;
    }
    bool NextWord(size_t& value) {
        uint8_t high = 0, low = 0;
        if (!Next(high) || !Next(low)) return false;
        value = (size_t(high) << 8) | low;
        return true;
    }
    // Reads up to count bytes into target (or skips them when target is null); returns how many.
    size_t Take(uint8_t* target, size_t count) {
        size_t done = 0;
        while (done < count) {
            if (pos_ == filled_ && !Refill()) break;
            const size_t step = std::min(count - done, filled_ - pos_);
            if (target) std::memcpy(target + done, buffer_.data() + pos_, step);
            pos_ += step;
            done += step;
        }
        return done;
    }

private:
    bool Refill() {
        filled_ = stream_.Read(buffer_.data(), buffer_.size());
        pos_ = 0;
        return filled_ > 0;
    }

    TStream& stream_;
    std::vector<uint8_t> buffer_;
    size_t filled_ = 0;
    size_t pos_ = 0;
};

enum class ScanAction { Continue, Skip, IccCandidate, Stop };

ScanAction ScanActionOf(uint8_t code) {
    if (code <= 0xBF || (code >= 0xD0 && code <= 0xD8) || code == 0xFF) return ScanAction::Continue;
    if (code == 0xE2) return ScanAction::IccCandidate;
    if (code == 0xC4 || code == 0xC8 || code == 0xCC || (code >= 0xDA && code <= 0xFE)) return ScanAction::Skip;
    return ScanAction::Stop;
}

}  // namespace

int JpegScaleDenominator(TIOJPEGScale scale, int storedWidth, int storedHeight, int wishedWidth, int wishedHeight) {
    switch (scale) {
        case ioJPEG_HALF:
            return 2;
        case ioJPEG_QUARTER:
            return 4;
        case ioJPEG_EIGHTH:
            return 8;
        case ioJPEG_AUTOCALC:
            if (wishedWidth <= 0 || wishedHeight <= 0) return 1;
            for (int n = 3; n >= 0; --n) {
                if ((storedWidth >> n) >= wishedWidth && (storedHeight >> n) >= wishedHeight) return 1 << n;
            }
            return 1;
        default:
            return 1;
    }
}

void GetJpegICC(TStream& stream, TIOParamsVals& params) {
    StreamPositionGuard guard(stream);
    ScanReader reader(stream);
    std::array<std::vector<uint8_t>, kMaxIccChunks + 1> chunks;
    bool profileFound = false;
    int chunksRead = 0;
    uint8_t value = 0;
    while (reader.Next(value)) {
        if (value != 0xFF) continue;
        uint8_t code = 0xFF;
        // Fill bytes (0xFF) may stand before a marker code.
        while (code == 0xFF && reader.Next(code)) {
        }
        if (code == 0xFF) break;
        const ScanAction action = ScanActionOf(code);
        if (action == ScanAction::Continue) continue;
        if (action == ScanAction::Stop) break;
        size_t length = 0;
        if (!reader.NextWord(length) || length < 2) break;
        const size_t payloadLength = length - 2;
        if (action == ScanAction::Skip) {
            if (reader.Take(nullptr, payloadLength) < payloadLength) break;
            continue;
        }
        std::vector<uint8_t> payload(payloadLength);
        const size_t got = reader.Take(payload.data(), payload.size());
        payload.resize(got);
        if (payload.size() >= 14 && std::memcmp(payload.data(), "ICC_PROFILE\0", 12) == 0) {
            const uint8_t sequence = payload[12];
            const uint8_t announced = payload[13];
            if (payload.size() > 14) {
                chunks[sequence].assign(payload.begin() + 14, payload.end());
                profileFound = true;
            }
            ++chunksRead;
            if (chunksRead >= announced || chunksRead >= kMaxIccChunks) break;
        }
        if (got < payloadLength) break;
    }
    if (!profileFound) return;
    std::vector<uint8_t> profile;
    // Sequence numbers count from 1; a chunk numbered 0 has no place in the profile.
    for (int sequence = 1; sequence <= kMaxIccChunks; ++sequence) {
        profile.insert(profile.end(), chunks[sequence].begin(), chunks[sequence].end());
    }
    if (!profile.empty()) params.InputICC = std::move(profile);
}

void ReadJPegStream(TStream& stream, TStream* tableStream, TImageBitmap& bitmap, TIOParamsVals& params,
                    TProgressRec& progress, const JpegReadOptions& options) {
    if (params.JPEG_GetExifThumbnail &&
        ReadExifThumbnailFirst(stream, tableStream, bitmap, params, progress, options)) {
        return;
    }
    params.JPEG_WarningTot = 0;
    params.JPEG_WarningCode = 0;

    const int64_t start = JpegTryStream(stream);
    if (start < 0) {
        progress.SetAborting();
        return;
    }
    stream.Seek(start);
    if (options.readICC) GetJpegICC(stream, params);

    ReadContext context;
    context.stream = &stream;
    context.tableStream = tableStream;
    context.bitmap = &bitmap;
    context.params = &params;
    context.progress = &progress;
    context.options = &options;

    jpeg_decompress_struct cinfo{};
    JpegErrorManager errors;
    cinfo.err = InstallJpegErrorManager(errors);
    cinfo.client_data = &context;
    if (!CreateDecompression(cinfo, errors, progress)) {
        jpeg_destroy_decompress(&cinfo);
        progress.SetAborting();
        return;
    }

    bool completed = false;
    try {
        completed = RunDecompression(cinfo, errors, context);
    } catch (...) {
        completed = false;
    }
    if (!completed) progress.SetAborting();

    RebuildMarkerList(context.markers, params.JPEG_MarkerList);
    if (completed && !options.parametersOnly && !context.stoppedEarly && !progress.IsAborting()) {
        FinishDecompression(cinfo, errors, progress);
    }
    jpeg_destroy_decompress(&cinfo);
    if (errors.warningCount > 0) {
        params.JPEG_WarningTot = errors.warningCount;
        params.JPEG_WarningCode = errors.lastWarningCode;
    }
    if (options.readMetadata) HandOverMetadata(params, bitmap, !options.parametersOnly);
}

}  // namespace velmora
