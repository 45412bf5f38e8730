#include "info/info_mode.h"

#include <array>
#include <utility>

namespace velmora {

namespace {
constexpr std::array<std::pair<InfoMode, std::string_view>, 4> kWords{{
    {InfoMode::List, "LIST"},
    {InfoMode::Head, "HEAD"},
    {InfoMode::File, "FILE"},
    {InfoMode::Image, "IMAGE"},
}};
}  // namespace

std::string_view InfoModeWord(InfoMode mode) {
    for (const auto& [m, word] : kWords) {
        if (m == mode) return word;
    }
    return {};
}

std::optional<InfoMode> ParseInfoMode(std::string_view word) {
    for (const auto& [m, w] : kWords) {
        if (w == word) return m;
    }
    return std::nullopt;
}

}  // namespace velmora
