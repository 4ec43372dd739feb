// The keyboard view of the main window as the key assignment model and the lighting model see
// it: each key button and G-key button shows its assignment (marked flag and tooltip), the G keys
// follow the keyboard's G-key bank. (The frames of per-key lighting are the lighting panel's.)
#pragma once

#include <functional>

#include "keyassign/key_hints.h"
#include "keyassign/key_location.h"

namespace qx::mainwnd {

class MainControls;

class KeyView final : public keyassign::KeyButtonView {
  public:
    // `reapplyFlip` applies the window's flip state to the buttons again.
    KeyView(const MainControls& controls, std::function<void()> reapplyFlip);

    // ---- keyassign::KeyButtonView
    void ShowKeyHint(int controlId, const keyassign::KeyHint& hint) override;
    void ReapplyFlipState() override;

    // Marked flags and tooltips of all buttons from the block of the keyboard's current profile
    // and G-key bank; RefreshKeyButtons then applies the flip state again.
    void RefreshKeyButtons();
    void RefreshKeyHints();
    void RefreshKeyButtons(const keyassign::BlockSelection& selection);

    // After a G-key bank switch: under the image lock, the nine G keys' marked flags from the
    // selection's bank; nothing else changes (tooltips follow with the next full refresh).
    void ShowGKeyMarks(const keyassign::BlockSelection& selection);

  private:
    const MainControls& controls_;
    std::function<void()> reapplyFlip_;
};

}  // namespace qx::mainwnd
