// Receives the library's callbacks in tests. Callbacks carry no context, so each recorder is
// found by the user tag its request was registered with.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "transport/radodor.h"

namespace qx::test {

// One notification as the callback saw it (copied while the records were valid).
struct Delivery {
    uint32_t kind = 0;
    uint32_t userTag = 0;
    uint32_t length = 0;
    std::vector<uint8_t> report;  // kind 1
    bool reportIsNull = false;
    const RadOdorUnit* unit = nullptr;
    uint32_t unitId = 0;
    uint32_t unitTag = 0;
    std::vector<uint8_t> latest;  // the unit's latest report
};

class CallbackRecorder {
  public:
    explicit CallbackRecorder(uint32_t userTag);
    ~CallbackRecorder();
    CallbackRecorder(const CallbackRecorder&) = delete;
    CallbackRecorder& operator=(const CallbackRecorder&) = delete;

    // The function to register; it finds the recorder by the notification's user tag.
    static int Callback(RadOdorNotification* notification);

    // Waits until `count` notifications arrived. False only after a long safety time-out,
    // which means the library lost or withheld them.
    bool WaitForCount(size_t count);
    std::vector<Delivery> Deliveries();
    size_t Count();

    // Closed: each callback records its notification, then waits until the gate opens.
    void CloseGate();
    void OpenGate();
    // Waits until a callback is parked at the closed gate.
    bool WaitUntilParked();

    // Runs inside the callback, after recording and before the gate.
    void SetAction(std::function<void(const RadOdorNotification&)> action);

  private:
    void Record(const RadOdorNotification& notification);

    const uint32_t userTag_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Delivery> deliveries_;
    bool gateClosed_ = false;
    int parked_ = 0;
    std::function<void(const RadOdorNotification&)> action_;
};

}  // namespace qx::test
