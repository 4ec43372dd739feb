#include "tools/qx480ctl/profile_build.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "keyboard/byte_order.h"
#include "platform/unicode_text.h"
#include "profiles/profile_format.h"
#include "profiles/string_area.h"
#include "tools/qx480ctl/profile_document.h"

namespace qx::ctl {
namespace {

using keyboard::StoreLe32;

constexpr int64_t kMax16 = std::numeric_limits<uint16_t>::max();
constexpr int64_t kMax32 = std::numeric_limits<uint32_t>::max();
constexpr std::size_t kEntryUnusedOffset = 12;
constexpr std::size_t kHeaderReservedSize = profiles::kFlagOffset - profiles::kReservedOffset;
constexpr std::size_t kFixedBlockWords = profiles::kFixedBlockValues.size();

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A given value of a derived member: it must be what the builder computed.
void MustEqual(const std::optional<JsonValue>& given, int64_t computed, std::string_view what) {
    if (given) {
        const int64_t value = given->Integer(0, kMax32, what);
        if (value != computed) {
            given->Fail(std::string(what) + " is " + std::to_string(computed) + " here, not " +
                        std::to_string(value) + " (leave it out to have it computed)");
        }
    }
}

std::u16string TextWithoutNul(const JsonValue& value, std::string_view what) {
    const std::u16string& text = value.String(what);
    if (text.find(u'\0') != std::u16string::npos) {
        value.Fail(std::string(what) + " cannot hold the character U+0000");
    }
    return text;
}

// Where a value stands, kept for a check that comes after its object was read.
struct Where {
    std::size_t offset = 0;
    std::string path;

    explicit Where(const JsonValue& value)
        : offset(value.Document().Offset(value.Node())), path(value.Path().ToString()) {}
    [[noreturn]] void Fail(std::string message) const {
        throw JsonInputError{offset, path, std::move(message)};
    }
};

// A text-carrying entry, remembered until the string area is laid out.
struct TextEntry {
    int entry = 0;               // absolute, 0..2047
    Where object;                // the entry's object
    std::optional<Where> value;  // the value given for it
};

class Builder {
  public:
    explicit Builder(const JsonDocument& document) : root_(JsonValue(document, 0, rootPath_)) {}

    ProfileParts Build() {
        const auto header = root_.Take("header");
        const auto fixedBlock = root_.Take("fixedBlock");
        const auto profiles = root_.Take("profiles");
        const auto macros = root_.Take("macros");
        const auto texts = root_.Take("texts");
        const auto stringArea = root_.Take("stringArea");
        const auto trailing = root_.Take("trailing");
        root_.RefuseOthers();

        std::optional<JsonObject> headerObject;
        if (header) {
            headerObject.emplace(*header);
        }
        HeaderMembers given(headerObject);
        FixedBlock(fixedBlock);
        if (profiles) {
            Blocks(*profiles);
        }
        if (macros) {
            Macros(*macros);
        }
        if (stringArea) {
            GivenStringArea(*stringArea, texts, given.stringAreaSize);
        } else {
            PackedTexts(texts, given.stringAreaSize);
        }
        if (trailing) {
            parts_.trailing = trailing->HexBytes("the trailing bytes");
        }
        Header(given);
        return std::move(parts_);
    }

  private:
    struct HeaderMembers {
        explicit HeaderMembers(std::optional<JsonObject>& object) {
            if (!object) {
                return;
            }
            magic = object->Take("magic");
            headerSize = object->Take("headerSize");
            format = object->Take("format");
            revision = object->Take("revision");
            totalSize = object->Take("totalSize");
            keyEntries = object->Take("keyEntries");
            macroCount = object->Take("macroCount");
            stringAreaSize = object->Take("stringAreaSize");
            flag = object->Take("flag");
            checksum = object->Take("checksum");
            reserved = object->Take("reserved");
            object->RefuseOthers();
        }
        std::optional<JsonValue> magic, headerSize, format, revision, totalSize, keyEntries,
            macroCount, stringAreaSize, flag, checksum, reserved;
    };

    // ---- Header and fixed block ---------------------------------------------------------------

    void Header(const HeaderMembers& given) {
        MustEqual(given.magic, profiles::kProfileMagic, "the magic");
        MustEqual(given.headerSize, profiles::kHeaderSizeValue, "the header size");
        MustEqual(given.format, profiles::kFormatWordValue, "the format");
        MustEqual(given.revision, profiles::kFormatRevisionValue, "the revision");
        MustEqual(given.keyEntries, profiles::kEntryCountValue, "the number of key entries");
        const uint8_t flag = given.flag ? static_cast<uint8_t>(given.flag->Integer(
                                              0, profiles::kHighestReadableFlag, "the flag"))
                                        : profiles::kWriterFlag;
        const uint64_t total =
            profiles::ProfileFileSize(parts_.macros.size(), parts_.stringArea.size());
        if (total > static_cast<uint64_t>(kMax32)) {
            root_.Value().Fail("the file would be larger than 4 GiB");
        }
        const auto header = parts_.image->Header();
        profiles::FillProfileHeader(header, static_cast<uint16_t>(parts_.macros.size()),
                                    static_cast<uint32_t>(parts_.stringArea.size()), flag);
        if (given.reserved) {
            const auto bytes = given.reserved->HexBytes("the reserved bytes", kHeaderReservedSize);
            std::ranges::copy(bytes, header.begin() + profiles::kReservedOffset);
            header[profiles::kChecksumOffset] = profiles::HeaderChecksum(header);
        }
        MustEqual(given.macroCount, static_cast<int64_t>(parts_.macros.size()), "the macro count");
        MustEqual(given.stringAreaSize, static_cast<int64_t>(parts_.stringArea.size()),
                  "the string area's size");
        MustEqual(given.totalSize, static_cast<int64_t>(total), "the total size");
        MustEqual(given.checksum, header[profiles::kChecksumOffset], "the checksum");
    }

    void FixedBlock(const std::optional<JsonValue>& given) {
        const auto block = parts_.image->FixedBlock();
        profiles::FillFixedBlock(block);
        if (!given) {
            return;
        }
        given->ForEachElement(
            kFixedBlockWords, "the fixed block", [&](const JsonValue& word, std::size_t i) {
                StoreLe32(block, i * sizeof(uint32_t),
                          static_cast<uint32_t>(word.Integer(0, kMax32, "a fixed-block word")));
            });
        if (given->Document().Children(given->Node()).size() != kFixedBlockWords) {
            given->Fail("the fixed block is eight 32-bit numbers");
        }
    }

    // ---- Key entries --------------------------------------------------------------------------

    void Blocks(const JsonValue& profiles) {
        std::array<bool, keyboard::kBlockCount> seen{};
        profiles.ForEachElement(
            keyboard::kBlockCount, "the list of key-area blocks",
            [&](const JsonValue& value, std::size_t) {
                JsonObject block(value);
                const JsonValue number = block.Require("block");
                const auto entries = block.Take("entries");
                block.RefuseOthers();
                const auto b =
                    static_cast<int>(number.Integer(0, keyboard::kBlockCount - 1, "the block"));
                if (seen[static_cast<std::size_t>(b)]) {
                    number.Fail("block " + std::to_string(b) + " is given twice");
                }
                seen[static_cast<std::size_t>(b)] = true;
                if (entries) {
                    Entries(*entries, b);
                }
            });
    }

    void Entries(const JsonValue& entries, int block) {
        std::vector<bool> seen(keyboard::kEntriesPerBlock, false);
        entries.ForEachElement(
            keyboard::kEntriesPerBlock, "a block's entry list",
            [&](const JsonValue& value, std::size_t) { Entry(value, block, seen); });
    }

    static uint16_t KindOf(JsonObject& object, const std::optional<JsonValue>& kind,
                           const std::optional<JsonValue>& kindName) {
        std::optional<uint16_t> number;
        if (kind) {
            number = static_cast<uint16_t>(kind->Integer(0, kMax16, "the kind"));
        }
        if (kindName) {
            const auto named = KindOfName(kindName->String("the kind's name"));
            if (!named) {
                kindName->Fail(
                    "no kind has this name (default, disabled, key, launch, macro, "
                    "stop-macro, text, multimedia, function)");
            }
            if (number && *number != *named) {
                kindName->Fail("the kind's name contradicts kind " + std::to_string(*number));
            }
            number = named;
        }
        if (!number) {
            object.Value().Fail("an entry needs its \"kind\" (or \"kindName\")");
        }
        return *number;
    }

    static void CheckEntryKey(int index, const std::optional<JsonValue>& key,
                              const std::optional<JsonValue>& bank) {
        const EntryKey expected = EntryKeyOf(index);
        if (key) {
            if (!expected.label) {
                if (!key->IsNull()) {
                    key->Fail("entry " + std::to_string(index) + " belongs to no key (null)");
                }
            } else if (platform::Utf16ToUtf8(key->String("the entry's key")) != *expected.label) {
                key->Fail("entry " + std::to_string(index) + " is the entry of " +
                          Quoted(*expected.label));
            }
        }
        if (bank) {
            if (!expected.gKeyBank) {
                bank->Fail("only the G-key entries 256..273 have a G-key bank");
            }
            MustEqual(bank, *expected.gKeyBank, "the G-key bank");
        }
    }

    void Entry(const JsonValue& value, int block, std::vector<bool>& seen) {
        JsonObject object(value);
        const JsonValue entry = object.Require("entry");
        const auto key = object.Take("key");
        const auto bank = object.Take("gKeyBank");
        const auto kind = object.Take("kind");
        const auto kindName = object.Take("kindName");
        const auto parameter = object.Take("parameter");
        const auto given = object.Take("value");
        const auto target = object.Take("target");
        const auto colourSwitch = object.Take("colourSwitch");
        const auto unused = object.Take("unused");
        object.RefuseOthers();

        const auto index =
            static_cast<int>(entry.Integer(0, keyboard::kEntriesPerBlock - 1, "the entry"));
        if (seen[static_cast<std::size_t>(index)]) {
            entry.Fail("entry " + std::to_string(index) + " of this block is given twice");
        }
        seen[static_cast<std::size_t>(index)] = true;
        keyboard::KeyEntryRef bytes = parts_.image->Entry(block, index);
        bytes.SetKind(KindOf(object, kind, kindName));
        bytes.SetParameter(
            parameter ? static_cast<uint16_t>(parameter->Integer(0, kMax16, "the parameter")) : 0);
        bytes.SetValue(given ? static_cast<uint32_t>(given->Integer(0, kMax32, "the value")) : 0);
        bytes.SetColourSwitch(colourSwitch ? static_cast<uint32_t>(colourSwitch->Integer(
                                                 0, kMax32, "the colour switch"))
                                           : 0);
        keyboard::StoreLe32(
            parts_.image->Block(block),
            static_cast<std::size_t>(index) * keyboard::kKeyEntrySize + kEntryUnusedOffset,
            unused ? static_cast<uint32_t>(unused->Integer(0, kMax32, "unused")) : 0);
        CheckEntryKey(index, key, bank);
        if (target) {
            const auto named = TargetOf(std::as_const(*parts_.image).Entry(block, index));
            if (!named) {
                target->Fail("this entry's kind and value name no key or multimedia function");
            }
            if (platform::Utf16ToUtf8(target->String("the target")) != *named) {
                target->Fail("the value " + std::to_string(bytes.Value()) + " names " +
                             Quoted(*named));
            }
        }
        if (profiles::CarriesText(bytes.Kind())) {
            textEntries_.push_back({keyboard::kEntriesPerBlock * block + index, Where(value),
                                    given ? std::optional<Where>(Where(*given)) : std::nullopt});
        }
    }

    // ---- Macros -------------------------------------------------------------------------------

    static keyboard::MacroAction Action(const JsonValue& value) {
        JsonObject object(value);
        const JsonValue delay = object.Require("delay");
        const JsonValue keyCode = object.Require("keyCode");
        const auto key = object.Take("key");
        const JsonValue action = object.Require("action");
        object.RefuseOthers();
        keyboard::MacroAction result;
        result.delayMs = static_cast<int32_t>(delay.Integer(
            std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), "the delay"));
        result.keyCode = static_cast<keyboard::KeyCode>(keyCode.Integer(0, kMax16, "the key code"));
        if (key && platform::Utf16ToUtf8(key->String("the key")) != KeyLabel(result.keyCode)) {
            key->Fail("key code " + std::to_string(result.keyCode) + " is " +
                      Quoted(KeyLabel(result.keyCode)));
        }
        if (action.Type() == JsonType::kString) {
            const std::string name = platform::Utf16ToUtf8(action.String("the action"));
            if (name != kPressName && name != kReleaseName) {
                action.Fail("the action is \"press\", \"release\" or a number");
            }
            result.action = name == kPressName ? keyboard::kMacroPress : keyboard::kMacroRelease;
        } else {
            result.action = static_cast<uint16_t>(action.Integer(0, kMax16, "the action"));
        }
        return result;
    }

    static void ApplyOtherBytes(const JsonValue& runs, keyboard::MacroRecord& record) {
        runs.ForEachElement(
            keyboard::kMacroRecordSize, "the other bytes",
            [&](const JsonValue& value, std::size_t) {
                JsonObject run(value);
                const JsonValue offset = run.Require("offset");
                const JsonValue bytes = run.Require("bytes");
                run.RefuseOthers();
                const auto at = static_cast<std::size_t>(
                    offset.Integer(0, keyboard::kMacroRecordSize - 1, "the offset"));
                const std::vector<uint8_t> data = bytes.HexBytes("the bytes");
                if (data.empty() || at + data.size() > keyboard::kMacroRecordSize) {
                    bytes.Fail("the bytes lie inside the macro's 16512 bytes");
                }
                std::ranges::copy(data, record.Bytes().begin() + static_cast<std::ptrdiff_t>(at));
            });
    }

    void Macro(const JsonValue& value) {
        JsonObject object(value);
        const JsonValue id = object.Require("id");
        const JsonValue name = object.Require("name");
        const JsonValue repeat = object.Require("repeat");
        const auto newFlag = object.Take("newFlag");
        const auto actionCount = object.Take("actionCount");
        const JsonValue actions = object.Require("actions");
        const auto otherBytes = object.Take("otherBytes");
        object.RefuseOthers();

        MacroFields fields;
        fields.id = static_cast<uint16_t>(id.Integer(0, kMax16, "the id"));
        fields.name = TextWithoutNul(name, "the name");
        if (fields.name.size() > keyboard::kMacroNameMaxChars) {
            name.Fail("a name has at most 249 UTF-16 units");
        }
        fields.repeat = static_cast<uint8_t>(repeat.Integer(0, UINT8_MAX, "the repeat count"));
        fields.newFlag =
            newFlag ? static_cast<uint16_t>(newFlag->Integer(0, kMax16, "the new flag")) : 0;
        actions.ForEachElement(keyboard::kMaxMacroActions, "a macro's action list",
                               [&](const JsonValue& action, std::size_t) {
                                   fields.actions.push_back(Action(action));
                               });
        fields.actionCount = static_cast<uint16_t>(fields.actions.size());
        if (actionCount) {
            const auto count =
                static_cast<uint16_t>(actionCount->Integer(0, kMax16, "the action count"));
            const bool beyondTheList = count > keyboard::kMaxMacroActions &&
                                       fields.actions.size() == keyboard::kMaxMacroActions;
            if (count != fields.actionCount && !beyondTheList) {
                actionCount->Fail("the action count is the number of actions, " +
                                  std::to_string(fields.actionCount) +
                                  " here (more only beside a full list of 2000)");
            }
            fields.actionCount = count;
        }
        keyboard::MacroRecord record = RecordOf(fields);
        if (otherBytes) {
            ApplyOtherBytes(*otherBytes, record);
            if (FieldsOf(record) != fields) {
                otherBytes->Fail("the other bytes change what the macro's members say");
            }
        }
        parts_.macros.push_back(record);
    }

    void Macros(const JsonValue& macros) {
        parts_.macros.reserve(macros.Document().Children(macros.Node()).size());
        macros.ForEachElement(profiles::kMaxFileMacros, "the macro list",
                              [&](const JsonValue& value, std::size_t) { Macro(value); });
    }

    // ---- Texts and the string area --------------------------------------------------------------

    const TextEntry* TextEntryOf(int entry) const {
        const auto found = std::ranges::find(textEntries_, entry, &TextEntry::entry);
        return found == textEntries_.end() ? nullptr : &*found;
    }

    // Each text of the list, checked against its entry; `take` gets the entry and the text.
    template <typename Take>
    void EachText(const std::optional<JsonValue>& texts, Take take) {
        if (!texts) {
            return;
        }
        std::vector<bool> seen(keyboard::kKeyEntryCount, false);
        texts->ForEachElement(
            keyboard::kKeyEntryCount, "the text list", [&](const JsonValue& value, std::size_t) {
                JsonObject object(value);
                const JsonValue entry = object.Require("entry");
                const JsonValue text = object.Require("text");
                object.RefuseOthers();
                const auto index =
                    static_cast<int>(entry.Integer(0, keyboard::kKeyEntryCount - 1, "the entry"));
                if (seen[static_cast<std::size_t>(index)]) {
                    entry.Fail("entry " + std::to_string(index) + " has a text already");
                }
                seen[static_cast<std::size_t>(index)] = true;
                if (TextEntryOf(index) == nullptr) {
                    entry.Fail("entry " + std::to_string(index) +
                               " is no launch or text entry (kind 3 or 6), so it has no text");
                }
                take(index, text, TextWithoutNul(text, "the text"));
            });
    }

    void PackedTexts(const std::optional<JsonValue>& texts,
                     const std::optional<JsonValue>& givenSize) {
        keyboard::TextTable table;
        EachText(texts, [&](int entry, const JsonValue&, const std::u16string& text) {
            table.Set(entry, text);
        });
        std::size_t size = table.Total();
        if (givenSize) {
            const auto given =
                static_cast<std::size_t>(givenSize->Integer(0, kMax32, "the string area's size"));
            if (given < size) {
                givenSize->Fail("the texts take " + std::to_string(size) + " bytes");
            }
            size = given;
        }
        const keyboard::ImageRecord given = *parts_.image;
        parts_.stringArea = PackedStringArea(*parts_.image, table, size);
        for (const TextEntry& text : textEntries_) {
            const auto block = text.entry / keyboard::kEntriesPerBlock;
            const auto index = text.entry % keyboard::kEntriesPerBlock;
            const uint32_t packed = parts_.image->Entry(block, index).Value();
            if (!table.HasText(text.entry) && size > 0) {
                text.object.Fail("a launch or text entry needs its text in $.texts");
            }
            if (text.value && packed != given.Entry(block, index).Value()) {
                text.value->Fail(
                    "the value of this entry is its text's offset in the string "
                    "area, " +
                    std::to_string(packed) + " here (leave it out to have it computed)");
            }
        }
    }

    void GivenStringArea(const JsonValue& area, const std::optional<JsonValue>& texts,
                         const std::optional<JsonValue>& givenSize) {
        parts_.stringArea = area.HexBytes("the string area");
        MustEqual(givenSize, static_cast<int64_t>(parts_.stringArea.size()),
                  "the string area's size");
        for (const TextEntry& text : textEntries_) {
            const uint32_t offset = parts_.image
                                        ->Entry(text.entry / keyboard::kEntriesPerBlock,
                                                text.entry % keyboard::kEntriesPerBlock)
                                        .Value();
            if (!parts_.stringArea.empty() && !std::holds_alternative<std::u16string>(
                                                  profiles::TextAt(parts_.stringArea, offset))) {
                (text.value ? *text.value : text.object)
                    .Fail("no text of the string area begins at offset " + std::to_string(offset));
            }
        }
        EachText(texts, [&](int entry, const JsonValue& value, const std::u16string& text) {
            const uint32_t offset =
                parts_.image
                    ->Entry(entry / keyboard::kEntriesPerBlock, entry % keyboard::kEntriesPerBlock)
                    .Value();
            const auto held = profiles::TextAt(parts_.stringArea, offset);
            const auto* units = std::get_if<std::u16string>(&held);
            if (units == nullptr || *units != text) {
                value.Fail("the string area holds another text at this entry's offset " +
                           std::to_string(offset));
            }
        });
    }

    JsonPath rootPath_;
    JsonObject root_;
    ProfileParts parts_;
    std::vector<TextEntry> textEntries_;
};

}  // namespace

ProfileParts BuildProfile(const JsonDocument& document) {
    return Builder(document).Build();
}

}  // namespace qx::ctl
