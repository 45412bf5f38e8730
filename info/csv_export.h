// Exporting the information of many files into one CSV file.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "info/info_dispatcher.h"

namespace velmora {

class CsvExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The delimiter of the CellDelim option: 1 is ";", 0 and every other value ",".
std::string CsvDelimiterFor(int cellDelim);

// Writes the header row, then for every qualifying file a line feed and its row.
// Files that do not qualify get no row. Leaves the last exported file current.
// Returns the number of rows written; throws CsvExportError when the file cannot be written.
int ExportCsv(TInfoDispatcher& dispatcher, const std::string& outputPath, int cellDelim,
              const std::vector<std::string>& files);

}  // namespace velmora
