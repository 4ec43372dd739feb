#include "skin/region_from_mask.h"

#include <algorithm>
#include <vector>

namespace qx::skin {
namespace {

constexpr int kMaxByte = 255;

// The accepted range of each colour byte, computed once per mask.
struct KeyRange {
    int redLow, redHigh, greenLow, greenHigh, blueLow, blueHigh;

    KeyRange(QRgb key, int tolerance)
        : redLow(qRed(key)),
          redHigh(std::min(qRed(key) + tolerance, kMaxByte)),
          greenLow(qGreen(key)),
          greenHigh(std::min(qGreen(key) + tolerance, kMaxByte)),
          blueLow(qBlue(key)),
          blueHigh(std::min(qBlue(key) + tolerance, kMaxByte)) {}

    [[nodiscard]] bool Contains(QRgb pixel) const {
        const int red = qRed(pixel);
        const int green = qGreen(pixel);
        const int blue = qBlue(pixel);
        return red >= redLow && red <= redHigh && green >= greenLow && green <= greenHigh &&
               blue >= blueLow && blue <= blueHigh;
    }
};

// Collects one-pixel-high rectangles and merges them into the result a batch at a time.
class RunCollector {
  public:
    RunCollector() { batch_.reserve(kRegionBatchRects); }

    void Add(int left, int right, int y) {
        batch_.emplace_back(left, y, right - left, 1);
        if (static_cast<int>(batch_.size()) == kRegionBatchRects) {
            Flush();
        }
    }

    std::optional<QRegion> Finish() {
        Flush();
        if (!any_) {
            return std::nullopt;
        }
        return result_;
    }

  private:
    void Flush() {
        if (batch_.empty()) {
            return;
        }
        // The runs arrive sorted by row, then column, never touching: exactly the banded form
        // QRegion::setRects expects.
        QRegion part;
        part.setRects(batch_.data(), static_cast<int>(batch_.size()));
        result_ = any_ ? result_.united(part) : part;
        any_ = true;
        batch_.clear();
    }

    std::vector<QRect> batch_;
    QRegion result_;
    bool any_ = false;
};

}  // namespace

bool IsMaskPixelTransparent(QRgb pixel, QRgb keyColour, int tolerance) {
    return KeyRange(keyColour, std::max(tolerance, 0)).Contains(pixel);
}

namespace {

// Adds the runs of non-transparent pixels of every row.
template <typename IsTransparent>
void CollectRuns(const QImage& pixels, IsTransparent isTransparent, RunCollector& runs) {
    const int width = pixels.width();
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && isTransparent(row[x])) {
                ++x;
            }
            const int start = x;
            while (x < width && !isTransparent(row[x])) {
                ++x;
            }
            if (x > start) {
                runs.Add(start, x, y);
            }
        }
    }
}

}  // namespace

std::optional<QRegion> RegionFromMask(const QImage& mask, QRgb keyColour, int tolerance) {
    if (mask.isNull()) {
        return std::nullopt;
    }
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    RunCollector runs;
    if (tolerance <= 0) {
        // Exactly the key colour: one comparison of the three colour bytes.
        constexpr QRgb kColourBytes = 0x00FFFFFF;
        const QRgb key = keyColour & kColourBytes;
        CollectRuns(
            pixels, [key](QRgb pixel) { return (pixel & kColourBytes) == key; }, runs);
    } else {
        const KeyRange transparent(keyColour, tolerance);
        CollectRuns(
            pixels, [&transparent](QRgb pixel) { return transparent.Contains(pixel); }, runs);
    }
    return runs.Finish();
}

}  // namespace qx::skin
