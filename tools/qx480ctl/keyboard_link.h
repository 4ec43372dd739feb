// The keyboard as qx480ctl reaches it: the transport library of the run-time folder (so that
// RADODOR_BACKEND=sim reaches the emulated keyboard), the device session with its standing
// read delivering answers to the exchange, and what the connection reads from a keyboard that
// is attached (default layout, macro capacity). The keyboard's own events (G-key bank switch,
// lighting change, indicator) are left to the driver.
#pragma once

#include <chrono>
#include <iosfwd>
#include <memory>
#include <string>

#include "device/connection/connection_host.h"
#include "device/connection/device_session.h"
#include "device/transfer/image_transfer.h"

namespace qx::ctl {

// How long qx480ctl waits for the connection to have read an attached keyboard: the two reads
// of the attach at their full three attempts, and some room.
inline constexpr std::chrono::milliseconds kAttachWait{10000};

// The connection's view of a window that is not there: nothing to show, every message to the
// prompt.
class ConsoleHost : public device::ConnectionHost {
  public:
    void KeyboardRead() override {}
    void LastKeyboardLeft() override {}
    void FirstAttach() override {}
    void GKeyBankSwitched() override {}
    void ShowGKeyBank(int, const device::GKeyCaptions&) override {}
    void LightingChanged() override {}
    void ShowTrayState(device::TrayState) override {}
    void ShowMessage(const std::string& text) override;
    bool IsInitDone() override { return true; }
};

// What a transfer has for the user, in the language's texts, one line each on `err`: where the
// driver shows a message box.
void WriteTransferNotices(std::ostream& err, const device::TransferNotices& notices);

class KeyboardLink {
  public:
    // The link to the attached keyboard; null, with the reason in `why`, when the transport
    // library cannot be loaded or no keyboard is attached.
    static std::unique_ptr<KeyboardLink> Open(std::string& why);
    ~KeyboardLink();
    KeyboardLink(const KeyboardLink&) = delete;
    KeyboardLink& operator=(const KeyboardLink&) = delete;

    device::DeviceSession& Session() { return *session_; }
    device::DeviceCommands& Commands() { return session_->Commands(); }
    device::TransferLink Transfer() { return device::TransferLinkOf(*session_); }

  private:
    KeyboardLink() = default;

    ConsoleHost host_;
    RadOdorApi api_{};
    std::unique_ptr<device::DeviceSession> session_;
};

}  // namespace qx::ctl
