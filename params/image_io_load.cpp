// TImageIO::LoadFromFile: the full load of a file, chosen by its extension.
#include <algorithm>
#include <cctype>
#include <string>

#include "params/avi_reader.h"
#include "params/format_registry.h"
#include "params/header_reader_support.h"
#include "params/image_io.h"

namespace velmora {

namespace {

std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The part of the file name from its last dot, or empty when the name has none.
std::string ExtensionOf(const std::string& fileName) {
    const size_t dot = fileName.find_last_of("./");
    if (dot == std::string::npos || fileName[dot] != '.') return {};
    return fileName.substr(dot);
}

}  // namespace

void TImageIO::LoadFromFile(const std::string& fileName) {
    Aborting = false;
    // There is no URL loader: such names are refused and the record keeps its content.
    if (LowerAscii(fileName).starts_with("http://")) {
        Aborting = true;
        return;
    }

    const std::string extension = ExtensionOf(fileName);
    if (LowerAscii(extension) == ".avi") {
        Params.AVI_FrameCount = 0;
        try {
            TFileStream file(fileName);
            TProgressRec progress = MakeProgress();
            ReadAVIStream(file, &Bitmap, Params, progress, /*parametersOnly=*/false);
        } catch (...) {
            Aborting = true;
        }
        Params.FileName = fileName;
        Params.FileType = Aborting ? ioUnknown : ioAVI;
        return;
    }

    // By the extension alone, not by content. An extension without entry, or an entry that
    // cannot be read, refuses the file and keeps the record.
    const TFileFormatInfo* entry = FileFormatGetInfo2(extension);
    if (!entry || !entry->ReadProc) {
        Aborting = true;
        return;
    }
    const int32_t fileType = entry->FileType;
    if (!entry->IsInternal) {
        Params.FileName.clear();
        Params.FileType = ioUnknown;
    }
    Params.ResetInfo();
    try {
        TFileStream file(fileName);
        if (entry->IsInternal) {
            RunReader(file, fileType, /*parametersOnly=*/false, /*fromFile=*/true);
        } else {
            Params.FileName = fileName;
            Params.FileType = fileType;
            TProgressRec progress = MakeProgress();
            entry->ReadProc(file, Bitmap, Params, progress, /*parametersOnly=*/false);
        }
    } catch (...) {
        Aborting = true;
    }
    if (entry->IsInternal && !Aborting) {
        if (Params.DpiX < 2) Params.SetDpiX(kDefaultResolution);
        if (Params.DpiY < 2) Params.SetDpiY(kDefaultResolution);
    }
    Params.FileName = fileName;
    Params.FileType = Aborting ? ioUnknown : fileType;
}

}  // namespace velmora
