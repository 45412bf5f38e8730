// The CSV sink the listers write their cells into during an export.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace velmora {

// Removes leading and trailing characters whose code is 32 or less.
std::string TrimControlAndBlanks(std::string_view text);

class CsvSink {
public:
    CsvSink(std::ostream& out, std::string delimiter) : out_(out), delimiter_(std::move(delimiter)) {}

    // The delimiter string that follows every cell: "," or ";".
    const std::string& CsvDelimiter() const { return delimiter_; }

    // A double quote, the text as it is (quotes and delimiters inside are not escaped),
    // a double quote, the delimiter. Header and value cells share this form.
    void WriteCell(std::string_view text);
    // The line feed that stands before each exported file's row.
    void WriteRowBreak();

private:
    std::ostream& out_;
    std::string delimiter_;
};

}  // namespace velmora
