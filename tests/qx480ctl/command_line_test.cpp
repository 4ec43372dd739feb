// qx480ctl's pieces in-process: the command line, the subcommand table and the JSON writer.
#include "tools/qx480ctl/command_line.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "tools/qx480ctl/json_writer.h"

namespace qx::ctl {
namespace {

TEST(CommandLineTest, OptionsMayStandAnywhereAndDoubleDashEndsThem) {
    const auto parsed = ParseCommandLine({"validate", "--yes", "--", "-odd.kpf"});
    ASSERT_TRUE(parsed.line) << parsed.error;
    EXPECT_TRUE(parsed.line->global.assumeYes);
    EXPECT_EQ(parsed.line->command->name, "validate");
    EXPECT_EQ(parsed.line->args, std::vector<std::string>{"-odd.kpf"});
}

TEST(CommandLineTest, CommandOptionsTakeValuesAndMacroStepsAreNeverOptions) {
    const auto assign =
        ParseCommandLine({"--force", "assign", "G1", "--bank=1", "macro", "#2", "--repeat", "5"});
    ASSERT_TRUE(assign.line) << assign.error;
    EXPECT_TRUE(assign.line->global.force);
    EXPECT_EQ(assign.line->args, (std::vector<std::string>{"G1", "macro", "#2"}));
    EXPECT_EQ(assign.line->options, (GivenOptions{{"--bank", "1"}, {"--repeat", "5"}}));

    const auto add = ParseCommandLine({"macro", "add", "--repeat", "2", "M", "-A", "--yes", "-h"});
    ASSERT_TRUE(add.line) << add.error;
    EXPECT_EQ(add.line->command->name, "macro add");
    EXPECT_EQ(add.line->args, (std::vector<std::string>{"M", "-A", "--yes", "-h"}));
    EXPECT_FALSE(add.line->help);

    EXPECT_EQ(ParseCommandLine({"assign", "A", "key", "B", "--repeat"}).error,
              "--repeat needs a value (--repeat N)");
    EXPECT_EQ(ParseCommandLine({"dump", "--keyboard=1"}).error, "--keyboard takes no value");
    EXPECT_EQ(ParseCommandLine({"status", "--file", "x"}).error,
              "unknown option '--file' for status");
    EXPECT_EQ(ParseCommandLine({"assign", "--bank", "1", "--bank", "0", "G1", "default"}).error,
              "--bank is given twice");
    EXPECT_EQ(ParseCommandLine({"macro", "lsit"}).error, "unknown command 'macro lsit'");
    EXPECT_NE(ParseCommandLine({"macro"}).error.find("needs one of its commands"),
              std::string::npos);
}

TEST(CommandLineTest, RefusesUnknownOptionsCommandsAndCounts) {
    EXPECT_EQ(ParseCommandLine({"-x", "status"}).error, "unknown option '-x'");
    EXPECT_EQ(ParseCommandLine({"statsu"}).error, "unknown command 'statsu'");
    EXPECT_EQ(ParseCommandLine({"status", "1"}).error, "usage: qx480ctl status");
    EXPECT_EQ(ParseCommandLine({"profile", "1", "2"}).error, "usage: qx480ctl profile [N]");
    EXPECT_EQ(ParseCommandLine({}).error, "no command given");
    EXPECT_TRUE(ParseCommandLine({"-h"}).line->help);
}

TEST(CommandLineTest, EverySubcommandOfEveryGroupIsFoundByItsUniqueName) {
    std::set<std::string_view> names;
    for (const auto group : CommandGroups()) {
        for (const Subcommand& command : group()) {
            EXPECT_TRUE(names.insert(command.name).second) << command.name;
            EXPECT_EQ(FindSubcommand(command.name), &command);
            EXPECT_LE(command.minArgs, command.maxArgs);
            // Its example is a command line the parser takes for this very command.
            std::vector<std::string> words;
            std::istringstream example{std::string(command.example)};
            for (std::string word; example >> word && word != ">";) {
                words.push_back(word);
            }
            const auto parsed = ParseCommandLine(words);
            ASSERT_TRUE(parsed.line) << command.example << ": " << parsed.error;
            EXPECT_EQ(parsed.line->command, &command) << command.example;
        }
    }
    EXPECT_EQ(names.size(), 17u);
}

TEST(JsonWriterTest, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(JsonQuoted("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(JsonQuoted("\n\t\r\b\f"), R"("\n\t\r\b\f")");
    EXPECT_EQ(JsonQuoted(std::string("\x01\x1f\x7f", 3)), R"("\u0001\u001F\u007F")");
    EXPECT_EQ(JsonQuoted(std::string("\0", 1)), R"("\u0000")");
    EXPECT_EQ(JsonQuoted("\u00e7\u2713"), "\"\u00e7\u2713\"");
    EXPECT_EQ(JsonQuoted("\xff"), "\"\uFFFD\"");
}

TEST(JsonWriterTest, SeparatesMembersAndElementsAndIndents) {
    std::ostringstream out;
    JsonWriter json(out);
    json.BeginObject();
    json.Member("a", 1);
    json.Key("b");
    json.BeginArray();
    json.String("x");
    json.Null();
    json.Bool(true);
    json.EndArray();
    json.Key("c");
    json.BeginObject();
    json.EndObject();
    json.Key("d");
    json.BeginArray();
    json.EndArray();
    json.EndObject();
    EXPECT_EQ(out.str(),
              "{\n  \"a\": 1,\n  \"b\": [\n    \"x\",\n    null,\n    true\n  ],\n"
              "  \"c\": {},\n  \"d\": []\n}\n");
}

}  // namespace
}  // namespace qx::ctl
