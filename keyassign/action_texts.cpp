#include "keyassign/action_texts.h"

#include <algorithm>

#include "keyboard/key_names.h"
#include "keyboard/key_table.h"
#include "keyboard/macro_record.h"

namespace qx::keyassign {
namespace {

constexpr int32_t kDelayStepMs = 10;

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The decimal value of a digits-only text, saturated at `limit` + 1 so that no length of text
// overflows.
int64_t SaturatedNumber(std::string_view digits, int64_t limit) {
    int64_t value = 0;
    for (const char c : digits) {
        value = std::min(value * 10 + (c - '0'), limit + 1);
    }
    return value;
}

}  // namespace

std::string_view ActionKindText(uint16_t action) {
    return action == keyboard::kMacroRelease ? kReleaseText : kPressText;
}

std::string ActionKeyText(keyboard::KeyCode code) {
    return keyboard::KeyNameOfCode(code);
}

std::string ActionDelayText(int32_t delayMs) {
    return std::to_string(delayMs);
}

std::array<std::string, kActionColumnCount> ActionRowTexts(const keyboard::MacroAction& action) {
    return {ActionKeyText(action.keyCode), std::string(ActionKindText(action.action)),
            ActionDelayText(action.delayMs)};
}

std::vector<std::string> KeyPickerItems() {
    std::vector<std::string> items;
    items.reserve(keyboard::kPickerCount);
    for (uint16_t picker = 0; picker < keyboard::kPickerCount; ++picker) {
        items.push_back(keyboard::KeyNameOfPicker(picker));
    }
    return items;
}

DelayEdit ParseDelayEdit(std::string_view text) {
    if (!IsDigits(text)) {
        return {};
    }
    const int64_t number = SaturatedNumber(text, keyboard::kMaxMacroDelayMs);
    DelayEdit edit;
    edit.cutToMaximum = number > keyboard::kMaxMacroDelayMs;
    const auto delay = static_cast<int32_t>(std::min<int64_t>(number, keyboard::kMaxMacroDelayMs));
    edit.delayMs = delay - delay % kDelayStepMs;
    return edit;
}

std::string NormaliseCountText(std::string_view text) {
    if (!IsDigits(text)) {
        return std::to_string(keyboard::kMinRepeatCount);
    }
    const int64_t number = SaturatedNumber(text, keyboard::kMaxRepeatCount);
    if (number < keyboard::kMinRepeatCount) {
        return std::to_string(keyboard::kMinRepeatCount);
    }
    if (number > keyboard::kMaxRepeatCount) {
        return std::to_string(keyboard::kMaxRepeatCount);
    }
    return std::string(text);
}

uint8_t RepeatCountOfText(std::string_view text) {
    if (!IsDigits(text)) {
        return keyboard::kMinRepeatCount;
    }
    const int64_t number = SaturatedNumber(text, keyboard::kMaxRepeatCount);
    return static_cast<uint8_t>(
        std::clamp<int64_t>(number, keyboard::kMinRepeatCount, keyboard::kMaxRepeatCount));
}

}  // namespace qx::keyassign
