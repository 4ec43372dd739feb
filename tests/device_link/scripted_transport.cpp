#include "tests/device_link/scripted_transport.h"

#include <algorithm>
#include <cassert>

namespace qx::device::testing {

namespace {

ScriptedTransport* current = nullptr;

int FakeDebug(int /*level*/) {
    return 0;
}
int FakeInit(int /*flags*/) {
    return 1;
}
int FakeEnd() {
    return 1;
}
int FakeGetDeviceCount(const RadOdorFilter* /*filter*/) {
    return current->deviceCount;
}
int FakeDeleteFromUnitId(uint32_t /*unitId*/) {
    return 0;
}
int FakeDeleteFromHandle(RadOdorUnit* /*unit*/) {
    return 0;
}
int FakeWrite(const RadOdorFilter*, RadOdorCallback, uint32_t, const uint8_t*, int, uint32_t*) {
    return 0;
}
int FakeWriteOne(const RadOdorFilter* /*filter*/, const uint8_t* report, int length) {
    return current->Write(report, length);
}
int FakeStatusWrite(const RadOdorFilter*, RadOdorCallback, uint32_t, const uint8_t*, int,
                    uint32_t*) {
    return 0;
}
int FakeStatusGet(const RadOdorFilter*, uint8_t*, int) {
    return 0;
}
int FakeAsyncRead(const RadOdorFilter*, RadOdorCallback, uint32_t, uint32_t*) {
    return 0;
}
int FakeSetFeature(const RadOdorFilter*, const uint8_t*, int) {
    return 0;
}

}  // namespace

ScriptedTransport::ScriptedTransport() {
    assert(current == nullptr);
    current = this;
}

ScriptedTransport::~ScriptedTransport() {
    current = nullptr;
}

RadOdorApi ScriptedTransport::Api() const {
    return RadOdorApi{FakeDebug,
                      FakeInit,
                      FakeEnd,
                      FakeGetDeviceCount,
                      FakeDeleteFromUnitId,
                      FakeDeleteFromHandle,
                      FakeWrite,
                      FakeWriteOne,
                      FakeStatusWrite,
                      FakeStatusGet,
                      FakeAsyncRead,
                      FakeSetFeature};
}

std::vector<Packet> ScriptedTransport::Sent() const {
    const std::lock_guard lock(mutex_);
    return sent_;
}

int ScriptedTransport::Write(const uint8_t* report, int length) {
    const Packet packet = PadToPacket({report, static_cast<std::size_t>(std::max(length, 0))});
    int n = 0;
    {
        const std::lock_guard lock(mutex_);
        n = static_cast<int>(sent_.size());
        sent_.push_back(packet);
    }
    if (writeResult > 0 && answer && exchange_ != nullptr) {
        if (const Answer reply = answer(packet, n)) {
            exchange_->DeliverAnswer(*reply);
        }
    }
    return writeResult;
}

std::vector<uint8_t> AnswerTo(const Packet& request, uint8_t status, std::vector<uint8_t> data) {
    std::vector<uint8_t> reply(kPacketSize, 0);
    std::copy_n(request.begin(), kStatusOffset, reply.begin());
    reply[kStatusOffset] = status;
    std::copy_n(data.begin(), std::min(data.size(), kDataCapacity), reply.begin() + kDataOffset);
    return reply;
}

}  // namespace qx::device::testing
