#include "sim/state_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "sim/keyboard.h"
#include "sim_test_support.h"
#include "tests/platform/temp_folder.h"

namespace qx::sim {
namespace {

using testing::TempFolder;

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Space-separated hex groups, as the keyboard's documentation prints them ("050000 020229").
std::vector<uint8_t> Hex(const std::string& text) {
    std::vector<uint8_t> bytes;
    std::istringstream in(text);
    std::string group;
    while (in >> group) {
        for (size_t i = 0; i + 1 < group.size(); i += 2) {
            bytes.push_back(static_cast<uint8_t>(std::stoi(group.substr(i, 2), nullptr, 16)));
        }
    }
    return bytes;
}

std::vector<uint8_t> At(const std::vector<uint8_t>& file, size_t offset, size_t size) {
    return {file.begin() + static_cast<ptrdiff_t>(offset),
            file.begin() + static_cast<ptrdiff_t>(offset + size)};
}

// The factory key layout, typed in a second time from the keyboard's documentation so that a
// slip in either copy shows.
const std::vector<uint8_t> kDocumentedLayout =
    Hex("050000 050000 050000 050000 050000 050000 000000 000000 "
        "020229 020235 02022B 020239 020102 020101 000000 000000 "
        "02023A 02021E 020214 020204 02021D 020108 000000 000000 "
        "02023B 02021F 02021A 020216 02021B 020104 000000 000000 "
        "02023C 020220 020208 020207 020206 02022C 020246 000000 "
        "02023D 020221 020215 020209 020219 020140 020247 000000 "
        "02023E 020222 020217 02020A 020205 050202 02022E 000000 "
        "02023F 020223 02021C 02020B 020211 020265 020248 000000 "
        "020240 020224 020218 02020D 020210 020110 020249 000000 "
        "020241 020225 02020C 02020E 020236 020250 02024A 000000 "
        "020242 020226 020212 02020F 020237 020251 02024B 000000 "
        "020243 020227 020213 020233 020238 020252 02024C 000000 "
        "020244 02022D 02022F 020234 020120 02024F 02024D 000000 "
        "020245 02022E 020230 020231");

const std::vector<uint8_t> kDocumentedLayers =
    Hex("00 08 0c 08 00 00 00 00 20 20 20 00 00 10 00 00 00 00 "
        "35 0e 0e 2e 0e 0a 00 00 00 00 00 00 00 00 00 00 00 00 "
        "27 0e 0e 2e 0a 18 10 00 00 00 04 00 00 00 00 00 00 00 "
        "25 0a 1e 3a 1a 12 02 00 00 08 00 00 00 00 00 00 00 00 "
        "19 0c 1c 0c 10 00 00 00 20 20 20 00 00 10 00 00 00 00 "
        "00 00 00 00 00 00 02 00 00 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00 00 02 00 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00 00 00 02 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00 00 00 00 02 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00 00 00 00 00 02 00 00 00 00 00 00 00");

TEST(StateFileTest, FactoryFileHoldsEveryAreaAtItsOffset) {
    const std::vector<uint8_t> file = SerializeStateFile(KeyboardMemory::Factory());
    ASSERT_EQ(file.size(), 34890u);
    EXPECT_EQ(At(file, 0, 8), Hex("51 58 34 38 30 53 49 4d"));  // "QX480SIM"
    EXPECT_EQ(At(file, 8, 4), Hex("01 00 00 00"));

    std::vector<uint8_t> state(48, 0);
    state[11] = 32;
    for (uint8_t t = 1; t <= 28; ++t) {
        state[15 + t] = t;
    }
    state[44] = 254;
    EXPECT_EQ(At(file, 12, 48), state);

    ASSERT_EQ(kDocumentedLayout.size(), 324u);
    EXPECT_EQ(At(file, 60, 324), kDocumentedLayout);
    for (size_t p = 0; p < 3; ++p) {
        EXPECT_EQ(At(file, 384 + p * 324, 324), kDocumentedLayout) << "profile " << p;
    }

    std::vector<uint8_t> record(42, 0);
    record[0] = 1;
    record[1] = 4;
    record[2] = 2;
    record[30] = record[31] = record[32] = 255;
    ASSERT_EQ(kDocumentedLayers.size(), 180u);
    std::vector<uint8_t> page = kDocumentedLayers;
    page.resize(256, 0);
    for (size_t p = 0; p < 3; ++p) {
        EXPECT_EQ(At(file, 1356 + p * 42, 42), record) << "lighting record " << p;
        EXPECT_EQ(At(file, 1482 + p * 256, 256), page) << "key-light page " << p;
    }

    std::vector<uint8_t> macros(32640, 0);
    const auto header = Hex("aa 55 10 00 00 00 01 00");
    std::copy(header.begin(), header.end(), macros.begin());
    EXPECT_EQ(At(file, 2250, 32640), macros);
}

TEST(StateFileTest, ParseReadsBackWhatSerializeWrote) {
    KeyboardMemory m = KeyboardMemory::Factory();
    for (size_t i = 0; i < m.macroTable.size(); ++i) {
        m.macroTable[i] = static_cast<uint8_t>(i * 7);
    }
    m.stateBlock[47] = 0x5A;
    m.keyLight[767] = 0xA5;
    std::string error;
    const auto parsed = ParseStateFile(SerializeStateFile(m), error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(*parsed, m);
}

TEST(StateFileTest, MissingFileGivesFactoryContentAndIsOnlyWrittenOnAChange) {
    TempFolder dir;
    const auto path = dir / "kb.state";
    KeyboardOptions options;
    options.stateFile = path;
    auto keyboard = Keyboard::Create(options);
    EXPECT_EQ(keyboard->Memory(), KeyboardMemory::Factory());
    EXPECT_FALSE(std::filesystem::exists(path));

    const uint8_t profile = 1;
    keyboard->Write(Area::kStateBlock, 10, std::span(&profile, 1));
    EXPECT_EQ(ReadFile(path).size(), kStateFileSize);
}

TEST(StateFileTest, CommandWriteRewritesTheFileAtTheAreaOffset) {
    TempFolder dir;
    const auto path = dir / "kb.state";
    KeyboardOptions options;
    options.stateFile = path;
    auto keyboard = Keyboard::Create(options);
    const std::vector<uint8_t> colour = {0x10, 0x20, 0x30};
    keyboard->ReceiveReport(Collection::kCommand, testing::Request(0x06, 3, 42 + 5, colour));
    keyboard->ReceiveReport(Collection::kCommand, testing::Request(0x11, 3, 2 * 256 + 200, colour));

    const auto file = ReadFile(path);
    ASSERT_EQ(file.size(), kStateFileSize);
    EXPECT_EQ(At(file, 1356 + 42 + 5, 3), colour);
    EXPECT_EQ(At(file, 1482 + 512 + 200, 3), colour);
    EXPECT_EQ(file, SerializeStateFile(keyboard->Memory()));

    // The next keyboard on the same file starts from that content.
    keyboard.reset();
    EXPECT_EQ(Keyboard::Create(options)->Read(Area::kLighting, 47, 3), colour);

    // Nothing but the state file is left in its folder (the temporary file was renamed).
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(StateFileTest, SavesTakeTheUmaskAndAFailedSaveKeepsTheOldFile) {
    TempFolder dir;
    const auto path = dir / "kb.state";
    std::string error;
    {
        const qx::testing::ScopedUmask mask(077);
        ASSERT_TRUE(SaveStateFile(path, KeyboardMemory::Factory(), error)) << error;
    }
    EXPECT_EQ(qx::testing::PermissionsOf(path.string()), 0600u);

    KeyboardMemory changed = KeyboardMemory::Factory();
    changed.stateBlock[10] = 2;
    {
        const qx::testing::FileSizeLimit limit(kStateFileSize / 2);
        EXPECT_FALSE(SaveStateFile(path, changed, error));
    }
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    EXPECT_EQ(ReadFile(path), SerializeStateFile(KeyboardMemory::Factory()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(StateFileTest, UnusableFileIsRefusedWithAReasonAndLeftAlone) {
    TempFolder dir;
    const std::vector<uint8_t> good = SerializeStateFile(KeyboardMemory::Factory());
    struct Case {
        std::string name;
        std::vector<uint8_t> bytes;
        std::string reason;
    };
    std::vector<Case> cases;
    cases.push_back({"short", std::vector<uint8_t>(good.begin(), good.end() - 1), "34889 bytes"});
    auto longer = good;
    longer.push_back(0);
    cases.push_back({"long", longer, "34891 bytes"});
    auto magic = good;
    magic[7] = 'X';
    cases.push_back({"magic", magic, "QX480SIM"});
    auto version = good;
    version[8] = 2;
    cases.push_back({"version", version, "version is 2"});
    cases.push_back({"empty", {}, "0 bytes"});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = dir / c.name;
        WriteFile(path, c.bytes);
        const auto stampBefore = StampOf(path);
        KeyboardOptions options;
        options.stateFile = path;
        std::string error;
        EXPECT_EQ(Keyboard::Open(options, error), nullptr);
        EXPECT_NE(error.find(path.string()), std::string::npos) << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(ReadFile(path), c.bytes);
        EXPECT_EQ(StampOf(path), stampBefore);
        EXPECT_THROW(Keyboard::Create(options), std::runtime_error);
    }
}

TEST(StateFileTest, KeyboardTakesAFileReplacedBehindItsBack) {
    TempFolder dir;
    const auto path = dir / "kb.state";
    KeyboardOptions options;
    options.stateFile = path;
    auto keyboard = Keyboard::Create(options);
    const uint8_t one = 1;
    keyboard->Write(Area::kStateBlock, 10, std::span(&one, 1));

    std::string error;
    EXPECT_TRUE(keyboard->ReloadIfChangedOnDisk(error));
    EXPECT_EQ(keyboard->Memory().ActiveProfile(), 1) << "its own write is no outside change";

    std::filesystem::remove(path);
    EXPECT_TRUE(keyboard->ReloadIfChangedOnDisk(error));
    EXPECT_EQ(keyboard->Memory(), KeyboardMemory::Factory());

    WriteFile(path, {1, 2, 3});
    EXPECT_FALSE(keyboard->ReloadIfChangedOnDisk(error));
    EXPECT_NE(error.find("3 bytes"), std::string::npos);
    EXPECT_EQ(keyboard->Memory(), KeyboardMemory::Factory()) << "memory kept";
}

}  // namespace
}  // namespace qx::sim
