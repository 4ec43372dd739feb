#include "app/instance_window.h"

#include <mutex>
#include <utility>

#include "app/main_window_port.h"

namespace qx::app {
namespace {

std::mutex& PublishedLock() {
    static std::mutex lock;
    return lock;
}

PublishedWindow& Published() {
    static PublishedWindow window;
    return window;
}

}  // namespace

void PublishInstanceWindow(std::shared_ptr<platform::MessageTarget> target, uint32_t userData) {
    const std::lock_guard lock(PublishedLock());
    Published() = PublishedWindow{std::move(target), userData};
}

PublishedWindow PublishedInstanceWindow() {
    const std::lock_guard lock(PublishedLock());
    return Published();
}

InstanceMutex& ProcessInstanceMutex() {
    static InstanceMutex mutex;
    return mutex;
}

void CloseInstanceMutex() {
    ProcessInstanceMutex().Close();
}

}  // namespace qx::app
