#include "params/jpeg_decode.h"

#include "params/jpeg_lib_glue.h"

namespace velmora {

namespace {

// Runs libjpeg on the data. A fatal libjpeg error jumps back here and gives false; the
// caller destroys the decompression object in every case. Only trivially destructible
// locals live in this frame, so the jump skips no destructor.
bool DecodeWithLibjpeg(jpeg_decompress_struct& cinfo, JpegErrorManager& errors, const uint8_t* data, size_t length,
                       TImageBitmap& bitmap, int scaleDenominator) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kJpegMaxLibraryMemory;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(length));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;

    switch (cinfo.jpeg_color_space) {
        case JCS_GRAYSCALE:
            cinfo.out_color_space = JCS_GRAYSCALE;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            cinfo.out_color_space = JCS_CMYK;
            break;
        case JCS_RGB:
        case JCS_YCbCr:
            cinfo.out_color_space = JCS_RGB;
            break;
        default:
            break;
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(scaleDenominator);
    jpeg_calc_output_dimensions(&cinfo);
    if (cinfo.output_width == 0 || cinfo.output_height == 0) return false;
    if (int64_t(cinfo.output_width) * int64_t(cinfo.output_height) > TImageBitmap::kMaxPixels) return false;
    // libjpeg allocates its own buffers first, within its memory limit.
    jpeg_start_decompress(&cinfo);
    if (!bitmap.Allocate(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height))) return false;
    const int width = static_cast<int>(cinfo.output_width);
    const int components = cinfo.output_components;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                cinfo.output_width * static_cast<JDIMENSION>(components), 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1) return false;
        ConvertJpegRowToRgb(row[0], components, width, true, bitmap.ScanLine(y));
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

}  // namespace

bool DecodeJpegToBitmap(const uint8_t* data, size_t length, TImageBitmap& bitmap, int scaleDenominator) {
    bitmap.Clear();
    if (data == nullptr || length == 0) return false;
    if (scaleDenominator != 1 && scaleDenominator != 2 && scaleDenominator != 4 && scaleDenominator != 8) {
        scaleDenominator = 1;
    }
    jpeg_decompress_struct cinfo{};
    JpegErrorManager errors;
    cinfo.err = InstallJpegErrorManager(errors);
    bool decoded = false;
    try {
        decoded = DecodeWithLibjpeg(cinfo, errors, data, length, bitmap, scaleDenominator);
    } catch (...) {
        decoded = false;
    }
    jpeg_destroy_decompress(&cinfo);
    if (!decoded) bitmap.Clear();
    return decoded;
}

}  // namespace velmora
