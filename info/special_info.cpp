#include "info/special_info.h"

#include "info/special_catalogue.h"

namespace velmora {

namespace {

// The marker count and the markers of the record's marker list. On screen (only when there
// are markers) a separator, the count and one row per marker; in the CSV file always the two
// columns, filled whatever the file's type.
void ListMarkerRows(InfoSession& session, InfoMode mode) {
    CsvSink* csv = session.CsvFile;
    ReportList& list = session.SpecialInfoList;
    const TMarkerList& markers = session.params.JPEG_MarkerList;

    if (mode == InfoMode::Head && csv) csv->WriteCell(kMarkerCountName);
    const int count = markers.GetCount();
    if (mode == InfoMode::File && csv) csv->WriteCell(std::to_string(count));
    if (mode == InfoMode::Head && csv) csv->WriteCell(kMarkersColumnName);

    std::string all;
    if (count > 0) {
        if (mode == InfoMode::List) {
            list.AddSeparator();
            list.AddRow(kMarkerCountName, {std::to_string(count), kMarkerCountHelp});
        }
        for (int m = 0; m < count; ++m) {
            const std::string text = MarkerText(markers, m);
            all += TrimControlAndBlanks(text);
            all += ' ';
            if (mode == InfoMode::List) {
                list.AddRow(kMarkerRowPrefix + std::to_string(m), {text, kMarkerHelp});
            }
        }
    }
    if (mode == InfoMode::File && csv) csv->WriteCell(all);
}

}  // namespace

void ListSpecialInfo(InfoSession& session, const std::string& path, InfoMode mode) {
    if (mode == InfoMode::Image) return;
    ReportList& list = session.SpecialInfoList;
    CsvSink* csv = session.CsvFile;
    list.Clear();
    for (const SpecialGroup& group : SpecialCatalogue()) {
        const bool applies = GroupApplies(group, session.params, path);
        if (mode == InfoMode::List && !applies) continue;
        for (const SpecialRow& row : group.rows) {
            if (mode == InfoMode::Head && csv) csv->WriteCell(row.name);
            std::string value = FormatSpecialValue(row, session.params);
            if (mode == InfoMode::List) list.AddRow(row.name, {value, row.help});
            if (!applies) value.clear();
            if (mode == InfoMode::File && csv) csv->WriteCell(TrimControlAndBlanks(value));
        }
        if (group.endsWithMarkerRows) ListMarkerRows(session, mode);
    }
}

}  // namespace velmora
