// Printing the info pages as text: one row a line, the caption, a tab, the value.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "info/info_session.h"

namespace velmora {

struct PageDescriptor {
    const char* name;    // the --page argument
    const char* title;   // the heading line when several pages are printed
    void (*print)(const InfoSession& session, std::ostream& out);
};

// Every page the program can print, in the order of the window's tabs.
const std::vector<PageDescriptor>& Pages();
const PageDescriptor* FindPage(std::string_view name);

// Line feeds in values are written as the two characters \n.
std::string EscapeLineFeeds(std::string_view text);
void PrintReportList(const ReportList& list, std::ostream& out);
void PrintNameValueEditor(const NameValueEditor& editor, std::ostream& out);

}  // namespace velmora
