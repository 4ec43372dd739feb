#include "tools/qx480ctl/profile_document.h"

#include <algorithm>

#include "keyboard/key_buttons.h"
#include "keyboard/key_table.h"
#include "keyboard/media_tables.h"
#include "tools/qx480ctl/profile_parts.h"

namespace qx::ctl {

std::optional<std::string_view> KindName(uint16_t kind) {
    if (kind >= kKindNames.size()) {
        return std::nullopt;
    }
    return kKindNames[kind];
}

std::optional<uint16_t> KindOfName(std::u16string_view name) {
    for (std::size_t kind = 0; kind < kKindNames.size(); ++kind) {
        if (std::ranges::equal(name, kKindNames[kind])) {
            return static_cast<uint16_t>(kind);
        }
    }
    return std::nullopt;
}

std::string KeyLabel(keyboard::KeyCode code) {
    if (code >= keyboard::kFirstGKeyCode && code <= keyboard::kLastGKeyCode) {
        return "G" + std::to_string(code - keyboard::kGKeyBase);
    }
    if (code >= keyboard::kFirstGKeyCode) {
        return {};
    }
    const keyboard::KeyRow& row = keyboard::KeyRowOfCode(code);
    return row.IsDefined() ? std::string(row.englishName) : std::string();
}

EntryKey EntryKeyOf(int index) {
    const int gKeys = keyboard::kGKeyButtonCount;
    if (index >= keyboard::kFirstGKeyEntry &&
        index < keyboard::kFirstGKeyEntry + keyboard::kGKeyEntryCount) {
        const int offset = index - keyboard::kFirstGKeyEntry;
        return {"G" + std::to_string(offset % gKeys + 1), offset / gKeys};
    }
    std::string label = KeyLabel(keyboard::KeyCodeOfIndex(index));
    if (label.empty()) {
        return {};
    }
    return {std::move(label), std::nullopt};
}

std::optional<std::string> TargetOf(keyboard::ConstKeyEntryRef entry) {
    std::string label;
    if (entry.Kind() == keyboard::kKindKey && entry.Value() <= 0xFFFF) {
        label = KeyLabel(static_cast<keyboard::KeyCode>(entry.Value()));
    } else if (entry.Kind() == keyboard::kKindMultimedia &&
               entry.Value() < static_cast<uint32_t>(keyboard::kMultimediaCount)) {
        label = KeyLabel(keyboard::MultimediaAt(static_cast<int>(entry.Value()))->keyCode);
    }
    if (label.empty()) {
        return std::nullopt;
    }
    return label;
}

MacroFields FieldsOf(const keyboard::MacroRecord& record) {
    MacroFields fields{record.Id(),      record.Name(),        record.RepeatCount(),
                       record.NewFlag(), record.ActionCount(), {}};
    for (int i = 0; i < record.UsableActionCount(); ++i) {
        fields.actions.push_back(record.Action(i));
    }
    return fields;
}

keyboard::MacroRecord RecordOf(const MacroFields& fields) {
    keyboard::MacroRecord record;
    record.SetName(fields.name);
    record.SetRepeatCount(fields.repeat);
    record.SetNewFlag(fields.newFlag);
    record.SetId(fields.id);
    record.SetActionCount(fields.actionCount);
    const std::size_t count =
        std::min<std::size_t>(fields.actions.size(), keyboard::kMaxMacroActions);
    for (std::size_t i = 0; i < count; ++i) {
        record.SetAction(static_cast<int>(i), fields.actions[i]);
    }
    return record;
}

std::vector<ByteRun> DifferingRuns(std::span<const uint8_t> actual, std::span<const uint8_t> made) {
    std::vector<ByteRun> runs;
    const std::size_t size = std::min(actual.size(), made.size());
    for (std::size_t i = 0; i < size; ++i) {
        if (actual[i] == made[i]) {
            continue;
        }
        if (runs.empty() || runs.back().offset + runs.back().bytes.size() != i) {
            runs.push_back({i, {}});
        }
        runs.back().bytes.push_back(actual[i]);
    }
    return runs;
}

bool IsPackedStringArea(const ProfileParts& parts, const keyboard::TextTable& texts) {
    if (texts.Total() > parts.stringArea.size()) {
        return false;  // some text is there twice (shared): packing would leave one out
    }
    keyboard::ImageRecord packed = *parts.image;
    const std::vector<uint8_t> area = PackedStringArea(packed, texts, parts.stringArea.size());
    return area == parts.stringArea && std::ranges::equal(packed.Bytes(), parts.image->Bytes());
}

}  // namespace qx::ctl
