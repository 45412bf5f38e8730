// What the info listers share: the parameter record they read, the four pages they fill,
// and the CSV sink they write into during an export.
#pragma once

#include "info/csv_sink.h"
#include "info/name_value_editor.h"
#include "info/report_list.h"
#include "params/io_params.h"

namespace velmora {

struct InfoSession {
    explicit InfoSession(TIOParamsVals& record) : params(record) {}

    TIOParamsVals& params;
    ReportList CommonInfoList;
    ReportList SpecialInfoList;
    NameValueEditor ExifValueListEditor;
    NameValueEditor IptcValueListEditor;
    // Open only while an export runs.
    CsvSink* CsvFile = nullptr;
};

}  // namespace velmora
