#include "sim/state_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/file_replace.h"

namespace qx::sim {
namespace {

constexpr std::string_view kMagic = "QX480SIM";
constexpr size_t kVersionAt = 8;

struct Section {
    Area area;
    size_t offset;
};

// Where each area lies in the file, in file order.
constexpr std::array<Section, 6> kSections = {{
    {Area::kStateBlock, 12},
    {Area::kDefaultLayout, 60},
    {Area::kProfileLayouts, 384},
    {Area::kLighting, 1356},
    {Area::kKeyLight, 1482},
    {Area::kMacroTable, 2250},
}};

uint32_t GetLe32(std::span<const uint8_t> at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

void PutLe32(std::span<uint8_t> at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

std::string ErrnoText() {
    return std::strerror(errno);
}

}  // namespace

std::vector<uint8_t> SerializeStateFile(const KeyboardMemory& memory) {
    std::vector<uint8_t> file(kStateFileSize, 0);
    std::ranges::copy(kMagic, file.begin());
    PutLe32(std::span(file).subspan(kVersionAt, 4), kStateFileVersion);
    for (const Section& s : kSections) {
        std::ranges::copy(memory.Bytes(s.area), file.begin() + static_cast<ptrdiff_t>(s.offset));
    }
    return file;
}

std::optional<KeyboardMemory> ParseStateFile(std::span<const uint8_t> bytes, std::string& error) {
    if (bytes.size() != kStateFileSize) {
        error = "it holds " + std::to_string(bytes.size()) + " bytes instead of " +
                std::to_string(kStateFileSize);
        return std::nullopt;
    }
    if (!std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) {
        error = "it does not start with \"QX480SIM\"";
        return std::nullopt;
    }
    const uint32_t version = GetLe32(bytes.subspan(kVersionAt, 4));
    if (version != kStateFileVersion) {
        error = "its format version is " + std::to_string(version) + ", this emulator reads " +
                std::to_string(kStateFileVersion);
        return std::nullopt;
    }
    KeyboardMemory memory;
    for (const Section& s : kSections) {
        auto target = memory.Bytes(s.area);
        std::ranges::copy(bytes.subspan(s.offset, target.size()), target.begin());
    }
    return memory;
}

StateFileLoad LoadStateFile(const std::filesystem::path& path) {
    StateFileLoad result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            result.memory = KeyboardMemory::Factory();
            return result;
        }
        result.error = "cannot read " + path.string() + ": " + ErrnoText();
        return result;
    }
    result.existed = true;
    // Read one byte more than a valid file holds, so an oversized file is noticed.
    std::vector<uint8_t> bytes(kStateFileSize + 1);
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            result.error = "cannot read " + path.string() + ": " + ErrnoText();
            ::close(fd);
            return result;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    std::string why;
    result.memory = ParseStateFile(bytes, why);
    if (!result.memory) {
        result.error = path.string() + " is not a state file of the emulated keyboard: " + why;
    }
    return result;
}

bool SaveStateFile(const std::filesystem::path& path, const KeyboardMemory& memory,
                   std::string& error) {
    const std::vector<uint8_t> bytes = SerializeStateFile(memory);
    // The file is rewritten on every change of the test keyboard's memory and holds no user
    // data: waiting for the disk each time would only slow the tests down.
    const platform::Replaced replaced =
        platform::ReplaceFile(path.string(), {bytes}, platform::Flush::kSkip);
    if (!replaced) {
        error = "cannot replace " + path.string() + ": " + std::strerror(replaced.error);
        return false;
    }
    return true;
}

FileStamp StampOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return {};
    }
    return {true, static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
            static_cast<int64_t>(st.st_size),
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

}  // namespace qx::sim
