#include "skin/png_button_face.h"

#include <QFont>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace qx::skin {
namespace {

constexpr int kTenthsPerDegree = 10;
constexpr int kHalfCircleDegrees = 180;
constexpr int kPointsPerInch = 72;
constexpr int kMinQtWeight = 1;
constexpr int kMaxQtWeight = 1000;

double RadiansOfTenths(int angleTenths) {
    return static_cast<double>(angleTenths) / kTenthsPerDegree * std::numbers::pi /
           kHalfCircleDegrees;
}

}  // namespace

QColor ColourOfColorRef(ColorRef colour) {
    return {static_cast<int>(colour & 0xFFU), static_cast<int>((colour >> 8U) & 0xFFU),
            static_cast<int>((colour >> 16U) & 0xFFU)};
}

int QtFlagsOfTextFormat(unsigned format) {
    int flags = 0;
    if ((format & kTextCenter) != 0) {
        flags |= Qt::AlignHCenter;
    } else if ((format & kTextRight) != 0) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    // The skins' formats are DrawText flags, whose vertical placement applies to single-line
    // text only; wrapped text always starts at the top.
    if ((format & kTextSingleLine) != 0) {
        flags |= Qt::TextSingleLine;
        if ((format & kTextVCenter) != 0) {
            flags |= Qt::AlignVCenter;
        } else if ((format & kTextBottom) != 0) {
            flags |= Qt::AlignBottom;
        } else {
            flags |= Qt::AlignTop;
        }
    } else {
        flags |= Qt::AlignTop;
        if ((format & kTextWordBreak) != 0) {
            flags |= Qt::TextWordWrap;
        }
    }
    if ((format & kTextNoPrefix) == 0) {
        flags |= Qt::TextShowMnemonic;
    }
    return flags;
}

int QtWeightOf(int weight) {
    return std::clamp(weight, kMinQtWeight, kMaxQtWeight);
}

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const long long product = static_cast<long long>(a) * b;
    long long quotient = product / c;
    const long long remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<long long>(c))) {
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    }
    return static_cast<int>(quotient);
}

int FontPixelHeight(int points, int dpiY) {
    return MulDiv(points, dpiY, kPointsPerInch);
}

FaceChoice ChooseFace(const ButtonState& state) {
    if (!state.enabled) {
        return {SheetSlot::Disable, ColourSlot::Disable};
    }
    if (state.toggleMode) {
        return {state.toggleSelector == 1 ? SheetSlot::ToggleB : SheetSlot::ToggleA,
                ColourSlot::Normal};
    }
    if (state.pressed) {
        return {SheetSlot::Down, ColourSlot::Down};
    }
    if (state.hover) {
        return {SheetSlot::Over, ColourSlot::Over};
    }
    if (state.marked) {
        return {SheetSlot::Marked, ColourSlot::Marked};
    }
    return {SheetSlot::Normal, ColourSlot::Normal};
}

QRect SheetSourceRect(QPoint source, QSize client) {
    return {source.x() - 1, source.y() - 1, client.width(), client.height()};
}

TextBox LayoutTextBox(QSize client, const TextMargins& margins, int angleTenths, bool centreRotated,
                      QSize textSize) {
    TextBox box{margins.left, margins.top, client.width() + margins.right,
                client.height() + margins.bottom};
    if (!centreRotated) {
        return box;
    }
    const double angle = RadiansOfTenths(angleTenths);
    const int cx = textSize.width();
    const int cy = textSize.height();
    const int turnedWidth = static_cast<int>(cx * std::cos(angle));
    const int turnedHeight = static_cast<int>(cx * std::sin(angle));
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (turnedWidth < width) {
        box.left =
            box.left + (width - turnedWidth) / 2 - static_cast<int>(cy * std::sin(angle)) / 2;
    }
    if (turnedHeight < height) {
        box.bottom =
            box.bottom - (height - turnedHeight) / 2 + static_cast<int>(cy * std::cos(angle)) / 2;
    }
    return box;
}

QPoint RotatedTextOrigin(const TextBox& box, int angleTenths, int textHeight) {
    const double angle = RadiansOfTenths(angleTenths);
    return {box.left, box.bottom - static_cast<int>(textHeight * std::cos(angle))};
}

}  // namespace qx::skin
