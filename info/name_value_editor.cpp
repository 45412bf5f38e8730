#include "info/name_value_editor.h"

namespace velmora {

int NameValueEditor::InsertRow(std::string key, std::string value, bool append) {
    NameValueRow row{std::move(key), std::move(value)};
    if (append) {
        rows_.push_back(std::move(row));
    } else {
        rows_.insert(rows_.begin(), std::move(row));
    }
    const int index = append ? RowCount() - 1 : 1;
    Notify(-1, -1);
    return index;
}

void NameValueEditor::SetValue(int row, std::string value) {
    Row(row).value = std::move(value);
    Notify(row, row);
}

void NameValueEditor::DeleteRow(int row) {
    rows_.erase(rows_.begin() + (row - 1));
    Notify(-1, -1);
}

void NameValueEditor::ClearKeyedRows() {
    for (int row = RowCount() - 1; row >= 1; --row) {
        if (!Row(row).key.empty()) rows_.erase(rows_.begin() + (row - 1));
    }
    Notify(-1, -1);
}

int NameValueEditor::FindRow(const std::string& key) const {
    for (int row = 1; row < RowCount(); ++row) {
        if (Row(row).key == key) return row;
    }
    return -1;
}

void NameValueEditor::Notify(int first, int last) const {
    if (onChanged) onChanged(first, last);
}

}  // namespace velmora
