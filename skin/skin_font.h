// Fonts of the skinned windows: a face named by the design ("Arial Unicode MS", ...) at a size
// in points, made from the installed face it maps to (font_faces.h) with the CJK fallback.
#pragma once

#include <QFont>
#include <string_view>

namespace qx::skin {

// The font for `designFace` at `points` on a screen of `dpiY` dots per inch: pixel height
// round(points × dpiY ÷ 72), the given design weight (400 normal).
QFont MakeSkinFont(std::string_view designFace, double points, int dpiY, int designWeight = 400);

}  // namespace qx::skin
