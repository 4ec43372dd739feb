#include "device/transfer/image_transfer.h"

#include <atomic>
#include <new>
#include <optional>
#include <vector>

#include "device/connection/device_session.h"
#include "device/link/result_codes.h"
#include "device/transfer/key_action_layout.h"
#include "device/transfer/keyboard_macros.h"
#include "device/transfer/macro_table.h"
#include "lang/language_keys.h"
#include "profiles/macro_area.h"
#include "profiles/profile_format.h"
#include "profiles/string_area.h"

namespace qx::device {
namespace {

std::atomic<bool> rewriteAll{false};

constexpr int kAllProfiles[] = {0, 1, 2};

// What the user is told of the macro table is shown above every other window.
DownloadResult Told(int result, std::string_view key) {
    return DownloadResult{result, {TransferNotice{key, true}}};
}

struct ProfileLayout {
    int profile;
    KeyLayout layout;
};

// The layouts to write, in ascending profile order: all three, or the chosen profile's (the
// current one unless a caller chose). A current profile that is not known stays unknown: its
// write is then refused without sending anything.
std::vector<ProfileLayout> EncodeLayouts(const keyboard::SnapshotImage& snapshot, bool all,
                                         std::optional<int> chosen, const TransferLink& link) {
    const MacroPositionLookup position = [](uint16_t id) { return profiles::MacroIndexOfId(id); };
    std::vector<ProfileLayout> layouts;
    if (all) {
        for (const int profile : kAllProfiles) {
            layouts.push_back({profile, EncodeProfileLayout(snapshot.image->Block(profile),
                                                            link.defaultLayout, position)});
        }
        return layouts;
    }
    const int current = chosen ? *chosen : link.currentProfile.Get();
    if (current < 0 || current > kHighestProfile) {
        layouts.push_back({current, link.defaultLayout});
    } else {
        layouts.push_back({current, EncodeProfileLayout(snapshot.image->Block(current),
                                                        link.defaultLayout, position)});
    }
    return layouts;
}

DownloadResult DownloadLayouts(const keyboard::SnapshotGuard& snapshotLock, bool allProfiles,
                               std::optional<int> chosen, const TransferLink& link) {
    const keyboard::SnapshotImage& snapshot = snapshotLock.Snapshot();
    if (!snapshot.image) {
        return {};
    }
    // A table that moves a macro the keyboard holds would leave the other profiles' keys
    // pointing at the wrong position: their layouts go too.
    const bool all = allProfiles || rewriteAll.load() ||
                     MovesKeyboardMacros(KeyboardMacroIds(), snapshot.macros);
    const std::size_t withNames = MacroTableSize(snapshot.macros, true);
    const std::size_t withoutNames = MacroTableSize(snapshot.macros, false);
    if (withoutNames > link.macroCapacity || withoutNames > kMaxMacroTableSize) {
        return Told(0, lang::kExtraMacroTooLong);
    }
    const bool names = withNames <= link.macroCapacity && withNames <= kMaxMacroTableSize;
    std::vector<uint8_t> table;
    std::vector<ProfileLayout> layouts;
    try {
        table.resize(names ? withNames : withoutNames);
        layouts = EncodeLayouts(snapshot, all, chosen, link);
    } catch (const std::bad_alloc&) {
        return {};
    }
    EncodeMacroTable(snapshot.macros, table, names);

    // Only the last layout write decides: the keyboard keeps whatever the others stored.
    ProgressCount count(link.progress,
                        PacketsFor(table.size()) + layouts.size() * PacketsFor(kKeyLayoutSize));
    link.commands.BeginWrite();
    bool everyWrite = link.commands.WriteMacroTable(table, count.Piece()) == kOk;
    int result = kNoDevice;
    for (const ProfileLayout& layout : layouts) {
        result = link.commands.WriteProfileLayout(layout.layout, layout.profile, count.Piece());
        everyWrite = everyWrite && result == kOk;
    }
    link.commands.EndWrite();
    // The table is remembered once every write went through. A failed download of one profile
    // leaves the others naming positions of the table remembered before; one of all three may
    // have left them mixed, and then nothing is known.
    if (everyWrite) {
        RememberKeyboardMacros(snapshot.macros);
    } else if (all) {
        ForgetKeyboardMacros();
    }

    rewriteAll = false;
    const int downloaded = result == kOk ? 1 : 0;
    return names ? DownloadResult{downloaded, {}} : Told(downloaded, lang::kExtraProfileSpaceTight);
}

DownloadResult SnapshotAndDownloadLayouts(const keyboard::ImageGuard& imageLock, bool allProfiles,
                                          std::optional<int> chosen, const TransferLink& link) {
    keyboard::LiveImage& live = imageLock.Live();
    if (!live.image) {
        return {};
    }
    const keyboard::SnapshotGuard snapshotLock = keyboard::Images().LockSnapshot(imageLock);
    keyboard::SnapshotImage& snapshot = snapshotLock.Snapshot();
    snapshot.image.reset();
    snapshot.macros.clear();
    snapshot.textArea.clear();
    try {
        snapshot.image = std::make_unique<keyboard::ImageRecord>(*live.image);
        profiles::FillProfileHeader(snapshot.image->Header(), live.MacroCount(), live.TextTotal(),
                                    profiles::kWriterFlag);
        snapshot.macros = live.macros;
        snapshot.textArea.assign(live.TextTotal(), 0);
    } catch (const std::bad_alloc&) {
        return {};
    }
    profiles::PackTextArea(*live.image, live.texts, snapshot.textArea);
    return DownloadLayouts(snapshotLock, allProfiles, chosen, link);
}

}  // namespace

TransferLink TransferLinkOf(DeviceSession& session) {
    return TransferLink{session.Commands(), device::CurrentProfile(),
                        session.Connection().GetMacroCapacity(),
                        session.Connection().GetDefaultKeyLayout()};
}

void SetRewriteAll() {
    rewriteAll = true;
}

bool IsRewriteAllSet() {
    return rewriteAll.load();
}

DownloadResult SnapshotAndDownload(const keyboard::ImageGuard& imageLock, bool allProfiles,
                                   const TransferLink& link) {
    return SnapshotAndDownloadLayouts(imageLock, allProfiles, std::nullopt, link);
}

DownloadResult SnapshotAndDownloadProfile(const keyboard::ImageGuard& imageLock, int profile,
                                          const TransferLink& link) {
    return SnapshotAndDownloadLayouts(imageLock, false, profile, link);
}

DownloadResult SnapshotAndDownload(const keyboard::ImageGuard& imageLock, bool allProfiles) {
    DeviceSession* session = CurrentDeviceSession();
    if (session == nullptr) {
        return {};
    }
    return SnapshotAndDownload(imageLock, allProfiles, TransferLinkOf(*session));
}

DownloadResult DownloadImage(const keyboard::ImageGuard& /*imageLock*/,
                             const keyboard::SnapshotGuard& snapshotLock, bool allProfiles,
                             const TransferLink& link) {
    return DownloadLayouts(snapshotLock, allProfiles, std::nullopt, link);
}

}  // namespace qx::device
