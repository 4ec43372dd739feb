// Language texts used as formats come from outside files: they must never read past their
// arguments or crash, whatever they hold.
#include "lang/text_format.h"

#include <gtest/gtest.h>

namespace qx::lang {
namespace {

TEST(TextFormat, FillsNumbersAndTexts) {
    EXPECT_EQ(FormatText("At most %d macros.", {100}), "At most 100 macros.");
    EXPECT_EQ(FormatText("Key 0x%04X", {uint16_t{0x64}}), "Key 0x0064");
    EXPECT_EQ(FormatText("%x|%X|%u|%i", {255, 255, -1, -5}), "ff|FF|4294967295|-5");
    EXPECT_EQ(FormatText("\"%s\" is not a profile file.", {"/home/ana/a.kpf"}),
              "\"/home/ana/a.kpf\" is not a profile file.");
    EXPECT_EQ(FormatText("[%5d][%-5d][%05d][%3s]", {42, 42, -42, "ab"}),
              "[   42][42   ][-0042][ ab]");
    EXPECT_EQ(FormatText("100%% sure", {}), "100% sure");
    EXPECT_EQ(FormatText("no directives", {1, "x"}), "no directives");
}

TEST(TextFormat, DirectivesThatDoNotFitAreCopiedUnchanged) {
    EXPECT_EQ(FormatText("%d and %d", {1}), "1 and %d") << "missing argument";
    EXPECT_EQ(FormatText("%s", {40000}), "%s") << "a number for a text";
    EXPECT_EQ(FormatText("%d", {"text"}), "%d") << "a text for a number";
    EXPECT_EQ(FormatText("%n%p%f%ls%.3s", {1, 2, 3}), "%n%p%f%ls%.3s");
    EXPECT_EQ(FormatText("%999999d", {1}), "%999999d") << "width is at most two digits";
    EXPECT_EQ(FormatText("ends with %", {1}), "ends with %");
    EXPECT_EQ(FormatText("%s %d", {"a", 2}), "a 2");
    EXPECT_EQ(FormatText("%d %s", {"a", 2}), "%d %s") << "arguments are taken in order";
}

TEST(TextFormat, ReportsTheArgumentsAFormatTakes) {
    using K = FormatArgKind;
    EXPECT_EQ(FormatArgKinds("plain"), std::vector<K>{});
    EXPECT_EQ(FormatArgKinds("100%% of %d"), std::vector<K>{K::Number});
    EXPECT_EQ(FormatArgKinds("%s: %04X"), (std::vector<K>{K::Text, K::Number}));
    EXPECT_EQ(FormatArgKinds("%q"), std::nullopt);
    EXPECT_EQ(FormatArgKinds("50%"), std::nullopt);
}

}  // namespace
}  // namespace qx::lang
