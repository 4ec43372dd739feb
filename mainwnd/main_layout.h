// The main window's layout: every button is moved, sized and given its sheets from the main skin
// file, the keyboard view by the keys' table indices. The flip setting decides which of F1..F4
// and D1..D6 are in use, which picture the flip indicator shows and which arrow pictures are
// cut from the arrow sheet.
#pragma once

#include <set>
#include <string>

#include "mainwnd/main_sheets.h"

namespace qx::mainwnd {

class MainControls;
struct LinkTargets;

// The text style of the captions drawn over the sheets.
inline constexpr int kCaptionPoints = 10;
inline constexpr int kVersionPoints = 8;
inline constexpr unsigned kCaptionWhite = 0xFFFFFF;
inline constexpr unsigned kCaptionGrey = 0x7F7F7F;

class MainLayout {
  public:
    MainLayout(const MainControls& controls, const MainSheets& sheets);

    // Places every button from the skin file at `iniPath` and applies the flip setting.
    void PlaceAll(const std::string& iniPath, const LinkTargets& links);

    // The stored flip setting, applied: F1..F4 or D1..D6 enabled (the others disabled), the
    // flip indicator's picture and the arrows.
    void ApplyFlipState();
    void ApplyFlipState(bool flipOn);
    // Both arrows with frame 1 (normal) or 2 (a flip button is hovered).
    void PlaceArrows(int frame);

    // A key's own sheets again (after its key assignment window closed).
    void RestoreKeySheets(int controlId);
    // The caption style of Profile1..3, macro, default, OK, Cancel and Apply.
    void ApplyCaptionStyle(int controlId);

    [[nodiscard]] bool FlipOn() const { return flipOn_; }
    [[nodiscard]] int ArrowFrame() const { return arrowFrame_; }
    // True when the skin leaves the button unused (its key is missing or starts with 1,1).
    [[nodiscard]] bool IsUnused(int controlId) const { return unused_.contains(controlId); }

  private:
    void PlaceKeyboardView();
    void PlaceCommandButtons(const LinkTargets& links);
    void Place(int controlId, const std::string& key, const SheetPattern& pattern);
    // A button the skin has no key for: 1 × 1 at 1,1.
    void PlaceOutsideSkin(int controlId, const SheetPattern& pattern);
    void ApplyTextSettings();

    const MainControls& controls_;
    const MainSheets& sheets_;
    std::string iniPath_;
    std::set<int> unused_;
    bool flipOn_ = false;
    int arrowFrame_ = 1;
};

}  // namespace qx::mainwnd
