#include "device/connection/device_session.h"

#include "device/connection/current_profile.h"
#include "device/link/transport_binding.h"

namespace qx::device {
namespace {

std::unique_ptr<DeviceSession>& SessionSlot() {
    static std::unique_ptr<DeviceSession> session;
    return session;
}

}  // namespace

DeviceSession::DeviceSession(const RadOdorApi& api, ConnectionHost& host, Timing timing)
    : api_(api),
      exchange_(api_, timing),
      commands_(exchange_),
      connection_(api_, exchange_, commands_, host, device::CurrentProfile(), timing) {
    device::CurrentProfile().SetCommands(&commands_);
}

DeviceSession::~DeviceSession() {
    connection_.Stop();
    events_.Remove();
    device::CurrentProfile().SetCommands(nullptr);
    device::CurrentProfile().Forget();
}

DeviceSession& StartDeviceConnection(ConnectionHost& host, bool startedWithStart) {
    StopDeviceConnection();
    return StartDeviceConnection(host, startedWithStart, BindTransportOrExit());
}

DeviceSession& StartDeviceConnection(ConnectionHost& host, bool startedWithStart,
                                     const RadOdorApi& api, Timing timing) {
    StopDeviceConnection();
    auto& slot = SessionSlot();
    slot = std::make_unique<DeviceSession>(api, host, timing);
    slot->Events().StartCreating();
    slot->Connection().Start(startedWithStart);
    return *slot;
}

void StopDeviceConnection() {
    SessionSlot().reset();
}

DeviceSession* CurrentDeviceSession() {
    return SessionSlot().get();
}

}  // namespace qx::device
