// Value types and enumerations of the image parameter record.
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// A colour of three bytes in the order blue, green, red.
struct TRGB {
    uint8_t b = 0;
    uint8_t g = 0;
    uint8_t r = 0;
    friend bool operator==(const TRGB&, const TRGB&) = default;
};

inline constexpr TRGB kBlack{0, 0, 0};
inline constexpr TRGB kWhite{255, 255, 255};

// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;
// 8-bit text exactly as read from a file.
using AnsiString = std::string;
// UTF-16 text.
using WideString = std::u16string;

enum TIOTIFFCompression : uint8_t {
    ioTIFF_UNCOMPRESSED, ioTIFF_CCITT1D, ioTIFF_G3FAX1D, ioTIFF_G3FAX2D, ioTIFF_G4FAX, ioTIFF_LZW,
    ioTIFF_OLDJPEG, ioTIFF_JPEG, ioTIFF_PACKBITS, ioTIFF_ZIP, ioTIFF_DEFLATE, ioTIFF_UNKNOWN
};
enum TIOTIFFPhotometInterpret : uint8_t {
    ioTIFF_WHITEISZERO, ioTIFF_BLACKISZERO, ioTIFF_RGB, ioTIFF_RGBPALETTE, ioTIFF_TRANSPMASK,
    ioTIFF_CMYK, ioTIFF_YCBCR, ioTIFF_CIELAB
};
enum TIOByteOrder : uint8_t { ioBigEndian, ioLittleEndian };
enum TIOJPEGColorspace : uint8_t { ioJPEG_RGB, ioJPEG_GRAYLEV, ioJPEG_YCbCr, ioJPEG_CMYK, ioJPEG_YCbCrK };
enum TIOJPEGDctMethod : uint8_t { ioJPEG_ISLOW, ioJPEG_IFAST, ioJPEG_FLOAT };
enum TIOJPEGScale : uint8_t { ioJPEG_AUTOCALC, ioJPEG_FULLSIZE, ioJPEG_HALF, ioJPEG_QUARTER, ioJPEG_EIGHTH };
enum TIOJ2000ColorSpace : uint8_t { ioJ2000_GRAYLEV, ioJ2000_RGB, ioJ2000_YCbCr };
enum TIOJ2000ScalableBy : uint8_t { ioJ2000_Rate, ioJ2000_Resolution };
enum TIOBMPVersion : uint8_t { ioBMP_BM, ioBMP_BM3, ioBMP_BMOS2V1, ioBMP_BMOS2V2 };
enum TIOBMPCompression : uint8_t { ioBMP_UNCOMPRESSED, ioBMP_RLE };
enum TIOPCXCompression : uint8_t { ioPCX_UNCOMPRESSED, ioPCX_RLE };
enum TIOPNGFilter : uint8_t { ioPNG_FILTER_NONE, ioPNG_FILTER_SUB, ioPNG_FILTER_PAETH };
enum TGIFAction : uint8_t { ioGIF_None, ioGIF_DontRemove, ioGIF_DrawBackground, ioGIF_RestorePrev };
enum TIOPSCompression : uint8_t { ioPS_RLE, ioPS_G4FAX, ioPS_G3FAX2D, ioPS_JPEG };
enum TIOPDFCompression : uint8_t {
    ioPDF_UNCOMPRESSED, ioPDF_RLE, ioPDF_G4FAX, ioPDF_G3FAX2D, ioPDF_JPEG, ioPDF_LZW
};

// Width and height of one icon size.
struct TICOSize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const TICOSize&, const TICOSize&) = default;
};

}  // namespace velmora
