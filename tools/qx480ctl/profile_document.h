// The JSON document of a profile file ("dump" writes it, "build" reads it): the names it gives
// to the file's values and the members it derives from them (kindName, key, gKeyBank, target,
// the keys of macro actions). Both directions take them from here, so that what dump derives is
// exactly what build checks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/image_record.h"
#include "keyboard/key_code.h"
#include "keyboard/key_entry.h"
#include "keyboard/macro_record.h"
#include "keyboard/text_table.h"

namespace qx::ctl {

struct ProfileParts;

// The names of the assignment kinds 0..8.
inline constexpr std::array<std::string_view, 9> kKindNames{"default", "disabled",   "key",
                                                            "launch",  "macro",      "stop-macro",
                                                            "text",    "multimedia", "function"};
std::optional<std::string_view> KindName(uint16_t kind);
std::optional<uint16_t> KindOfName(std::u16string_view name);

// The names of a macro action's press (0) and release (1); other values are written as numbers.
inline constexpr std::string_view kPressName = "press";
inline constexpr std::string_view kReleaseName = "release";

// The English name of a key code ("A", "Left Shift", "G3"); empty when the code has none.
std::string KeyLabel(keyboard::KeyCode code);

// The key an entry (0..511 of a block) belongs to: a key of the key table, G1..G9 with its
// G-key bank, or none for the unused entries.
struct EntryKey {
    std::optional<std::string> label;
    std::optional<int> gKeyBank;
};
EntryKey EntryKeyOf(int index);

// The key or multimedia function a kind-2 or kind-7 entry names; nothing for other entries.
std::optional<std::string> TargetOf(keyboard::ConstKeyEntryRef entry);

// The fields of a macro record the document names. A record made from them (RecordOf) differs
// from the file's only in bytes the fields do not cover: the reserved ones, unused name and
// action slots, and a name that fills its field without a terminator.
struct MacroFields {
    uint16_t id = 0;
    std::u16string name;  // up to the terminator, at most 249 units
    uint8_t repeat = 0;
    uint16_t newFlag = 0;
    uint16_t actionCount = 0;  // above 2000 only in a record of more than 2000 actions
    std::vector<keyboard::MacroAction> actions;  // the first min(actionCount, 2000)
    friend bool operator==(const MacroFields&, const MacroFields&) = default;
};
MacroFields FieldsOf(const keyboard::MacroRecord& record);
keyboard::MacroRecord RecordOf(const MacroFields& fields);

// The bytes where `actual` differs from `made`, as runs of consecutive bytes.
struct ByteRun {
    std::size_t offset = 0;
    std::vector<uint8_t> bytes;
};
std::vector<ByteRun> DifferingRuns(std::span<const uint8_t> actual, std::span<const uint8_t> made);

// True when packing the texts in entry order (PackedStringArea) takes all of them, gives the
// parts' string area and leaves every entry's value as it is: build then makes the area from the
// texts alone.
bool IsPackedStringArea(const ProfileParts& parts, const keyboard::TextTable& texts);

}  // namespace qx::ctl
