#include "info/csv_sink.h"

namespace velmora {

std::string TrimControlAndBlanks(std::string_view text) {
    const auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && isTrimmed(text[first])) ++first;
    while (last > first && isTrimmed(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

void CsvSink::WriteCell(std::string_view text) {
    out_ << '"';
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
    out_ << '"' << delimiter_;
}

void CsvSink::WriteRowBreak() {
    out_ << '\n';
}

}  // namespace velmora
