// Fonts of the skinned windows: a face as the skins name it ("Arial Unicode MS", ...) at a size
// in points, made from the installed face it maps to (font_faces.h) with the CJK fallback.
#pragma once

#include <QFont>
#include <string_view>

namespace qx::skin {

// The font for `skinFace` at `points` on a screen of `dpiY` dots per inch: pixel height
// round(points × dpiY ÷ 72), the given weight on the Windows scale (400 normal).
QFont MakeSkinFont(std::string_view skinFace, double points, int dpiY, int weight = 400);

}  // namespace qx::skin
