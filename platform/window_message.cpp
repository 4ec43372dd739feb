#include "platform/window_message.h"

#include <mutex>
#include <utility>

namespace qx::platform {
namespace {

std::mutex mainTargetMutex;
std::shared_ptr<MessageTarget>& MainTarget() {
    static std::shared_ptr<MessageTarget> target;
    return target;
}

}  // namespace

void SetMainWindowTarget(std::shared_ptr<MessageTarget> target) {
    const std::lock_guard lock(mainTargetMutex);
    MainTarget() = std::move(target);
}

std::shared_ptr<MessageTarget> MainWindowTarget() {
    const std::lock_guard lock(mainTargetMutex);
    return MainTarget();
}

}  // namespace qx::platform
