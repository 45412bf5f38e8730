#include "cli/page_printer.h"

namespace velmora {

std::string EscapeLineFeeds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

void PrintReportList(const ReportList& list, std::ostream& out) {
    for (int i = 0; i < list.RowCount(); ++i) {
        const ReportRow& row = list.Row(i);
        if (row.IsSeparator()) {
            out << '\n';
            continue;
        }
        out << EscapeLineFeeds(row.caption) << '\t' << EscapeLineFeeds(row.SubItem(0)) << '\n';
    }
}

void PrintNameValueEditor(const NameValueEditor& editor, std::ostream& out) {
    for (int row = 1; row < editor.RowCount(); ++row) {
        const NameValueRow& r = editor.Row(row);
        out << EscapeLineFeeds(r.key) << '\t' << EscapeLineFeeds(r.value) << '\n';
    }
}

const std::vector<PageDescriptor>& Pages() {
    static const std::vector<PageDescriptor> pages{
        {"common", "[Common Info]",
         [](const InfoSession& s, std::ostream& out) { PrintReportList(s.CommonInfoList, out); }},
        {"special", "[Special Info]",
         [](const InfoSession& s, std::ostream& out) { PrintReportList(s.SpecialInfoList, out); }},
    };
    return pages;
}

const PageDescriptor* FindPage(std::string_view name) {
    for (const auto& page : Pages()) {
        if (name == page.name) return &page;
    }
    return nullptr;
}

}  // namespace velmora
