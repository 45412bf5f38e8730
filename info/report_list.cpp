#include "info/report_list.h"

namespace velmora {

const std::string& ReportRow::SubItem(size_t index) const {
    static const std::string kEmpty;
    return index < subItems.size() ? subItems[index] : kEmpty;
}

int ReportList::AddRow(std::string caption, std::vector<std::string> subItems) {
    rows_.push_back({std::move(caption), std::move(subItems)});
    const int index = RowCount() - 1;
    Notify(index, index);
    return index;
}

int ReportList::AddSeparator() {
    return AddRow({}, {});
}

void ReportList::SetSubItem(int row, size_t index, std::string text) {
    auto& items = rows_.at(static_cast<size_t>(row)).subItems;
    if (items.size() <= index) items.resize(index + 1);
    items[index] = std::move(text);
    Notify(row, row);
}

void ReportList::Clear() {
    while (!rows_.empty()) rows_.pop_back();
    Notify(-1, -1);
}

void ReportList::Notify(int first, int last) const {
    if (onChanged) onChanged(first, last);
}

}  // namespace velmora
