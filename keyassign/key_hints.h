// What the key buttons of the main window show of their assignments: the marked flag (set for
// every kind but 0) and a tooltip made of the key's name and a description of the assignment,
// e.g. "A" + ": reassigned" + " (key: " + "B" + ")". The pieces are language texts, joined without
// separators of their own, and the whole is cut at 259 characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "keyassign/edit_observer.h"
#include "keyassign/key_location.h"
#include "keyboard/key_code.h"
#include "keyboard/key_entry.h"

namespace qx::keyassign {

inline constexpr std::size_t kTooltipMaxChars = 259;  // UTF-16 units
// The name of G-key button g (0..8) is this format with g + 1, in both G-key banks.
inline constexpr std::string_view kGKeyNameFormat = "G%d";
inline constexpr int kFunctionCount = 11;  // keyboard functions 0..10 of kind 8

struct KeyHint {
    bool marked = false;
    std::string tooltip;
    friend bool operator==(const KeyHint&, const KeyHint&) = default;
};

// The hint of a button named `name` whose entry holds `entry`. Reads the macro area under the
// image lock for a macro's name.
KeyHint BuildAssignmentHint(std::string_view name, keyboard::ConstKeyEntryRef entry);

// The hint of the key button of `code`: the key's name (KeyNameOfCode), then the assignment.
KeyHint BuildKeyHint(keyboard::KeyCode code, keyboard::ConstKeyEntryRef entry);

// The hint of G-key button `position` (0..8): "G1".."G9", then the assignment.
KeyHint BuildGKeyHint(int position, keyboard::ConstKeyEntryRef entry);

// The hint of a button whose assignment is empty (kind 0): the name alone, not marked.
KeyHint EmptyKeyHint(keyboard::KeyCode code);
KeyHint EmptyGKeyHint(int position);

// The buttons of the main window's keyboard view, as the hint refresh sees them. The refresh and
// the reset call it on the user-interface thread with the image lock held: it only sets button
// state and must not wait for another thread.
class KeyButtonView {
  public:
    virtual ~KeyButtonView() = default;
    // Gives the button with this control id its marked flag and tooltip (activated).
    virtual void ShowKeyHint(int controlId, const KeyHint& hint) = 0;
    // Applies the view's flip state to the buttons again (after RefreshKeyButtons).
    virtual void ReapplyFlipState() {}
};

// Under the image lock: the nine G-key buttons (entries of the selection's G-key bank), then the
// 107 key buttons in the view's order, each with the hint of its entry in the selection's block.
// With an unknown profile or no image every button gets its empty hint.
void RefreshKeyHints(KeyButtonView& view, const BlockSelection& selection);

// RefreshKeyHints, then the view's flip state again.
void RefreshKeyButtons(KeyButtonView& view, const BlockSelection& selection);

// Under the image lock: the entries of the nine G keys of the selection's bank and of the 107 key
// buttons in the selection's block become 16 zero bytes (colour switch included) and each button
// gets its empty hint; then pending changes are set. Texts of text-carrying entries are kept in the
// text table (a profile file only packs texts of kinds 3 and 6, so they are not saved again).
// False, nothing changed or shown, with an unknown profile or no image.
bool ResetKeyAssignments(KeyButtonView& view, const BlockSelection& selection,
                         EditObserver& observer);

}  // namespace qx::keyassign
