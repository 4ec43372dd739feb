#include "mainwnd/hover_groups.h"

#include <QEvent>
#include <array>

#include "keyboard/key_buttons.h"
#include "mainwnd/flip_state.h"
#include "mainwnd/main_controls.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/main_layout.h"
#include "skin/png_button.h"

namespace qx::mainwnd {
namespace {

constexpr std::array kGroupLeaders{kIdBankIndicator, kIdEnterKey, kIdFlip0, kIdFlip1, kIdFlip2};
constexpr const char* kLeaderProperty = "qxHoverLeader";

}  // namespace

HoverGroups::HoverGroups(const MainControls& controls, MainLayout& layout, QObject* parent)
    : QObject(parent), controls_(controls), layout_(layout) {}

void HoverGroups::Install() {
    for (const int id : kGroupLeaders) {
        if (skin::CPngButton* button = controls_.Button(id)) {
            button->setProperty(kLeaderProperty, id);
            button->installEventFilter(this);
        }
    }
}

std::vector<int> HoverGroups::GroupOf(int controlId) const {
    switch (controlId) {
        case kIdBankIndicator:
            return {keyboard::kGKeyButtonIds.begin(), keyboard::kGKeyButtonIds.end()};
        case kIdEnterKey:
            return {kIdEnterPartner};
        case kIdFlip0: {
            const auto keys = FlipEnabledButtons(layout_.FlipOn());
            std::vector<int> group(keys.begin(), keys.end());
            group.insert(group.end(), {kIdF5, kIdFlip1, kIdFlip2});
            return group;
        }
        case kIdFlip1:
        case kIdFlip2:
            return {kIdLeftArrow, kIdRightArrow};
        default:
            return {};
    }
}

bool HoverGroups::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Enter || type == QEvent::Leave) {
        const QVariant leader = watched->property(kLeaderProperty);
        if (leader.isValid()) {
            OnHoverChanged(leader.toInt(), type == QEvent::Enter);
        }
    }
    return QObject::eventFilter(watched, event);
}

void HoverGroups::OnHoverChanged(int controlId, bool entered) {
    if (controlId == kIdFlip1 || controlId == kIdFlip2) {
        layout_.PlaceArrows(entered ? kArrowFrameHover : kArrowFrameNormal);
    }
    for (const int id : GroupOf(controlId)) {
        if (skin::CPngButton* button = controls_.Button(id)) {
            button->update();
        }
    }
}

}  // namespace qx::mainwnd
