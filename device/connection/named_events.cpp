#include "device/connection/named_events.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <system_error>

namespace qx::device {
namespace {

constexpr mode_t kEventMode = 0600;
constexpr unsigned kUnsignalled = 0;

}  // namespace

std::string NamedEventName(const std::string& prefix, int number) {
    std::array<char, 32> digits{};
    std::snprintf(digits.data(), digits.size(), "%02d-%u", number,
                  static_cast<unsigned>(::getuid()));
    return prefix + "Main_" + digits.data();
}

void RemoveNamedEvents(const std::string& prefix) {
    for (int number = 1; number <= kNamedEventCount; ++number) {
        sem_unlink(("/" + NamedEventName(prefix, number)).c_str());
    }
}

NamedEvents::NamedEvents(std::string prefix) : prefix_(std::move(prefix)) {}

NamedEvents::~NamedEvents() {
    Remove();
}

std::string NamedEvents::SystemName(int number) const {
    return "/" + NamedEventName(prefix_, number);
}

int NamedEvents::Create() {
    Remove();
    OpenAll();
    return static_cast<int>(open_.size());
}

void NamedEvents::OpenAll() {
    for (int number = 1; number <= kNamedEventCount; ++number) {
        sem_t* event = sem_open(SystemName(number).c_str(), O_CREAT, kEventMode, kUnsignalled);
        if (event != SEM_FAILED) {
            open_.emplace_back(number, event);
        }
    }
}

void NamedEvents::StartCreating() {
    Remove();
    try {
        creating_ = std::thread([this] { OpenAll(); });
    } catch (const std::system_error&) {
        OpenAll();  // no thread to be had: made here
    }
}

void NamedEvents::Remove() {
    if (creating_.joinable()) {
        creating_.join();
    }
    CloseAndUnlink();
}

void NamedEvents::CloseAndUnlink() {
    for (const auto& [number, event] : open_) {
        sem_close(event);
        sem_unlink(SystemName(number).c_str());
    }
    open_.clear();
}

}  // namespace qx::device
