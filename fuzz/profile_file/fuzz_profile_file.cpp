// Any bytes as a profile file: validated, then loaded (as the profile store is loaded, without
// validation). Neither may read outside the file or crash; a loaded image must be consistent.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "keyboard/image_holders.h"
#include "platform/prompt.h"
#include "profiles/profile_file.h"

namespace {

class SilentPrompt : public qx::platform::Prompt {
  public:
    void ShowMessage(const std::string&, const std::string&, bool) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> OpenFile(const qx::platform::FileDialogOptions&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFile(const qx::platform::FileDialogOptions&) override {
        return std::nullopt;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentPrompt prompt;
    qx::platform::SetCurrentPrompt(&prompt);
    const int fd = ::memfd_create("profile", MFD_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    if (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)) {
        ::close(fd);
        return 0;
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    const int valid = qx::profiles::ValidateProfileFile(path);
    const int loaded = qx::profiles::LoadImageFromFile(path);
    {
        const auto guard = qx::keyboard::Images().LockImage();
        if (loaded == 1 && (guard->macros.size() > 100 || !guard->image)) {
            std::abort();
        }
    }
    if (valid == 1 && loaded != 1) {
        std::abort();  // whatever the validator accepts, the loader reads
    }
    qx::keyboard::Images().Reset();
    ::close(fd);
    return 0;
}
