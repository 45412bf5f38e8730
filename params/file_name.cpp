#include "params/file_name.h"

#include "params/ascii_text.h"

namespace velmora {

namespace {

constexpr const char* kNameDelimiters = "/\\:";

}  // namespace

std::string ExtractFileName(const std::string& path) {
    const size_t cut = path.find_last_of(kNameDelimiters);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string ExtractFileExt(const std::string& path) {
    const size_t cut = path.find_last_of(kNameDelimiters);
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (cut != std::string::npos && dot < cut)) return {};
    return path.substr(dot);
}

bool HasFileExt(const std::string& path, std::string_view ext) {
    return EqualsIgnoreAsciiCase(ExtractFileExt(path), ext);
}

}  // namespace velmora
