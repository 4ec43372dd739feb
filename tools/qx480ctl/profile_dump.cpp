#include "tools/qx480ctl/profile_dump.h"

#include <algorithm>
#include <array>

#include "keyboard/byte_order.h"
#include "keyboard/key_buttons.h"
#include "keyboard/key_table.h"
#include "keyboard/media_tables.h"
#include "platform/unicode_text.h"
#include "profiles/profile_format.h"

namespace qx::ctl {
namespace {

using keyboard::LoadLe16;
using keyboard::LoadLe32;

constexpr std::array<std::string_view, 9> kKindNames{"default", "disabled",   "key",
                                                     "launch",  "macro",      "stop-macro",
                                                     "text",    "multimedia", "function"};

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
    json.EndObject();
}

// The key an entry of a block belongs to: a key of the key table, a G key of either bank, or
// nothing for the unused entries.
void DumpEntryKey(int index, JsonWriter& json) {
    const int gKeys = keyboard::kGKeyButtonCount;
    if (index >= keyboard::kFirstGKeyEntry &&
        index < keyboard::kFirstGKeyEntry + keyboard::kGKeyEntryCount) {
        const int offset = index - keyboard::kFirstGKeyEntry;
        json.Member("key", "G" + std::to_string(offset % gKeys + 1));
        json.Member("gKeyBank", offset / gKeys);
        return;
    }
    const std::string label = KeyLabel(keyboard::KeyCodeOfIndex(index));
    json.Key("key");
    if (label.empty()) {
        json.Null();
    } else {
        json.String(label);
    }
}

// What the value stands for, where the kind names something.
void DumpTarget(keyboard::ConstKeyEntryRef entry, JsonWriter& json) {
    if (entry.Kind() == keyboard::kKindKey) {
        const std::string label = KeyLabel(static_cast<keyboard::KeyCode>(entry.Value()));
        if (!label.empty()) {
            json.Member("target", label);
        }
    } else if (entry.Kind() == keyboard::kKindMultimedia) {
        if (const auto media = keyboard::MultimediaAt(
                static_cast<int>(std::min<uint32_t>(entry.Value(), keyboard::kMultimediaCount)))) {
            json.Member("target", KeyLabel(media->keyCode));
        }
    }
}

void DumpEntry(keyboard::ConstKeyEntryRef entry, int index, JsonWriter& json) {
    json.BeginObject();
    json.Member("entry", index);
    DumpEntryKey(index, json);
    json.Member("kind", entry.Kind());
    if (entry.Kind() < kKindNames.size()) {
        json.Member("kindName", kKindNames[entry.Kind()]);
    }
    json.Member("parameter", entry.Parameter());
    json.Member("value", entry.Value());
    DumpTarget(entry, json);
    if (entry.ColourSwitch() != 0) {
        json.Member("colourSwitch", entry.ColourSwitch());
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
            const auto bytes = entry.Bytes();
            if (std::any_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b != 0; })) {
                DumpEntry(entry, index, json);
            }
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

void DumpMacro(const keyboard::MacroRecord& macro, JsonWriter& json) {
    json.BeginObject();
    json.Member("id", macro.Id());
    json.Member("name", platform::Utf16ToUtf8(macro.Name()));
    json.Member("repeat", macro.RepeatCount());
    json.Key("actions");
    json.BeginArray();
    for (int i = 0; i < macro.UsableActionCount(); ++i) {
        const keyboard::MacroAction action = macro.Action(i);
        json.BeginObject();
        json.Member("delay", action.delayMs);
        json.Member("keyCode", action.keyCode);
        json.Member("key", KeyLabel(action.keyCode));
        json.Member("action", action.action == keyboard::kMacroRelease ? "release" : "press");
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void DumpTexts(const keyboard::TextTable& texts, JsonWriter& json) {
    json.Key("texts");
    json.BeginArray();
    for (int entry = 0; entry < keyboard::kKeyEntryCount; ++entry) {
        if (texts.HasText(entry)) {
            json.BeginObject();
            json.Member("entry", entry);
            json.Member("text", platform::Utf16ToUtf8(texts.Text(entry)));
            json.EndObject();
        }
    }
    json.EndArray();
}

}  // namespace

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

void DumpProfile(const profiles::ProfileContents& contents, JsonWriter& json) {
    json.BeginObject();
    DumpHeader(contents.image->Header(), json);
    DumpBlocks(*contents.image, json);
    json.Key("macros");
    json.BeginArray();
    for (const keyboard::MacroRecord& macro : contents.macros) {
        DumpMacro(macro, json);
    }
    json.EndArray();
    DumpTexts(*contents.texts, json);
    json.EndObject();
}

}  // namespace qx::ctl
