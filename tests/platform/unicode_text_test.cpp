// Case folding and UTF-16 counting decide whether names match and where texts are cut.
#include "platform/unicode_text.h"

#include <gtest/gtest.h>

namespace qx::platform {
namespace {

TEST(UnicodeText, FoldsTheCaseOfLettersOfTheCommonScripts) {
    EXPECT_EQ(FoldCase(U'A'), U'a');
    EXPECT_EQ(FoldCase(U'['), U'[');
    EXPECT_EQ(FoldCase(U'\u00C9'), U'\u00E9');  // É
    EXPECT_EQ(FoldCase(U'\u00D7'), U'\u00D7');  // × is not a letter
    EXPECT_EQ(FoldCase(U'\u00DE'), U'\u00FE');  // Þ
    EXPECT_EQ(FoldCase(U'\u0100'), U'\u0101');  // Ā
    EXPECT_EQ(FoldCase(U'\u0101'), U'\u0101');
    EXPECT_EQ(FoldCase(U'\u0139'), U'\u013A');  // Ĺ: pairs start on an odd code point here
    EXPECT_EQ(FoldCase(U'\u0178'), U'\u00FF');  // Ÿ
    EXPECT_EQ(FoldCase(U'\u03A3'), U'\u03C3');  // Σ
    EXPECT_EQ(FoldCase(U'\u03C2'), U'\u03C3');  // final ς
    EXPECT_EQ(FoldCase(U'\u0401'), U'\u0451');  // Ё
    EXPECT_EQ(FoldCase(U'\u042F'), U'\u044F');  // Я
    EXPECT_EQ(FoldCase(U'\u0462'), U'\u0463');
    EXPECT_EQ(FoldCase(U'\uFF21'), U'\uFF41');  // full-width A
    EXPECT_EQ(FoldCase(U'\u4E2D'), U'\u4E2D');
    EXPECT_TRUE(
        EqualsIgnoringCase("Stra\xC3\x9F"
                           "E",
                           "STRA\xE1\xBA\x9E"
                           "e"));  // ß / ẞ
    EXPECT_FALSE(EqualsIgnoringCase("abc", "abcd"));
}

TEST(UnicodeText, CountsAndCutsInUtf16UnitsWithoutSplittingCharacters) {
    const std::string text = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x8E\xAE";  // a é 中 🎮
    EXPECT_EQ(Utf16Length(text), 5u);
    EXPECT_EQ(CutToUtf16Units(text, 4), "a\xC3\xA9\xE4\xB8\xAD");
    EXPECT_EQ(CutToUtf16Units(text, 5), text);
    EXPECT_EQ(CutToUtf16Units(text, 0), "");
    EXPECT_EQ(CutToUtf16Units("\xC3", 5), "\xEF\xBF\xBD") << "a truncated sequence";
}

TEST(UnicodeText, ConvertsBetweenUtf8AndUtf16) {
    const std::u16string utf16 = u"a\u00E9\u4E2D\U0001F3AE";
    const std::string utf8 = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x8E\xAE";
    EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
    EXPECT_EQ(Utf8ToUtf16(utf8), utf16);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD") << "lone surrogate";
    // Overlong forms and code points above U+10FFFF are not accepted.
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
}

}  // namespace
}  // namespace qx::platform
