// The drawing decisions of an image button, apart from the widget so that they can be checked
// without pixels: which sheet and text colour a state draws, where in the sheet the face is cut,
// how the Windows text-format bits and colours translate, and where rotated text goes.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

namespace qx::skin {

// A colour as the skins and windows give it: 0x00BBGGRR.
using ColorRef = std::uint32_t;
QColor ColourOfColorRef(ColorRef colour);

// Text-format bits as the skins and windows give them (the values of DrawText's flags).
inline constexpr unsigned kTextCenter = 0x01;
inline constexpr unsigned kTextRight = 0x02;
inline constexpr unsigned kTextVCenter = 0x04;
inline constexpr unsigned kTextBottom = 0x08;
inline constexpr unsigned kTextWordBreak = 0x10;
inline constexpr unsigned kTextSingleLine = 0x20;
inline constexpr unsigned kTextNoPrefix = 0x800;
// 37 = 0x25: centred horizontally and vertically on one line.
inline constexpr unsigned kDefaultTextFormat = kTextCenter | kTextVCenter | kTextSingleLine;

// Qt text flags (alignment and wrapping) of a text format.
int QtFlagsOfTextFormat(unsigned format);

// Font weights on the Windows scale the windows use (400 normal), and the weight Qt draws them
// with.
inline constexpr int kWeightNormal = 400;
inline constexpr int kWeightCentreRotated = 956;
int QtWeightOf(int weight);

// round(a × b ÷ c) with halves away from zero, as the platform's MulDiv; -1 when c is 0.
int MulDiv(int a, int b, int c);
// The pixel height of a font of `points` on a screen with `dpiY` dots per inch.
int FontPixelHeight(int points, int dpiY);

enum class SheetSlot { Normal, Over, Down, Disable, Marked, ToggleA, ToggleB };
enum class ColourSlot { Normal, Over, Down, Disable, Marked };

struct ButtonState {
    bool enabled = true;
    bool toggleMode = false;
    int toggleSelector = 0;
    bool pressed = false;
    bool hover = false;
    bool marked = false;
};

struct FaceChoice {
    SheetSlot sheet;
    ColourSlot colour;
    bool operator==(const FaceChoice&) const = default;
};

// First rule that applies: disabled, toggle mode, pressed, hover, marked, normal.
FaceChoice ChooseFace(const ButtonState& state);

// The rectangle of a sheet shown by a button whose source point is `source`: client-sized, its
// top-left corner at (source x − 1, source y − 1).
QRect SheetSourceRect(QPoint source, QSize client);

// A rectangle with exclusive right and bottom edges, as the text layout computes it.
struct TextBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const TextBox&) const = default;
};

struct TextMargins {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

// The rectangle the text is drawn into: the client rectangle moved by the margins and, with the
// centre-rotated flag, centred for a text of `textSize` turned by `angleTenths` of a degree.
TextBox LayoutTextBox(QSize client, const TextMargins& margins, int angleTenths, bool centreRotated,
                      QSize textSize);

// Where rotated text starts (the top-left corner of its unrotated cell): the left edge of the box
// and, above its bottom edge, the text height turned by the angle.
QPoint RotatedTextOrigin(const TextBox& box, int angleTenths, int textHeight);

}  // namespace qx::skin
