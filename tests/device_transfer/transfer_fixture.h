// A profile-file test with an emulated keyboard in the process and the transfer link over it:
// the keyboard's macro capacity is what its state block announces, its default layout the
// built-in one.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "device/connection/current_profile.h"
#include "device/transfer/image_transfer.h"
#include "device/transfer/keyboard_macros.h"
#include "lang/language.h"
#include "sim/keyboard_memory.h"
#include "tests/profiles/profile_builders.h"
#include "tests/profiles/profile_fixture.h"
#include "tests/support/emulated_keyboard.h"

namespace qx::testing {

class TransferTest : public ProfileTest {
  protected:
    // The emulated keyboard leaves the factory with an empty macro table.
    void SetUp() override {
        ProfileTest::SetUp();
        device::RememberKeyboardMacros({});
    }

    device::TransferLink Link(uint32_t capacity = 4096) {
        return device::TransferLink{kb_.Commands(), profile_, capacity,
                                    device::kBuiltInDefaultLayout};
    }

    // The command byte of every packet sent since the trace was last cleared.
    std::vector<uint8_t> CommandsSent() const {
        std::vector<uint8_t> commands;
        for (const auto& packet : kb_.CommandsSent()) {
            commands.push_back(packet[device::kCommandOffset]);
        }
        return commands;
    }

    std::vector<uint8_t> Memory(sim::Area area, std::size_t offset, std::size_t length) const {
        return kb_.Model().Read(area, offset, length);
    }
    std::vector<uint8_t> Layout(int profile) const {
        return Memory(sim::Area::kProfileLayouts, device::kKeyLayoutSize * profile,
                      device::kKeyLayoutSize);
    }
    void SetActiveProfile(uint8_t profile) {
        const uint8_t byte[] = {profile};
        kb_.Model().Write(sim::Area::kStateBlock, sim::kStateProfileByte, byte);
    }

    // What a transfer has for the user, shown through the test's prompt as the window does.
    void Show(const device::TransferNotices& notices) {
        for (const device::TransferNotice& notice : notices) {
            prompt_.ShowMessage(lang::LangText(notice.textKey), {}, notice.topmost);
        }
    }

    int Download(bool all, uint32_t capacity = 4096) {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        const device::DownloadResult download =
            device::SnapshotAndDownload(guard, all, Link(capacity));
        Show(download.notices);
        return download.result;
    }

    mutable test_support::EmulatedKeyboard kb_;
    device::CurrentProfileCache profile_{&kb_.Commands()};
};

}  // namespace qx::testing
