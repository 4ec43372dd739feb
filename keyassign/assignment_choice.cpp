#include "keyassign/assignment_choice.h"

#include <algorithm>

#include "keyassign/key_hints.h"
#include "keyassign/key_location.h"
#include "keyboard/image_holders.h"
#include "keyboard/macro_record.h"
#include "keyboard/media_tables.h"

namespace qx::keyassign {
namespace {

Assignment DefaultAssignment(int entryIndex) {
    return Assignment{kKindDefault, GCodeOfEntry(entryIndex), 0};
}

Assignment TypedKey(const AssignmentChoice& choice, int entryIndex) {
    const keyboard::KeyCode key = choice.capturedKey;
    if (key == keyboard::kNoKey || keyboard::KeyIndexOfCode(key) == entryIndex) {
        return DefaultAssignment(entryIndex);
    }
    return Assignment{kKindKey, GCodeOfEntry(entryIndex), key};
}

Assignment MouseAction(const AssignmentChoice& choice, int entryIndex) {
    uint32_t code = keyboard::kNoKey;
    if (choice.mouseRow >= 0 && choice.mouseRow < kMouseListRows) {
        code = keyboard::kMouseCodes[static_cast<std::size_t>(choice.mouseRow)];
    }
    return Assignment{kKindKey, GCodeOfEntry(entryIndex), code};
}

Assignment Macro(const AssignmentChoice& choice, int entryIndex) {
    if (choice.noMacros) {
        return DefaultAssignment(entryIndex);
    }
    const int count =
        std::clamp<int>(choice.repeatCount, keyboard::kMinRepeatCount, keyboard::kMaxRepeatCount);
    return Assignment{kKindMacro, static_cast<uint16_t>(count), choice.macroId};
}

Assignment ListRow(uint16_t kind, int row, int rows, int entryIndex) {
    const int value = row >= 0 && row < rows ? row : 0;
    return Assignment{kind, GCodeOfEntry(entryIndex), static_cast<uint32_t>(value)};
}

}  // namespace

std::optional<Assignment> BuildAssignment(const AssignmentChoice& choice, int entryIndex) {
    switch (choice.kind) {
        case kKindKey:
            return choice.mouseChoice ? MouseAction(choice, entryIndex)
                                      : TypedKey(choice, entryIndex);
        case kKindMacro:
            return Macro(choice, entryIndex);
        case kKindMultimedia:
            return ListRow(kKindMultimedia, choice.listRow, keyboard::kMultimediaCount, entryIndex);
        case kKindFunction:
            return ListRow(kKindFunction, choice.listRow, kFunctionCount, entryIndex);
        case kKindDefault:
        case kKindDisabled:
        case kKindStopMacro:
            return Assignment{choice.kind, GCodeOfEntry(entryIndex), 0};
        default:
            return std::nullopt;
    }
}

bool WriteKeyAssignment(int profile, int entryIndex, const std::optional<Assignment>& assignment) {
    if (!assignment || profile < 0 || profile >= keyboard::kProfileCount || entryIndex < 0 ||
        entryIndex >= keyboard::kEntriesPerBlock) {
        return false;
    }
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    if (!guard->image) {
        return false;
    }
    const int absoluteEntry = AbsoluteEntryIndex(profile, entryIndex);
    ReleaseEntryText(absoluteEntry);
    return SetAssignment(absoluteEntry, *assignment);
}

}  // namespace qx::keyassign
