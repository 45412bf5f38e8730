// A toolkit-free report list: rows of a caption and sub-items (value, help text).
// The Common and Special pages are report lists; the GUI shows one through a table model.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmora {

struct ReportRow {
    std::string caption;
    // Sub-item 0 is the value, sub-item 1 the help text shown as the row's hint.
    std::vector<std::string> subItems;

    bool IsSeparator() const { return caption.empty() && subItems.empty(); }
    const std::string& SubItem(size_t index) const;
};

class ReportList {
public:
    // Column titles of both info lists; the help column is never shown as a column.
    static constexpr const char* kColumnTitles[3] = {"Property name", "Value", "Help"};

    int RowCount() const { return static_cast<int>(rows_.size()); }
    const ReportRow& Row(int index) const { return rows_.at(static_cast<size_t>(index)); }

    int AddRow(std::string caption, std::vector<std::string> subItems);
    // A row with an empty caption and no sub-items.
    int AddSeparator();
    // Sets sub-item index of row, adding empty sub-items before it when missing.
    void SetSubItem(int row, size_t index, std::string text);
    // Deletes every row, from the last to the first.
    void Clear();

    // Called after every change with the first and last row touched (-1, -1 for a reset).
    std::function<void(int firstRow, int lastRow)> onChanged;

private:
    void Notify(int first, int last) const;

    std::vector<ReportRow> rows_;
};

}  // namespace velmora
