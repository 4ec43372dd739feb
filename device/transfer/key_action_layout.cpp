#include "device/transfer/key_action_layout.h"

#include "keyboard/image_record.h"
#include "keyboard/key_entry.h"

namespace qx::device {
namespace {

keyboard::KeyEntryRef EntryOfBlock(std::span<uint8_t, keyboard::kBlockSize> block, int index) {
    return keyboard::KeyEntryRef(
        block.subspan(keyboard::kKeyEntrySize * static_cast<std::size_t>(index))
            .first<keyboard::kKeyEntrySize>());
}

keyboard::ConstKeyEntryRef EntryOfBlock(std::span<const uint8_t, keyboard::kBlockSize> block,
                                        int index) {
    return keyboard::ConstKeyEntryRef(
        block.subspan(keyboard::kKeyEntrySize * static_cast<std::size_t>(index))
            .first<keyboard::kKeyEntrySize>());
}

}  // namespace

KeyAction ActionAt(std::span<const uint8_t, kKeyLayoutSize> layout, std::size_t position) {
    const std::size_t at = kKeyActionSize * position;
    return {layout[at], layout[at + 1], layout[at + 2]};
}

void SetActionAt(std::span<uint8_t, kKeyLayoutSize> layout, std::size_t position,
                 KeyAction action) {
    const std::size_t at = kKeyActionSize * position;
    layout[at] = action.kind;
    layout[at + 1] = action.sub;
    layout[at + 2] = action.value;
}

std::optional<int> EntryOfPosition(const KeyLayout& defaultLayout, std::size_t position) {
    const keyboard::KeyCode code = DecodeActionToKeyCode(ActionAt(defaultLayout, position));
    if (code == keyboard::kNoKey) {
        return std::nullopt;
    }
    const int index = keyboard::KeyIndexOfCode(code);
    if (index < 0 || index >= keyboard::kEntriesPerBlock) {
        return std::nullopt;
    }
    return index;
}

KeyLayout EncodeProfileLayout(std::span<const uint8_t, keyboard::kBlockSize> block,
                              const KeyLayout& defaultLayout,
                              const MacroPositionLookup& macroPosition) {
    KeyLayout layout = defaultLayout;
    for (std::size_t position = 0; position < kLayoutPositions; ++position) {
        const auto entry = EntryOfPosition(defaultLayout, position);
        if (!entry) {
            continue;
        }
        SetActionAt(layout, position,
                    EncodeKeyEntry(EntryOfBlock(block, *entry), ActionAt(defaultLayout, position),
                                   macroPosition));
    }
    return layout;
}

void DecodeLayoutToBlock(std::span<const uint8_t, kKeyLayoutSize> layout,
                         std::span<uint8_t, keyboard::kBlockSize> block,
                         const KeyLayout& defaultLayout) {
    keyboard::FillDefaultBlock(block);
    for (std::size_t position = 0; position < kLayoutPositions; ++position) {
        const KeyAction action = ActionAt(layout, position);
        if (action == ActionAt(defaultLayout, position)) {
            continue;
        }
        const auto index = EntryOfPosition(defaultLayout, position);
        if (!index) {
            continue;
        }
        const EntryAssignment assignment = DecodeActionToAssignment(action);
        keyboard::KeyEntryRef entry = EntryOfBlock(block, *index);
        entry.SetKind(assignment.kind);
        if (assignment.setsValue) {
            entry.SetValue(assignment.value);
        }
    }
}

}  // namespace qx::device
