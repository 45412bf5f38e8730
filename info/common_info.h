// The Common Info page: the nine properties every image has.
#pragma once

#include <string>

#include "info/info_mode.h"
#include "info/info_session.h"

namespace velmora {

// Creates the nine fixed rows of the Common Info list, each with an empty value and help text.
void CreateCommonInfoRows(ReportList& list);
// Fills the rows (LIST) or writes their header (HEAD) or value (FILE) cells; the path is not used.
void ListCommonInfo(InfoSession& session, const std::string& path, InfoMode mode);

}  // namespace velmora
