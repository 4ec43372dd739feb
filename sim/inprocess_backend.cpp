#include "sim/inprocess_backend.h"

#include <mutex>

namespace qx::sim {
namespace {

using qx::transport::BackendSink;
using qx::transport::CollectionKey;

CollectionKey KeyOf(Collection c) {
    const CollectionUsage u = UsageOf(c);
    return {u.usagePage, u.usage};
}

class InProcessBackend final : public qx::transport::Backend, private KeyboardListener {
  public:
    explicit InProcessBackend(std::shared_ptr<Keyboard> keyboard)
        : keyboard_(std::move(keyboard)) {}
    ~InProcessBackend() override { Stop(); }

    bool Start(BackendSink& sink) override {
        const std::lock_guard lock(mutex_);
        if (sink_ == nullptr) {
            sink_ = &sink;
            listenerId_ = keyboard_->Attach(this);
        }
        return true;
    }

    void Stop() override {
        const std::lock_guard lock(mutex_);
        if (sink_ != nullptr) {
            keyboard_->Detach(listenerId_);
            sink_ = nullptr;
        }
    }

    int CountDevices(const RadOdorFilter& filter) override {
        return MatchingCollection(filter) && keyboard_->IsPresent() ? 1 : 0;
    }

    int WriteOutputReport(const RadOdorFilter& filter, std::span<const uint8_t> report) override {
        const auto collection = MatchingCollection(filter);
        return collection ? keyboard_->ReceiveReport(*collection, report) : -1;
    }

    // The keyboard declares no feature reports.
    int SetFeatureReport(const RadOdorFilter&, std::span<const uint8_t>) override { return -1; }

  private:
    // Listener calls run on the keyboard's delivery thread; Detach in Stop waits for them, so
    // sink_ is stable while they run.
    void OnReport(Collection collection, std::span<const uint8_t> report) override {
        sink_->OnInputReport(kVendorId, kProductId, KeyOf(collection), report);
    }
    void OnPresenceChanged(bool) override { sink_->OnDevicesChanged(); }

    std::shared_ptr<Keyboard> keyboard_;
    std::mutex mutex_;
    BackendSink* sink_ = nullptr;
    uint64_t listenerId_ = 0;
};

}  // namespace

std::optional<Collection> MatchingCollection(const RadOdorFilter& filter) {
    for (Collection c : kAllCollections) {
        if (qx::transport::FilterMatches(filter, kVendorId, kProductId, KeyOf(c))) {
            return c;
        }
    }
    return std::nullopt;
}

std::unique_ptr<qx::transport::Backend> MakeInProcessBackend(std::shared_ptr<Keyboard> keyboard) {
    return std::make_unique<InProcessBackend>(std::move(keyboard));
}

}  // namespace qx::sim
