#include "tools/qx480ctl/profile_dump.h"

#include <algorithm>

#include "keyboard/byte_order.h"
#include "profiles/profile_format.h"
#include "tools/qx480ctl/profile_document.h"

namespace qx::ctl {
namespace {

using keyboard::LoadLe16;
using keyboard::LoadLe32;

constexpr std::size_t kEntryUnusedOffset = 12;  // bytes 12..15 of a key entry, never read
constexpr std::size_t kHeaderReservedSize = profiles::kFlagOffset - profiles::kReservedOffset;

bool AllZero(std::span<const uint8_t> bytes) {
    return std::ranges::all_of(bytes, [](uint8_t b) { return b == 0; });
}

void DumpHeader(std::span<const uint8_t, keyboard::kHeaderSize> header, JsonWriter& json) {
    json.Key("header");
    json.BeginObject();
    json.Member("magic", LoadLe16(header, profiles::kMagicOffset));
    json.Member("headerSize", LoadLe16(header, profiles::kHeaderSizeOffset));
    json.Member("format", LoadLe16(header, profiles::kFormatWordOffset));
    json.Member("revision", LoadLe16(header, profiles::kFormatRevisionOffset));
    json.Member("totalSize", LoadLe32(header, profiles::kTotalSizeOffset));
    json.Member("keyEntries", LoadLe16(header, profiles::kEntryCountOffset));
    json.Member("macroCount", LoadLe16(header, profiles::kMacroCountOffset));
    json.Member("stringAreaSize", LoadLe32(header, profiles::kTextSizeOffset));
    json.Member("flag", header[profiles::kFlagOffset]);
    json.Member("checksum", header[profiles::kChecksumOffset]);
    const auto reserved = header.subspan(profiles::kReservedOffset, kHeaderReservedSize);
    if (!AllZero(reserved)) {
        json.Member("reserved", HexString(reserved));
    }
    json.EndObject();
}

void DumpFixedBlock(std::span<const uint8_t, keyboard::kFixedBlockSize> block, JsonWriter& json) {
    json.Key("fixedBlock");
    json.BeginArray();
    for (std::size_t at = 0; at < block.size(); at += sizeof(uint32_t)) {
        json.Number(LoadLe32(block, at));
    }
    json.EndArray();
}

void DumpEntry(keyboard::ConstKeyEntryRef entry, int index, JsonWriter& json) {
    json.BeginObject();
    json.Member("entry", index);
    const EntryKey key = EntryKeyOf(index);
    json.Key("key");
    if (key.label) {
        json.String(*key.label);
    } else {
        json.Null();
    }
    if (key.gKeyBank) {
        json.Member("gKeyBank", *key.gKeyBank);
    }
    json.Member("kind", entry.Kind());
    if (const auto name = KindName(entry.Kind())) {
        json.Member("kindName", *name);
    }
    json.Member("parameter", entry.Parameter());
    json.Member("value", entry.Value());
    if (const auto target = TargetOf(entry)) {
        json.Member("target", *target);
    }
    if (entry.ColourSwitch() != 0) {
        json.Member("colourSwitch", entry.ColourSwitch());
    }
    if (const uint32_t unused = LoadLe32(entry.Bytes(), kEntryUnusedOffset); unused != 0) {
        json.Member("unused", unused);
    }
    json.EndObject();
}

void DumpBlocks(const keyboard::ImageRecord& image, JsonWriter& json) {
    json.Key("profiles");
    json.BeginArray();
    for (int block = 0; block < keyboard::kBlockCount; ++block) {
        json.BeginObject();
        json.Member("block", block);
        json.Key("entries");
        json.BeginArray();
        for (int index = 0; index < keyboard::kEntriesPerBlock; ++index) {
            const keyboard::ConstKeyEntryRef entry = image.Entry(block, index);
            if (!AllZero(entry.Bytes())) {
                DumpEntry(entry, index, json);
            }
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

void DumpAction(const keyboard::MacroAction& action, JsonWriter& json) {
    json.BeginObject();
    json.Member("delay", action.delayMs);
    json.Member("keyCode", action.keyCode);
    json.Member("key", KeyLabel(action.keyCode));
    if (action.action == keyboard::kMacroPress) {
        json.Member("action", kPressName);
    } else if (action.action == keyboard::kMacroRelease) {
        json.Member("action", kReleaseName);
    } else {
        json.Member("action", action.action);
    }
    json.EndObject();
}

void DumpMacro(const keyboard::MacroRecord& macro, JsonWriter& json) {
    const MacroFields fields = FieldsOf(macro);
    json.BeginObject();
    json.Member("id", fields.id);
    json.Key("name");
    json.String16(fields.name);
    json.Member("repeat", fields.repeat);
    if (fields.newFlag != 0) {
        json.Member("newFlag", fields.newFlag);
    }
    if (fields.actionCount != fields.actions.size()) {
        json.Member("actionCount", fields.actionCount);
    }
    json.Key("actions");
    json.BeginArray();
    for (const keyboard::MacroAction& action : fields.actions) {
        DumpAction(action, json);
    }
    json.EndArray();
    const keyboard::MacroRecord made = RecordOf(fields);
    const std::vector<ByteRun> runs = DifferingRuns(macro.Bytes(), made.Bytes());
    if (!runs.empty()) {
        json.Key("otherBytes");
        json.BeginArray();
        for (const ByteRun& run : runs) {
            json.BeginObject();
            json.Member("offset", static_cast<int64_t>(run.offset));
            json.Member("bytes", HexString(run.bytes));
            json.EndObject();
        }
        json.EndArray();
    }
    json.EndObject();
}

void DumpTexts(const keyboard::TextTable& texts, JsonWriter& json) {
    json.Key("texts");
    json.BeginArray();
    for (int entry = 0; entry < keyboard::kKeyEntryCount; ++entry) {
        if (texts.HasText(entry)) {
            json.BeginObject();
            json.Member("entry", entry);
            json.Key("text");
            json.String16(texts.Text(entry));
            json.EndObject();
        }
    }
    json.EndArray();
}

}  // namespace

std::string HexString(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const uint8_t byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

void DumpProfile(const ProfileParts& parts, JsonWriter& json) {
    const keyboard::TextTable texts = TextsOf(parts).value_or(keyboard::TextTable{});
    json.BeginObject();
    DumpHeader(parts.image->Header(), json);
    DumpFixedBlock(parts.image->FixedBlock(), json);
    DumpBlocks(*parts.image, json);
    json.Key("macros");
    json.BeginArray();
    for (const keyboard::MacroRecord& macro : parts.macros) {
        DumpMacro(macro, json);
    }
    json.EndArray();
    DumpTexts(texts, json);
    if (!IsPackedStringArea(parts, texts)) {
        json.Member("stringArea", HexString(parts.stringArea));
    }
    if (!parts.trailing.empty()) {
        json.Member("trailing", HexString(parts.trailing));
    }
    json.EndObject();
}

}  // namespace qx::ctl
