// The registry of image formats the system knows, in start-up order.
#pragma once

#include <cstdint>
#include <string>

#include "params/image_bitmap.h"
#include "params/progress.h"
#include "params/stream.h"

namespace velmora {

class TIOParamsVals;

// Format identifiers (TIOParamsVals::FileType).
enum : int32_t {
    ioUnknown = 0, ioTIFF = 1, ioGIF = 2, ioJPEG = 3, ioPCX = 4, ioBMP = 5, ioICO = 6, ioCUR = 7,
    ioPNG = 8, ioWMF = 9, ioEMF = 10, ioTGA = 11, ioPXM = 12, ioJP2 = 13, ioJ2K = 14, ioAVI = 15,
    ioWBMP = 16, ioPS = 17, ioPDF = 18, ioDCX = 19, ioRAW = 20, ioPSD = 24
};

using TFileFormatReadProc = void (*)(TStream& stream, TImageBitmap& bitmap, TIOParamsVals& params,
                                     TProgressRec& progress, bool parametersOnly);
using TFileFormatWriteProc = void (*)(TStream& stream, const TImageBitmap& bitmap, TIOParamsVals& params,
                                      TProgressRec& progress);
using TFileFormatTryProc = bool (*)(TStream& stream, int32_t fileType);

struct TFileFormatInfo {
    int32_t FileType = 0;
    std::string DisplayName;    // at most 80 characters
    std::string ExtensionList;  // upper case, ";"-separated, main extension first
    bool IsInternal = true;
    uint16_t SavePageSet = 0;
    TFileFormatReadProc ReadProc = nullptr;
    TFileFormatWriteProc WriteProc = nullptr;
    TFileFormatTryProc TryProc = nullptr;
};

void FileFormatAdd(const TFileFormatInfo& info);
void FileFormatRemove(int32_t fileType);
// The first entry of that type, or nullptr.
const TFileFormatInfo* FileFormatGetInfo(int32_t fileType);
// The first entry one of whose extensions equals extension (case-insensitive, leading "." ignored).
const TFileFormatInfo* FileFormatGetInfo2(const std::string& extension);
std::string FileFormatGetExt(int32_t fileType, int index);
int FileFormatGetExtCount(int32_t fileType);
// Number of entries, and entry i in registry order.
int FileFormatCount();
const TFileFormatInfo& FileFormatAt(int index);

}  // namespace velmora
