// The system's 8-bit code page and UTF-16 text. On this system the 8-bit code page is UTF-8.
#pragma once

#include <string>

namespace velmora {

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string WideToCodePage(const std::u16string& text);
// UTF-8 to UTF-16; a byte that does not begin a well-formed sequence becomes U+FFFD.
std::u16string CodePageToWide(const std::string& text);

}  // namespace velmora
