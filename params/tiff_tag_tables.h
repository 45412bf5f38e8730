// Which tag of a TIFF directory fills which field of the parameter record, and by which rule.
#pragma once

#include <cstdint>
#include <span>
#include <variant>
#include <vector>

#include "params/io_params.h"
#include "params/tiff_env.h"

namespace velmora {

// How the value of a tag is read.
enum class TagRule : uint8_t {
    Single,       // first value, `arg` when the tag is absent
    Rational,     // first rational
    RationalAt,   // rational number `arg`
    Rationals,    // rationals 0 .. n-1 into an array field of n entries
    ValueAt,      // value number `arg`
    Values,       // values 0 .. n-1 into an array field of n entries
    Text,         // ASCII text
    ShortText,    // the first count bytes of the value field, zero bytes included
    WideText,     // UTF-16 little-endian text
    ByteText,     // the bytes of a BYTE or UNDEFINED value as text; other types give ""
    VersionText,  // short text, each byte as a decimal number, joined by "."
    CommentCode,  // the first 8 characters of the text (character code of a user comment)
    CommentText,  // the text from its ninth character on
};

using TagField = std::variant<int32_t TIOParamsVals::*, double TIOParamsVals::*, AnsiString TIOParamsVals::*,
                              WideString TIOParamsVals::*, DoubleArray2 TIOParamsVals::*,
                              DoubleArray3 TIOParamsVals::*, DoubleArray6 TIOParamsVals::*,
                              IntArray2 TIOParamsVals::*>;

struct TagRow {
    uint16_t tag;
    TagRule rule;
    TagField field;
    int32_t arg;  // fallback of Single, index of RationalAt and ValueAt
};

// Rows of the image directory read by the table (the structural tags are read by the TIFF reader).
std::span<const TagRow> MainDirectoryTags();
// Rows of the EXIF directory (tag 34665); the maker note is captured separately.
std::span<const TagRow> ExifDirectoryTags();
// Rows of the GPS directory (tag 34853).
std::span<const TagRow> GpsDirectoryTags();

// Sets every field of the table from env; absent tags give their fallback or an empty text.
void ApplyTagTable(std::span<const TagRow> table, TTIFFEnv& env, TIOParamsVals& params);
// Copies every field that the table fills from source to target.
void CopyTagTableFields(std::span<const TagRow> table, const TIOParamsVals& source, TIOParamsVals& target);

}  // namespace velmora
