// The strict JSON reader: what it accepts, and where and why it refuses what it does not.
#include "tools/qx480ctl/json_reader.h"

#include <gtest/gtest.h>

#include <variant>

namespace qx::ctl {
namespace {

JsonDocument Parsed(std::string_view text) {
    auto result = ParseJson(text);
    if (const auto* error = std::get_if<JsonSyntaxError>(&result)) {
        ADD_FAILURE() << text << ": " << error->message;
        return {};
    }
    return std::get<JsonDocument>(std::move(result));
}

TEST(JsonReaderTest, ReadsValuesWithTheirOffsetsAndKeepsUtf16Units) {
    const JsonDocument doc = Parsed(
        "\xEF\xBB\xBF {\"a\": [1, -9223372036854775808, 9223372036854775807, 1.5, 1e2,\n"
        " 9223372036854775808], \"s\": \"\\u00e7\xC3\xA7\\uD83D\\uDE00\xF0\x9F\x98\x80\\uD800\\/\","
        " \"t\": true, \"f\": false, \"n\": null, \"o\": {}}");
    const auto members = doc.Children(doc.Root());
    ASSERT_EQ(members.size(), 6u);
    EXPECT_EQ(doc.Key(members[0]), u"a");
    EXPECT_EQ(doc.Offset(members[0].value), 10u);
    const auto numbers = doc.Children(members[0].value);
    ASSERT_EQ(numbers.size(), 6u);
    EXPECT_EQ(doc.Integer(numbers[0].value), 1);
    EXPECT_EQ(doc.Integer(numbers[1].value), INT64_MIN);
    EXPECT_EQ(doc.Integer(numbers[2].value), INT64_MAX);
    for (std::size_t i = 3; i < numbers.size(); ++i) {  // a fraction, an exponent, too large
        EXPECT_EQ(doc.Type(numbers[i].value), JsonType::kNumber);
        EXPECT_FALSE(doc.Integer(numbers[i].value)) << i;
    }
    EXPECT_EQ(doc.Text(members[1].value), u"\u00e7\u00e7\U0001F600\U0001F600\xD800/");
    EXPECT_EQ(doc.Type(members[2].value), JsonType::kTrue);
    EXPECT_EQ(doc.Type(members[3].value), JsonType::kFalse);
    EXPECT_EQ(doc.Type(members[4].value), JsonType::kNull);
    EXPECT_TRUE(doc.Children(members[5].value).empty());
}

TEST(JsonReaderTest, RefusesWhatIsNotStrictJsonSayingWhereAndInWhichValue) {
    const struct {
        std::string_view text;
        std::size_t line, column;
        std::string_view path;
        std::string_view message;
    } cases[] = {
        {"", 1, 1, "$", "empty"},
        {"{\"a\": 1,}", 1, 9, "$", "member's name"},
        {"[1, 2,]", 1, 7, "$[2]", "expected a value"},
        {"{\"a\": {\"b\": [1 2]}}", 1, 16, "$.a.b", "expected ',' or ']'"},
        {"{\"a\" 1}", 1, 6, "$", "':'"},
        {"{\"a\": 1, \"a\": 2}", 1, 15, "$.a", "twice"},
        {"{\"x y\": [01]}", 1, 10, "$[\"x y\"][0]", "begin with 0"},
        {"[-]", 1, 3, "$[0]", "digits"},
        {"[1.]", 1, 4, "$[0]", "digits"},
        {"[\"a\nb\"]", 1, 4, "$[0]", "control character"},
        {"[\"\\x\"]", 1, 3, "$[0]", "unknown escape"},
        {"[\"\\u12G4\"]", 1, 3, "$[0]", "four hexadecimal"},
        {"[\"abc", 1, 2, "$[0]", "not closed"},
        {"[\"\xC0\xAF\"]", 1, 3, "$[0]", "UTF-8"},          // an overlong '/'
        {"[\"\xED\xA0\x80\"]", 1, 3, "$[0]", "UTF-8"},      // a surrogate in UTF-8
        {"[\"\xF4\x90\x80\x80\"]", 1, 3, "$[0]", "UTF-8"},  // above U+10FFFF
        {"[tru]", 1, 2, "$[0]", "expected a value"},
        {"{\"a\": 1}\n x", 2, 2, "$", "follows"},
        {"// no\n{}", 1, 1, "$", "expected a value"},
        {"{\"\xC3\xA7\": \n  [nul]}", 2, 4, "$[\"\xC3\xA7\"][0]", "expected a value"},
    };
    for (const auto& c : cases) {
        const auto result = ParseJson(c.text);
        const auto* error = std::get_if<JsonSyntaxError>(&result);
        ASSERT_NE(error, nullptr) << c.text;
        const TextPosition at = PositionOf(c.text, error->offset);
        EXPECT_EQ(at.line, c.line) << c.text;
        EXPECT_EQ(at.column, c.column) << c.text;
        EXPECT_EQ(error->path, c.path) << c.text;
        EXPECT_NE(error->message.find(c.message), std::string::npos)
            << c.text << ": " << error->message;
    }
}

TEST(JsonReaderTest, NestingIsLimitedAndSoDeepDocumentsCannotExhaustTheStack) {
    const std::string deepest(kMaxJsonDepth, '[');
    EXPECT_TRUE(
        std::holds_alternative<JsonDocument>(ParseJson(deepest + std::string(kMaxJsonDepth, ']'))));
    const auto result = ParseJson(std::string(100000, '['));
    const auto* error = std::get_if<JsonSyntaxError>(&result);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->offset, kMaxJsonDepth);
}

}  // namespace
}  // namespace qx::ctl
