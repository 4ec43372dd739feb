#include "mainwnd/key_view.h"

#include <QString>
#include <utility>

#include "keyboard/image_holders.h"
#include "keyboard/key_buttons.h"
#include "mainwnd/main_controls.h"
#include "skin/png_button.h"

namespace qx::mainwnd {

KeyView::KeyView(const MainControls& controls, std::function<void()> reapplyFlip)
    : controls_(controls), reapplyFlip_(std::move(reapplyFlip)) {}

void KeyView::ShowKeyHint(int controlId, const keyassign::KeyHint& hint) {
    skin::CPngButton* button = controls_.Button(controlId);
    if (button == nullptr) {
        return;
    }
    button->SetMarked(hint.marked);
    button->SetTooltip(QString::fromStdString(hint.tooltip), true);
}

void KeyView::ReapplyFlipState() {
    if (reapplyFlip_) {
        reapplyFlip_();
    }
}

void KeyView::RefreshKeyButtons() {
    RefreshKeyButtons(keyassign::CurrentBlockSelection());
}

void KeyView::RefreshKeyButtons(const keyassign::BlockSelection& selection) {
    keyassign::RefreshKeyButtons(*this, selection);
}

void KeyView::RefreshKeyHints() {
    keyassign::RefreshKeyHints(*this, keyassign::CurrentBlockSelection());
}

void KeyView::ShowGKeyMarks(const keyassign::BlockSelection& selection) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    const keyboard::ImageRecord* image = guard->image.get();
    if (image == nullptr || !selection.IsKnown()) {
        return;
    }
    const int bank = selection.gKeyBank == 0 ? 0 : 1;
    for (int g = 0; g < keyboard::kGKeyButtonCount; ++g) {
        const int id = keyboard::kGKeyButtonIds[static_cast<std::size_t>(g)];
        if (skin::CPngButton* button = controls_.Button(id)) {
            const auto entry = image->Entry(selection.profile, keyboard::GKeyEntryIndex(g, bank));
            button->SetMarked(entry.Kind() != keyboard::kKindDefault);
        }
    }
}

}  // namespace qx::mainwnd
