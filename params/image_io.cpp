#include "params/image_io.h"

#include "params/format_detection.h"
#include "params/format_registry.h"
#include "params/jpeg_reader.h"
#include "params/tiff_reader.h"
#include "params/bmp_reader.h"
#include "params/gif_reader.h"
#include "params/ico_reader.h"
#include "params/pcx_reader.h"
#include "params/pxm_reader.h"
#include "params/tga_reader.h"
#include "params/wbmp_reader.h"
#include "params/jpeg2000_reader.h"
#include "params/png_reader.h"
#include "params/psd_reader.h"
#include "params/raw_reader.h"

namespace velmora {

TImageIO::TImageIO() : Params(this) {}

TProgressRec TImageIO::MakeProgress() {
    TProgressRec progress;
    progress.Sender = this;
    progress.Aborting = &Aborting;
    return progress;
}

void TImageIO::ParamsFromFile(const std::string& fileName) {
    try {
        ParamsFromFileFormat(fileName, FindFileFormat(fileName, true));
    } catch (...) {
        Params.FileType = ioUnknown;
    }
}

void TImageIO::ParamsFromFileFormat(const std::string& fileName, int32_t fileType) {
    try {
        Params.FileType = fileType;
        Params.ResetInfo();
        Aborting = true;
        TFileStream file(fileName);
        Aborting = false;
        RunReader(file, fileType, /*parametersOnly=*/true);
        if (Aborting) Params.FileType = ioUnknown;
    } catch (...) {
        Params.FileType = ioUnknown;
    }
    Params.FileName = fileName;
}

void TImageIO::ParamsFromStream(TStream& stream) {
    try {
        ParamsFromStreamFormat(stream, FindStreamFormat(stream));
    } catch (...) {
        Params.FileType = ioUnknown;
    }
}

void TImageIO::ParamsFromStreamFormat(TStream& stream, int32_t fileType) {
    try {
        Params.FileType = fileType;
        Params.ResetInfo();
        Aborting = false;
        RunReader(stream, fileType, /*parametersOnly=*/true);
        if (Aborting) Params.FileType = ioUnknown;
    } catch (...) {
        Params.FileType = ioUnknown;
    }
}

void TImageIO::RunReader(TStream& stream, int32_t fileType, bool parametersOnly) {
    TProgressRec progress = MakeProgress();

    switch (fileType) {
        case ioTIFF: {
            int imageCount = 0;
            TIFFReadStream(&Bitmap, stream, imageCount, /*thumbnailMode=*/false, /*headerAtCurrentPosition=*/false,
                           parametersOnly, progress, &Params);
        } break;
        case ioJPEG: {
            JpegReadOptions options;
            options.parametersOnly = parametersOnly;
            ReadJPegStream(stream, nullptr, Bitmap, Params, progress, options);
            break;
        }
        case ioGIF: ReadGIFStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        case ioPCX: ReadPcxStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        case ioBMP: BMPReadStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        case ioICO: ICOReadStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        case ioCUR: CURReadStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        case ioTGA: ReadTGAStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        case ioPXM: PXMReadStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        case ioWBMP: WBMPReadStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        case ioDCX: DCXReadStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        case ioPNG: ReadPNGStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        case ioJP2:
        case ioJ2K: J2KReadStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        case ioPSD: ReadPSD(stream, &Bitmap, Params, progress, parametersOnly); break;
        // Camera raw files are read from files as well as from streams, so that the pages show
        // the camera, the size and the EXIF fields of a raw file without a full load.
        case ioRAW: ReadCameraRAWStream(stream, &Bitmap, Params, progress, parametersOnly); break;
        default: {
            // Formats without a reader of their own use their registry entry's read function;
            // the internal placeholders read nothing.
            const TFileFormatInfo* entry = FileFormatGetInfo(fileType);
            if (entry && entry->ReadProc) entry->ReadProc(stream, Bitmap, Params, progress, parametersOnly);
            break;
        }
    }
}

}  // namespace velmora
