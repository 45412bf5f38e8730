#include "params/format_registry.h"

#include <algorithm>
#include <vector>

#include "params/ascii_text.h"
#include "params/wbmp_reader.h"

namespace velmora {

namespace {

constexpr size_t kMaxShortString = 80;

// The internal formats are read by the fixed reader switch of the image I/O component; their
// entry functions only mark the format as readable or writable.
void InternalRead(TStream&, TImageBitmap&, TIOParamsVals&, TProgressRec&, bool) {}
void InternalWrite(TStream&, const TImageBitmap&, TIOParamsVals&, TProgressRec&) {}

struct InternalFormat {
    int32_t fileType;
    const char* displayName;
    const char* extensions;
    bool read;
    bool write;
};

constexpr InternalFormat kInternalFormats[] = {
    {ioTIFF, "TIFF Bitmap", "TIF;TIFF;FAX;G3N;G3F;XIF", true, true},
    {ioGIF, "CompuServe Bitmap", "GIF", true, true},
    {ioJPEG, "JPEG Bitmap", "JPG;JPEG;JPE;JIF", true, true},
    {ioPCX, "PaintBrush", "PCX", true, true},
    {ioBMP, "Windows Bitmap", "BMP;DIB;RLE", true, true},
    {ioICO, "Windows Icon", "ICO", true, true},
    {ioCUR, "Windows Cursor", "CUR", true, false},
    {ioPNG, "Portable Network Graphics", "PNG", true, true},
    {ioWMF, "Windows Metafile", "WMF", true, false},
    {ioEMF, "Enhanced Windows Metafile", "EMF", true, false},
    {ioTGA, "Targa Bitmap", "TGA;TARGA;VDA;ICB;VST;PIX", true, true},
    {ioPXM, "Portable Pixmap, GrayMap, BitMap", "PXM;PPM;PGM;PBM", true, true},
    {ioWBMP, "Wireless Bitmap", "WBMP", true, true},
    {ioJP2, "JPEG2000", "JP2", true, true},
    {ioJ2K, "JPEG2000 Code Stream", "J2K;JPC;J2C", true, true},
    {ioPS, "PostScript Level 2", "PS;EPS", false, true},
    {ioPDF, "Adobe PDF", "PDF", false, true},
    {ioDCX, "Multipage PCX", "DCX", true, true},
    {ioRAW, "Camera RAW", "CRW;CR2;NEF;RAW;PEF;RAF;X3F;BAY;ORF;SRF;MRW;DCR;SR2", true, false},
    {ioPSD, "Photoshop PSD", "PSD", true, true},
};

std::vector<TFileFormatInfo>& Registry() {
    static std::vector<TFileFormatInfo> registry = [] {
        std::vector<TFileFormatInfo> list;
        for (const InternalFormat& f : kInternalFormats) {
            TFileFormatInfo info;
            info.FileType = f.fileType;
            info.DisplayName = f.displayName;
            info.ExtensionList = f.extensions;
            info.IsInternal = true;
            info.ReadProc = f.read ? &InternalRead : nullptr;
            info.WriteProc = f.write ? &InternalWrite : nullptr;
            // No fixed content test finds WBMP files, so their entry carries one.
            if (f.fileType == ioWBMP) info.TryProc = &WBMPTryStream;
            list.push_back(std::move(info));
        }
        return list;
    }();
    return registry;
}

std::vector<std::string> SplitExtensions(const std::string& list) {
    std::vector<std::string> parts;
    if (list.empty()) return parts;
    size_t start = 0;
    while (true) {
        const size_t end = list.find(';', start);
        parts.push_back(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return parts;
}

}  // namespace

void FileFormatAdd(const TFileFormatInfo& info) {
    TFileFormatInfo copy = info;
    if (copy.DisplayName.size() > kMaxShortString) copy.DisplayName.resize(kMaxShortString);
    if (copy.ExtensionList.size() > kMaxShortString) copy.ExtensionList.resize(kMaxShortString);
    Registry().push_back(std::move(copy));
}

void FileFormatRemove(int32_t fileType) {
    auto& list = Registry();
    const auto it = std::find_if(list.begin(), list.end(),
                                 [fileType](const TFileFormatInfo& f) { return f.FileType == fileType; });
    if (it != list.end()) list.erase(it);
}

const TFileFormatInfo* FileFormatGetInfo(int32_t fileType) {
    for (const TFileFormatInfo& f : Registry()) {
        if (f.FileType == fileType) return &f;
    }
    return nullptr;
}

const TFileFormatInfo* FileFormatGetInfo2(const std::string& extension) {
    std::string ext = LowerAscii(extension);
    if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
    if (ext.empty()) return nullptr;
    for (const TFileFormatInfo& f : Registry()) {
        for (const std::string& e : SplitExtensions(f.ExtensionList)) {
            if (LowerAscii(e) == ext) return &f;
        }
    }
    return nullptr;
}

std::string FileFormatGetExt(int32_t fileType, int index) {
    const TFileFormatInfo* f = FileFormatGetInfo(fileType);
    if (!f || index < 0) return {};
    const auto parts = SplitExtensions(f->ExtensionList);
    return size_t(index) < parts.size() ? parts[size_t(index)] : std::string();
}

int FileFormatGetExtCount(int32_t fileType) {
    const TFileFormatInfo* f = FileFormatGetInfo(fileType);
    return f ? int(SplitExtensions(f->ExtensionList).size()) : 0;
}

int FileFormatCount() { return int(Registry().size()); }

const TFileFormatInfo& FileFormatAt(int index) { return Registry().at(size_t(index)); }

}  // namespace velmora
