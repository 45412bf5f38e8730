// The one declaration of the parameter record's value fields, in the record's order.
//
// Each row: X(type, name, default, key, form, access, fallback)
//   default   value after SetDefaultParams (the EXIF table: after ResetEXIF); KeepValue{}
//             means the reset leaves the field alone (the record fills it from its owner).
//   key       the by-name key of GetProperty / SetProperty, or nullptr for no key.
//   form      how the value is written and read as text (PropertyForm).
//   access    RW, or RO for keys that SetProperty ignores.
//   fallback  integer taken by SetProperty when the text is no number.
//
// Owned objects (marker list, IPTC list, maker-note store, string lists, thumbnail, palette)
// are members of the record itself, not rows of this table.
#pragma once

#define VELMORA_GENERAL_FIELDS(X) \
    X(int32_t, BitsPerSample, 8, "BITSPERSAMPLE", Int, RW, 8) \
    X(AnsiString, FileName, {}, "FILENAME", String, RO, 0) \
    X(int32_t, SamplesPerPixel, 3, "SAMPLESPERPIXEL", Int, RW, 8) \
    X(int32_t, Width, KeepValue{}, "WIDTH", Int, RW, 1) \
    X(int32_t, Height, KeepValue{}, "HEIGHT", Int, RW, 1) \
    X(int32_t, DpiX, KeepValue{}, "DPIX", Int, RW, 1) \
    X(int32_t, DpiY, KeepValue{}, "DPIY", Int, RW, 1) \
    X(int32_t, FileType, 0, "FILETYPE", Int, RO, 0) \
    X(int32_t, ImageIndex, 0, "IMAGEINDEX", Int, RW, 0) \
    X(int32_t, ImageCount, 0, "IMAGECOUNT", Int, RW, 0) \
    X(bool, GetThumbnail, false, "GETTHUMBNAIL", Bool, RW, 0) \
    X(bool, IsNativePixelFormat, false, "ISNATIVEPIXELFORMAT", Bool, RW, 0) \
    X(int32_t, ColorMapCount, 0, "COLORMAPCOUNT", Int, RO, 0) \
    X(AnsiString, XMP_Info, {}, "XMP_INFO", String, RW, 0) \
    /* TIFF */ \
    X(TIOTIFFCompression, TIFF_Compression, ioTIFF_UNCOMPRESSED, "TIFF_COMPRESSION", Enum, RW, 0) \
    X(int32_t, TIFF_ImageIndex, 0, "TIFF_IMAGEINDEX", Int, RW, 0) \
    X(int32_t, TIFF_SubIndex, -1, "TIFF_SUBINDEX", Int, RW, 0) \
    X(TIOTIFFPhotometInterpret, TIFF_PhotometInterpret, ioTIFF_RGB, "TIFF_PHOTOMETINTEPRET", Enum, RW, 0) \
    X(int32_t, TIFF_PlanarConf, 1, "TIFF_PLANARCONF", Int, RW, 0) \
    X(int32_t, TIFF_XPos, 0, "TIFF_XPOS", Int, RW, 0) \
    X(int32_t, TIFF_YPos, 0, "TIFF_YPOS", Int, RW, 0) \
    X(AnsiString, TIFF_DocumentName, {}, "TIFF_DOCUMENTNAME", String, RW, 0) \
    X(AnsiString, TIFF_ImageDescription, {}, "TIFF_IMAGEDESCRIPTION", String, RW, 0) \
    X(AnsiString, TIFF_PageName, {}, "TIFF_PAGENAME", String, RW, 0) \
    X(int32_t, TIFF_PageNumber, -1, "TIFF_PAGENUMBER", Int, RW, 0) \
    X(int32_t, TIFF_PageCount, -1, "TIFF_PAGECOUNT", Int, RW, 0) \
    X(int32_t, TIFF_Orientation, 1, "TIFF_ORIENTATION", Int, RW, 1) \
    X(bool, TIFF_EnableAdjustOrientation, false, "TIFF_ENABLEADJUSTORIENTATION", Bool, RW, 0) \
    X(int32_t, TIFF_JPEGQuality, 80, "TIFF_JPEGQUALITY", Int, RW, 0) \
    X(TIOJPEGColorspace, TIFF_JPEGColorSpace, ioJPEG_YCbCr, "TIFF_JPEGCOLORSPACE", Enum, RW, 0) \
    X(int32_t, TIFF_ZIPCompression, 1, "TIFF_ZIPCOMPRESSION", Int, RW, 0) \
    X(int32_t, TIFF_ImageCount, 0, "TIFF_IMAGECOUNT", Int, RO, 0) \
    X(int32_t, TIFF_FillOrder, 1, "TIFF_FILLORDER", Int, RW, 1) \
    X(TIOByteOrder, TIFF_ByteOrder, ioLittleEndian, "TIFF_BYTEORDER", Enum, RW, 1) \
    /* DCX and GIF */ \
    X(int32_t, DCX_ImageIndex, 0, "DCX_IMAGEINDEX", Int, RW, 0) \
    X(AnsiString, GIF_Version, "GIF89a", "GIF_VERSION", String, RW, 0) \
    X(int32_t, GIF_ImageIndex, 0, "GIF_IMAGEINDEX", Int, RW, 0) \
    X(int32_t, GIF_XPos, 0, "GIF_XPOS", Int, RW, 0) \
    X(int32_t, GIF_YPos, 0, "GIF_YPOS", Int, RW, 0) \
    X(int32_t, GIF_DelayTime, 0, "GIF_DELAYTIME", Int, RW, 0) \
    X(bool, GIF_FlagTranspColor, false, "GIF_TRANSPARENT", Bool, RW, 0) \
    X(TRGB, GIF_TranspColor, kBlack, "GIF_TRANSPCOLOR", Color, RW, 0) \
    X(bool, GIF_Interlaced, false, "GIF_INTERLACED", Bool, RW, 0) \
    X(int32_t, GIF_WinWidth, 0, "GIF_WINWIDTH", Int, RW, 0) \
    X(int32_t, GIF_WinHeight, 0, "GIF_WINHEIGHT", Int, RW, 0) \
    X(TRGB, GIF_Background, kBlack, "GIF_BACKGROUND", Color, RW, 0) \
    X(int32_t, GIF_Ratio, 0, "GIF_RATIO", Int, RW, 0) \
    X(TGIFAction, GIF_Action, ioGIF_DrawBackground, nullptr, None, RW, 0) \
    X(int32_t, GIF_ImageCount, 0, "GIF_IMAGECOUNT", Int, RO, 0) \
    /* JPEG and JPEG 2000 */ \
    X(TIOJPEGColorspace, JPEG_ColorSpace, ioJPEG_YCbCr, "JPEG_COLORSPACE", Enum, RW, 0) \
    X(int32_t, JPEG_Quality, 80, "JPEG_QUALITY", Int, RW, 0) \
    X(TIOJPEGDctMethod, JPEG_DCTMethod, ioJPEG_ISLOW, "JPEG_DCTMETHOD", Enum, RW, 0) \
    X(bool, JPEG_OptimalHuffman, false, "JPEG_OPTIMALHUFFMAN", Bool, RW, 0) \
    X(int32_t, JPEG_Smooth, 0, "JPEG_SMOOTH", Int, RW, 0) \
    X(bool, JPEG_Progressive, false, "JPEG_PROGRESSIVE", Bool, RW, 0) \
    X(TIOJPEGScale, JPEG_Scale, ioJPEG_FULLSIZE, "JPEG_SCALE", Enum, RW, 0) \
    X(int32_t, JPEG_Scale_Used, 1, "JPEG_SCALE_USED", Int, RW, 0) \
    X(int32_t, JPEG_WarningTot, 0, "JPEG_WARNINGTOT", Int, RW, 0) \
    X(int32_t, JPEG_WarningCode, 0, "JPEG_WARNINGCODE", Int, RW, 0) \
    X(int32_t, JPEG_OriginalWidth, 0, "JPEG_ORIGINALWIDTH", Int, RW, 0) \
    X(int32_t, JPEG_OriginalHeight, 0, "JPEG_ORIGINALHEIGHT", Int, RW, 0) \
    X(bool, JPEG_EnableAdjustOrientation, false, "JPEG_ENABLEADJUSTORIENTATION", Bool, RW, 0) \
    X(bool, JPEG_GetExifThumbnail, false, "JPEG_GETEXIFTHUMBNAIL", Bool, RW, 0) \
    X(TIOJ2000ColorSpace, J2000_ColorSpace, ioJ2000_RGB, "J2000_COLORSPACE", Enum, RW, 0) \
    X(double, J2000_Rate, 1.0, "J2000_RATE", Double, RW, 0) \
    X(TIOJ2000ScalableBy, J2000_ScalableBy, ioJ2000_Rate, "J2000_SCALABLEBY", Enum, RW, 0) \
    /* PCX, BMP, ICO, CUR and PNG */ \
    X(int32_t, PCX_Version, 5, "PCX_VERSION", Int, RW, 0) \
    X(TIOPCXCompression, PCX_Compression, ioPCX_RLE, "PCX_COMPRESSION", Enum, RW, 0) \
    X(TIOBMPVersion, BMP_Version, ioBMP_BM3, "BMP_VERSION", Enum, RW, 0) \
    X(TIOBMPCompression, BMP_Compression, ioBMP_UNCOMPRESSED, "BMP_COMPRESSION", Enum, RW, 0) \
    X(bool, BMP_HandleTransparency, false, "BMP_HANDLETRANSPARENCY", Bool, RW, 0) \
    X(int32_t, ICO_ImageIndex, 0, "ICO_IMAGEINDEX", Int, RW, 0) \
    X(TRGB, ICO_Background, kWhite, "ICO_BACKGROUND", Color, RW, 0) \
    X(IcoSizeArray, ICO_Sizes, kDefaultIcoSizes, nullptr, None, RW, 0) \
    X(IcoBitCountArray, ICO_BitCount, kDefaultIcoBitCount, nullptr, None, RW, 0) \
    X(int32_t, CUR_ImageIndex, 0, "CUR_IMAGEINDEX", Int, RW, 0) \
    X(int32_t, CUR_XHotSpot, 0, "CUR_XHOTSPOT", Int, RW, 0) \
    X(int32_t, CUR_YHotSpot, 0, "CUR_YHOTSPOT", Int, RW, 0) \
    X(TRGB, CUR_Background, kWhite, "CUR_BACKGROUND", Color, RW, 0) \
    X(bool, PNG_Interlaced, false, "PNG_INTERLACED", Bool, RW, 0) \
    X(TRGB, PNG_Background, kBlack, "PNG_BACKGROUND", Color, RW, 0) \
    X(TIOPNGFilter, PNG_Filter, ioPNG_FILTER_NONE, "PNG_FILTER", Enum, RW, 0) \
    X(int32_t, PNG_Compression, 5, "PNG_COMPRESSION", Int, RW, 1) \
    /* PSD, TGA, PXM and movies */ \
    X(bool, PSD_LoadLayers, false, "PSD_LOADLAYERS", Bool, RW, 0) \
    X(bool, PSD_ReplaceLayers, true, "PSD_REPLACELAYERS", Bool, RW, 0) \
    X(int32_t, TGA_XPos, 0, "TGA_XPOS", Int, RW, 0) \
    X(int32_t, TGA_YPos, 0, "TGA_YPOS", Int, RW, 0) \
    X(bool, TGA_Compressed, true, "TGA_COMPRESSED", Bool, RW, 0) \
    X(AnsiString, TGA_Descriptor, {}, "TGA_DESCRIPTOR", String, RW, 0) \
    X(AnsiString, TGA_Author, {}, "TGA_AUTHOR", String, RW, 0) \
    X(TDateTime, TGA_Date, TodayDate(), "TGA_DATE", Date, RW, 0) \
    X(AnsiString, TGA_ImageName, {}, "TGA_IMAGENAME", String, RW, 0) \
    X(TRGB, TGA_Background, kBlack, "TGA_BACKGROUND", Color, RW, 0) \
    X(double, TGA_AspectRatio, 1.0, "TGA_ASPECTRATIO", Double, RW, 0) \
    X(double, TGA_Gamma, 2.2, "TGA_GAMMA", Double, RW, 0) \
    X(bool, TGA_GrayLevel, false, "TGA_GRAYLEVEL", Bool, RW, 0) \
    X(int32_t, AVI_FrameCount, 0, nullptr, None, RW, 0) \
    X(int32_t, AVI_FrameDelayTime, 0, nullptr, None, RW, 0) \
    X(int32_t, MEDIAFILE_FrameCount, 0, "MEDIAFILE_FRAMECOUNT", Int, RW, 0) \
    X(int32_t, MEDIAFILE_FrameDelayTime, 0, "MEDIAFILE_FRAMEDELAYTIME", Int, RW, 0) \
    /* PostScript, PDF and camera raw */ \
    X(int32_t, PS_PaperWidth, 595, "PS_PAPERWIDTH", Int, RW, 595) \
    X(int32_t, PS_PaperHeight, 842, "PS_PAPERHEIGHT", Int, RW, 842) \
    X(TIOPSCompression, PS_Compression, ioPS_G4FAX, "PS_COMPRESSION", Enum, RW, 0) \
    X(AnsiString, PS_Title, "No Title", "PS_TITLE", String, RW, 0) \
    X(int32_t, PDF_PaperWidth, 595, "PDF_PAPERWIDTH", Int, RW, 595) \
    X(int32_t, PDF_PaperHeight, 842, "PDF_PAPERHEIGHT", Int, RW, 842) \
    X(TIOPDFCompression, PDF_Compression, ioPDF_G4FAX, "PDF_COMPRESSION", Enum, RW, 0) \
    X(AnsiString, PDF_Title, {}, "PDF_TITLE", String, RW, 0) \
    X(AnsiString, PDF_Author, {}, "PDF_AUTHOR", String, RW, 0) \
    X(AnsiString, PDF_Subject, {}, "PDF_SUBJECT", String, RW, 0) \
    X(AnsiString, PDF_Keywords, {}, "PDF_KEYWORDS", String, RW, 0) \
    X(AnsiString, PDF_Creator, {}, "PDF_CREATOR", String, RW, 0) \
    X(AnsiString, PDF_Producer, {}, "PDF_PRODUCER", String, RW, 0) \
    X(bool, RAW_HalfSize, false, "RAW_HALFSIZE", Bool, RW, 0) \
    X(double, RAW_Gamma, 0.6, "RAW_GAMMA", Double, RW, 0) \
    X(double, RAW_Bright, 1.0, "RAW_BRIGHT", Double, RW, 0) \
    X(double, RAW_RedScale, 1.0, "RAW_REDSCALE", Double, RW, 0) \
    X(double, RAW_BlueScale, 1.0, "RAW_BLUESCALE", Double, RW, 0) \
    X(bool, RAW_QuickInterpolate, true, "RAW_QUICKINTERPOLATE", Bool, RW, 0) \
    X(bool, RAW_UseAutoWB, false, "RAW_USEAUTOWB", Bool, RW, 0) \
    X(bool, RAW_UseCameraWB, false, "RAW_USECAMERAWB", Bool, RW, 0) \
    X(bool, RAW_FourColorRGB, false, "RAW_FOURCOLORRGB", Bool, RW, 0) \
    X(AnsiString, RAW_Camera, {}, "RAW_CAMERA", String, RW, 0) \
    X(bool, RAW_GetExifThumbnail, false, "RAW_GETEXIFTHUMBNAIL", Bool, RW, 0) \
    X(bool, RAW_AutoAdjustColors, false, "RAW_AUTOADJUSTCOLORS", Bool, RW, 0)

// The EXIF fields; ResetEXIF sets exactly these to their defaults.
#define VELMORA_EXIF_FIELDS(X) \
    X(bool, EXIF_HasEXIF, false, "EXIF_HASEXIF", Bool, RW, 0) \
    X(AnsiString, EXIF_ImageDescription, {}, "EXIF_IMAGEDESCRIPTION", String, RW, 0) \
    X(AnsiString, EXIF_Make, {}, "EXIF_MAKE", String, RW, 0) \
    X(AnsiString, EXIF_Model, {}, "EXIF_MODEL", String, RW, 0) \
    X(int32_t, EXIF_Orientation, 0, "EXIF_ORIENTATION", Int, RW, 0) \
    X(double, EXIF_XResolution, 0.0, "EXIF_XRESOLUTION", Double, RW, 0) \
    X(double, EXIF_YResolution, 0.0, "EXIF_YRESOLUTION", Double, RW, 0) \
    X(int32_t, EXIF_ResolutionUnit, 0, "EXIF_RESOLUTIONUNIT", Int, RW, 0) \
    X(AnsiString, EXIF_Software, {}, "EXIF_SOFTWARE", String, RW, 0) \
    X(AnsiString, EXIF_Artist, {}, "EXIF_ARTIST", String, RW, 0) \
    X(AnsiString, EXIF_DateTime, {}, "EXIF_DATETIME", String, RW, 0) \
    X(DoubleArray2, EXIF_WhitePoint, {}, nullptr, None, RW, 0) \
    X(DoubleArray6, EXIF_PrimaryChromaticities, {}, nullptr, None, RW, 0) \
    X(DoubleArray3, EXIF_YCbCrCoefficients, {}, nullptr, None, RW, 0) \
    X(int32_t, EXIF_YCbCrPositioning, 0, nullptr, None, RW, 0) \
    X(DoubleArray6, EXIF_ReferenceBlackWhite, {}, nullptr, None, RW, 0) \
    X(AnsiString, EXIF_Copyright, {}, "EXIF_COPYRIGHT", String, RW, 0) \
    X(double, EXIF_ExposureTime, 0.0, "EXIF_EXPOSURETIME", Double, RW, 0) \
    X(double, EXIF_FNumber, 0.0, "EXIF_FNUMBER", Double, RW, 0) \
    X(int32_t, EXIF_ExposureProgram, 0, "EXIF_EXPOSUREPROGRAM", Int, RW, 0) \
    X(IntArray2, EXIF_ISOSpeedRatings, {}, nullptr, None, RW, 0) \
    X(AnsiString, EXIF_ExifVersion, {}, "EXIF_EXIFVERSION", String, RW, 0) \
    X(AnsiString, EXIF_DateTimeOriginal, {}, "EXIF_DATETIMEORIGINAL", String, RW, 0) \
    X(AnsiString, EXIF_DateTimeDigitized, {}, "EXIF_DATETIMEDIGITIZED", String, RW, 0) \
    X(double, EXIF_CompressedBitsPerPixel, 0.0, "EXIF_COMPRESSEDBITSPERPIXEL", Double, RW, 0) \
    X(double, EXIF_ShutterSpeedValue, 0.0, "EXIF_SHUTTERSPEEDVALUE", Double, RW, 0) \
    X(double, EXIF_ApertureValue, 0.0, "EXIF_APERTUREVALUE", Double, RW, 0) \
    X(double, EXIF_BrightnessValue, 0.0, "EXIF_BRIGHTNESSVALUE", Double, RW, 0) \
    X(double, EXIF_ExposureBiasValue, 0.0, "EXIF_EXPOSUREBIASVALUE", Double, RW, 0) \
    X(double, EXIF_MaxApertureValue, 0.0, "EXIF_MAXAPERTUREVALUE", Double, RW, 0) \
    X(double, EXIF_SubjectDistance, 0.0, "EXIF_SUBJECTDISTANCE", Double, RW, 0) \
    X(int32_t, EXIF_MeteringMode, 0, "EXIF_METERINGMODE", Int, RW, 0) \
    X(int32_t, EXIF_LightSource, 0, "EXIF_LIGHTSOURCE", Int, RW, 0) \
    X(int32_t, EXIF_Flash, 0, "EXIF_FLASH", Int, RW, 0) \
    X(double, EXIF_FocalLength, 0.0, "EXIF_FOCALLENGTH", Double, RW, 0) \
    X(AnsiString, EXIF_SubsecTime, {}, "EXIF_SUBSECTIME", String, RW, 0) \
    X(AnsiString, EXIF_SubsecTimeOriginal, {}, "EXIF_SUBSECTIMEORIGINAL", String, RW, 0) \
    X(AnsiString, EXIF_SubsecTimeDigitized, {}, "EXIF_SUBSECTIMEDIGITIZED", String, RW, 0) \
    X(AnsiString, EXIF_FlashPixVersion, {}, "EXIF_FLASHPIXVERSION", String, RW, 0) \
    X(int32_t, EXIF_ColorSpace, 0, "EXIF_COLORSPACE", Int, RW, 0) \
    X(int32_t, EXIF_ExifImageWidth, 0, "EXIF_EXIFIMAGEWIDTH", Int, RW, 0) \
    X(int32_t, EXIF_ExifImageHeight, 0, "EXIF_EXIFIMAGEHEIGHT", Int, RW, 0) \
    X(AnsiString, EXIF_RelatedSoundFile, {}, "EXIF_RELATEDSOUNDFILE", String, RW, 0) \
    X(double, EXIF_FocalPlaneXResolution, 0.0, "EXIF_FOCALPLANEXRESOLUTION", Double, RW, 0) \
    X(double, EXIF_FocalPlaneYResolution, 0.0, "EXIF_FOCALPLANEYRESOLUTION", Double, RW, 0) \
    X(int32_t, EXIF_FocalPlaneResolutionUnit, 0, "EXIF_FOCALPLANERESOLUTIONUNIT", Int, RW, 0) \
    X(double, EXIF_ExposureIndex, 0.0, "EXIF_EXPOSUREINDEX", Double, RW, 0) \
    X(int32_t, EXIF_SensingMethod, 0, "EXIF_SENSINGMETHOD", Int, RW, 0) \
    X(int32_t, EXIF_FileSource, 0, "EXIF_FILESOURCE", Int, RW, 0) \
    X(int32_t, EXIF_SceneType, 0, "EXIF_SCENETYPE", Int, RW, 0) \
    X(AnsiString, EXIF_UserComment, {}, "EXIF_USERCOMMENT", String, RW, 0) \
    X(AnsiString, EXIF_UserCommentCode, {}, "EXIF_USERCOMMENTCODE", String, RW, 0) \
    X(WideString, EXIF_XPTitle, {}, "EXIF_XPTITLE", Wide, RW, 0) \
    X(WideString, EXIF_XPComment, {}, "EXIF_XPCOMMENT", Wide, RW, 0) \
    X(WideString, EXIF_XPAuthor, {}, "EXIF_XPAUTHOR", Wide, RW, 0) \
    X(WideString, EXIF_XPKeywords, {}, "EXIF_XPKEYWORDS", Wide, RW, 0) \
    X(WideString, EXIF_XPSubject, {}, "EXIF_XPSUBJECT", Wide, RW, 0) \
    X(int32_t, EXIF_ExposureMode, -1, "EXIF_EXPOSUREMODE", Int, RW, 0) \
    X(int32_t, EXIF_WhiteBalance, -1, "EXIF_WHITEBALANCE", Int, RW, 0) \
    X(double, EXIF_DigitalZoomRatio, -1.0, "EXIF_DIGITALZOOMRATIO", Double, RW, 0) \
    X(int32_t, EXIF_FocalLengthIn35mmFilm, -1, "EXIF_FOCALLENGTHIN35MMFILM", Int, RW, 0) \
    X(int32_t, EXIF_SceneCaptureType, -1, "EXIF_SCENECAPTURETYPE", Int, RW, 0) \
    X(int32_t, EXIF_GainControl, -1, "EXIF_GAINCONTROL", Int, RW, 0) \
    X(int32_t, EXIF_Contrast, -1, "EXIF_CONTRAST", Int, RW, 0) \
    X(int32_t, EXIF_Saturation, -1, "EXIF_SATURATION", Int, RW, 0) \
    X(int32_t, EXIF_Sharpness, -1, "EXIF_SHARPNESS", Int, RW, 0) \
    X(int32_t, EXIF_SubjectDistanceRange, -1, "EXIF_SUBJECTDISTANCERANGE", Int, RW, 0) \
    X(AnsiString, EXIF_ImageUniqueID, {}, "EXIF_IMAGEUNIQUEID", String, RW, 0) \
    X(AnsiString, EXIF_GPSVersionID, {}, "EXIF_GPSVERSIONID", String, RW, 0) \
    X(AnsiString, EXIF_GPSLatitudeRef, {}, "EXIF_GPSLATITUDEREF", String, RW, 0) \
    X(double, EXIF_GPSLatitudeDegrees, 0.0, "EXIF_GPSLATITUDEDEGREES", Double, RW, 0) \
    X(double, EXIF_GPSLatitudeMinutes, 0.0, "EXIF_GPSLATITUDEMINUTES", Double, RW, 0) \
    X(double, EXIF_GPSLatitudeSeconds, 0.0, "EXIF_GPSLATITUDESECONDS", Double, RW, 0) \
    X(AnsiString, EXIF_GPSLongitudeRef, {}, "EXIF_GPSLONGITUDEREF", String, RW, 0) \
    X(double, EXIF_GPSLongitudeDegrees, 0.0, "EXIF_GPSLONGITUDEDEGREES", Double, RW, 0) \
    X(double, EXIF_GPSLongitudeMinutes, 0.0, "EXIF_GPSLONGITUDEMINUTES", Double, RW, 0) \
    X(double, EXIF_GPSLongitudeSeconds, 0.0, "EXIF_GPSLONGITUDESECONDS", Double, RW, 0) \
    X(AnsiString, EXIF_GPSAltitudeRef, {}, "EXIF_GPSALTITUDEREF", String, RW, 0) \
    X(double, EXIF_GPSAltitude, 0.0, "EXIF_GPSALTITUDE", Double, RW, 0) \
    X(double, EXIF_GPSTimeStampHour, 0.0, "EXIF_GPSTIMESTAMPHOUR", Double, RW, 0) \
    X(double, EXIF_GPSTimeStampMinute, 0.0, "EXIF_GPSTIMESTAMPMINUTE", Double, RW, 0) \
    X(double, EXIF_GPSTimeStampSecond, 0.0, "EXIF_GPSTIMESTAMPSECOND", Double, RW, 0) \
    X(AnsiString, EXIF_GPSSatellites, {}, "EXIF_GPSSATELLITES", String, RW, 0) \
    X(AnsiString, EXIF_GPSStatus, {}, "EXIF_GPSSTATUS", String, RW, 0) \
    X(AnsiString, EXIF_GPSMeasureMode, {}, "EXIF_GPSMEASUREMODE", String, RW, 0) \
    X(double, EXIF_GPSDOP, 0.0, "EXIF_GPSDOP", Double, RW, 0) \
    X(AnsiString, EXIF_GPSSpeedRef, {}, "EXIF_GPSSPEEDREF", String, RW, 0) \
    X(double, EXIF_GPSSpeed, 0.0, "EXIF_GPSSPEED", Double, RW, 0) \
    X(AnsiString, EXIF_GPSTrackRef, {}, "EXIF_GPSTRACKREF", String, RW, 0) \
    X(double, EXIF_GPSTrack, 0.0, "EXIF_GPSTRACK", Double, RW, 0) \
    X(AnsiString, EXIF_GPSImgDirectionRef, {}, "EXIF_GPSIMGDIRECTIONREF", String, RW, 0) \
    X(double, EXIF_GPSImgDirection, 0.0, "EXIF_GPSIMGDIRECTION", Double, RW, 0) \
    X(AnsiString, EXIF_GPSMapDatum, {}, "EXIF_GPSMAPDATUM", String, RW, 0) \
    X(AnsiString, EXIF_GPSDestLatitudeRef, {}, "EXIF_GPSDESTLATITUDEREF", String, RW, 0) \
    X(double, EXIF_GPSDestLatitudeDegrees, 0.0, "EXIF_GPSDESTLATITUDEDEGREES", Double, RW, 0) \
    X(double, EXIF_GPSDestLatitudeMinutes, 0.0, "EXIF_GPSDESTLATITUDEMINUTES", Double, RW, 0) \
    X(double, EXIF_GPSDestLatitudeSeconds, 0.0, "EXIF_GPSDESTLATITUDESECONDS", Double, RW, 0) \
    X(AnsiString, EXIF_GPSDestLongitudeRef, {}, "EXIF_GPSDESTLONGITUDEREF", String, RW, 0) \
    X(double, EXIF_GPSDestLongitudeDegrees, 0.0, "EXIF_GPSDESTLONGITUDEDEGREES", Double, RW, 0) \
    X(double, EXIF_GPSDestLongitudeMinutes, 0.0, "EXIF_GPSDESTLONGITUDEMINUTES", Double, RW, 0) \
    X(double, EXIF_GPSDestLongitudeSeconds, 0.0, "EXIF_GPSDESTLONGITUDESECONDS", Double, RW, 0) \
    X(AnsiString, EXIF_GPSDestBearingRef, {}, "EXIF_GPSDESTBEARINGREF", String, RW, 0) \
    X(double, EXIF_GPSDestBearing, 0.0, "EXIF_GPSDESTBEARING", Double, RW, 0) \
    X(AnsiString, EXIF_GPSDestDistanceRef, {}, "EXIF_GPSDESTDISTANCEREF", String, RW, 0) \
    X(double, EXIF_GPSDestDistance, 0.0, "EXIF_GPSDESTDISTANCE", Double, RW, 0) \
    X(AnsiString, EXIF_GPSDateStamp, {}, "EXIF_GPSDATESTAMP", String, RW, 0)
