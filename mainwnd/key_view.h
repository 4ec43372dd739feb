// The keyboard view of the main window as the key assignment model and the lighting model see
// it: each key button and G-key button shows its assignment (marked flag and tooltip), the G keys
// follow the keyboard's G-key bank, and in the per-key lighting mode the buttons show frames
// instead of pictures.
#pragma once

#include <functional>

#include "keyassign/key_hints.h"
#include "keyassign/key_location.h"

namespace qx::mainwnd {

class MainControls;

// Frames of the per-key lighting view.
inline constexpr unsigned kFrameLit = 0xFFFFFF;
inline constexpr unsigned kFrameUnlit = 0x000000;
inline constexpr int kFrameLevel = 50;

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

    // Per-key lighting: frame the button white (lit) or black; or every button back to its
    // picture with its marked flag cleared.
    void SetKeyFrame(int controlId, bool lit);
    void ClearFrames();

  private:
    const MainControls& controls_;
    std::function<void()> reapplyFlip_;
};

}  // namespace qx::mainwnd
