#include "profiles/macro_area.h"

#include "keyboard/image_holders.h"

namespace qx::profiles {

uint16_t MacroIdAt(int index) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    const auto& macros = guard->macros;
    if (index < 0 || static_cast<std::size_t>(index) >= macros.size()) {
        return 0;
    }
    return macros[static_cast<std::size_t>(index)].Id();
}

int MacroIndexOfId(uint16_t id) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    const auto& macros = guard->macros;
    for (std::size_t i = 0; i < macros.size(); ++i) {
        if (macros[i].Id() == id) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

std::span<const uint8_t> MacroAreaBytes(const std::vector<keyboard::MacroRecord>& macros) {
    return {reinterpret_cast<const uint8_t*>(macros.data()),
            macros.size() * keyboard::kMacroRecordSize};
}

std::span<uint8_t> MacroAreaBytes(std::vector<keyboard::MacroRecord>& macros) {
    return {reinterpret_cast<uint8_t*>(macros.data()), macros.size() * keyboard::kMacroRecordSize};
}

void ClearMacroArea() {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    guard->macros.clear();
    guard->macros.shrink_to_fit();
}

}  // namespace qx::profiles
