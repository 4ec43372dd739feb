#include "tools/qx480ctl/keyboard_link.h"

#include <ostream>
#include <thread>

#include "device/link/transport_binding.h"
#include "lang/language.h"
#include "platform/prompt.h"

namespace qx::ctl {
namespace {

constexpr std::chrono::milliseconds kIdlePoll{5};

}  // namespace

void ConsoleHost::ShowMessage(const std::string& text) {
    platform::CurrentPrompt().ShowMessage(text);
}

void WriteTransferNotices(std::ostream& err, const device::TransferNotices& notices) {
    for (const device::TransferNotice& notice : notices) {
        err << lang::LangText(notice.textKey) << '\n' << std::flush;
    }
}

std::unique_ptr<KeyboardLink> KeyboardLink::Open(std::string& why) {
    const std::string library = device::TransportLibraryPath();
    const auto api = device::BindTransport(library);
    if (!api) {
        why = "the transport library " + library + " cannot be loaded";
        return nullptr;
    }
    std::unique_ptr<KeyboardLink> link(new KeyboardLink());
    link->api_ = *api;
    link->session_ = std::make_unique<device::DeviceSession>(link->api_, link->host_);
    device::DeviceConnection& connection = link->session_->Connection();
    // The driver may be attached to the same keyboard: its events are the driver's to act on.
    connection.Start(true, device::KeyboardEvents::kLeftAlone);
    const auto deadline = std::chrono::steady_clock::now() + kAttachWait;
    while (!connection.IsIdle() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kIdlePoll);
    }
    if (!connection.IsKeyboardAttached()) {
        why = "no keyboard is attached";
        return nullptr;
    }
    return link;
}

KeyboardLink::~KeyboardLink() {
    session_.reset();
    if (api_.End != nullptr) {
        api_.End();
    }
}

}  // namespace qx::ctl
