// The Special Info catalogue: the properties that belong to one file format only, grouped by
// format, each with the rule that turns its record field into a value text and a help text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "params/io_params.h"

namespace velmora {

// How a record field becomes the value text of a row.
enum class ValueRule {
    Integer,      // decimal digits, minus sign when negative, no grouping
    Enumeration,  // the row's text for the value; any other value in decimal
    Boolean,      // "true" / "false"
    Colour,       // "R=255, G=128, B=0"
    Text,         // the string as it is
    Real,         // general format, up to 15 significant digits, the user's decimal separator
    Comments,     // the lines joined with ", "
    Date,         // short date, short date and long time, or long time only
    IconSize,     // "32 x 32"
};

// A record field as the value rules take it: integers and enumerations widened to int64_t,
// reals and dates as double, strings as a view, string lists by pointer.
using SpecialFieldValue = std::variant<int64_t, bool, TRGB, std::string_view, double,
                                       const std::vector<std::string>*, TICOSize>;
using SpecialFieldReader = SpecialFieldValue (*)(const TIOParamsVals& params);

struct EnumText {
    int32_t value;
    const char* text;
};

struct SpecialRow {
    const char* name;  // caption on screen and CSV column name
    ValueRule rule;
    SpecialFieldReader read;
    std::span<const EnumText> texts;  // Enumeration rows only
    const char* help;
};

enum class GroupTest {
    FileType,      // the record's FileType equals the group's fileType
    AviExtension,  // the path's extension, upper-cased, is ".AVI"
};

struct SpecialGroup {
    const char* name;
    GroupTest test;
    int32_t fileType;
    std::span<const SpecialRow> rows;
    // The JPEG group ends with the marker count and the markers of the record's marker list.
    bool endsWithMarkerRows;
};

inline constexpr const char* kMarkerCountName = "JPEG_Marker_Count";
inline constexpr const char* kMarkersColumnName = "JPEG_Markers";
inline constexpr const char* kMarkerRowPrefix = "JPEG_Marker_";
inline constexpr const char* kMarkerCountHelp = "Returns the markers count.";
inline constexpr const char* kMarkerHelp = "Get marker data.";

// The fourteen groups in catalogue order.
std::span<const SpecialGroup> SpecialCatalogue();

// The group test: on the record, or for the AVI group on the path.
bool GroupApplies(const SpecialGroup& group, const TIOParamsVals& params, const std::string& path);

// The row's value text by its value rule.
std::string FormatSpecialValue(const SpecialRow& row, const TIOParamsVals& params);

// A marker's data read as text: its bytes up to the first zero byte or the end of its data.
std::string MarkerText(const TMarkerList& markers, int index);

// Every CSV column of the catalogue in order, the two marker columns inside the JPEG group.
std::vector<std::string> SpecialColumnNames();

}  // namespace velmora
