// The web links of the main window: the targets of the web link (1121) and the two social links
// (1209, 1210) come from section "SCREEN" of the main skin file; a skin without a key gets the
// project's own page. Qt-free.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qx::mainwnd {

// Used when the skin names no target.
inline constexpr std::string_view kFallbackLink = "https://www.example.com/qx480-driver";
// Link targets are read into a buffer of this many characters (terminator included).
inline constexpr std::size_t kLinkBuffer = 260;

struct LinkTargets {
    std::string web;
    std::string facebook;
    std::string twitter;
};

// The three targets from the skin file at `iniPath`.
LinkTargets ReadLinkTargets(const std::string& iniPath);

// The target of a link button (1121, 1209 or 1210); empty for any other id.
std::string LinkTargetOf(const LinkTargets& targets, int controlId);

}  // namespace qx::mainwnd
