#include "mainwnd/main_controls.h"

#include <array>

#include "keyboard/key_buttons.h"
#include "mainwnd/main_ids.h"
#include "skin/png_button.h"

namespace qx::mainwnd {
namespace {

// Every button that is neither a key of the key table nor a G key.
constexpr std::array kOtherButtons{
    kIdOk,          kIdCancel,     kIdProfiles,      kIdApply,    kIdMacro, kIdTest,
    kIdProfileMenu, kIdWebLink,    kIdHelp,          kIdMinimize, kIdClose, kIdCapsLock,
    kIdNumLock,     kIdScrollLock, kIdBankIndicator, kIdFlip0,    kIdFlip1, kIdFlip2,
    kIdLeftArrow,   kIdRightArrow, kIdVersion,       kIdDefault,  kIdMenu,  kIdFacebookLink,
    kIdTwitterLink, kIdFn,
};

}  // namespace

MainControls::MainControls(QWidget& window) {
    for (const keyboard::KeyButton& key : keyboard::KeyButtons()) {
        Add(window, key.controlId);
    }
    for (const int id : keyboard::kGKeyButtonIds) {
        Add(window, id);
    }
    for (const int id : kIdD1ToD6) {
        Add(window, id);
    }
    for (const int id : kIdProfileButtons) {
        Add(window, id);
    }
    for (const int id : kReportRateButtonIds) {
        Add(window, id);
    }
    for (const int id : kOtherButtons) {
        Add(window, id);
    }
    // Nothing ever shows these two; their commands stay reachable.
    Button(kIdTest)->hide();
    Button(kIdProfileMenu)->hide();
}

void MainControls::Add(QWidget& window, int controlId) {
    auto* button = new skin::CPngButton(&window);
    button->setObjectName(QStringLiteral("control%1").arg(controlId));
    buttons_[controlId] = button;
}

skin::CPngButton* MainControls::Button(int controlId) const {
    const auto found = buttons_.find(controlId);
    return found == buttons_.end() ? nullptr : found->second;
}

std::vector<int> MainControls::ButtonIds() const {
    std::vector<int> ids;
    ids.reserve(buttons_.size());
    for (const auto& [id, button] : buttons_) {
        ids.push_back(id);
    }
    return ids;
}

bool IsKeyClickButton(int controlId) {
    return keyboard::KeyButtonOfId(controlId).has_value() ||
           keyboard::GKeyButtonPosition(controlId).has_value();
}

}  // namespace qx::mainwnd
