// A window stand-in for tests of the Qt-free layers: it records every message, send and timer
// change, answers sends through handlers the test sets, and can be made to look gone.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

#include "platform/window_message.h"

namespace qx::platform::testing {

class RecordingMessageTarget : public MessageTarget {
  public:
    enum class Kind { Post, Send, SetTimer, KillTimer };

    struct Record {
        Kind kind;
        uint32_t message;      // the timer id for timer changes
        MessageWParam wParam;  // the period for SetTimer
        MessageLParam lParam;
    };

    // The handler that answers (and sees) sends of `message`; posts are only recorded.
    void SetSendHandler(uint32_t message, MessageHandler handler) {
        const std::lock_guard lock(mutex_);
        handlers_[message] = std::move(handler);
    }
    // A gone window: posts fail, sends return 0, nothing is recorded.
    void SetGone(bool gone) {
        const std::lock_guard lock(mutex_);
        gone_ = gone;
    }
    std::vector<Record> Records() const {
        const std::lock_guard lock(mutex_);
        return records_;
    }

    bool PostWindowMessage(uint32_t message, MessageWParam wParam, MessageLParam lParam) override {
        return Add({Kind::Post, message, wParam, lParam});
    }
    MessageResult SendWindowMessage(uint32_t message, MessageWParam wParam,
                                    MessageLParam lParam) override {
        MessageHandler handler;
        {
            const std::lock_guard lock(mutex_);
            if (gone_) {
                return 0;
            }
            records_.push_back({Kind::Send, message, wParam, lParam});
            const auto found = handlers_.find(message);
            if (found != handlers_.end()) {
                handler = found->second;
            }
        }
        return handler ? handler(wParam, lParam) : 0;
    }
    bool SetWindowTimer(uint32_t timerId, uint32_t periodMs) override {
        return Add({Kind::SetTimer, timerId, periodMs, 0});
    }
    bool KillWindowTimer(uint32_t timerId) override {
        return Add({Kind::KillTimer, timerId, 0, 0});
    }

  private:
    bool Add(const Record& record) {
        const std::lock_guard lock(mutex_);
        if (gone_) {
            return false;
        }
        records_.push_back(record);
        return true;
    }

    mutable std::mutex mutex_;
    std::map<uint32_t, MessageHandler> handlers_;
    std::vector<Record> records_;
    bool gone_ = false;
};

}  // namespace qx::platform::testing
