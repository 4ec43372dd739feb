#include "tests/transport/callback_recorder.h"

#include <chrono>
#include <map>
#include <stdexcept>

namespace qx::test {
namespace {

// Far beyond any delivery on a loaded machine; reaching it fails the test instead of hanging.
constexpr auto kSafetyTimeout = std::chrono::seconds(20);

std::mutex& RegistryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<uint32_t, CallbackRecorder*>& Registry() {
    static std::map<uint32_t, CallbackRecorder*> registry;
    return registry;
}

}  // namespace

CallbackRecorder::CallbackRecorder(uint32_t userTag) : userTag_(userTag) {
    const std::lock_guard lock(RegistryMutex());
    if (!Registry().emplace(userTag, this).second) {
        throw std::logic_error("two recorders with one user tag");
    }
}

CallbackRecorder::~CallbackRecorder() {
    const std::lock_guard lock(RegistryMutex());
    Registry().erase(userTag_);
}

int CallbackRecorder::Callback(RadOdorNotification* notification) {
    CallbackRecorder* recorder = nullptr;
    {
        const std::lock_guard lock(RegistryMutex());
        const auto it = Registry().find(notification->request->user_tag);
        if (it != Registry().end()) {
            recorder = it->second;
        }
    }
    if (recorder != nullptr) {
        recorder->Record(*notification);
    }
    return 1;
}

void CallbackRecorder::Record(const RadOdorNotification& notification) {
    Delivery delivery;
    const RadOdorRequest& request = *notification.request;
    delivery.kind = notification.kind;
    delivery.userTag = request.user_tag;
    delivery.length = request.length;
    delivery.reportIsNull = request.report == nullptr;
    if (notification.kind == RADODOR_NOTIFY_REPORT && request.report != nullptr) {
        delivery.report.assign(request.report, request.report + request.length);
    }
    delivery.unit = request.unit;
    if (request.unit != nullptr) {
        delivery.unitId = request.unit->unit_id;
        delivery.unitTag = request.unit->user_tag;
        if (request.unit->latest_report != nullptr) {
            delivery.latest.assign(request.unit->latest_report,
                                   request.unit->latest_report + request.unit->latest_length);
        }
    }
    std::function<void(const RadOdorNotification&)> action;
    {
        const std::lock_guard lock(mutex_);
        deliveries_.push_back(std::move(delivery));
        action = action_;
    }
    changed_.notify_all();
    if (action) {
        action(notification);
    }
    std::unique_lock lock(mutex_);
    if (gateClosed_) {
        ++parked_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !gateClosed_; });
        --parked_;
    }
}

bool CallbackRecorder::WaitForCount(size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kSafetyTimeout, [&] { return deliveries_.size() >= count; });
}

std::vector<Delivery> CallbackRecorder::Deliveries() {
    const std::lock_guard lock(mutex_);
    return deliveries_;
}

size_t CallbackRecorder::Count() {
    const std::lock_guard lock(mutex_);
    return deliveries_.size();
}

void CallbackRecorder::CloseGate() {
    const std::lock_guard lock(mutex_);
    gateClosed_ = true;
}

void CallbackRecorder::OpenGate() {
    {
        const std::lock_guard lock(mutex_);
        gateClosed_ = false;
    }
    changed_.notify_all();
}

bool CallbackRecorder::WaitUntilParked() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kSafetyTimeout, [this] { return parked_ > 0; });
}

void CallbackRecorder::SetAction(std::function<void(const RadOdorNotification&)> action) {
    const std::lock_guard lock(mutex_);
    action_ = std::move(action);
}

}  // namespace qx::test
