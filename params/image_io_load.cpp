// TImageIO::LoadFromFile: the full load of a file, chosen by its extension.
#include <string>

#include "params/ascii_text.h"
#include "params/avi_reader.h"
#include "params/file_name.h"
#include "params/format_registry.h"
#include "params/header_reader_support.h"
#include "params/image_io.h"

namespace velmora {

void TImageIO::LoadFromFile(const std::string& fileName) {
    Aborting = false;
    // There is no URL loader: such names are refused and the record keeps its content.
    if (LowerAscii(fileName).starts_with("http://")) {
        Aborting = true;
        return;
    }

    if (HasFileExt(fileName, ".avi")) {
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
    const TFileFormatInfo* entry = FileFormatGetInfo2(ExtractFileExt(fileName));
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
            RunReader(file, fileType, /*parametersOnly=*/false);
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
