// libRadOdor.so as the driver loads it: by path, the twelve names, the backend choice.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "transport/radodor.h"

namespace qx::test {
namespace {

class RadOdorLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* dir = std::getenv("QX_RUNTIME_DIR");
        ASSERT_NE(dir, nullptr) << "QX_RUNTIME_DIR is not set";
        const std::string path = std::string(dir) + "/libRadOdor.so";
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        const char* names[] = RADODOR_FUNCTION_NAMES;
        void** slots = reinterpret_cast<void**>(&api_);
        for (int i = 0; i < RADODOR_FUNCTION_COUNT; ++i) {
            slots[i] = dlsym(handle_, names[i]);
            ASSERT_NE(slots[i], nullptr) << names[i];
        }
    }
    // The library is never unloaded, as in the driver.

    void* handle_ = nullptr;
    RadOdorApi api_{};
};

TEST_F(RadOdorLibrary, BindsTheTwelveNamesAndKeepsItsInternalsHidden) {
    EXPECT_EQ(dlsym(handle_, "_ZN2qx9transport7LibraryD1Ev"), nullptr);
}

TEST_F(RadOdorLibrary, DebugKeepsTheLevelInRangeAndReturnsThePreviousOne) {
    const int before = api_.Debug(2);
    EXPECT_EQ(api_.Debug(-5), 2);
    EXPECT_EQ(api_.Debug(7), 0);
    EXPECT_EQ(api_.Debug(before), 2);
}

TEST_F(RadOdorLibrary, BackendChoiceByEnvironment) {
    const RadOdorFilter command = {RADODOR_MATCH_ALL,     RADODOR_VENDOR_ID,
                                   RADODOR_PRODUCT_ID,    RADODOR_COMMAND_USAGE_PAGE,
                                   RADODOR_COMMAND_USAGE, 0};
    ASSERT_EQ(setenv("RADODOR_BACKEND", "bluetooth", 1), 0);
    EXPECT_EQ(api_.Init(0), 0) << "an unknown backend must refuse to start";
    EXPECT_EQ(api_.RequestGetDeviceCount(&command), 0);

    // The real backend starts on any machine, keyboard or not.
    ASSERT_EQ(setenv("RADODOR_BACKEND", "hidraw", 1), 0);
    EXPECT_GT(api_.Init(0), 0);
    EXPECT_GE(api_.RequestGetDeviceCount(&command), 0);
    EXPECT_EQ(api_.End(), 1);
    unsetenv("RADODOR_BACKEND");
}

}  // namespace
}  // namespace qx::test
