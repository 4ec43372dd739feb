#include "transport/hidraw/hidraw_backend.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <set>

#include "transport/debug_log.h"
#include "transport/hidraw/report_routing.h"
#include "transport/hidraw/used_collections.h"

namespace qx::transport::hidraw {
namespace {

// The kernel's largest HID report, plus the byte we put in front of reports without an id.
constexpr size_t kMaxReportBytes = 16384;
// Reports taken from one node before the others get their turn.
constexpr int kMaxReadsPerWake = 64;
constexpr short kFailureEvents = POLLHUP | POLLERR | POLLNVAL;
// After a failed wait the reader pauses, twice as long each time up to the longest pause, and
// waits again: ending the thread would leave the library blind to every report and to the
// keyboard's arrival and departure for the rest of the run.
constexpr std::chrono::milliseconds kFirstPollPause{10};
constexpr std::chrono::milliseconds kLongestPollPause{1000};

bool IsPermissionError(int error) {
    return error == EACCES || error == EPERM;
}

}  // namespace

struct HidrawBackend::Node {
    HidrawNodeInfo info;
    ReportRouting routing;
    int fd = -1;
    int openError = 0;                // errno of the failed open, when fd < 0
    std::atomic<bool> failed{false};  // a read failed: the node is gone or going

    Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    ~Node() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    bool Usable() const { return fd >= 0 && !failed.load(); }
};

HidrawBackend::HidrawBackend(HidrawOptions options)
    : options_(std::move(options)), io_(options_.io ? options_.io : MakeSystemHidrawIo()) {}

HidrawBackend::~HidrawBackend() {
    Stop();
}

bool HidrawBackend::Start(BackendSink& sink) {
    if (thread_.joinable()) {
        return true;
    }
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) {
        DebugPrint(kDebugErrors, "hidraw: no wake-up descriptor: %s", std::strerror(errno));
        return false;
    }
    sink_ = &sink;
    stopping_.store(false);
    monitor_ = options_.changeMonitor ? options_.changeMonitor() : MakeUdevChangeMonitor();
    if (!monitor_) {
        DebugPrint(kDebugErrors, "hidraw: no udev monitor; looking for keyboards every %lld ms",
                   static_cast<long long>(options_.rescanInterval.count()));
    }
    // Enumerate before returning, so the first count asked after Init is already right.
    Rescan(true);
    thread_ = std::thread([this] { Run(); });
    return true;
}

void HidrawBackend::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(pauseMutex_);
        stopping_.store(true);
    }
    pauseEnded_.notify_all();
    const uint64_t one = 1;
    if (::write(wakeFd_, &one, sizeof one) < 0) {
        DebugPrint(kDebugErrors, "hidraw: cannot wake the reader: %s", std::strerror(errno));
    }
    thread_.join();
    ::close(wakeFd_);
    wakeFd_ = -1;
    monitor_.reset();
    std::vector<std::shared_ptr<Node>> closed;
    {
        const std::lock_guard lock(mutex_);
        closed.swap(nodes_);
    }
    lastUsable_.clear();
    sink_ = nullptr;
}

int HidrawBackend::CountDevices(const RadOdorFilter& filter) {
    std::set<std::string> devices;
    const std::lock_guard lock(mutex_);
    for (const auto& node : nodes_) {
        if (node->Usable() &&
            node->routing.MatchesAny(filter, node->info.vendorId, node->info.productId)) {
            devices.insert(node->info.deviceKey);
        }
    }
    return static_cast<int>(devices.size());
}

int HidrawBackend::WriteOutputReport(const RadOdorFilter& filter, std::span<const uint8_t> report) {
    const auto node = FindTarget(filter, report);
    if (!node) {
        return 0;
    }
    const int written = io_->Write(node->fd, report);
    if (written < 0) {
        DebugPrint(kDebugErrors, "hidraw: writing to %s failed: %s", node->info.devicePath.c_str(),
                   std::strerror(-written));
    }
    return written;
}

int HidrawBackend::SetFeatureReport(const RadOdorFilter& filter, std::span<const uint8_t> report) {
    const auto node = FindTarget(filter, report);
    if (!node) {
        return 0;
    }
    const int result = io_->SetFeature(node->fd, report);
    if (result < 0) {
        DebugPrint(kDebugErrors, "hidraw: feature report to %s failed: %s",
                   node->info.devicePath.c_str(), std::strerror(-result));
        return result;
    }
    return static_cast<int>(report.size());
}

std::vector<std::string> HidrawBackend::InaccessibleNodes() const {
    std::vector<std::string> paths;
    const std::lock_guard lock(mutex_);
    for (const auto& node : nodes_) {
        if (node->fd < 0 && IsPermissionError(node->openError)) {
            paths.push_back(node->info.devicePath);
        }
    }
    return paths;
}

std::shared_ptr<HidrawBackend::Node> HidrawBackend::FindTarget(
    const RadOdorFilter& filter, std::span<const uint8_t> report) const {
    std::shared_ptr<Node> target;
    {
        const std::lock_guard lock(mutex_);
        for (const auto& node : nodes_) {
            if (node->Usable() &&
                node->routing.MatchesAny(filter, node->info.vendorId, node->info.productId)) {
                target = node;
                break;
            }
        }
    }
    if (!target) {
        DebugPrint(kDebugErrors, "hidraw: no keyboard to send the report to");
        return nullptr;
    }
    if (report.empty() || !target->routing.AcceptsReportId(report[0])) {
        DebugPrint(kDebugErrors, "hidraw: %s takes %s, not a report starting with %u",
                   target->info.devicePath.c_str(),
                   target->routing.Numbered() ? "numbered reports" : "reports starting with 0",
                   report.empty() ? 0U : report[0]);
        return nullptr;
    }
    return target;
}

std::optional<hid::ReportDescriptor> HidrawBackend::WantedDescriptor(
    const HidrawNodeInfo& info) const {
    const bool device =
        options_.devices.empty() ||
        std::any_of(options_.devices.begin(), options_.devices.end(), [&](const DeviceId& id) {
            return id.vendorId == info.vendorId && id.productId == info.productId;
        });
    if (!device) {
        return std::nullopt;
    }
    auto descriptor = hid::ParseReportDescriptor(info.reportDescriptor);
    if (!HoldsUsedCollection(descriptor)) {
        return std::nullopt;
    }
    return descriptor;
}

std::shared_ptr<HidrawBackend::Node> HidrawBackend::OpenNode(
    HidrawNodeInfo info, const hid::ReportDescriptor& descriptor, const Node* previous) {
    auto node = std::make_shared<Node>();
    if (descriptor.error != hid::DescriptorError::None && previous == nullptr) {
        DebugPrint(kDebugErrors, "hidraw: report descriptor of %s: %s after %zu bytes",
                   info.name.c_str(), hid::DescribeError(descriptor.error), descriptor.parsedBytes);
    }
    node->routing = ReportRouting(descriptor);
    node->info = std::move(info);
    const int fd = io_->Open(node->info.devicePath);
    if (fd >= 0) {
        // Reads drain the node until it would block; the fd may come from a test's socket.
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        node->fd = fd;
        DebugPrint(kDebugTraffic, "hidraw: opened %s (%04X:%04X)", node->info.devicePath.c_str(),
                   node->info.vendorId, node->info.productId);
        return node;
    }
    node->openError = -fd;
    // Tell each failure once, not at every rescan.
    if (previous == nullptr || previous->openError != node->openError) {
        if (IsPermissionError(node->openError)) {
            DebugPrint(kDebugErrors,
                       "hidraw: no permission to open %s (%04X:%04X): install the udev rule "
                       "70-qx480.rules and plug the keyboard in again",
                       node->info.devicePath.c_str(), node->info.vendorId, node->info.productId);
        } else {
            DebugPrint(kDebugErrors, "hidraw: cannot open %s: %s", node->info.devicePath.c_str(),
                       std::strerror(node->openError));
        }
    }
    return node;
}

bool HidrawBackend::Rescan(bool retryFailed) {
    std::vector<std::shared_ptr<Node>> current;
    {
        const std::lock_guard lock(mutex_);
        current = nodes_;
    }
    std::vector<std::shared_ptr<Node>> next;
    for (auto& info : ScanHidrawNodes(options_.paths)) {
        const auto descriptor = WantedDescriptor(info);
        if (!descriptor) {
            continue;
        }
        const auto same = std::find_if(current.begin(), current.end(), [&](const auto& node) {
            return node->info.name == info.name && node->info.identity == info.identity;
        });
        const Node* previous = same != current.end() ? same->get() : nullptr;
        // A node that just failed but is still listed is retried at the next regular look,
        // not at once: a node that fails every read would otherwise keep this thread busy.
        if (previous != nullptr && (previous->Usable() || (previous->failed && !retryFailed))) {
            next.push_back(*same);
        } else {
            next.push_back(OpenNode(std::move(info), *descriptor, previous));
        }
    }
    // Compared with what the last look found usable (kept alive, so no address is reused).
    std::vector<std::shared_ptr<Node>> usable;
    std::copy_if(next.begin(), next.end(), std::back_inserter(usable),
                 [](const auto& node) { return node->Usable(); });
    const bool changed = usable != lastUsable_;
    lastUsable_ = std::move(usable);
    {
        const std::lock_guard lock(mutex_);
        nodes_.swap(next);
    }
    return changed;
}

void HidrawBackend::Run() {
    std::vector<uint8_t> buffer(kMaxReportBytes + 1);
    const auto interval = options_.rescanInterval;
    auto nextScan = std::chrono::steady_clock::now() + interval;
    std::chrono::milliseconds pause{0};  // the last pause after a failed wait; 0: none
    while (!stopping_.load()) {
        std::vector<std::shared_ptr<Node>> polled;
        {
            const std::lock_guard lock(mutex_);
            for (const auto& node : nodes_) {
                if (node->Usable()) {
                    polled.push_back(node);
                }
            }
        }
        std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}};
        const size_t firstNode = monitor_ ? 2 : 1;
        if (monitor_) {
            fds.push_back({monitor_->Fd(), POLLIN, 0});
        }
        for (const auto& node : polled) {
            fds.push_back({node->fd, POLLIN, 0});
        }
        int timeout = -1;
        if (interval.count() > 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                nextScan - std::chrono::steady_clock::now());
            timeout = static_cast<int>(std::clamp<long long>(left.count(), 0, interval.count()));
        }
        const int ready = io_->Poll(fds, timeout);
        if (ready < 0) {
            for (auto& fd : fds) {
                fd.revents = 0;
            }
            if (ready != -EINTR) {
                PauseAfterFailedPoll(-ready, pause);
            }
        } else {
            pause = std::chrono::milliseconds(0);
        }
        if (fds[0].revents != 0) {
            uint64_t count = 0;
            while (::read(wakeFd_, &count, sizeof count) > 0) {
            }
            continue;  // Stop() woke us; the loop condition ends it
        }
        bool rescan = false;
        bool retryFailed = false;
        if (monitor_ && fds[1].revents != 0) {
            monitor_->Drain();
            rescan = retryFailed = true;
        }
        for (size_t i = 0; i < polled.size(); ++i) {
            const short events = fds[firstNode + i].revents;
            bool ok = true;
            if ((events & POLLIN) != 0) {
                ok = ReadNode(*polled[i], buffer);
            }
            if (!ok || (events & kFailureEvents) != 0) {
                polled[i]->failed.store(true);
                rescan = true;
            }
        }
        if (interval.count() > 0 && std::chrono::steady_clock::now() >= nextScan) {
            rescan = retryFailed = true;
        }
        if (rescan) {
            if (retryFailed) {
                nextScan = std::chrono::steady_clock::now() + interval;
            }
            if (Rescan(retryFailed)) {
                sink_->OnDevicesChanged();
            }
        }
    }
}

void HidrawBackend::PauseAfterFailedPoll(int error, std::chrono::milliseconds& pause) {
    if (pause.count() == 0) {  // told once for a run of failures, not at every retry
        DebugPrint(kDebugErrors, "hidraw: waiting for the keyboard failed: %s; trying again",
                   std::strerror(error));
    }
    pause = std::clamp(pause * 2, kFirstPollPause, kLongestPollPause);
    std::unique_lock lock(pauseMutex_);
    pauseEnded_.wait_for(lock, pause, [this] { return stopping_.load(); });
}

bool HidrawBackend::ReadNode(const Node& node, std::vector<uint8_t>& buffer) {
    for (int i = 0; i < kMaxReadsPerWake; ++i) {
        const ssize_t got = ::read(node.fd, buffer.data() + 1, buffer.size() - 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return true;
        }
        if (got <= 0) {
            DebugPrint(kDebugTraffic, "hidraw: %s went away", node.info.devicePath.c_str());
            return false;
        }
        const std::span<const uint8_t> asRead(buffer.data() + 1, static_cast<size_t>(got));
        const auto collection = node.routing.CollectionOfInput(asRead);
        if (!collection) {
            DebugPrint(kDebugTraffic, "hidraw: %s: report %u belongs to no collection",
                       node.info.devicePath.c_str(), asRead[0]);
            continue;
        }
        if (!IsUsedCollection(*collection)) {
            continue;  // typing on a node that also holds a used collection stays here
        }
        // Reports without an id get a 0 in front: callers always see the id first.
        buffer[0] = 0;
        const auto report = node.routing.Numbered()
                                ? asRead
                                : std::span<const uint8_t>(buffer.data(), asRead.size() + 1);
        sink_->OnInputReport(node.info.vendorId, node.info.productId, *collection, report);
    }
    return true;
}

}  // namespace qx::transport::hidraw
