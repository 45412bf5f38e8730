#include "params/format_detection.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

#include "params/byte_order.h"
#include "params/file_name.h"
#include "params/format_registry.h"
#include "params/raw_decoder.h"
#include "params/tiff_env.h"

namespace velmora {

namespace {

constexpr int kMaxDcxPages = 1024;
constexpr int kMaxPxmTokens = 501;
// The PXM header tokens are looked for within this many bytes.
constexpr int64_t kMaxPxmHeaderBytes = 1 << 20;
constexpr int kJpegProbePositions = 100;

// Reads from the starting position of a content test. Reads that run past the data fail
// quietly (the test does not pass); errors of the stream itself propagate as exceptions.
class Probe {
public:
    explicit Probe(TStream& stream) : stream_(stream), start_(stream.Position()) {
        const int64_t rest = stream.Size() - start_;
        size_ = rest > 0 ? rest : 0;
    }

    TStream& Stream() { return stream_; }
    int64_t Start() const { return start_; }
    // The number of bytes from the starting position.
    int64_t Size() const { return size_; }

    bool Read(int64_t offset, void* buffer, size_t n) {
        if (offset < 0 || offset > size_ || uint64_t(size_ - offset) < n) return false;
        stream_.Seek(start_ + offset);
        return stream_.Read(buffer, n) == n;
    }
    bool U8(int64_t offset, uint8_t& v) { return Read(offset, &v, 1); }
    bool U16(int64_t offset, bool le, uint16_t& v) {
        uint8_t b[2];
        if (!Read(offset, b, 2)) return false;
        v = LoadU16(b, le);
        return true;
    }
    bool U32(int64_t offset, bool le, uint32_t& v) {
        uint8_t b[4];
        if (!Read(offset, b, 4)) return false;
        v = LoadU32(b, le);
        return true;
    }
    // The first bytes up to a zero byte, at most maxLength of them.
    std::string Text(size_t maxLength) {
        const size_t n = size_t(std::min<int64_t>(int64_t(maxLength), size_));
        std::string text(n, '\0');
        if (!Read(0, text.data(), n)) return {};
        const size_t zero = text.find('\0');
        if (zero != std::string::npos) text.resize(zero);
        return text;
    }
    bool StartsWith(const char* bytes, size_t n) {
        std::array<char, 8> buf{};
        return n <= buf.size() && Read(0, buf.data(), n) && std::equal(bytes, bytes + n, buf.data());
    }

private:
    TStream& stream_;
    int64_t start_;
    int64_t size_;
};

// Byte order of a TIFF header at the probe's start: 1 "II", 0 "MM", -1 neither.
int TiffByteOrder(Probe& p) {
    if (p.StartsWith("II", 2)) return 1;
    if (p.StartsWith("MM", 2)) return 0;
    return -1;
}

// Loads the first directory of a TIFF header at the probe's start.
bool ReadFirstDirectory(Probe& p, bool le, TTIFFEnv& env) {
    uint32_t first = 0;
    if (!p.U32(4, le, first)) return false;
    env.Intel = le;
    env.Stream = &p.Stream();
    env.StreamBase = p.Start();
    int count = 0;
    return TIFFReadIFD(0, first, env, count);
}

bool TiffTest(Probe& p) {
    if (p.Size() <= 8) return false;
    const int order = TiffByteOrder(p);
    if (order < 0) return false;
    const bool le = order == 1;
    uint32_t first = 0;
    if (!p.U32(4, le, first) || int64_t(first) >= p.Size()) return false;
    uint8_t b8 = 0;
    if (!le && (!p.U8(8, b8) || b8 == 0xBA)) return false;
    TTIFFEnv env;
    if (!ReadFirstDirectory(p, le, env)) return false;
    return TIFFFindTAG(256, env) >= 0 && TIFFFindTAG(257, env) >= 0;
}

bool DngTest(Probe& p) {
    const int order = TiffByteOrder(p);
    if (order < 0) return false;
    TTIFFEnv env;
    if (!ReadFirstDirectory(p, order == 1, env)) return false;

    const int version = TIFFFindTAG(50706, env);
    if (version >= 0 && env.IFD[size_t(version)].DataType == kTiffByte && env.IFD[size_t(version)].DataNum == 4) {
        return true;
    }
    const int photometric = TIFFFindTAG(262, env);
    if (photometric >= 0 && env.IFD[size_t(photometric)].DataType == kTiffShort &&
        env.IFD[size_t(photometric)].DataNum == 1) {
        const int64_t v = TIFFReadSingleValDef(env, 262, 0);
        if (v == 32803 || v == 34892) return true;
    }
    if (TIFFFindTAG(330, env) >= 0 && TIFFFindTAG(37398, env) >= 0 && TIFFFindTAG(256, env) >= 0 &&
        TIFFFindTAG(257, env) >= 0) {
        return TIFFReadSingleValDef(env, 256, 0) < 200 && TIFFReadSingleValDef(env, 257, 0) < 200;
    }
    return false;
}

bool IconTest(Probe& p, uint16_t resourceType) {
    if (p.Size() <= 22) return false;
    uint16_t reserved = 0, type = 0, count = 0;
    if (!p.U16(0, true, reserved) || !p.U16(2, true, type) || !p.U16(4, true, count)) return false;
    if (reserved != 0 || type != resourceType || count == 0) return false;
    for (int i = 0; i < count; ++i) {
        const int64_t entry = 6 + 16 * int64_t(i);
        uint8_t reservedByte = 0;
        uint32_t bytes = 0, offset = 0;
        if (!p.U8(entry + 3, reservedByte) || !p.U32(entry + 8, true, bytes) || !p.U32(entry + 12, true, offset)) {
            return false;
        }
        if (reservedByte != 0 || bytes == 0 || int64_t(offset) < entry + 16) return false;
    }
    return true;
}

bool TgaTest(Probe& p) {
    uint8_t h[18];
    if (!p.Read(0, h, sizeof h)) return false;
    const uint8_t imageType = h[2], depth = h[16], mapType = h[1];
    const bool typeOk = imageType == 1 || imageType == 2 || imageType == 3 || imageType == 9 ||
                        imageType == 10 || imageType == 11;
    const bool depthOk = depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
    const int width = h[12] | (h[13] << 8);
    const int height = h[14] | (h[15] << 8);
    return typeOk && depthOk && mapType <= 1 && width != 0 && height != 0;
}

// Splits the start of a PXM file into tokens: runs of ASCII letters and digits; "#" starts a
// comment that runs to the end of the line. Comments count as tokens but are not returned.
class PxmTokenizer {
public:
    explicit PxmTokenizer(Probe& p) : probe_(p) {}

    // The next non-comment token; false at the end of the data or of the token budget.
    bool Next(std::string& token) {
        while (tokens_ < kMaxPxmTokens) {
            int c = Get();
            while (c >= 0 && c != '#' && !std::isalnum(c)) c = Get();
            if (c < 0) return false;
            ++tokens_;
            if (c == '#') {
                while (c >= 0 && c != '\n' && c != '\r') c = Get();
                continue;
            }
            token.clear();
            while (c >= 0 && std::isalnum(c)) {
                token.push_back(char(c));
                c = Get();
            }
            if (c == '#') Unget();
            return true;
        }
        return false;
    }

private:
    int Get() {
        if (pos_ >= probe_.Size() || pos_ >= kMaxPxmHeaderBytes) return -1;
        if (pos_ >= bufferStart_ + int64_t(bufferLength_) || pos_ < bufferStart_) {
            bufferStart_ = pos_;
            bufferLength_ = size_t(std::min<int64_t>(int64_t(sizeof buffer_), probe_.Size() - pos_));
            if (!probe_.Read(pos_, buffer_, bufferLength_)) return -1;
        }
        return buffer_[pos_++ - bufferStart_];
    }
    void Unget() { --pos_; }

    Probe& probe_;
    uint8_t buffer_[4096];
    int64_t bufferStart_ = 0;
    size_t bufferLength_ = 0;
    int64_t pos_ = 0;
    int tokens_ = 0;
};

int64_t PxmNumber(const std::string& token) {
    if (token.empty()) return -1;
    int64_t v = 0;
    for (char c : token) {
        if (c < '0' || c > '9') return -1;
        v = std::min<int64_t>(v * 10 + (c - '0'), int64_t(1) << 40);
    }
    return v;
}

bool PxmTest(Probe& p) {
    PxmTokenizer tokens(p);
    std::string magic, width, height;
    if (!tokens.Next(magic)) return false;
    if (magic.size() != 2 || magic[0] != 'P' || magic[1] < '1' || magic[1] > '6') return false;
    if (!tokens.Next(width) || !tokens.Next(height)) return false;
    return PxmNumber(width) > 0 && PxmNumber(height) > 0;
}

bool Jp2Test(Probe& p) {
    uint32_t a = 0, b = 0, c = 0;
    return p.U32(0, false, a) && p.U32(4, false, b) && p.U32(8, false, c) && a == 12 && b == 0x6A502020 &&
           c == 0x0D0A870A;
}

bool J2kTest(Probe& p) {
    uint16_t a = 0, b = 0;
    return p.U16(0, false, a) && p.U16(2, false, b) && a == 0xFF4F && b == 0xFF51;
}

bool AviTest(Probe& p) {
    char b[12];
    return p.Read(0, b, sizeof b) && std::string(b, 4) == "RIFF" && std::string(b + 8, 4) == "AVI ";
}

bool DcxTest(Probe& p) {
    uint32_t magic = 0;
    if (!p.U32(0, true, magic) || magic != 987654321u) return false;
    for (int i = 0; i < kMaxDcxPages; ++i) {
        uint32_t offset = 0;
        if (!p.U32(4 + 4 * int64_t(i), true, offset)) return false;
        if (offset == 0) break;
        if (int64_t(offset) >= p.Size()) return false;
    }
    return true;
}

bool WmfTest(Probe& p) {
    uint32_t key = 0;
    if (!p.U32(0, true, key)) return false;
    const int64_t at = key == 0x9AC6CDD7u ? 22 : 0;
    uint16_t type = 0, headerSize = 0, parameters = 0;
    return p.U16(at, true, type) && p.U16(at + 2, true, headerSize) && p.U16(at + 16, true, parameters) &&
           type == 1 && headerSize == 9 && parameters == 0;
}

bool EmfTest(Probe& p) {
    uint32_t type = 0, signature = 0;
    return p.U32(0, true, type) && p.U32(40, true, signature) && type == 1 && signature == 0x464D4520u;
}

bool PsdTest(Probe& p) {
    uint8_t h[26];
    if (!p.Read(0, h, sizeof h) || std::string(reinterpret_cast<char*>(h), 4) != "8BPS") return false;
    const int version = (h[4] << 8) | h[5];
    const int channels = (h[12] << 8) | h[13];
    const int depth = (h[22] << 8) | h[23];
    const int mode = (h[24] << 8) | h[25];
    return version == 1 && channels >= 1 && channels <= 24 && depth >= 1 && depth <= 16 && mode < 10;
}

bool RegistryTryTest(Probe& p, int32_t& fileType) {
    for (int i = 0; i < FileFormatCount(); ++i) {
        const TFileFormatInfo& f = FileFormatAt(i);
        if (!f.TryProc) continue;
        p.Stream().Seek(p.Start());
        if (f.TryProc(p.Stream(), f.FileType)) {
            fileType = f.FileType;
            return true;
        }
    }
    return false;
}

}  // namespace

bool IsTIFFStream(TStream& stream) {
    StreamPositionGuard guard(stream);
    Probe p(stream);
    return TiffTest(p);
}

bool IsDNGStream(TStream& stream) {
    StreamPositionGuard guard(stream);
    Probe p(stream);
    return DngTest(p);
}

int64_t JpegTryStream(TStream& stream) {
    StreamPositionGuard guard(stream);
    const int64_t start = stream.Position();
    uint8_t buf[kJpegProbePositions + 2];
    const size_t got = stream.Read(buf, sizeof buf);
    for (size_t q = 0; q + 3 <= got; ++q) {
        if (buf[q] == 0xFF && buf[q + 1] == 0xD8 && buf[q + 2] == 0xFF) return start + int64_t(q);
    }
    return -1;
}

bool CameraRawTryStream(TStream& stream) {
    return IdentifyCameraRaw(stream);
}

int32_t FindStreamFormat(TStream& stream) {
    StreamPositionGuard guard(stream);
    try {
        Probe p(stream);
        struct Test {
            int32_t result;
            bool (*pass)(Probe&);
        };
        static const Test kTests[] = {
            {ioJPEG, [](Probe& p) { return p.Size() > 12 && p.Text(5) == "JFIF"; }},
            {ioGIF, [](Probe& p) { return p.Size() > 13 && p.StartsWith("GIF", 3); }},
            {ioPCX, [](Probe& p) { return p.Size() > 12 && p.Text(5) == "PCX2"; }},
            {ioPCX, [](Probe& p) { return p.Size() > 4 && p.Text(4) == "PCX"; }},
            {ioBMP, [](Probe& p) { return p.Size() > 14 && p.StartsWith("BM", 2); }},
            {ioPCX,
             [](Probe& p) {
                 uint8_t b[2];
                 return p.Size() > 128 && p.Read(0, b, 2) && b[0] == 0x0A && b[1] <= 5;
             }},
            {ioTIFF, [](Probe& p) { return p.Size() > 12 && p.Text(5) == "TIFF"; }},
            {ioTIFF, [](Probe& p) { return TiffTest(p) && !DngTest(p); }},
            {ioPNG, [](Probe& p) { return p.Size() > 8 && p.StartsWith("\x89PNG", 4); }},
            {ioICO, [](Probe& p) { return IconTest(p, 1); }},
            {ioCUR, [](Probe& p) { return IconTest(p, 2); }},
            {ioTGA, TgaTest},
            {ioPXM, PxmTest},
            {ioJPEG, [](Probe& p) { return JpegTryStream(p.Stream()) >= 0; }},
            {ioJP2, Jp2Test},
            {ioJ2K, J2kTest},
            {ioAVI, AviTest},
            {ioDCX, DcxTest},
            {ioWMF, WmfTest},
            {ioEMF, EmfTest},
            {ioPSD, PsdTest},
        };
        for (const Test& t : kTests) {
            stream.Seek(p.Start());
            if (t.pass(p)) return t.result;
        }
        int32_t tried = ioUnknown;
        if (RegistryTryTest(p, tried)) return tried;
        stream.Seek(p.Start());
        if (CameraRawTryStream(stream)) return ioRAW;
    } catch (...) {
        // A failing stream ends the search with nothing found.
    }
    return ioUnknown;
}

int32_t FindFileFormat(const std::string& fileName, bool verifyExtension) {
    int32_t result = ioUnknown;
    std::unique_ptr<TFileStream> file;
    if (!fileName.empty()) {
        try {
            file = std::make_unique<TFileStream>(fileName);
        } catch (...) {
            return ioUnknown;
        }
        result = FindStreamFormat(*file);
    }

    const TFileFormatInfo* entry = FileFormatGetInfo2(ExtractFileExt(fileName));
    if (entry && entry->FileType == ioRAW && result == ioTIFF) result = ioRAW;
    // A raw file can carry an embedded preview whose start an earlier content test finds
    // first (a JPEG thumbnail right after a short raw header); under a raw extension the
    // raw decoder has the last word.
    if (entry && entry->FileType == ioRAW && result != ioRAW && result != ioUnknown && file) {
        file->Seek(0);
        if (CameraRawTryStream(*file)) result = ioRAW;
    }
    if (entry && !entry->IsInternal) return entry->FileType;
    if (verifyExtension && result != ioUnknown) {
        if (!entry) return ioUnknown;
        const bool iconLike = result == ioICO || result == ioCUR;
        if (iconLike) return (entry->FileType == ioICO || entry->FileType == ioCUR) ? entry->FileType : ioUnknown;
        if (result != entry->FileType) return ioUnknown;
    }
    return result;
}

bool IsKnownFormat(const std::string& fileName) {
    const std::string ext = ExtractFileExt(fileName);
    if (ext.empty()) return false;
    const TFileFormatInfo* entry = FileFormatGetInfo2(ext);
    return entry && entry->ReadProc;
}

}  // namespace velmora
