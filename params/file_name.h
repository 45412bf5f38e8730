// The file-name part and the extension of a path.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Everything after the last path delimiter ("/" or "\") or drive colon; the whole path when none.
std::string ExtractFileName(const std::string& path);

// The file name from its last "." on (the dot included); empty when the file name has no dot.
std::string ExtractFileExt(const std::string& path);

// Whether the path's extension equals ext, ASCII letters compared without case.
bool HasFileExt(const std::string& path, std::string_view ext);

}  // namespace velmora
