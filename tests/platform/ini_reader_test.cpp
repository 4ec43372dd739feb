// The INI reader must give the results the language and skin files were written against.
#include <gtest/gtest.h>

#include <string>

#include "platform/ini_file.h"
#include "platform/ini_index.h"
#include "platform/unicode_text.h"
#include "tests/platform/temp_folder.h"

namespace qx::platform {
namespace {

using qx::testing::TempFolder;
using qx::testing::Utf16LeFile;
using qx::testing::WriteBytes;

constexpr std::size_t kText = kLanguageTextBuffer;

// The scan's answer; the index a read scope makes of the file must give the same.
std::string Find(std::string_view file, std::string_view section, std::string_view key,
                 std::size_t buffer = kText) {
    const std::optional<std::string> scanned = FindIniValue(file, section, key, buffer);
    EXPECT_EQ(ini_detail::IniIndex(std::string(file)).Find(section, key, buffer), scanned)
        << "the index differs for [" << section << "] " << key;
    return scanned.value_or("<missing>");
}

TEST(IniReader, MissingFileSectionOrKeyGivesTheDefault) {
    TempFolder folder;
    const std::string path = folder.File("Lang0409.ini");
    EXPECT_EQ(ReadIniString(path, "TEXT", "MAIN_CAPTION", "#Error", kText), "#Error");
    WriteBytes(path, "[TEXT]\nMAIN_CAPTION=Driver\n");
    EXPECT_EQ(ReadIniString(path, "TEXT", "MAIN_CAPTION", "#Error", kText), "Driver");
    EXPECT_EQ(ReadIniString(path, "LIGHT", "MAIN_CAPTION", "#Error", kText), "#Error");
    EXPECT_EQ(ReadIniString(path, "TEXT", "MAIN_CLOSE_PROMPT", "#Error", kText), "#Error");
    EXPECT_EQ(ReadIniString(path, "TEXT", "", "#Error", kText), "#Error");
    EXPECT_EQ(ReadIniString(folder.path(), "TEXT", "MAIN_CAPTION", "#Error", kText), "#Error")
        << "a folder is not an INI file";
}

// A file changed behind the program's back is seen at the next lookup, except inside a read
// scope, which reads each file once; the program's own writes are seen inside it too, and a
// later scope sees what changed since.
TEST(IniReader, AReadScopeReadsEachFileOnceButSeesItsOwnWrites) {
    TempFolder folder;
    const std::string path = folder.File("Main.ini");
    const std::string missing = folder.File("none.ini");
    WriteBytes(path, "[S]\nK=one\n");
    {
        const IniReadScope scope;
        EXPECT_EQ(ReadIniString(path, "S", "K", "", kText), "one");
        EXPECT_EQ(ReadIniString(missing, "S", "K", "default", kText), "default");
        WriteBytes(path, "[S]\nK=two\n");
        WriteBytes(missing, "[S]\nK=made\n");
        {
            const IniReadScope inner;
            EXPECT_EQ(ReadIniString(path, "S", "K", "", kText), "one");
        }
        EXPECT_EQ(ReadIniString(path, "S", "K", "", kText), "one");
        EXPECT_EQ(ReadIniString(missing, "S", "K", "default", kText), "default");
        ASSERT_TRUE(WriteIniString(path, "S", "K", "three"));
        EXPECT_EQ(ReadIniString(path, "S", "K", "", kText), "three");
    }
    WriteBytes(path, "[S]\nK=four\n");
    EXPECT_EQ(ReadIniString(path, "S", "K", "", kText), "four");
    EXPECT_EQ(ReadIniString(missing, "S", "K", "default", kText), "made");

    // A later scope sees a change made since, even one of the same size in the same tick.
    {
        const IniReadScope later;
        EXPECT_EQ(ReadIniString(path, "S", "K", "", kText), "four");
    }
    WriteBytes(path, "[S]\nK=five\n");
    const IniReadScope later;
    EXPECT_EQ(ReadIniString(path, "S", "K", "", kText), "five");
}

TEST(IniReader, KeyWithEmptyValueGivesEmptyText) {
    const std::string file = "[TEXT]\nA=\nB=   \nC=\"\"\nD = \t\r\n";
    for (const char* key : {"A", "B", "C", "D"}) {
        EXPECT_EQ(FindIniValue(file, "TEXT", key, kText), std::optional<std::string>("")) << key;
    }
}

TEST(IniReader, SectionsAndKeysMatchWithoutRegardToCase) {
    const std::string file =
        "[Text]\nMain_Caption=ascii\n[\xC3\x9C"
        "BER]\nCL\xC3\x89=latin\n"
        "[\xD0\x9C\xD0\x95\xD0\x9D\xD0\xAE]\n\xD0\x9A\xD0\x9B\xD0\xAE\xD0\xA7=cyrillic\n";
    EXPECT_EQ(Find(file, "TEXT", "MAIN_CAPTION"), "ascii");
    EXPECT_EQ(Find(file, "text", "main_caption"), "ascii");
    EXPECT_EQ(Find(file,
                   "\xC3\xBC"
                   "ber",
                   "cl\xC3\xA9"),
              "latin");  // [ÜBER] CLÉ
    EXPECT_EQ(Find(file, "\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x8E", "\xD0\xBA\xD0\xBB\xD1\x8E\xD1\x87"),
              "cyrillic");  // [МЕНЮ] КЛЮЧ
    EXPECT_EQ(Find(file, "TEXTS", "MAIN_CAPTION"), "<missing>") << "no prefix matches";
    EXPECT_EQ(Find(file, "TEXT", "MAIN_CAPTIO"), "<missing>");
}

TEST(IniReader, BlanksAroundNamesAndValuesAreTrimmedAndQuotesStrippedInPairs) {
    const std::string file =
        "  [ TEXT ]  \n"
        "  KEY_PROMPT_SET  =  (set to  \n"
        "PADDED=\"  kept blanks \"\n"
        "HALF=\"only the start\n"
        "INNER=say \"hi\"\n"
        "ONE=\"\n"
        "EQUALS=a=b\n"
        "TAB=\tx\t\n";
    EXPECT_EQ(Find(file, "TEXT", "KEY_PROMPT_SET"), "(set to");
    EXPECT_EQ(Find(file, "TEXT", "PADDED"), "  kept blanks ");
    EXPECT_EQ(Find(file, "TEXT", "HALF"), "\"only the start");
    EXPECT_EQ(Find(file, "TEXT", "INNER"), "say \"hi\"");
    EXPECT_EQ(Find(file, "TEXT", "ONE"), "\"");
    EXPECT_EQ(Find(file, "TEXT", "EQUALS"), "a=b");
    EXPECT_EQ(Find(file, "TEXT", "TAB"), "x");
}

TEST(IniReader, CommentsAndMalformedLinesAreSkipped) {
    const std::string file =
        "ORPHAN=before any section\n"
        "[TEXT]\n"
        ";A=commented out\n"
        "   ; B=indented comment\n"
        "just some words\n"
        "=no key\n"
        "[broken header\n"
        "C=after the broken header\n"
        "A=real\n";
    EXPECT_EQ(Find(file, "TEXT", "A"), "real");
    EXPECT_EQ(Find(file, "TEXT", "B"), "<missing>");
    EXPECT_EQ(Find(file, "TEXT", ";A"), "<missing>");
    EXPECT_EQ(Find(file, "TEXT", "just some words"), "<missing>");
    EXPECT_EQ(Find(file, "TEXT", "C"), "after the broken header");
    EXPECT_EQ(Find(file, "TEXT", "ORPHAN"), "<missing>");
}

TEST(IniReader, FirstSectionAndFirstKeyWin) {
    const std::string file = "[TEXT]\nA=first\nA=second\n[LIGHT]\nX=1\n[text]\nA=third\nB=later\n";
    EXPECT_EQ(Find(file, "TEXT", "A"), "first");
    EXPECT_EQ(Find(file, "TEXT", "B"), "<missing>") << "only the first [TEXT] is searched";
    EXPECT_EQ(Find(file, "LIGHT", "A"), "<missing>");
}

TEST(IniReader, ReadsCrLfLfAndALastLineWithoutLineEnd) {
    EXPECT_EQ(Find("[TEXT]\r\nA=crlf\r\nB=x\r\n", "TEXT", "A"), "crlf");
    EXPECT_EQ(Find("[TEXT]\nA=lf", "TEXT", "A"), "lf");
    EXPECT_EQ(Find("[TEXT]", "TEXT", "A"), "<missing>");
    EXPECT_EQ(Find("", "TEXT", "A"), "<missing>");
}

TEST(IniReader, ReadsUtf8WithBomAndUtf16WithBom) {
    // "Ação" and a character outside the BMP (U+1F3AE, a surrogate pair in UTF-16).
    const std::string expected = "A\xC3\xA7\xC3\xA3o \xF0\x9F\x8E\xAE";
    EXPECT_EQ(Find("\xEF\xBB\xBF[TEXT]\r\nA=" + expected + "\r\n", "TEXT", "A"), expected);

    const std::u16string utf16 = u"[TEXT]\r\nA=A\u00E7\u00E3o \U0001F3AE\r\n";
    EXPECT_EQ(Find(Utf16LeFile(utf16), "text", "a"), expected);

    std::string bigEndian = "\xFE\xFF";
    for (const char16_t unit : utf16) {
        bigEndian.push_back(static_cast<char>(unit >> 8));
        bigEndian.push_back(static_cast<char>(unit & 0xFF));
    }
    EXPECT_EQ(Find(bigEndian, "TEXT", "A"), expected);

    TempFolder folder;
    WriteBytes(folder.File("u16.ini"), Utf16LeFile(utf16));
    EXPECT_EQ(ReadIniString(folder.File("u16.ini"), "TEXT", "A", "#Error", kText), expected);
}

TEST(IniReader, InvalidBytesBecomeReplacementCharacters) {
    const std::string value = Find("[T]\nA=x\xFF\xC3y\xED\xA0\x80z\n", "T", "A");
    EXPECT_EQ(value, "x\xEF\xBF\xBD\xEF\xBF\xBDy\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz");
    // An odd byte at the end of a UTF-16 file and a lone surrogate do not break the read.
    std::string utf16 = Utf16LeFile(
        u"[T]\nA=a\xD800"
        u"b\n");
    utf16 += 'x';
    EXPECT_EQ(Find(utf16, "T", "A"),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(IniReader, ValuesAreCutAtTheBufferSizeMinusOneInUtf16Units) {
    const std::string ascii(300, 'a');
    EXPECT_EQ(Find("[T]\nA=" + ascii, "T", "A"), std::string(259, 'a'));
    EXPECT_EQ(Find("[T]\nA=" + ascii, "T", "A", kSkinStringBuffer), ascii);
    const std::string skin(3000, 's');
    EXPECT_EQ(Find("[T]\nA=" + skin, "T", "A", kSkinStringBuffer), std::string(2046, 's'));

    // "é" is two bytes but one unit: 259 of them fit.
    std::string accents;
    for (int i = 0; i < 300; ++i) {
        accents += "\xC3\xA9";
    }
    EXPECT_EQ(Utf16Length(Find("[T]\nA=" + accents, "T", "A")), 259u);

    // 258 units then a surrogate pair: the pair does not fit and is not split.
    const std::string emoji = "\xF0\x9F\x8E\xAE";
    const std::string cut = Find("[T]\nA=" + std::string(258, 'a') + emoji + "b", "T", "A");
    EXPECT_EQ(cut, std::string(258, 'a'));
    const std::string fits = Find("[T]\nA=" + std::string(257, 'a') + emoji + "b", "T", "A");
    EXPECT_EQ(fits, std::string(257, 'a') + emoji);

    // Quotes are removed before the cut; the default is cut the same way.
    EXPECT_EQ(Find("[T]\nA=\"" + ascii + "\"", "T", "A"), std::string(259, 'a'));
    TempFolder folder;
    EXPECT_EQ(ReadIniString(folder.File("none.ini"), "T", "A", "#Error", 4), "#Er");
    EXPECT_EQ(ReadIniString(folder.File("none.ini"), "T", "A", "#Error", 0), "");
    EXPECT_EQ(Find("[T]\nA=abc", "T", "A", 1), "");
}

}  // namespace
}  // namespace qx::platform
