// Saving and loading the largest profile file (100 macros of 2000 actions, 1.7 MB), as a ratio
// to writing and reading the same bytes with plain file calls. Each iteration times both, one
// after the other, so the two see the same state of the disk and the page cache.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/image_holders.h"
#include "platform/file_replace.h"
#include "profiles/profile_file.h"

namespace {

using Clock = std::chrono::steady_clock;

class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qx-bench-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const char* name) const { return path_ + '/' + name; }

  private:
    std::string path_;
};

void FillLargestImage() {
    auto guard = qx::keyboard::Images().LockImage();
    guard->image = qx::profiles::BuildDefaultImage(0);
    guard->macros.assign(qx::keyboard::kMaxMacros, {});
    for (int m = 0; m < qx::keyboard::kMaxMacros; ++m) {
        auto& macro = guard->macros[static_cast<std::size_t>(m)];
        macro.SetId(static_cast<uint16_t>(m + 1));
        macro.SetName(u"a macro of two thousand actions");
        macro.SetRepeatCount(1);
        macro.SetActionCount(qx::keyboard::kMaxMacroActions);
        for (int a = 0; a < qx::keyboard::kMaxMacroActions; ++a) {
            macro.SetAction(a, {10, 0x01E, static_cast<uint16_t>(a % 2)});
        }
    }
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

bool PlainWrite(const std::string& path, const std::vector<char>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    return ::close(fd) == 0 && ok;
}

// The same bytes through the file replacement alone: what is left between this and a profile
// save is the profile code's own cost.
bool Replace(const std::string& path, const std::vector<char>& bytes) {
    return static_cast<bool>(
        qx::platform::ReplaceFile(path, std::string_view(bytes.data(), bytes.size())));
}

std::vector<char> PlainRead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    ::fstat(fd, &info);
    std::vector<char> bytes(static_cast<std::size_t>(info.st_size));
    const ssize_t got = ::read(fd, bytes.data(), bytes.size());
    ::close(fd);
    bytes.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
    return bytes;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void Report(benchmark::State& state, const std::vector<double>& ours,
            const std::vector<double>& plain) {
    if (ours.empty()) {
        return;
    }
    state.counters["profile_ms"] = Median(ours);
    state.counters["plain_ms"] = Median(plain);
    state.counters["ratio"] = Median(ours) / Median(plain);
}

void BM_SaveVersusPlainWrite(benchmark::State& state) {
    ScratchFolder folder;
    FillLargestImage();
    const std::string path = folder.File("large.kpf");
    qx::profiles::SaveImageToFile(path);
    const std::vector<char> bytes = PlainRead(path);
    std::vector<double> ours;
    std::vector<double> plain;
    std::vector<double> replace;
    while (state.KeepRunning()) {
        auto start = Clock::now();
        const bool saved = qx::profiles::SaveImageToFile(path);
        ours.push_back(Ms(Clock::now() - start));
        start = Clock::now();
        const bool written = PlainWrite(folder.File("plain.bin"), bytes);
        plain.push_back(Ms(Clock::now() - start));
        start = Clock::now();
        const bool replaced = Replace(folder.File("replaced.bin"), bytes);
        replace.push_back(Ms(Clock::now() - start));
        if (!saved || !written || !replaced) {
            state.SkipWithError("a write failed");
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
    Report(state, ours, plain);
    if (!replace.empty()) {
        state.counters["replace_ms"] = Median(replace);
        state.counters["ratio_to_replace"] = Median(ours) / Median(replace);
    }
    qx::keyboard::Images().Reset();
}
BENCHMARK(BM_SaveVersusPlainWrite)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_LoadVersusPlainRead(benchmark::State& state) {
    ScratchFolder folder;
    FillLargestImage();
    const std::string path = folder.File("large.kpf");
    qx::profiles::SaveImageToFile(path);
    std::vector<double> ours;
    std::vector<double> plain;
    while (state.KeepRunning()) {
        auto start = Clock::now();
        const int loaded = qx::profiles::LoadImageFromFile(path);
        ours.push_back(Ms(Clock::now() - start));
        start = Clock::now();
        const std::vector<char> bytes = PlainRead(path);
        plain.push_back(Ms(Clock::now() - start));
        benchmark::DoNotOptimize(bytes.data());
        if (loaded != 1) {
            state.SkipWithError("the load failed");
            break;
        }
    }
    Report(state, ours, plain);
    qx::keyboard::Images().Reset();
}
BENCHMARK(BM_LoadVersusPlainRead)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
