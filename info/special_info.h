// The Special Info page: the properties particular to the file's format, with a help text each.
#pragma once

#include <string>

#include "info/info_mode.h"
#include "info/info_session.h"

namespace velmora {

// Empties the Special Info list, then in LIST appends the rows of the catalogue groups that
// apply to the file, in HEAD writes a header cell for every catalogue row, and in FILE a value
// cell for every catalogue row (empty for groups that do not apply). IMAGE does nothing.
// The path serves only the AVI group's test.
void ListSpecialInfo(InfoSession& session, const std::string& path, InfoMode mode);

}  // namespace velmora
