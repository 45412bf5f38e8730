// A toolkit-free name/value editor: a fixed title row and one row per entry.
// The EXIF and IPTC pages are such editors; the GUI shows one through a table model.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora {

struct NameValueRow {
    std::string key;
    std::string value;
    bool readOnly = false;
    // The row offers a button that opens a picker (the calendar of the date rows).
    bool ellipsis = false;
};

class NameValueEditor {
public:
    // Row 0 is the title row with these two texts.
    static constexpr const char* kTitles[2] = {"Property name", "Value"};

    // Number of rows including the title row.
    int RowCount() const { return static_cast<int>(rows_.size()) + 1; }
    // Data row by its row number (1 .. RowCount() - 1).
    const NameValueRow& Row(int row) const { return rows_.at(static_cast<size_t>(row - 1)); }
    NameValueRow& Row(int row) { return rows_.at(static_cast<size_t>(row - 1)); }

    // Appends a data row; returns its row number.
    int InsertRow(std::string key, std::string value, bool append = true);
    void SetValue(int row, std::string value);
    void DeleteRow(int row);
    // Walks the data rows from the last to row 1 and deletes every row whose key is not empty.
    void ClearKeyedRows();
    // Row number of the first data row with that key, or -1.
    int FindRow(const std::string& key) const;

    std::function<void(int firstRow, int lastRow)> onChanged;

private:
    void Notify(int first, int last) const;

    std::vector<NameValueRow> rows_;
};

}  // namespace velmora
