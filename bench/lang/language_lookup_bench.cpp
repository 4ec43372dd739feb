// One language text lookup the way the program makes it (the file is read again for every
// text), against the same lookup through QSettings constructed for each lookup. Prints the
// ratio of the two times at the end.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSettings>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "lang/language.h"
#include "platform/memory_settings_store.h"
#include "platform/program_paths.h"
#include "platform/settings_store.h"

namespace {

constexpr int kFileLines = 600;
constexpr const char* kWantedKey = "TEXT_KEY_0560";  // near the end of the file

// A language file of 600 lines shaped like the shipped ones: comments, [TEXT], [LIGHT], [MODE].
std::string WriteLanguageFolder() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "qx-bench-language";
    std::filesystem::create_directories(folder);
    std::ofstream file(folder / "Lang0409.ini", std::ios::trunc);
    int lines = 0;
    file << "; bench language file\n[TEXT]\n";
    lines += 2;
    for (int i = 0; lines < kFileLines - 40; ++i, ++lines) {
        char key[32];
        std::snprintf(key, sizeof key, "TEXT_KEY_%04d", i);
        file << key << "=The text of key number " << i << ", about as long as a tooltip\n";
    }
    file << "[LIGHT]\n";
    for (int i = 0; i < 10; ++i) {
        file << "Label" << i << "=Label " << i << "\n";
    }
    file << "[MODE]\n";
    for (int i = 1; lines < kFileLines - 12; ++i, ++lines) {
        file << i << "=Mode " << i << "\n";
    }
    return folder.string();
}

struct Fixture {
    Fixture() : folder(WriteLanguageFolder()) {
        qx::platform::SetProgramFolder(folder);
        store.WriteUserDword(qx::lang::kLanguageIdValue, 0x0409);
        qx::platform::SetCurrentSettings(&store);
    }
    std::string folder;
    qx::platform::MemorySettingsStore store;
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void BM_LoadLangText(benchmark::State& state) {
    TheFixture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(qx::lang::LangText(kWantedKey));
    }
}
BENCHMARK(BM_LoadLangText);

void BM_QSettingsIniLookup(benchmark::State& state) {
    const QString path = QString::fromStdString(TheFixture().folder + "/Lang0409.ini");
    const QString key = QStringLiteral("TEXT/") + QString::fromLatin1(kWantedKey);
    for (auto _ : state) {
        QSettings settings(path, QSettings::IniFormat);
        benchmark::DoNotOptimize(settings.value(key).toString().toStdString());
    }
}
BENCHMARK(BM_QSettingsIniLookup);

// Remembers each benchmark's time per iteration to print their ratio.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            times_[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto ours = times_.find("BM_LoadLangText");
        const auto qt = times_.find("BM_QSettingsIniLookup");
        if (ours != times_.end() && qt != times_.end() && ours->second.real > 0 &&
            ours->second.cpu > 0) {
            std::printf("QSettings lookup / LoadLangText: %.1f (real time), %.1f (CPU time)\n",
                        qt->second.real / ours->second.real, qt->second.cpu / ours->second.cpu);
        }
    }

  private:
    struct Times {
        double real;
        double cpu;
    };
    std::map<std::string, Times> times_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    qx::platform::SetCurrentSettings(nullptr);
    return 0;
}
