#include "keyboard/macro_record.h"

#include <algorithm>
#include <stdexcept>

#include "keyboard/byte_order.h"

namespace qx::keyboard {
namespace {

constexpr std::size_t kActionDelayOffset = 0;
constexpr std::size_t kActionKeyOffset = 4;
constexpr std::size_t kActionKindOffset = 6;

std::size_t ActionOffset(int index) {
    if (index < 0 || index >= kMaxMacroActions) {
        throw std::out_of_range("macro action outside 0..1999");
    }
    return kMacroActionsOffset + kMacroActionSize * static_cast<std::size_t>(index);
}

}  // namespace

std::u16string MacroRecord::Name() const {
    std::u16string name;
    for (std::size_t unit = 0; unit < kMacroNameMaxChars; ++unit) {
        const uint16_t c = LoadLe16(bytes_, 2 * unit);
        if (c == 0) {
            break;
        }
        name += static_cast<char16_t>(c);
    }
    return name;
}

void MacroRecord::SetName(std::u16string_view name) {
    std::fill_n(bytes_.begin(), 2 * kMacroNameUnits, uint8_t{0});
    const std::size_t units = std::min(name.size(), kMacroNameMaxChars);
    for (std::size_t unit = 0; unit < units; ++unit) {
        StoreLe16(bytes_, 2 * unit, static_cast<uint16_t>(name[unit]));
    }
}

uint16_t MacroRecord::NewFlag() const {
    return LoadLe16(bytes_, kMacroNewFlagOffset);
}
void MacroRecord::SetNewFlag(uint16_t flag) {
    StoreLe16(bytes_, kMacroNewFlagOffset, flag);
}

uint16_t MacroRecord::Id() const {
    return LoadLe16(bytes_, kMacroIdOffset);
}
void MacroRecord::SetId(uint16_t id) {
    StoreLe16(bytes_, kMacroIdOffset, id);
}

uint16_t MacroRecord::ActionCount() const {
    return LoadLe16(bytes_, kMacroActionCountOffset);
}

int MacroRecord::UsableActionCount() const {
    return std::min<int>(ActionCount(), kMaxMacroActions);
}

void MacroRecord::SetActionCount(uint16_t count) {
    StoreLe16(bytes_, kMacroActionCountOffset, count);
}

MacroAction MacroRecord::Action(int index) const {
    const std::size_t offset = ActionOffset(index);
    return MacroAction{static_cast<int32_t>(LoadLe32(bytes_, offset + kActionDelayOffset)),
                       LoadLe16(bytes_, offset + kActionKeyOffset),
                       LoadLe16(bytes_, offset + kActionKindOffset)};
}

void MacroRecord::SetAction(int index, const MacroAction& action) {
    const std::size_t offset = ActionOffset(index);
    StoreLe32(bytes_, offset + kActionDelayOffset, static_cast<uint32_t>(action.delayMs));
    StoreLe16(bytes_, offset + kActionKeyOffset, action.keyCode);
    StoreLe16(bytes_, offset + kActionKindOffset, action.action);
}

}  // namespace qx::keyboard
