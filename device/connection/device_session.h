// The device layer of the running driver, made once by the main window's start-up: the bound
// transport library, the packet exchange and command operations over it, and the connection.
// Everything the rest of the program sends to the keyboard goes through this session's
// commands.
#pragma once

#include <memory>

#include "device/connection/connection_host.h"
#include "device/connection/device_connection.h"
#include "device/connection/named_events.h"
#include "device/link/device_commands.h"
#include "device/link/packet_exchange.h"
#include "device/link/timing.h"
#include "transport/radodor.h"

namespace qx::device {

class DeviceSession {
  public:
    DeviceSession(const RadOdorApi& api, ConnectionHost& host, Timing timing = {});
    // Stops the connection and takes the commands back from the current-profile cache.
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    const RadOdorApi& Api() const { return api_; }
    PacketExchange& Exchange() { return exchange_; }
    DeviceCommands& Commands() { return commands_; }
    DeviceConnection& Connection() { return connection_; }
    NamedEvents& Events() { return events_; }

  private:
    RadOdorApi api_;
    PacketExchange exchange_;
    DeviceCommands commands_;
    DeviceConnection connection_;
    NamedEvents events_;  // created by StartDeviceConnection, removed with the session
};

// Binds libRadOdor.so of the run-time folder (the process ends with exit code 0 when it cannot),
// makes the session, gives its commands to the current-profile cache, creates the 214 named
// events and starts the connection. `startedWithStart`: the program was started with "/Start", so
// the window does not open by itself.
DeviceSession& StartDeviceConnection(ConnectionHost& host, bool startedWithStart);

// The same over a transport that is already bound (tests run the main window against an emulated
// keyboard in process), with the link's timings.
DeviceSession& StartDeviceConnection(ConnectionHost& host, bool startedWithStart,
                                     const RadOdorApi& api, Timing timing = {});

// Ends the session made by StartDeviceConnection (nothing when there is none).
void StopDeviceConnection();

// The session made by StartDeviceConnection; null before and after.
DeviceSession* CurrentDeviceSession();

}  // namespace qx::device
