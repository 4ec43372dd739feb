// A started device connection over the emulated keyboard, with a recording main window and a
// language file of its own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "device/connection/current_profile.h"
#include "device/connection/device_connection.h"
#include "platform/program_paths.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "tests/device_connection/emulated_link.h"
#include "tests/device_connection/recording_host.h"

namespace qx::testing {

inline constexpr const char* kMatrixPromptText = "The keyboard did not report its layout";

class ConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("qx-connection-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / "Lang0409.ini")
            << "[TEXT]\nMAIN_DEFAULT_MATRIX_PROMPT=" << kMatrixPromptText << "\n";
        platform::CurrentSettings().WriteUserDword("dwLanguageId", 0x0409);
        platform::SetProgramFolder(folder_.string() + "/");
        platform::SetCurrentPrompt(&prompt);
    }

    void TearDown() override {
        connection.reset();
        link.reset();
        platform::SetCurrentPrompt(nullptr);
        std::filesystem::remove_all(folder_);
    }

    // The link and a connection over it, not yet started.
    void MakeConnection(bool keyboardPresent, device::Timing timing = test_support::kTestTiming) {
        link = std::make_unique<EmulatedLink>(keyboardPresent, timing);
        profile.SetCommands(&link->commands);
        connection = std::make_unique<device::DeviceConnection>(
            link->api, link->exchange, link->commands, host, profile, timing);
    }

    // Waits until the connection has acted on every count change and indicator change.
    bool Settle(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < until) {
            link->board.WaitUntilQuiet();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (connection->IsIdle()) {
                return true;
            }
        }
        return false;
    }

    int Count(HostCall::Kind kind) const { return host.CountOf(kind); }

    RecordingHost host;
    RecordingPrompt prompt;
    device::CurrentProfileCache profile;
    std::unique_ptr<EmulatedLink> link;
    std::unique_ptr<device::DeviceConnection> connection;

  private:
    std::filesystem::path folder_;
};

}  // namespace qx::testing
