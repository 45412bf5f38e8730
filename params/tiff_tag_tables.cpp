#include "params/tiff_tag_tables.h"

#include <string>
#include <type_traits>
#include <variant>

namespace velmora {

namespace {

using P = TIOParamsVals;

constexpr TagRow Single(uint16_t tag, int32_t P::*field, int32_t fallback) {
    return {tag, TagRule::Single, field, fallback};
}
constexpr TagRow Rational(uint16_t tag, double P::*field) { return {tag, TagRule::Rational, field, 0}; }
constexpr TagRow RationalAt(uint16_t tag, int32_t index, double P::*field) {
    return {tag, TagRule::RationalAt, field, index};
}
template <typename Array>
constexpr TagRow Rationals(uint16_t tag, Array P::*field) {
    return {tag, TagRule::Rationals, field, 0};
}
constexpr TagRow ValueAt(uint16_t tag, int32_t index, int32_t P::*field) {
    return {tag, TagRule::ValueAt, field, index};
}
constexpr TagRow Values(uint16_t tag, IntArray2 P::*field) { return {tag, TagRule::Values, field, 0}; }
constexpr TagRow Text(uint16_t tag, AnsiString P::*field) { return {tag, TagRule::Text, field, 0}; }
constexpr TagRow ShortText(uint16_t tag, AnsiString P::*field) { return {tag, TagRule::ShortText, field, 0}; }
constexpr TagRow WideText(uint16_t tag, WideString P::*field) { return {tag, TagRule::WideText, field, 0}; }
constexpr TagRow ByteText(uint16_t tag, AnsiString P::*field) { return {tag, TagRule::ByteText, field, 0}; }
constexpr TagRow VersionText(uint16_t tag, AnsiString P::*field) {
    return {tag, TagRule::VersionText, field, 0};
}
constexpr TagRow CommentCode(uint16_t tag, AnsiString P::*field) {
    return {tag, TagRule::CommentCode, field, 0};
}
constexpr TagRow CommentText(uint16_t tag, AnsiString P::*field) {
    return {tag, TagRule::CommentText, field, 0};
}

const TagRow kMainTags[] = {
    Single(256, &P::Width, 0),
    Single(257, &P::Height, 0),
    Single(266, &P::TIFF_FillOrder, 1),
    Text(269, &P::TIFF_DocumentName),
    Text(270, &P::TIFF_ImageDescription),
    Text(271, &P::EXIF_Make),
    Text(272, &P::EXIF_Model),
    Single(277, &P::SamplesPerPixel, 1),
    Single(284, &P::TIFF_PlanarConf, 1),
    Text(285, &P::TIFF_PageName),
    Single(296, &P::EXIF_ResolutionUnit, 2),
    ValueAt(297, 0, &P::TIFF_PageNumber),
    ValueAt(297, 1, &P::TIFF_PageCount),
    Text(305, &P::EXIF_Software),
    Text(306, &P::EXIF_DateTime),
    Text(315, &P::EXIF_Artist),
    Rationals(318, &P::EXIF_WhitePoint),
    Rationals(319, &P::EXIF_PrimaryChromaticities),
    Rationals(529, &P::EXIF_YCbCrCoefficients),
    Single(531, &P::EXIF_YCbCrPositioning, 0),
    Rationals(532, &P::EXIF_ReferenceBlackWhite),
    ByteText(700, &P::XMP_Info),
    Text(33432, &P::EXIF_Copyright),
    WideText(40091, &P::EXIF_XPTitle),
    WideText(40092, &P::EXIF_XPComment),
    WideText(40093, &P::EXIF_XPAuthor),
    WideText(40094, &P::EXIF_XPKeywords),
    WideText(40095, &P::EXIF_XPSubject),
};

const TagRow kExifTags[] = {
    Rational(33434, &P::EXIF_ExposureTime),
    Rational(33437, &P::EXIF_FNumber),
    Single(34850, &P::EXIF_ExposureProgram, 0),
    Values(34855, &P::EXIF_ISOSpeedRatings),
    ShortText(36864, &P::EXIF_ExifVersion),
    Text(36867, &P::EXIF_DateTimeOriginal),
    Text(36868, &P::EXIF_DateTimeDigitized),
    Rational(37122, &P::EXIF_CompressedBitsPerPixel),
    Rational(37377, &P::EXIF_ShutterSpeedValue),
    Rational(37378, &P::EXIF_ApertureValue),
    Rational(37379, &P::EXIF_BrightnessValue),
    Rational(37380, &P::EXIF_ExposureBiasValue),
    Rational(37381, &P::EXIF_MaxApertureValue),
    Rational(37382, &P::EXIF_SubjectDistance),
    Single(37383, &P::EXIF_MeteringMode, 0),
    Single(37384, &P::EXIF_LightSource, 0),
    Single(37385, &P::EXIF_Flash, 0),
    Rational(37386, &P::EXIF_FocalLength),
    CommentCode(37510, &P::EXIF_UserCommentCode),
    CommentText(37510, &P::EXIF_UserComment),
    Text(37520, &P::EXIF_SubsecTime),
    Text(37521, &P::EXIF_SubsecTimeOriginal),
    Text(37522, &P::EXIF_SubsecTimeDigitized),
    ShortText(40960, &P::EXIF_FlashPixVersion),
    Single(40961, &P::EXIF_ColorSpace, 0),
    Single(40962, &P::EXIF_ExifImageWidth, 0),
    Single(40963, &P::EXIF_ExifImageHeight, 0),
    Text(40964, &P::EXIF_RelatedSoundFile),
    Rational(41486, &P::EXIF_FocalPlaneXResolution),
    Rational(41487, &P::EXIF_FocalPlaneYResolution),
    Single(41488, &P::EXIF_FocalPlaneResolutionUnit, 0),
    Rational(41493, &P::EXIF_ExposureIndex),
    Single(41495, &P::EXIF_SensingMethod, 0),
    Single(41728, &P::EXIF_FileSource, 0),
    Single(41729, &P::EXIF_SceneType, 0),
    Single(41986, &P::EXIF_ExposureMode, 0),
    Single(41987, &P::EXIF_WhiteBalance, 0),
    Rational(41988, &P::EXIF_DigitalZoomRatio),
    Single(41989, &P::EXIF_FocalLengthIn35mmFilm, 0),
    Single(41990, &P::EXIF_SceneCaptureType, 0),
    Single(41991, &P::EXIF_GainControl, 0),
    Single(41992, &P::EXIF_Contrast, 0),
    Single(41993, &P::EXIF_Saturation, 0),
    Single(41994, &P::EXIF_Sharpness, 0),
    Single(41996, &P::EXIF_SubjectDistanceRange, 0),
    Text(42016, &P::EXIF_ImageUniqueID),
};

const TagRow kGpsTags[] = {
    VersionText(0, &P::EXIF_GPSVersionID),
    ShortText(1, &P::EXIF_GPSLatitudeRef),
    RationalAt(2, 0, &P::EXIF_GPSLatitudeDegrees),
    RationalAt(2, 1, &P::EXIF_GPSLatitudeMinutes),
    RationalAt(2, 2, &P::EXIF_GPSLatitudeSeconds),
    ShortText(3, &P::EXIF_GPSLongitudeRef),
    RationalAt(4, 0, &P::EXIF_GPSLongitudeDegrees),
    RationalAt(4, 1, &P::EXIF_GPSLongitudeMinutes),
    RationalAt(4, 2, &P::EXIF_GPSLongitudeSeconds),
    ShortText(5, &P::EXIF_GPSAltitudeRef),
    Rational(6, &P::EXIF_GPSAltitude),
    RationalAt(7, 0, &P::EXIF_GPSTimeStampHour),
    RationalAt(7, 1, &P::EXIF_GPSTimeStampMinute),
    RationalAt(7, 2, &P::EXIF_GPSTimeStampSecond),
    Text(8, &P::EXIF_GPSSatellites),
    ShortText(9, &P::EXIF_GPSStatus),
    ShortText(10, &P::EXIF_GPSMeasureMode),
    Rational(11, &P::EXIF_GPSDOP),
    ShortText(12, &P::EXIF_GPSSpeedRef),
    Rational(13, &P::EXIF_GPSSpeed),
    ShortText(14, &P::EXIF_GPSTrackRef),
    Rational(15, &P::EXIF_GPSTrack),
    ShortText(16, &P::EXIF_GPSImgDirectionRef),
    Rational(17, &P::EXIF_GPSImgDirection),
    Text(18, &P::EXIF_GPSMapDatum),
    ShortText(19, &P::EXIF_GPSDestLatitudeRef),
    RationalAt(20, 0, &P::EXIF_GPSDestLatitudeDegrees),
    RationalAt(20, 1, &P::EXIF_GPSDestLatitudeMinutes),
    RationalAt(20, 2, &P::EXIF_GPSDestLatitudeSeconds),
    ShortText(21, &P::EXIF_GPSDestLongitudeRef),
    RationalAt(22, 0, &P::EXIF_GPSDestLongitudeDegrees),
    RationalAt(22, 1, &P::EXIF_GPSDestLongitudeMinutes),
    RationalAt(22, 2, &P::EXIF_GPSDestLongitudeSeconds),
    ShortText(23, &P::EXIF_GPSDestBearingRef),
    Rational(24, &P::EXIF_GPSDestBearing),
    ShortText(25, &P::EXIF_GPSDestDistanceRef),
    Rational(26, &P::EXIF_GPSDestDistance),
    Text(29, &P::EXIF_GPSDateStamp),
};

// A 64-bit value of a TIFF field as the 32-bit integer the record holds (the value field
// is 32 bits wide, so this keeps its bit pattern).
int32_t ToField(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

// One routine per rule; each writes the row's field.

void ReadSingle(const TagRow& row, TTIFFEnv& env, P& p) {
    p.*std::get<int32_t P::*>(row.field) = ToField(TIFFReadSingleValDef(env, row.tag, row.arg));
}

void ReadRational(const TagRow& row, TTIFFEnv& env, P& p) {
    p.*std::get<double P::*>(row.field) = TIFFReadSingleRational(env, row.tag);
}

void ReadRationalAt(const TagRow& row, TTIFFEnv& env, P& p) {
    p.*std::get<double P::*>(row.field) = TIFFReadRationalIndex(env, row.tag, row.arg);
}

void ReadRationals(const TagRow& row, TTIFFEnv& env, P& p) {
    std::visit(
        [&](auto member) {
            if constexpr (std::is_same_v<decltype(member), DoubleArray2 P::*> ||
                          std::is_same_v<decltype(member), DoubleArray3 P::*> ||
                          std::is_same_v<decltype(member), DoubleArray6 P::*>) {
                auto& values = p.*member;
                for (size_t i = 0; i < values.size(); ++i) values[i] = TIFFReadRationalIndex(env, row.tag, int(i));
            } else {
                throw std::bad_variant_access();
            }
        },
        row.field);
}

void ReadValueAt(const TagRow& row, TTIFFEnv& env, P& p) {
    p.*std::get<int32_t P::*>(row.field) = ToField(TIFFReadIndexValN(env, row.tag, row.arg));
}

void ReadValues(const TagRow& row, TTIFFEnv& env, P& p) {
    auto& values = p.*std::get<IntArray2 P::*>(row.field);
    for (size_t i = 0; i < values.size(); ++i) values[i] = ToField(TIFFReadIndexValN(env, row.tag, int(i)));
}

AnsiString& TextOf(const TagRow& row, P& p) { return p.*std::get<AnsiString P::*>(row.field); }

void ReadText(const TagRow& row, TTIFFEnv& env, P& p) { TextOf(row, p) = TIFFReadString(env, row.tag); }

void ReadShortText(const TagRow& row, TTIFFEnv& env, P& p) { TextOf(row, p) = TIFFReadMiniString(env, row.tag); }

void ReadWideText(const TagRow& row, TTIFFEnv& env, P& p) {
    p.*std::get<WideString P::*>(row.field) = TIFFReadWideString(env, row.tag);
}

void ReadByteText(const TagRow& row, TTIFFEnv& env, P& p) {
    AnsiString text;
    const int index = TIFFFindTAG(row.tag, env);
    if (index >= 0) {
        const TIFFTag& entry = env.IFD[size_t(index)];
        if (entry.DataType == kTiffByte || entry.DataType == kTiffUndefined) {
            const std::vector<uint8_t> bytes = TIFFReadRawData(env, row.tag);
            text.assign(bytes.begin(), bytes.end());
        }
    }
    TextOf(row, p) = std::move(text);
}

void ReadVersionText(const TagRow& row, TTIFFEnv& env, P& p) {
    AnsiString text;
    for (unsigned char c : TIFFReadMiniString(env, row.tag)) {
        if (!text.empty()) text += '.';
        text += std::to_string(unsigned(c));
    }
    TextOf(row, p) = std::move(text);
}

constexpr size_t kCommentCodeLength = 8;

void ReadCommentCode(const TagRow& row, TTIFFEnv& env, P& p) {
    TextOf(row, p) = TIFFReadString(env, row.tag).substr(0, kCommentCodeLength);
}

void ReadCommentText(const TagRow& row, TTIFFEnv& env, P& p) {
    const AnsiString text = TIFFReadString(env, row.tag);
    TextOf(row, p) = text.size() > kCommentCodeLength ? text.substr(kCommentCodeLength) : AnsiString();
}

using RuleRoutine = void (*)(const TagRow&, TTIFFEnv&, P&);

RuleRoutine RoutineOf(TagRule rule) {
    switch (rule) {
        case TagRule::Single: return ReadSingle;
        case TagRule::Rational: return ReadRational;
        case TagRule::RationalAt: return ReadRationalAt;
        case TagRule::Rationals: return ReadRationals;
        case TagRule::ValueAt: return ReadValueAt;
        case TagRule::Values: return ReadValues;
        case TagRule::Text: return ReadText;
        case TagRule::ShortText: return ReadShortText;
        case TagRule::WideText: return ReadWideText;
        case TagRule::ByteText: return ReadByteText;
        case TagRule::VersionText: return ReadVersionText;
        case TagRule::CommentCode: return ReadCommentCode;
        case TagRule::CommentText: return ReadCommentText;
    }
    return nullptr;
}

}  // namespace

std::span<const TagRow> MainDirectoryTags() { return kMainTags; }
std::span<const TagRow> ExifDirectoryTags() { return kExifTags; }
std::span<const TagRow> GpsDirectoryTags() { return kGpsTags; }

void ApplyTagTable(std::span<const TagRow> table, TTIFFEnv& env, TIOParamsVals& params) {
    for (const TagRow& row : table) RoutineOf(row.rule)(row, env, params);
}

void CopyTagTableFields(std::span<const TagRow> table, const TIOParamsVals& source, TIOParamsVals& target) {
    for (const TagRow& row : table) {
        std::visit([&](auto member) { target.*member = source.*member; }, row.field);
    }
}

}  // namespace velmora
