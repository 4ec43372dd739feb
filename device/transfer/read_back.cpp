#include "device/transfer/read_back.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "device/connection/device_session.h"
#include "device/link/result_codes.h"
#include "device/transfer/key_action_layout.h"
#include "device/transfer/keyboard_macros.h"
#include "device/transfer/macro_table.h"
#include "keyboard/byte_order.h"
#include "keyboard/image_record.h"
#include "platform/file_replace.h"
#include "profiles/macro_area.h"
#include "profiles/profile_check.h"
#include "profiles/profile_file.h"
#include "profiles/profile_format.h"

namespace qx::device {
namespace {

// The state block names the active profile 0..2; anything up to 3 still counts as learnt.
constexpr int kHighestReadableProfile = 3;
constexpr auto kLayoutsRead = static_cast<std::size_t>(keyboard::kProfileCount);

// The macro table is at most the area the keyboard announced; its length comes with its head.
std::size_t LongestTable(const TransferLink& link) {
    return link.macroCapacity != 0 ? link.macroCapacity : kMaxMacroTableSize;
}

bool ReadLayouts(const TransferLink& link, std::array<KeyLayout, keyboard::kProfileCount>& out,
                 ProgressCount& count) {
    for (int profile = 0; profile < keyboard::kProfileCount; ++profile) {
        if (link.commands.ReadProfileLayout(out[static_cast<std::size_t>(profile)], profile,
                                            count.Piece()) != kOk) {
            return false;
        }
    }
    return true;
}

// The macros on the keyboard; false when a read fails. A table without the magic holds none.
bool ReadMacros(const TransferLink& link, std::vector<keyboard::MacroRecord>& out,
                ProgressCount& count) {
    std::array<uint8_t, kTableHeaderSize> head{};
    if (link.commands.ReadMacroTable(head, count.Piece()) != kOk) {
        return false;
    }
    if (keyboard::LoadLe16(head, kTableMagicOffset) != kMacroTableMagic) {
        count.SetTotal(count.Done());
        return true;
    }
    // The size field is the keyboard's own data: the table cannot be longer than the area the
    // keyboard announced, and the keyboard refuses reads past that area.
    std::size_t size = keyboard::LoadLe16(head, kTableSizeOffset);
    if (link.macroCapacity != 0) {
        size = std::min<std::size_t>(size, link.macroCapacity);
    }
    std::vector<uint8_t> table(size);
    count.SetTotal(count.Done() + PacketsFor(size));
    if (link.commands.ReadMacroTable(table, count.Piece()) != kOk) {
        return false;
    }
    out = DecodeMacroTable(table);
    return true;
}

std::unique_ptr<keyboard::ImageRecord> BuildImage(
    const std::array<KeyLayout, keyboard::kProfileCount>& layouts, uint16_t macroCount,
    const KeyLayout& defaultLayout) {
    auto image = std::make_unique<keyboard::ImageRecord>();
    profiles::FillProfileHeader(image->Header(), macroCount, 0, profiles::kWriterFlag);
    profiles::FillFixedBlock(image->FixedBlock());
    for (int profile = 0; profile < keyboard::kProfileCount; ++profile) {
        DecodeLayoutToBlock(layouts[static_cast<std::size_t>(profile)], image->Block(profile),
                            defaultLayout);
    }
    return image;  // block 3 stays zero
}

// The default image in place of whatever the live image held.
void InstallDefaultImage(const keyboard::ImageGuard& guard) {
    guard->texts.ClearAll();
    guard->macros.clear();
    guard->image.reset();
    profiles::WriteDefaultProfileFile(std::nullopt, profiles::kWriterFlag, true);
}

}  // namespace

std::optional<profiles::ProfileContents> ReadBackContents(const TransferLink& link) {
    ForgetKeyboardMacros();
    const int current = link.currentProfile.Get();
    if (current < 0 || current > kHighestReadableProfile) {
        return std::nullopt;
    }
    try {
        std::array<KeyLayout, keyboard::kProfileCount> layouts{};
        std::vector<keyboard::MacroRecord> macros;
        ProgressCount count(link.progress, kLayoutsRead * PacketsFor(kKeyLayoutSize) +
                                               PacketsFor(kTableHeaderSize) +
                                               PacketsFor(LongestTable(link)));
        if (!ReadLayouts(link, layouts, count) || !ReadMacros(link, macros, count)) {
            return std::nullopt;
        }
        profiles::ProfileContents contents{
            BuildImage(layouts, static_cast<uint16_t>(macros.size()), link.defaultLayout),
            std::move(macros), std::make_unique<keyboard::TextTable>()};
        RememberKeyboardMacros(contents.macros);
        return contents;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

int ReadBackToFile(const std::string& path, const TransferLink& link) {
    // The image built here is what the program works on next: the keyboard's table is known
    // to it exactly when the read-back succeeds.
    const auto contents = ReadBackContents(link);
    if (!contents) {
        return 0;
    }
    if (!platform::ReplaceFile(
            path, {contents->image->Bytes(), profiles::MacroAreaBytes(contents->macros)})) {
        ForgetKeyboardMacros();
        return 0;
    }
    return 1;
}

int ReadBackToFile(const std::string& path) {
    DeviceSession* session = CurrentDeviceSession();
    if (session == nullptr) {
        return 0;
    }
    return ReadBackToFile(path, TransferLinkOf(*session));
}

ReloadSource ReloadImageFromKeyboard(const std::string& storePath, const TransferLink* link,
                                     const std::function<void()>& whileLocked) {
    const bool readBack = link != nullptr && ReadBackToFile(storePath, *link) == 1;
    return InstallStoreAfterReadBack(storePath, readBack, whileLocked);
}

// A read-back that failed wrote no file: the store still holds the last good content.
ReloadSource InstallStoreAfterReadBack(const std::string& storePath, bool readBack,
                                       const std::function<void()>& whileLocked) {
    const keyboard::ImageGuard guard = keyboard::Images().LockImage();
    ReloadSource source = ReloadSource::kDefaultImage;
    if (readBack && profiles::LoadImageFromFile(guard, storePath) == 1) {
        source = ReloadSource::kKeyboard;
    } else if (profiles::CheckProfileFile(storePath) == profiles::ProfileCheck::Valid &&
               profiles::LoadImageFromFile(guard, storePath) == 1) {
        source = ReloadSource::kLastGoodStore;
    } else {
        InstallDefaultImage(guard);
    }
    if (whileLocked) {
        whileLocked();
    }
    return source;
}

}  // namespace qx::device
