#include "tests/support/emulated_keyboard.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "device/link/interfaces.h"
#include "sim/inprocess_backend.h"

namespace qx::test_support {

namespace {

// Where the standing read of the current EmulatedKeyboard delivers answers.
std::atomic<device::PacketExchange*> g_answerTarget{nullptr};
std::atomic<bool> g_keyboardExists{false};

std::optional<sim::Collection> CollectionNamed(const std::string& name) {
    for (const sim::Collection c : sim::kAllCollections) {
        if (sim::TraceNameOf(c) == name) {
            return c;
        }
    }
    return std::nullopt;
}

device::Packet ToPacket(const std::vector<uint8_t>& bytes) {
    return device::PadToPacket(bytes);
}

}  // namespace

EmulatedKeyboard::EmulatedKeyboard(EmulatedKeyboardOptions options) {
    if (g_keyboardExists.exchange(true)) {
        throw std::logic_error("one EmulatedKeyboard at a time");
    }
    try {
        keyboard_ = sim::Keyboard::Create(std::move(options.keyboard));
    } catch (...) {
        g_keyboardExists = false;
        throw;
    }
    library_ = std::make_unique<transport::Library>(
        [keyboard = keyboard_] { return sim::MakeInProcessBackend(keyboard); });
    binding_ = std::make_unique<transport::InProcessApi>(*library_);
    exchange_ = std::make_unique<device::PacketExchange>(Api(), options.timing);
    commands_ = std::make_unique<device::DeviceCommands>(*exchange_);
    if (Api().Init(0) <= 0) {
        throw std::runtime_error("the in-process transport did not start");
    }
    g_answerTarget = exchange_.get();
    if (options.commandRead) {
        Api().RequestAsyncRead(&device::kCommandInterface, &OnCommandNotification,
                               device::kCommandReadTag, &commandReadId_);
    }
}

EmulatedKeyboard::~EmulatedKeyboard() {
    Api().End();
    g_answerTarget = nullptr;
    binding_.reset();
    library_.reset();
    g_keyboardExists = false;
}

void EmulatedKeyboard::RouteAnswersTo(device::PacketExchange* exchange) {
    g_answerTarget = exchange;
}

int EmulatedKeyboard::OnCommandNotification(RadOdorNotification* notification) {
    const RadOdorRequest* request = notification->request;
    if (notification->kind == RADODOR_NOTIFY_REPORT &&
        request->user_tag == device::kCommandReadTag) {
        if (device::PacketExchange* target = g_answerTarget.load()) {
            target->DeliverAnswer({request->report, request->length});
        }
    }
    return 1;
}

std::vector<std::string> EmulatedKeyboard::TraceLines() const {
    return keyboard_->TraceLines();
}

void EmulatedKeyboard::ClearTrace() {
    keyboard_->ClearTrace();
}

std::vector<std::vector<uint8_t>> EmulatedKeyboard::Reports(sim::Direction direction,
                                                            sim::Collection collection) const {
    std::vector<std::vector<uint8_t>> reports;
    for (const std::string& line : TraceLines()) {
        if (auto report = ParseTraceLine(line);
            report && report->direction == direction && report->collection == collection) {
            reports.push_back(std::move(report->bytes));
        }
    }
    return reports;
}

std::vector<device::Packet> EmulatedKeyboard::CommandsSent() const {
    const auto reports = Reports(sim::Direction::kToKeyboard, sim::Collection::kCommand);
    std::vector<device::Packet> packets(reports.size());
    std::transform(reports.begin(), reports.end(), packets.begin(), ToPacket);
    return packets;
}

std::vector<device::Packet> EmulatedKeyboard::AnswersReceived() const {
    const auto reports = Reports(sim::Direction::kFromKeyboard, sim::Collection::kCommand);
    std::vector<device::Packet> packets(reports.size());
    std::transform(reports.begin(), reports.end(), packets.begin(), ToPacket);
    return packets;
}

bool EmulatedKeyboard::WaitUntilQuiet(std::chrono::milliseconds timeout) {
    return keyboard_->WaitUntilQuiet(timeout);
}

std::optional<TraceReport> ParseTraceLine(const std::string& line) {
    std::istringstream in(line);
    std::string arrow;
    std::string collectionName;
    if (!(in >> arrow >> collectionName) || (arrow != ">" && arrow != "<")) {
        return std::nullopt;
    }
    const auto collection = CollectionNamed(collectionName);
    if (!collection) {
        return std::nullopt;
    }
    TraceReport report{arrow == ">" ? sim::Direction::kToKeyboard : sim::Direction::kFromKeyboard,
                       *collection,
                       {}};
    std::string hex;
    while (in >> hex) {
        if (hex.size() != 2 || !std::isxdigit(static_cast<unsigned char>(hex[0])) ||
            !std::isxdigit(static_cast<unsigned char>(hex[1]))) {
            return std::nullopt;
        }
        report.bytes.push_back(static_cast<uint8_t>(std::stoul(hex, nullptr, 16)));
    }
    return report;
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
    std::string text;
    char digits[4];
    for (const uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", b);
        if (!text.empty()) {
            text += ' ';
        }
        text += digits;
    }
    return text;
}

}  // namespace qx::test_support
