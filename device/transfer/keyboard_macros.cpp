#include "device/transfer/keyboard_macros.h"

#include <mutex>

namespace qx::device {
namespace {

struct KeyboardMacros {
    std::mutex mutex;
    std::optional<MacroIds> ids;
};

KeyboardMacros& State() {
    static KeyboardMacros state;
    return state;
}

MacroIds IdsOf(std::span<const keyboard::MacroRecord> macros) {
    MacroIds ids;
    ids.reserve(macros.size());
    for (const keyboard::MacroRecord& macro : macros) {
        ids.push_back(macro.Id());
    }
    return ids;
}

}  // namespace

std::optional<MacroIds> KeyboardMacroIds() {
    const std::lock_guard lock(State().mutex);
    return State().ids;
}

void RememberKeyboardMacros(std::span<const keyboard::MacroRecord> macros) {
    MacroIds ids = IdsOf(macros);
    const std::lock_guard lock(State().mutex);
    State().ids = std::move(ids);
}

void ForgetKeyboardMacros() {
    const std::lock_guard lock(State().mutex);
    State().ids.reset();
}

bool MovesKeyboardMacros(const std::optional<MacroIds>& onKeyboard,
                         std::span<const keyboard::MacroRecord> next) {
    if (!onKeyboard) {
        return true;
    }
    for (std::size_t position = 0; position < onKeyboard->size(); ++position) {
        if (position >= next.size() || next[position].Id() != (*onKeyboard)[position]) {
            return true;
        }
    }
    return false;
}

}  // namespace qx::device
