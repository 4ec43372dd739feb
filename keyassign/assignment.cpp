#include "keyassign/assignment.h"

#include <utility>

#include "keyboard/image_holders.h"

namespace qx::keyassign {
namespace {

bool IsAbsoluteEntry(int absoluteEntry) {
    return absoluteEntry >= 0 && absoluteEntry < keyboard::kKeyEntryCount;
}

int BlockOf(int absoluteEntry) {
    return absoluteEntry / keyboard::kEntriesPerBlock;
}

int IndexInBlock(int absoluteEntry) {
    return absoluteEntry % keyboard::kEntriesPerBlock;
}

}  // namespace

std::optional<Assignment> ReadAssignment(int absoluteEntry) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    if (!IsAbsoluteEntry(absoluteEntry) || !guard->image) {
        return std::nullopt;
    }
    const keyboard::ConstKeyEntryRef entry =
        std::as_const(*guard->image).Entry(BlockOf(absoluteEntry), IndexInBlock(absoluteEntry));
    return Assignment{entry.Kind(), entry.Parameter(), entry.Value()};
}

bool SetAssignment(int absoluteEntry, uint16_t kind, uint16_t parameter, uint32_t value) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    if (!IsAbsoluteEntry(absoluteEntry) || !guard->image) {
        return false;
    }
    keyboard::KeyEntryRef entry =
        guard->image->Entry(BlockOf(absoluteEntry), IndexInBlock(absoluteEntry));
    entry.SetKind(kind);
    entry.SetParameter(parameter);
    entry.SetValue(value);
    return true;
}

bool SetAssignment(int absoluteEntry, const Assignment& assignment) {
    return SetAssignment(absoluteEntry, assignment.kind, assignment.parameter, assignment.value);
}

bool ReleaseEntryText(int absoluteEntry) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    if (!IsAbsoluteEntry(absoluteEntry)) {
        return false;
    }
    guard->texts.Clear(absoluteEntry);
    return true;
}

}  // namespace qx::keyassign
