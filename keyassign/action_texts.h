// The texts of the macro editor's action list and the rules of its two typed fields: the delay
// cell and the repeat count box. The list has three columns of 60 pixels: the key's name, the
// action (press or release) and the delay in milliseconds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/key_code.h"
#include "keyboard/macro_record.h"
#include "lang/language_keys.h"

namespace qx::keyassign {

inline constexpr std::string_view kPressText = "\xE2\x86\x93";      // "↓"
inline constexpr std::string_view kReleaseText = "  \xE2\x86\x91";  // "  ↑": two spaces, then ↑

enum ActionColumn { kKeyColumn = 0, kActionColumn = 1, kDelayColumn = 2 };
inline constexpr int kActionColumnCount = 3;
inline constexpr std::array<std::string_view, kActionColumnCount> kActionColumnHeadings{
    lang::kMacroKeysTishi, lang::kMacroActionTishi, lang::kMacroDelayMs};
inline constexpr int kActionColumnWidth = 60;  // pixels, left-aligned
// Heights in rows of the key column's and the action column's drop-down lists.
inline constexpr int kKeyPickerDropRows = 20;
inline constexpr int kActionPickerDropRows = 6;

// The action column's text: "  ↑" for a release (1), "↓" for anything else (a press).
std::string_view ActionKindText(uint16_t action);
// The key column's text: the key's name in the user's language.
std::string ActionKeyText(keyboard::KeyCode code);
// The delay column's text: the delay in decimal.
std::string ActionDelayText(int32_t delayMs);

// The three cell texts of a row: key name, action, delay.
std::array<std::string, kActionColumnCount> ActionRowTexts(const keyboard::MacroAction& action);

// The key column's drop-down: the names of picker numbers 0..110 in number order; a row's entry
// is PickerOfKeyCode of its key code (none when the key is not in the picker).
std::vector<std::string> KeyPickerItems();
// The action column's drop-down: press, release.
inline constexpr std::array<std::string_view, 2> kActionPickerItems{kPressText, kReleaseText};

// An edited delay cell: its new delay, and whether it was cut to the maximum (the caller then
// shows "MACRO_ACTION_ERR_DELAY_MAX"). Digits only: an empty text, or one with anything but
// digits, leaves the delay unchanged (no delay). The number is held to 40000 and rounded down to
// a multiple of 10.
struct DelayEdit {
    std::optional<int32_t> delayMs;
    bool cutToMaximum = false;
};
DelayEdit ParseDelayEdit(std::string_view text);

// The count box's rule, applied whenever its text changes: a text that is not a decimal number
// (digits only), or a number below 1, becomes "1"; a number above 255 becomes "255"; any other
// text stays as it is.
std::string NormaliseCountText(std::string_view text);
// The repeat count a (normalised) count box text holds, 1..255.
uint8_t RepeatCountOfText(std::string_view text);

}  // namespace qx::keyassign
