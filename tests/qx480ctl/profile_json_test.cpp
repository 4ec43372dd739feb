// dump and build in-process: a file dumped and built again is the same file, whatever the file
// holds; a document that contradicts what build computes, or says what no file can hold, is
// refused at the value that is wrong.
#include <gtest/gtest.h>

#include <sstream>
#include <variant>

#include "keyboard/byte_order.h"
#include "profiles/string_area.h"
#include "tests/profiles/profile_builders.h"
#include "tests/profiles/profile_fixture.h"
#include "tools/qx480ctl/json_fields.h"
#include "tools/qx480ctl/profile_build.h"
#include "tools/qx480ctl/profile_dump.h"

namespace qx::testing {
namespace {

using ctl::JsonDocument;

constexpr std::size_t kAreaOf = keyboard::kImageSize;  // where the macro records begin

class ProfileJsonTest : public ProfileTest {
  protected:
    static std::string Dump(const ctl::ProfileParts& parts) {
        std::ostringstream out;
        ctl::JsonWriter json(out);
        ctl::DumpProfile(parts, json);
        return out.str();
    }

    static JsonDocument Parse(const std::string& text) {
        auto parsed = ctl::ParseJson(text);
        if (const auto* error = std::get_if<ctl::JsonSyntaxError>(&parsed)) {
            ADD_FAILURE() << error->path << ": " << error->message;
            return {};
        }
        return std::get<JsonDocument>(std::move(parsed));
    }

    std::string Bytes(const ctl::ProfileParts& parts) const {
        const std::string path = File("built.kpf");
        EXPECT_TRUE(ctl::WriteProfileParts(path, parts));
        return ReadBytes(path);
    }

    // The file's bytes dumped and built again.
    std::string RoundTrip(const std::string& bytes) {
        const std::string path = File("file.kpf");
        WriteBytes(path, bytes);
        const ctl::ReadParts read = ctl::ReadProfileParts(path);
        EXPECT_TRUE(read.parts) << profiles::DescribeProfileCheck(read.check);
        if (!read.parts) {
            return {};
        }
        const std::string json = Dump(*read.parts);
        try {
            return Bytes(ctl::BuildProfile(Parse(json)));
        } catch (const ctl::JsonInputError& error) {
            ADD_FAILURE() << error.path << ": " << error.message;
            return {};
        }
    }

    // The error build gives for a document: its path and message.
    static std::string BuildError(const std::string& json) {
        try {
            ctl::BuildProfile(Parse(json));
        } catch (const ctl::JsonInputError& error) {
            return error.path + ": " + error.message;
        }
        return "built";
    }

    // A file the program itself wrote of the live image.
    std::string Saved() {
        const std::string path = File("saved.kpf");
        EXPECT_TRUE(profiles::SaveImageToFile(path));
        return ReadBytes(path);
    }
};

TEST_F(ProfileJsonTest, FilesTheProgramWritesComeBackByteForByte) {
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        keyboard::ImageRecord& image = *guard->image;
        // Every kind, also one no program writes, in every block and both G-key banks.
        for (uint16_t kind = 0; kind <= 9; ++kind) {
            if (profiles::CarriesText(kind)) {
                continue;  // given texts below
            }
            auto entry = image.Entry(kind % 4, 0x10 + kind);
            entry.SetKind(kind);
            entry.SetValue(kind == 7 ? 7 : 0x30 + kind);
            entry.SetParameter(kind == 4 ? 3 : 0);
        }
        image.Entry(0, 0x11).SetValue(0x162);  // kind 1, a mouse code as value
        image.Entry(0, 266).SetKind(keyboard::kKindMultimedia);
        image.Entry(1, 400).SetColourSwitch(1);  // an unused entry with its colour switch
        image.Entry(0, 0x3B).SetKind(keyboard::kKindLaunch);
        image.Entry(2, 0x3C).SetKind(keyboard::kKindText);
        guard->texts.Set(0x3B, u"/usr/bin/true");
        guard->texts.Set(512 * 2 + 0x3C, u"Sm\u00f6rg\u00e5s \U0001F600 \xD800 \"quoted\"\n");
        guard->texts.Set(0x40, u"stale: its entry is no longer a text");  // S ends in zeros
        guard->macros = {MakeMacro(1, u"first", 3, 2), MakeMacro(5, u"", 0, 255)};
    }
    std::string bytes = Saved();
    EXPECT_EQ(RoundTrip(bytes), bytes);
    // What only other writers leave: flag 1, reserved header bytes, the unread entry bytes,
    // bytes after the total.
    PatchHeader(bytes, profiles::kFlagOffset, 1);
    PatchHeader(bytes, profiles::kReservedOffset + 3, 0x5A);
    Put32(bytes, 64 + 16 * 0x30 + 12, 0xDEADBEEF);
    bytes += "trailing bytes";
    EXPECT_EQ(RoundTrip(bytes), bytes);
}

TEST_F(ProfileJsonTest, MacrosAtTheLimitsAndEveryByteOfTheirRecordsComeBack) {
    std::vector<keyboard::MacroRecord> macros;
    for (uint16_t id = 1; id <= keyboard::kMaxMacros; ++id) {
        macros.push_back(MakeMacro(id, u"m", 1));
    }
    keyboard::MacroRecord& full = macros[0];
    full.SetName(std::u16string(247, u'n') + u"\U0001F600");  // 249 units, a pair at the end
    full.SetActionCount(keyboard::kMaxMacroActions);
    for (int i = 0; i < keyboard::kMaxMacroActions; ++i) {
        full.SetAction(i,
                       {i % 2 == 0 ? keyboard::kMaxMacroDelayMs : -10,
                        static_cast<keyboard::KeyCode>(i % 0x180), static_cast<uint16_t>(i % 3)});
    }
    macros[1].SetActionCount(2345);  // counts more actions than its slots
    macros[2].SetNewFlag(1);
    macros[3].Bytes()[501] = 7;                                 // reserved
    macros[3].Bytes()[300] = 9;                                 // a name slot after the terminator
    macros[3].Bytes()[600] = 1;                                 // an unused action slot
    std::fill_n(macros[4].Bytes().begin(), 500, uint8_t{'x'});  // a name without terminator
    macros[5].SetId(macros[6].Id());                            // two macros with one id
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        guard->macros = macros;
    }
    const std::string bytes = Saved();
    EXPECT_EQ(RoundTrip(bytes), bytes);
}

TEST_F(ProfileJsonTest, StringAreasThatAreNotTextsPackedInOrderComeBackAsTheyAre) {
    const auto withTexts = [](const std::string& area, std::initializer_list<uint32_t> offsets) {
        std::string bytes = MakeFileBytes(0, static_cast<uint32_t>(area.size()));
        bytes.replace(kAreaOf, area.size(), area);
        int entry = 1;
        for (const uint32_t offset : offsets) {
            Put16(bytes, 64 + 16 * entry, keyboard::kKindText);
            Put32(bytes, 64 + 16 * entry + 4, offset);
            ++entry;
        }
        return bytes;
    };
    const std::string ab("a\0b\0\0\0", 6);  // "ab"
    const std::string cd("c\0\0\0", 4);     // "c"
    const std::string cases[] = {
        withTexts(ab + cd, {0, 0}),         // two entries share a text
        withTexts(ab + cd, {6, 0}),         // out of entry order
        withTexts(ab + cd, {1, 6}),         // an odd offset, rounded down when read
        withTexts(ab + "zz" + cd, {0, 8}),  // bytes between the texts
        withTexts({}, {77, 1234}),          // text entries, no string area at all
    };
    for (const std::string& bytes : cases) {
        EXPECT_EQ(RoundTrip(bytes), bytes);
    }
}

TEST_F(ProfileJsonTest, ADocumentIsBuiltWithWhatItLeavesOutComputed) {
    const ctl::ProfileParts parts = ctl::BuildProfile(Parse(R"({
        "profiles": [{"block": 0, "entries": [
            {"entry": 30, "kindName": "key", "value": 48},
            {"entry": 5, "kind": 6}, {"entry": 9, "kind": 3}]}],
        "macros": [{"id": 3, "name": "x", "repeat": 1,
                    "actions": [{"delay": 50, "keyCode": 30, "action": "press"}]}],
        "texts": [{"entry": 9, "text": "nine"}, {"entry": 5, "text": "five"}]})"));
    const std::string bytes = Bytes(parts);
    std::string want = MakeFileBytes(1, 20);
    std::fill_n(want.begin() + std::ptrdiff_t{64 + 16 * 256}, 18 * 16, '\0');  // no G codes given
    Put16(want, 64 + 16 * 30, keyboard::kKindKey);
    Put32(want, 64 + 16 * 30 + 4, 48);
    Put16(want, 64 + 16 * 5, keyboard::kKindText);
    Put16(want, 64 + 16 * 9, keyboard::kKindLaunch);
    Put32(want, 64 + 16 * 9 + 4, 10);  // packed in entry order: entry 5's text first
    keyboard::MacroRecord macro = MakeMacro(3, u"x", 1);
    macro.SetAction(0, {50, 30, 0});
    want.replace(kAreaOf, keyboard::kMacroRecordSize,
                 std::string(reinterpret_cast<const char*>(macro.Bytes().data()),
                             keyboard::kMacroRecordSize));
    want.replace(kAreaOf + keyboard::kMacroRecordSize, 20,
                 std::string("f\0i\0v\0e\0\0\0n\0i\0n\0e\0\0\0", 20));
    EXPECT_EQ(bytes, want);
}

TEST_F(ProfileJsonTest, ContradictionsAndValuesNoFileHoldsAreRefusedWhereTheyStand) {
    const struct {
        std::string json;
        std::string_view error;
    } cases[] = {
        {R"({"header": {"checksum": 1}})", "$.header.checksum: the checksum is 118 here"},
        {R"({"header": {"macroCount": 1}})", "$.header.macroCount:"},
        {R"({"header": {"magic": 1}})", "$.header.magic:"},
        {R"({"header": {"flag": 2}})", "$.header.flag: the flag is an integer from 0 to 1"},
        {R"({"header": {"reserved": "00"}})", "$.header.reserved: the reserved bytes"},
        {R"({"header": {"totalSize": 32832, "extra": 0}})", "$.header.extra: no such member"},
        {R"({"fixedBlock": [1, 2]})", "$.fixedBlock: the fixed block is eight"},
        {R"({"profiles": [{"block": 4}]})", "$.profiles[0].block:"},
        {R"({"profiles": [{"block": 0}, {"block": 0}]})", "$.profiles[1].block: block 0 is given"},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 512, "kind": 0}]}]})",
         "$.profiles[0].entries[0].entry:"},
        {R"({"profiles": [{"block": 1, "entries": [{"entry": 30}]}]})",
         "$.profiles[0].entries[0]: an entry needs its \"kind\""},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 30, "kind": 4, "kindName": "key"}]}]})",
         "kindName: the kind's name contradicts kind 4"},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 30, "kind": 2, "key": "B"}]}]})",
         "entries[0].key: entry 30 is the entry of \"A\""},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 300, "kind": 0, "key": "A"}]}]})",
         "entries[0].key: entry 300 belongs to no key"},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 30, "kind": 0, "gKeyBank": 0}]}]})",
         "gKeyBank: only the G-key entries"},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 265, "kind": 0, "gKeyBank": 0}]}]})",
         "gKeyBank: the G-key bank is 1 here"},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 30, "kind": 2, "value": 48,
             "target": "C"}]}]})",
         "entries[0].target: the value 48 names \"B\""},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 30, "kind": 7, "value": 18,
             "target": "Mute"}]}]})",
         "entries[0].target: this entry's kind and value name no"},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 30, "kind": 6, "value": 2}]}],
             "texts": [{"entry": 30, "text": "t"}]})",
         "entries[0].value: the value of this entry is its text's offset in the string area, 0"},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 30, "kind": 6}, {"entry": 31,
             "kind": 3}]}], "texts": [{"entry": 30, "text": "t"}]})",
         "$.profiles[0].entries[1]: a launch or text entry needs its text"},
        {R"({"texts": [{"entry": 30, "text": "t"}]})", "$.texts[0].entry: entry 30 is no launch"},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 30, "kind": 6}]}],
             "texts": [{"entry": 30, "text": "a\u0000b"}]})",
         "$.texts[0].text: the text cannot hold the character U+0000"},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 30, "kind": 6}]}],
             "texts": [{"entry": 30, "text": "abc"}], "header": {"stringAreaSize": 4}})",
         "$.header.stringAreaSize: the texts take 8 bytes"},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 30, "kind": 6, "value": 9}]}],
             "stringArea": "610000"})",
         "entries[0].value: no text of the string area begins at offset 9"},
        {R"({"profiles": [{"block": 0, "entries": [{"entry": 30, "kind": 6}]}],
             "stringArea": "61000000", "texts": [{"entry": 30, "text": "b"}]})",
         "$.texts[0].text: the string area holds another text"},
        {R"({"stringArea": "6"})", "$.stringArea: the string area is a string of hexadecimal"},
        {R"({"macros": [{"id": 1, "name": "m", "repeat": 256, "actions": []}]})",
         "$.macros[0].repeat: the repeat count is an integer from 0 to 255"},
        {R"({"macros": [{"id": 1, "name": "m", "repeat": 1}]})",
         "$.macros[0]: the member \"actions\" is missing"},
        {R"({"macros": [{"id": 1, "name": ")" + std::string(250, 'n') +
             R"(", "repeat": 1, "actions": []}]})",
         "$.macros[0].name: a name has at most 249 UTF-16 units"},
        {R"({"macros": [{"id": 1, "name": "m", "repeat": 1, "actionCount": 2, "actions": []}]})",
         "$.macros[0].actionCount: the action count is the number of actions, 0 here"},
        {R"({"macros": [{"id": 1, "name": "m", "repeat": 1, "actions": [{"delay": 0,
             "keyCode": 30, "key": "B", "action": "press"}]}]})",
         "$.macros[0].actions[0].key: key code 30 is \"A\""},
        {R"({"macros": [{"id": 1, "name": "m", "repeat": 1, "actions": [{"delay": 0,
             "keyCode": 30, "action": "down"}]}]})",
         "$.macros[0].actions[0].action: the action is \"press\", \"release\" or a number"},
        {R"({"macros": [{"id": 1, "name": "m", "repeat": 1, "actions": [{"delay": 2147483648,
             "keyCode": 30, "action": 0}]}]})",
         "$.macros[0].actions[0].delay:"},
        {R"({"macros": [{"id": 1, "name": "m", "repeat": 1, "actions": [],
             "otherBytes": [{"offset": 506, "bytes": "0200"}]}]})",
         "$.macros[0].otherBytes: the other bytes change what the macro's members say"},
        {R"({"macros": [{"id": 1, "name": "m", "repeat": 1, "actions": [],
             "otherBytes": [{"offset": 16511, "bytes": "0102"}]}]})",
         "$.macros[0].otherBytes[0].bytes: the bytes lie inside"},
        {R"({"trailing": 5})", "$.trailing: the trailing bytes is a string, not a number"},
        {R"([])", "$: expected an object, not an array"},
    };
    for (const auto& c : cases) {
        const std::string error = BuildError(c.json);
        EXPECT_NE(error.find(c.error), std::string::npos) << c.json << "\n -> " << error;
    }
    std::string macros = R"({"macros": [)";
    for (int i = 0; i <= keyboard::kMaxMacros; ++i) {
        macros += std::string(i == 0 ? "" : ",") + R"({"id": 1, "name": "", "repeat": 1,
            "actions": []})";
    }
    EXPECT_NE(BuildError(macros + "]}").find("$.macros[100]: the macro list holds at most 100"),
              std::string::npos);
}

}  // namespace
}  // namespace qx::testing
