// The profile manager's template and control ids, and the columns of its list.
#pragma once

#include <array>
#include <string_view>

namespace qx::profiles::manager {

inline constexpr int kProfileTemplateId = 131;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdProfileList = 1007;
inline constexpr int kIdLoad = 1008;
inline constexpr int kIdAdd = 1010;
inline constexpr int kIdDelete = 1011;
inline constexpr int kIdApply = 1012;
// A button of the window that is never shown and does nothing.
inline constexpr int kIdHidden = 1013;

// The list's columns: the active check, the file's name, its folder. The headings are the
// program's own, in every language.
struct ProfileColumn {
    std::string_view heading;  // UTF-8
    int width;
};
inline constexpr int kColumnActive = 0;
inline constexpr int kColumnName = 1;
inline constexpr int kColumnFolder = 2;
inline constexpr std::array<ProfileColumn, 3> kProfileColumns{{
    {"激活", 60},
    {"名称", 120},
    {"路径", 230},
}};

}  // namespace qx::profiles::manager
