#include "keyassign/key_location.h"

#include "device/connection/current_profile.h"
#include "device/connection/device_connection.h"
#include "keyboard/image_layout.h"
#include "keyboard/key_buttons.h"

namespace qx::keyassign {

bool BlockSelection::IsKnown() const {
    return profile >= 0 && profile < keyboard::kProfileCount;
}

BlockSelection CurrentBlockSelection() {
    return BlockSelection{device::GetCurrentProfile(), device::GetGKeyBank()};
}

std::optional<KeyEntryLocation> LocateKeyEntry(int controlId, int gKeyBank) {
    const bool macroOnly = controlId == kMacroOnlyControlId;
    if (const std::optional<int> position = keyboard::GKeyButtonPosition(controlId)) {
        const int bank = gKeyBank == 0 ? 0 : 1;
        return KeyEntryLocation{keyboard::GKeyEntryIndex(*position, bank), macroOnly};
    }
    if (const std::optional<keyboard::KeyButton> button = keyboard::KeyButtonOfId(controlId)) {
        return KeyEntryLocation{keyboard::KeyIndexOfCode(button->keyCode), macroOnly};
    }
    return std::nullopt;
}

std::optional<KeyEntryLocation> LocateKeyEntry(int controlId) {
    return LocateKeyEntry(controlId, device::GetGKeyBank());
}

uint16_t GCodeOfEntry(int entryIndex) {
    const int offset = entryIndex - keyboard::kFirstGKeyEntry;
    if (offset < 0 || offset >= keyboard::kGKeyEntryCount) {
        return 0;
    }
    return keyboard::GKeyDefaultCode(offset % keyboard::kGKeyButtonCount,
                                     offset / keyboard::kGKeyButtonCount);
}

}  // namespace qx::keyassign
