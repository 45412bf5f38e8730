// The four things an info lister can be asked to do.
#pragma once

#include <optional>
#include <string_view>

namespace velmora {

enum class InfoMode {
    List,   // "LIST": fill the page on screen
    Head,   // "HEAD": write the column headers into the CSV sink
    File,   // "FILE": write one file's cells into the CSV sink
    Image,  // "IMAGE": take edited values back and write them into the file
};

// The mode's word: "LIST", "HEAD", "FILE" or "IMAGE".
std::string_view InfoModeWord(InfoMode mode);
// Exact, case-sensitive match of one of the four words; nullopt for anything else.
std::optional<InfoMode> ParseInfoMode(std::string_view word);

}  // namespace velmora
