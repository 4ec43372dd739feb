// RegionFromMask on the main window's mask of the default skin, against the region Qt builds from
// a bitmap of the same mask (QBitmap::fromImage of its non-white pixels). Prints the ratio of the
// two times at the end. The mask is read from the run-time folder's Skins/ (QX_RUNTIME_DIR, or
// ../bin next to the benchmark); a second case uses a mask with many runs per row.
#include <benchmark/benchmark.h>

#include <QBitmap>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "skin/region_from_mask.h"

namespace {

QImage MainMask() {
    const char* runtime = std::getenv("QX_RUNTIME_DIR");
    const QString folder = runtime != nullptr
                               ? QString::fromLocal8Bit(runtime)
                               : QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
    QImage mask(folder + QStringLiteral("/Skins/main_mask.bmp"));
    if (mask.isNull()) {
        std::fprintf(stderr, "main_mask.bmp not found under %s/Skins\n", qPrintable(folder));
        std::exit(1);
    }
    return mask;
}

// A mask with many runs per row: the main window's outline with a grille of slots cut into it.
QImage GrilleMask() {
    QImage mask = MainMask();
    QPainter painter(&mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int y = 20; y < mask.height() - 20; y += 6) {
        for (int x = 20; x < mask.width() - 20; x += 8) {
            painter.drawRect(x, y, 4, 3);
        }
    }
    return mask;
}

QRegion QtRegion(const QImage& mask) {
    // A bitmap region holds the pixels the mask image marks as set: here the non-white ones.
    const QImage solid = mask.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor);
    return QRegion(QBitmap::fromImage(solid));
}

void Verify(const QImage& mask) {
    const std::optional<QRegion> ours = qx::skin::RegionFromMask(mask);
    if (!ours || !ours->xored(QtRegion(mask)).isEmpty()) {
        std::fprintf(stderr, "the two regions differ\n");
        std::exit(1);
    }
}

void BM_RegionFromMask(benchmark::State& state, const QImage& mask) {
    while (state.KeepRunning()) {
        benchmark::DoNotOptimize(qx::skin::RegionFromMask(mask));
    }
}

void BM_QRegionFromBitmap(benchmark::State& state, const QImage& mask) {
    while (state.KeepRunning()) {
        benchmark::DoNotOptimize(QtRegion(mask));
    }
}

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
        for (const char* mask : {"main", "grille"}) {
            const auto ours = times_.find(std::string("BM_RegionFromMask/") + mask);
            const auto qt = times_.find(std::string("BM_QRegionFromBitmap/") + mask);
            if (ours != times_.end() && qt != times_.end() && qt->second.real > 0 &&
                qt->second.cpu > 0) {
                std::printf(
                    "%s mask: RegionFromMask / QRegion(QBitmap) = %.2f (real time), %.2f (CPU "
                    "time)\n",
                    mask, ours->second.real / qt->second.real, ours->second.cpu / qt->second.cpu);
            }
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    static const QImage main = MainMask();
    static const QImage grille = GrilleMask();
    Verify(main);
    Verify(grille);
    benchmark::RegisterBenchmark("BM_RegionFromMask/main", BM_RegionFromMask, main);
    benchmark::RegisterBenchmark("BM_QRegionFromBitmap/main", BM_QRegionFromBitmap, main);
    benchmark::RegisterBenchmark("BM_RegionFromMask/grille", BM_RegionFromMask, grille);
    benchmark::RegisterBenchmark("BM_QRegionFromBitmap/grille", BM_QRegionFromBitmap, grille);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
