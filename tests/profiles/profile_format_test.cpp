// The bytes of the files the program writes: the default file, the header and the packing of
// the string area.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "keyboard/byte_order.h"
#include "tests/profiles/profile_builders.h"
#include "tests/profiles/profile_fixture.h"

namespace qx::testing {
namespace {

using keyboard::kImageSize;

std::string Hex(std::string_view bytes) {
    std::string out;
    char buffer[4];
    for (const char c : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X ", static_cast<uint8_t>(c));
        out += buffer;
    }
    if (!out.empty()) {
        out.pop_back();
    }
    return out;
}

class DefaultFileTest : public ProfileTest {};

TEST_F(DefaultFileTest, IsTheDefaultImageWithItsKnownHeader) {
    const std::string path = File("new.kpf");
    ASSERT_EQ(profiles::WriteDefaultProfileFile(path, 0, false), 1);
    const std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 32832u);
    EXPECT_EQ(Hex(bytes.substr(0, 16)), "46 44 20 00 03 00 01 00 40 80 00 00 00 08 00 00");
    EXPECT_EQ(bytes.substr(16, 15), std::string(15, '\0'));
    EXPECT_EQ(static_cast<uint8_t>(bytes[31]), 0x76);
    EXPECT_EQ(Hex(bytes.substr(32, 32)),
              "4B 48 20 00 20 80 00 00 04 00 00 02 00 00 00 00 "
              "45 0C 18 65 4F 1C 0E 00 00 00 00 00 00 00 00 00");
}

TEST_F(DefaultFileTest, HoldsOnlyTheGKeyCodesOfBlockZero) {
    const std::string path = File("new.kpf");
    ASSERT_EQ(profiles::WriteDefaultProfileFile(path, 0, false), 1);
    const std::string bytes = ReadBytes(path);
    std::string expected(32768, '\0');
    for (int g = 0; g < 9; ++g) {
        Put16(expected, 16 * (256 + g) + 2, static_cast<uint16_t>(0x301 + g));
        Put16(expected, 16 * (265 + g) + 2, static_cast<uint16_t>(0x1301 + g));
    }
    EXPECT_EQ(bytes.substr(64), expected);
}

TEST_F(DefaultFileTest, InstallReplacesOnlyTheLiveRecordAndWritesNoFile) {
    ASSERT_EQ(profiles::WriteDefaultProfileFile(std::nullopt, 1, true), 1);
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    ASSERT_NE(guard->image, nullptr);
    EXPECT_EQ(guard->image->Bytes()[profiles::kFlagOffset], 1);
    EXPECT_EQ(guard->image->Entry(0, 273).Parameter(), 0x1309);
    EXPECT_EQ(profiles::WriteDefaultProfileFile(std::nullopt, 0, false), 0);
}

TEST_F(DefaultFileTest, ThatCannotBeCreatedReportsZero) {
    EXPECT_EQ(profiles::WriteDefaultProfileFile(File("no/such/folder.kpf"), 0, false), 0);
}

TEST(ProfileHeaderTest, TotalCountsMacrosAndStringArea) {
    std::array<uint8_t, 32> header{};
    profiles::FillProfileHeader(header, 2, 100, 0);
    EXPECT_EQ(keyboard::LoadLe32(header, 8), 65956u);  // 0x000101A4
    EXPECT_EQ(header[8], 0xA4);
    EXPECT_EQ(header[10], 0x01);
    EXPECT_EQ(keyboard::LoadLe16(header, 14), 2);
    EXPECT_EQ(keyboard::LoadLe32(header, 16), 100u);
    EXPECT_EQ(profiles::CheckProfileHeader(header), profiles::ProfileCheck::Valid);
}

class StringAreaTest : public ProfileTest {
  protected:
    // The string area of a saved file.
    std::string SavedArea(const std::string& path) {
        const std::string bytes = ReadBytes(path);
        const uint16_t macros =
            keyboard::LoadLe16(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), 32), 14);
        return bytes.substr(kImageSize + macros * keyboard::kMacroRecordSize);
    }
};

TEST_F(StringAreaTest, PacksTextsInEntryOrderWhateverTheOrderOfAssignment) {
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        guard->image->Entry(1, 700 - 512).SetKind(keyboard::kKindText);
        guard->texts.Set(700, u"seven hundred");
        guard->image->Entry(0, 5).SetKind(keyboard::kKindLaunch);
        guard->texts.Set(5, u"five");
    }
    const std::string path = File("texts.kpf");
    ASSERT_TRUE(profiles::SaveImageToFile(path));
    const std::string area = SavedArea(path);
    EXPECT_EQ(area, std::string("f\0i\0v\0e\0\0\0s\0e\0v\0e\0n\0 \0h\0u\0n\0d\0r\0e\0d\0\0\0", 38));
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    EXPECT_EQ(guard->image->Entry(0, 5).Value(), 0u);
    EXPECT_EQ(guard->image->Entry(1, 700 - 512).Value(), 10u);  // the length of "five" + 1
}

TEST_F(StringAreaTest, TextOfAnEntryNoLongerCarryingOneIsCountedButWrittenAsZeros) {
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        guard->texts.Set(9, u"gone");  // the entry's kind is 0 now
        guard->image->Entry(0, 20).SetKind(keyboard::kKindLaunch);
        guard->texts.Set(20, u"kept");
    }
    const std::string path = File("stale.kpf");
    ASSERT_TRUE(profiles::SaveImageToFile(path));
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.size(), kImageSize + 20);
    EXPECT_EQ(SavedArea(path), std::string("k\0e\0p\0t\0\0\0", 10) + std::string(10, '\0'));
    EXPECT_EQ(profiles::ValidateProfileFile(path), 1);
}

TEST_F(StringAreaTest, SavingTwiceGivesIdenticalFiles) {
    {
        keyboard::ImageGuard guard = InstallDefaultImage();
        guard->image->Entry(2, 30).SetKind(keyboard::kKindText);
        guard->texts.Set(2 * 512 + 30, u"hello");
        guard->macros.push_back(MakeMacro(1, u"first", 3));
    }
    ASSERT_TRUE(profiles::SaveImageToFile(File("a.kpf")));
    ASSERT_TRUE(profiles::SaveImageToFile(File("b.kpf")));
    EXPECT_EQ(ReadBytes(File("a.kpf")), ReadBytes(File("b.kpf")));
}

}  // namespace
}  // namespace qx::testing
