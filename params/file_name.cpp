#include "params/file_name.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr const char* kNameDelimiters = "/\\:";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

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
    const std::string own = ExtractFileExt(path);
    return std::equal(own.begin(), own.end(), ext.begin(), ext.end(),
                      [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
}

}  // namespace velmora
