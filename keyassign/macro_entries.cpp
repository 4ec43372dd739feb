#include "keyassign/macro_entries.h"

#include <algorithm>

#include "keyassign/assignment.h"
#include "keyboard/image_holders.h"

namespace qx::keyassign {
namespace {

// Calls `visit` with every entry of the key area and its absolute index.
template <class Visit>
void ForEachEntry(keyboard::ImageRecord& image, Visit visit) {
    for (int block = 0; block < keyboard::kBlockCount; ++block) {
        for (int index = 0; index < keyboard::kEntriesPerBlock; ++index) {
            visit(image.Entry(block, index), AbsoluteEntryIndex(block, index));
        }
    }
}

uint16_t MacroIdOf(const keyboard::KeyEntryRef& entry) {
    return static_cast<uint16_t>(entry.Value() & kMacroIdMask);
}

// True when the entry changed.
bool SettleEntry(keyboard::KeyEntryRef entry, const std::vector<keyboard::MacroRecord>& macros) {
    const uint16_t id = MacroIdOf(entry);
    if (id == 0 && !macros.empty()) {
        entry.SetValue(macros.front().Id());
        return true;
    }
    const auto macro = std::find_if(macros.begin(), macros.end(),
                                    [id](const keyboard::MacroRecord& m) { return m.Id() == id; });
    if (macro == macros.end() || macro->NewFlag() != 0) {
        entry.SetKind(kKindDefault);
        return true;
    }
    return false;
}

}  // namespace

bool AnyKeyPlaysMacro(uint16_t id) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    if (!guard->image) {
        return false;
    }
    bool found = false;
    ForEachEntry(*guard->image, [&](keyboard::KeyEntryRef entry, int absoluteEntry) {
        found = found || (absoluteEntry != kEntryOutsideUseCheck && entry.Kind() == kKindMacro &&
                          MacroIdOf(entry) == id);
    });
    return found;
}

int SettleMacroEntries(const std::vector<keyboard::MacroRecord>& macros) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    if (!guard->image) {
        return 0;
    }
    int changed = 0;
    ForEachEntry(*guard->image, [&](keyboard::KeyEntryRef entry, int /*absoluteEntry*/) {
        if (entry.Kind() == kKindMacro && SettleEntry(entry, macros)) {
            ++changed;
        }
    });
    return changed;
}

}  // namespace qx::keyassign
