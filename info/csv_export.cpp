#include "info/csv_export.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace velmora {

std::string CsvDelimiterFor(int cellDelim) {
    return cellDelim == 1 ? ";" : ",";
}

int ExportCsv(TInfoDispatcher& dispatcher, const std::string& outputPath, int cellDelim,
              const std::vector<std::string>& files) {
    std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw CsvExportError("Cannot create file \"" + outputPath + "\". " + std::strerror(errno));
    }
    CsvSink sink(out, CsvDelimiterFor(cellDelim));
    InfoSession& session = dispatcher.Session();
    session.CsvFile = &sink;
    int rows = 0;
    try {
        dispatcher.RunListers("", InfoMode::Head);
        for (const std::string& file : files) {
            dispatcher.SetCurrentFile(file);
            if (!FileQualifies(file)) continue;
            dispatcher.ImageIO().ParamsFromFile(file);
            sink.WriteRowBreak();
            dispatcher.RunListers(file, InfoMode::File);
            ++rows;
        }
    } catch (...) {
        session.CsvFile = nullptr;
        throw;
    }
    session.CsvFile = nullptr;
    out.flush();
    if (!out) throw CsvExportError("Error writing file \"" + outputPath + "\".");
    return rows;
}

}  // namespace velmora
