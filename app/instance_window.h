// The process-wide single-instance objects of the running driver: the mutex it owns and the
// window that other instances' messages reach (see PublishInstanceWindow in
// app/main_window_port.h).
#pragma once

#include <cstdint>
#include <memory>

#include "app/instance_mutex.h"
#include "platform/window_message.h"

namespace qx::app {

struct PublishedWindow {
    std::shared_ptr<platform::MessageTarget> target;
    uint32_t userData = 0;
};

// The window published last (empty target when none is).
PublishedWindow PublishedInstanceWindow();

// The process's single-instance mutex (closed by CloseInstanceMutex).
InstanceMutex& ProcessInstanceMutex();

}  // namespace qx::app
