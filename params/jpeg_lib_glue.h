// What the JPEG decoder and the JPEG parameter reader share around libjpeg: an error manager
// that never lets libjpeg end the process, and the conversion of decoded rows to RGB.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace velmora {

// libjpeg's error manager extended by a jump target and the warnings seen. A fatal error
// jumps back to the setjmp of `jump`; warnings are counted and never printed.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int warningCount;
    int lastWarningCode;
    // Code of the fatal error that ended the work, 0 while there was none.
    int fatalCode;
};

// Initialises manager and returns the pointer to store in cinfo.err.
jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager);

// Upper bound for what libjpeg may allocate for one image (coefficient buffers of
// progressive or multi-scan files); larger needs end in a fatal error instead.
inline constexpr long kJpegMaxLibraryMemory = 1L << 30;

// Writes one decoded row of `width` pixels (`components` samples each) as RGB.
// One component is grey, three are taken as RGB, four as CMYK; with adobeInverted the
// CMYK samples are stored inverted, as Adobe applications write them. Other counts show
// the first component as grey.
void ConvertJpegRowToRgb(const JSAMPLE* source, int components, int width, bool adobeInverted, uint8_t* target);

}  // namespace velmora
