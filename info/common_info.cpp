#include "info/common_info.h"

#include <array>
#include <functional>

#include "params/file_name.h"

namespace velmora {

namespace {

struct CommonRow {
    const char* caption;
    std::string (*value)(const TIOParamsVals&);
    const char* help;  // nullptr: the row keeps an empty help text
};

const std::array<CommonRow, 9> kCommonRows{{
    {"FileName", [](const TIOParamsVals& p) { return ExtractFileName(p.FileName); }, nullptr},
    {"FileType", [](const TIOParamsVals& p) { return p.GetFileTypeStr(); }, nullptr},
    {"Width", [](const TIOParamsVals& p) { return std::to_string(p.Width); }, nullptr},
    {"Height", [](const TIOParamsVals& p) { return std::to_string(p.Height); }, nullptr},
    {"BitsPerSample", [](const TIOParamsVals& p) { return std::to_string(p.BitsPerSample); },
     "Bits number each sample has.\nValues handles are:\n  1 for black & white\n"
     "  2..7 for colormapped bitmap (from 4 to 256 colors)\n  8 for colormapped or true color"},
    {"SamplesPerPixel", [](const TIOParamsVals& p) { return std::to_string(p.SamplesPerPixel); },
     "Samples for each pixel. This property can be only 1 for colormapped images or 3 for true color image."},
    {"ColorMapCount", [](const TIOParamsVals& p) { return std::to_string(p.ColorMapCount); },
     "ColorMapCount is the number of entries in ColorMap array."},
    {"DpiX", [](const TIOParamsVals& p) { return std::to_string(p.DpiX); },
     "Specifies the DpiX (horizontal dots per inch) of the image."},
    {"DpiY", [](const TIOParamsVals& p) { return std::to_string(p.DpiY); },
     "Specifies the DpiY (vertical dots per inch) of the image."},
}};

}  // namespace

void CreateCommonInfoRows(ReportList& list) {
    for (const auto& row : kCommonRows) list.AddRow(row.caption, {"", ""});
}

void ListCommonInfo(InfoSession& session, const std::string& /*path*/, InfoMode mode) {
    ReportList& list = session.CommonInfoList;
    for (int index = 0; index < list.RowCount(); ++index) {
        if (static_cast<size_t>(index) >= kCommonRows.size()) break;
        const CommonRow& row = kCommonRows[static_cast<size_t>(index)];
        if (mode == InfoMode::Head && session.CsvFile) session.CsvFile->WriteCell(row.caption);
        const std::string value = row.value(session.params);
        if (mode == InfoMode::List) {
            list.SetSubItem(index, 0, value);
            if (row.help) list.SetSubItem(index, 1, row.help);
        }
        if (mode == InfoMode::File && session.CsvFile) {
            session.CsvFile->WriteCell(TrimControlAndBlanks(value));
        }
    }
}

}  // namespace velmora
