// Case mapping of ASCII letters only, whatever the process locale: file extensions, property
// names and format markers are ASCII, and other bytes must pass through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

inline std::string UpperAscii(std::string s) {
    for (char& c : s) c = UpperAscii(c);
    return s;
}

inline std::string LowerAscii(std::string s) {
    for (char& c : s) c = LowerAscii(c);
    return s;
}

inline bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}

}  // namespace velmora
