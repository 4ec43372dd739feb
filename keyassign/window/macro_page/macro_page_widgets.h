// The widgets of the macro page, shared by the files that make, show and drive them.
#pragma once

#include <array>
#include <string_view>

#include "keyassign/window/macro_page/macro_page.h"
#include "skin/png_button_face.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace qx::skin {
class CPngButton;
class CReportCtrl;
}  // namespace qx::skin

namespace qx::keyassign::window {

// An image button of the page: its id and the key that places it in "Skins/Composite.ini".
struct PageButtonKey {
    int id;
    std::string_view skinKey;
};

inline constexpr std::array<PageButtonKey, 9> kPageButtons{{
    {kIdAddMacro, "FUNC_MACRO_ADD"},
    {kIdDeleteMacro, "FUNC_MACRO_DELETE"},
    {kIdRecord, "FUNC_MACRO_RECORD"},
    {kIdDeleteAction, "FUNC_MACRO_DELETE2"},
    {kIdClearActions, "FUNC_MACRO_CLEAR"},
    {kIdActionTop, "FUNC_MACRO_UP_TOP"},
    {kIdActionUp, "FUNC_MACRO_UP"},
    {kIdActionDown, "FUNC_MACRO_DOWN"},
    {kIdActionBottom, "FUNC_MACRO_DOWN_BOTTOM"},
}};

// Labels and the check box: text on the page's background.
inline constexpr skin::ColorRef kLabelTextColour = 0xE4E4E4;

struct MacroPage::Widgets {
    QLabel* nameLabel = nullptr;          // 1200
    QComboBox* selector = nullptr;        // 1126
    skin::CReportCtrl* list = nullptr;    // 1019
    QLineEdit* countBox = nullptr;        // 1125
    QCheckBox* recordDelayBox = nullptr;  // 1027
    QLabel* recordDelayLabel = nullptr;   // 1133
    std::array<skin::CPngButton*, kPageButtons.size()> buttons{};
    // Buttons the skin leaves unused (placed at 1,1): they stay disabled.
    std::array<bool, kPageButtons.size()> unused{};

    // The drop-down of an in-place edit of the key or action column, over the edited cell.
    QComboBox* cellPicker = nullptr;
    int pickerRow = -1;
    int pickerColumn = -1;

    [[nodiscard]] int ButtonIndex(int id) const;
    [[nodiscard]] skin::CPngButton* ButtonOf(int id) const;
};

}  // namespace qx::keyassign::window
