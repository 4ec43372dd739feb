// The colours of the default skin, shared by the skin generator (which paints the pictures) and by
// the windows (which style their plain widgets, lists and labels to sit on those pictures).
#pragma once

#include <QColor>
#include <QPalette>
#include <QRgb>
#include <QString>
#include <QWidget>

namespace qx::skin::palette {

inline constexpr QRgb kWindow = 0xFF0D0F13;     // window ground
inline constexpr QRgb kPanel = 0xFF151920;      // raised panels
inline constexpr QRgb kPanelEdge = 0xFF252C36;  // panel outlines
inline constexpr QRgb kWell = 0xFF0A0C10;       // recessed fields (edits, lists, combos)
inline constexpr QRgb kWellEdge = 0xFF2B3340;
inline constexpr QRgb kText = 0xFFE4E4E4;          // labels (the windows' label colour)
inline constexpr QRgb kTextDim = 0xFF7F8894;       // secondary text
inline constexpr QRgb kTextDisabled = 0xFF7F7F7F;  // disabled captions
inline constexpr QRgb kAccent = 0xFF19D3FF;        // the accent: assigned keys, selection, lit LEDs
inline constexpr QRgb kAccentDeep = 0xFF0B8FB3;    // accent buttons that carry white captions
inline constexpr QRgb kAccentInk = 0xFF04161D;     // text on the accent

// Lists and edits in the default skin's colours. A widget parses its own style sheet, so a window
// that styles a few lists among many other controls gives each list this short sheet alone.
inline QString ListStyleSheet() {
    return QStringLiteral(
        "QLineEdit, QComboBox { color: #e4e4e4; background: #0a0c10; border: 1px solid #2b3340;"
        "  border-radius: 4px; padding: 2px 6px; selection-background-color: #0b8fb3; }"
        "QComboBox::drop-down { border: none; width: 20px; }"
        "QComboBox QAbstractItemView { color: #e4e4e4; background: #151920;"
        "  selection-background-color: #0b8fb3; border: 1px solid #2b3340; }");
}

// A style sheet for the plain widgets of a skinned window (labels, edits, combo boxes, check
// boxes, report lists) in the default skin's colours.
inline QString PlainWidgetStyleSheet() {
    return QStringLiteral(
               "QLabel { color: #e4e4e4; background: transparent; }"
               "QCheckBox { color: #e4e4e4; background: transparent; }"
               "QCheckBox::indicator, QTableView::indicator { width: 13px; height: 13px;"
               "  border: 1px solid #3a4350; border-radius: 3px; background: #0a0c10; }"
               "QCheckBox::indicator:checked, QTableView::indicator:checked {"
               "  background: #19d3ff; border-color: #19d3ff; }") +
           ListStyleSheet() +
           QStringLiteral(
               "QTableWidget { color: #e4e4e4; background: #0a0c10;"
               "  alternate-background-color: #10141a; gridline-color: #252c36;"
               "  border: 1px solid #2b3340; border-radius: 4px;"
               "  selection-background-color: #0b8fb3; selection-color: #ffffff; }"
               "QHeaderView { background: #151920; }"
               "QTableCornerButton::section { background: #151920; border: none; }"
               "QHeaderView::section { color: #7f8894; background: #151920; border: none;"
               "  border-right: 1px solid #252c36; border-bottom: 1px solid #252c36;"
               "  padding: 3px 6px; }"
               "QScrollBar:vertical { background: #0a0c10; width: 10px; margin: 0; }"
               "QScrollBar::handle:vertical { background: #2b3340; border-radius: 4px;"
               "  min-height: 20px; }"
               "QScrollBar::add-line, QScrollBar::sub-line { height: 0; width: 0; }");
}

// A label in the skin's label colour on a transparent ground, as the plain-widget sheet draws it,
// without a style sheet of its own (a window with many labels would parse one per label).
inline void ApplyLabelColours(QWidget& label) {
    QPalette colours = label.palette();
    colours.setColor(QPalette::WindowText, QColor::fromRgba(kText));
    label.setPalette(colours);
    label.setAutoFillBackground(false);
}

}  // namespace qx::skin::palette
