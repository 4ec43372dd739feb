// The RadOdorApi table bound to a Library of the test process.
#include "transport/in_process.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/transport/callback_recorder.h"
#include "tests/transport/fake_backend.h"

namespace qx::test {
namespace {

using qx::transport::InProcessApi;
using qx::transport::Library;
using qx::transport::UseBackend;

TEST(InProcessApi, TableForwardsToTheBoundLibraryAndLibrariesFollowEachOther) {
    CallbackRecorder ctrl(0x4354524C);
    const RadOdorFilter command = KeyboardFilter(kCommandKey);
    for (int round = 0; round < 2; ++round) {
        auto owned = std::make_unique<FakeBackend>();
        FakeBackend* backend = owned.get();
        Library library(UseBackend(std::move(owned)));
        const InProcessApi binding(library);
        const RadOdorApi& api = binding.Table();

        ASSERT_EQ(api.Init(0), 1);
        backend->Plug(FakeBackend::Keyboard());
        EXPECT_EQ(api.RequestGetDeviceCount(&command), 1);
        uint32_t id = 0;
        ASSERT_EQ(api.RequestAsyncRead(&command, &CallbackRecorder::Callback, 0x4354524C, &id), 1);
        uint8_t packet[64] = {4};
        EXPECT_EQ(api.RequestWriteOne(&command, packet, 64), 64);
        backend->Input(kCommandKey, std::vector<uint8_t>(packet, packet + 64));
        ASSERT_TRUE(ctrl.WaitForCount(static_cast<size_t>(round) + 1));
        EXPECT_EQ(api.DeleteRequestFromUnitId(id), 1);
        EXPECT_EQ(api.End(), 1);
    }
}

TEST(InProcessApi, OneBindingAtATime) {
    Library first(UseBackend(std::make_unique<FakeBackend>()));
    Library second(UseBackend(std::make_unique<FakeBackend>()));
    const RadOdorFilter command = KeyboardFilter(kCommandKey);
    {
        const InProcessApi binding(first);
        EXPECT_THROW(InProcessApi{second}, std::logic_error);
    }
    const InProcessApi binding(second);
    EXPECT_EQ(binding.Table().Init(0), 1);
    EXPECT_EQ(binding.Table().RequestGetDeviceCount(&command), 0);
}

}  // namespace
}  // namespace qx::test
