#include "device/transfer/macro_table.h"

#include <algorithm>
#include <string>

#include "keyboard/byte_order.h"
#include "keyboard/key_lookup.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "platform/unicode_text.h"

namespace qx::device {

using keyboard::LoadLe16;
using keyboard::MacroRecord;
using keyboard::StoreLe16;

namespace {

std::size_t MacroSize(const MacroRecord& macro, bool withNames) {
    const std::size_t actions = static_cast<std::size_t>(macro.UsableActionCount());
    const std::size_t nameUnits = withNames ? macro.Name().size() : 0;
    return kMacroHeadSize + kDeviceActionSize * actions + kNameUnitSize * nameUnits;
}

KeyAction MacroKeyAction(keyboard::KeyCode code) {
    const keyboard::DeviceClassValue device = keyboard::DeviceClassOfKeyCode(code);
    switch (device.deviceClass) {
        case keyboard::kClassKeyboard:
            if (const auto bit = ModifierBitOfKeyCode(code)) {
                return {kActionKeyboard, kModifierSub, *bit};
            }
            return {kActionKeyboard, kKeySub, static_cast<uint8_t>(device.value)};
        case keyboard::kClassSystem:
            return {kActionSystem, static_cast<uint8_t>(device.value & 0xFF),
                    static_cast<uint8_t>(device.value >> 8)};
        case keyboard::kClassMouse:
            return MouseActionOfKeyCode(code).value_or(kNoAction);
        default:
            return kNoAction;
    }
}

// Writes one macro at `at` and returns the offset after it.
std::size_t EncodeMacro(const MacroRecord& macro, std::span<uint8_t> table, std::size_t at,
                        bool withNames) {
    const int actions = macro.UsableActionCount();
    const std::u16string name = withNames ? macro.Name() : std::u16string();
    StoreLe16(table, at, static_cast<uint16_t>(actions));
    table[at + kMacroRepeatOffset] = macro.RepeatCount();
    table[at + kMacroNameLengthOffset] = static_cast<uint8_t>(name.size());
    at += kMacroHeadSize;
    for (int i = 0; i < actions; ++i) {
        const DeviceMacroAction bytes = EncodeMacroAction(macro.Action(i));
        std::copy(bytes.begin(), bytes.end(), table.begin() + static_cast<std::ptrdiff_t>(at));
        at += kDeviceActionSize;
    }
    for (const char16_t unit : name) {
        StoreLe16(table, at, static_cast<uint16_t>(unit));
        at += kNameUnitSize;
    }
    return at;
}

// The part of a table read from the keyboard that may be read: its buffer, no further than
// its own size field says.
std::span<const uint8_t> ReadableTable(std::span<const uint8_t> table) {
    if (table.size() < kTableHeaderSize) {
        return {};
    }
    const std::size_t declared = LoadLe16(table, kTableSizeOffset);
    return table.first(std::min(table.size(), std::max(declared, kTableHeaderSize)));
}

std::u16string DefaultMacroName(std::u16string_view prefix, std::size_t number) {
    std::u16string name(prefix);
    for (const char c : std::to_string(number)) {
        name.push_back(static_cast<char16_t>(c));
    }
    return name;
}

// Decodes the macro at `at`; false when not even its head fits in the table.
bool DecodeMacro(std::span<const uint8_t> table, std::size_t at, bool withNames,
                 MacroRecord& record) {
    if (at > table.size() || table.size() - at < kMacroHeadSize) {
        return false;
    }
    const std::size_t declaredActions = LoadLe16(table, at);
    record.SetRepeatCount(table[at + kMacroRepeatOffset]);
    const std::size_t actionsAt = at + kMacroHeadSize;
    const std::size_t actions =
        std::min({declaredActions, static_cast<std::size_t>(keyboard::kMaxMacroActions),
                  (table.size() - actionsAt) / kDeviceActionSize});
    for (std::size_t i = 0; i < actions; ++i) {
        const auto bytes =
            table.subspan(actionsAt + kDeviceActionSize * i).first<kDeviceActionSize>();
        record.SetAction(static_cast<int>(i), DecodeMacroAction(bytes));
    }
    record.SetActionCount(static_cast<uint16_t>(actions));
    if (!withNames) {
        return true;
    }
    const std::size_t nameAt = actionsAt + kDeviceActionSize * declaredActions;
    const std::size_t room = nameAt <= table.size() ? (table.size() - nameAt) / kNameUnitSize : 0;
    const std::size_t units =
        std::min({static_cast<std::size_t>(table[at + kMacroNameLengthOffset]),
                  keyboard::kMacroNameMaxChars, room});
    std::u16string name;
    for (std::size_t i = 0; i < units; ++i) {
        name.push_back(static_cast<char16_t>(LoadLe16(table, nameAt + kNameUnitSize * i)));
    }
    record.SetName(name);
    return true;
}

}  // namespace

std::size_t MacroTableSize(std::span<const MacroRecord> macros, bool withNames) {
    std::size_t size = kTableHeaderSize + kTableOffsetSize * macros.size();
    for (const MacroRecord& macro : macros) {
        size += MacroSize(macro, withNames);
    }
    return size;
}

bool EncodeMacroTable(std::span<const MacroRecord> macros, std::span<uint8_t> table,
                      bool withNames) {
    const std::size_t size = MacroTableSize(macros, withNames);
    if (table.size() != size || size > kMaxMacroTableSize) {
        return false;
    }
    std::fill(table.begin(), table.end(), uint8_t{0});
    StoreLe16(table, kTableMagicOffset, kMacroTableMagic);
    StoreLe16(table, kTableSizeOffset, static_cast<uint16_t>(size));
    StoreLe16(table, kTableCountOffset, static_cast<uint16_t>(macros.size()));
    StoreLe16(table, kTableNamesFlagOffset, withNames ? kNamesIncluded : kNamesOmitted);
    std::size_t at = kTableHeaderSize + kTableOffsetSize * macros.size();
    for (std::size_t i = 0; i < macros.size(); ++i) {
        StoreLe16(table, kTableHeaderSize + kTableOffsetSize * i, static_cast<uint16_t>(at));
        at = EncodeMacro(macros[i], table, at, withNames);
    }
    return true;
}

DeviceMacroAction EncodeMacroAction(const keyboard::MacroAction& action) {
    const int32_t delay = std::max(action.delayMs, int32_t{0}) / kDelayUnitMs;
    const KeyAction key = MacroKeyAction(action.keyCode);
    uint16_t word = static_cast<uint16_t>(delay) & kActionDelayMask;
    word |= static_cast<uint16_t>((key.kind & kActionKindMask) << kActionKindShift);
    if (action.action != keyboard::kMacroRelease) {
        word |= kActionPressBit;
    }
    return {static_cast<uint8_t>(word & 0xFF), static_cast<uint8_t>(word >> 8), key.sub, key.value};
}

keyboard::MacroAction DecodeMacroAction(std::span<const uint8_t, kDeviceActionSize> bytes) {
    const uint16_t word = LoadLe16(bytes, 0);
    const KeyAction key{static_cast<uint8_t>((word >> kActionKindShift) & kActionKindMask),
                        bytes[2], bytes[3]};
    return {static_cast<int32_t>(word & kActionDelayMask) * kDelayUnitMs,
            DecodeActionToKeyCode(key),
            (word & kActionPressBit) != 0 ? uint16_t{keyboard::kMacroPress}
                                          : uint16_t{keyboard::kMacroRelease}};
}

std::vector<MacroRecord> DecodeMacroTable(std::span<const uint8_t> table,
                                          std::u16string_view namePrefix) {
    const std::span<const uint8_t> readable = ReadableTable(table);
    if (readable.empty()) {
        return {};
    }
    const std::size_t count =
        std::min({static_cast<std::size_t>(LoadLe16(readable, kTableCountOffset)),
                  static_cast<std::size_t>(keyboard::kMaxMacros),
                  (readable.size() - kTableHeaderSize) / kTableOffsetSize});
    const bool withNames = LoadLe16(readable, kTableNamesFlagOffset) == kNamesIncluded;
    std::vector<MacroRecord> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = LoadLe16(readable, kTableHeaderSize + kTableOffsetSize * i);
        MacroRecord& record = records.emplace_back();
        if (!DecodeMacro(readable, at, withNames, record)) {
            records.pop_back();
            break;  // the count is cut to the macros the table holds
        }
        record.SetId(static_cast<uint16_t>(i + 1));
        if (record.Name().empty()) {
            record.SetName(DefaultMacroName(namePrefix, i + 1));
        }
    }
    return records;
}

std::vector<MacroRecord> DecodeMacroTable(std::span<const uint8_t> table) {
    const std::u16string prefix = platform::Utf8ToUtf16(lang::LangText(lang::kMacroNewPrefix));
    return DecodeMacroTable(table, prefix);
}

}  // namespace qx::device
