// The font faces the windows and skins name, mapped to faces installed on a Linux desktop.
// The names are Windows faces, as the skin files give them; on Linux each maps to a sans-serif of
// the same role
// with wide Unicode coverage (Latin, Greek, Cyrillic, arrows and symbols). The faces are
// installed by scripts/deps.sh (fonts-dejavu-core), so the skin generator and the windows
// render the same text on every machine. The Chinese texts some windows show (column headings,
// update messages) come from the fallback face (fonts-wqy-microhei). Used by CPngButton and by
// the skin generator.
#pragma once

#include <array>
#include <string_view>

namespace qx::skin {

inline constexpr std::string_view kFaceArialUnicode = "Arial Unicode MS";
inline constexpr std::string_view kFaceTahomaUnicode = "Tahoma Unicode MS";
inline constexpr std::string_view kFaceVerdanaUnicode = "Verdana Unicode MS";

// The face every skin face maps to, and the face for the characters it lacks (CJK).
inline constexpr std::string_view kInstalledSansFace = "DejaVu Sans";
inline constexpr std::string_view kInstalledFallbackFace = "WenQuanYi Micro Hei";

struct FontFaceMapping {
    std::string_view skinFace;       // as the code and the skins name it
    std::string_view installedFace;  // what is drawn with on Linux
};

inline constexpr std::array<FontFaceMapping, 3> kFontFaceMappings{{
    {kFaceArialUnicode, kInstalledSansFace},    // captions of buttons and labels
    {kFaceTahomaUnicode, kInstalledSansFace},   // the image button's default face
    {kFaceVerdanaUnicode, kInstalledSansFace},  // the version label
}};

// The installed face for a face name the skins use; a name that is not in the table is returned
// unchanged (an installed face given by its own name).
constexpr std::string_view InstalledFace(std::string_view face) {
    for (const FontFaceMapping& mapping : kFontFaceMappings) {
        if (mapping.skinFace == face) {
            return mapping.installedFace;
        }
    }
    return face;
}

}  // namespace qx::skin
