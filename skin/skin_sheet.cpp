#include "skin/skin_sheet.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <future>
#include <utility>

#include "skin/picture_file.h"

namespace qx::skin {

struct SkinSheet::State {
    Maker make;
    std::atomic<bool> claimed{false};
    std::promise<QImage> promise;
    std::shared_future<QImage> pixels = promise.get_future().share();
};

namespace {

// Opaque black in the sheet format: what the sheet shows where no picture was drawn.
constexpr QRgb kBlank = 0xFF000000;

void FillRow(QImage& sheet, int y, int fromX) {
    auto* row = reinterpret_cast<QRgb*>(sheet.scanLine(y));
    std::fill(row + fromX, row + sheet.width(), kBlank);
}

// Blackens the sheet everywhere outside the rectangle (0, 0, covered).
void BlankOutside(QImage& sheet, QSize covered) {
    const int width = std::clamp(covered.width(), 0, sheet.width());
    const int height = std::clamp(covered.height(), 0, sheet.height());
    for (int y = 0; y < sheet.height(); ++y) {
        FillRow(sheet, y, y < height ? width : 0);
    }
}

// Draws `picture` at (0, 0), clipped, over whatever the sheet held; the rest becomes black. An
// opaque picture in the sheet's own format is copied row by row (what painting it would do);
// anything else is painted over black as before.
void DrawPicture(QImage& sheet, const QImage& picture) {
    if (picture.isNull() || picture.format() != kSheetFormat) {
        sheet.fill(kBlank);
        if (!picture.isNull()) {
            QPainter painter(&sheet);
            painter.drawImage(0, 0, picture);
        }
        return;
    }
    const int width = std::min(picture.width(), sheet.width());
    const int height = std::min(picture.height(), sheet.height());
    for (int y = 0; y < height; ++y) {
        std::copy_n(reinterpret_cast<const QRgb*>(picture.constScanLine(y)), width,
                    reinterpret_cast<QRgb*>(sheet.scanLine(y)));
    }
    BlankOutside(sheet, QSize(width, height));
}

// Decodes `bytes` straight into the top-left corner of the sheet when the picture fits and
// decodes to the sheet's format, which saves a full-size buffer and its copy. False when that
// cannot be done; the sheet may then hold anything.
bool DecodeInto(QImage& sheet, const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (reader.imageFormat() != kSheetFormat || size.isEmpty() || size.width() > sheet.width() ||
        size.height() > sheet.height()) {
        return false;
    }
    QImage corner(sheet.bits(), size.width(), size.height(), sheet.bytesPerLine(), kSheetFormat);
    // The reader writes into `corner` only when it decodes at that size and format and applies
    // no transformation; otherwise it hands back an image of its own.
    if (!reader.read(&corner) || corner.constBits() != sheet.constBits() || corner.size() != size) {
        return false;
    }
    BlankOutside(sheet, size);
    return true;
}

}  // namespace

SkinSheet::SkinSheet(QImage pixels) : state_(std::make_shared<State>()) {
    state_->claimed = true;
    state_->promise.set_value(std::move(pixels));
}

SkinSheet SkinSheet::Deferred(Maker make) {
    SkinSheet sheet;
    sheet.state_ = std::make_shared<State>();
    sheet.state_->make = std::move(make);
    return sheet;
}

bool SkinSheet::MakeNow() const {
    if (!state_ || state_->claimed.exchange(true)) {
        return false;
    }
    QImage pixels;
    try {
        pixels = state_->make ? state_->make() : QImage();
    } catch (...) {
        // Out of memory while making it: the sheet stays without pixels and draws nothing.
        pixels = QImage();
    }
    state_->make = nullptr;
    state_->promise.set_value(std::move(pixels));
    return true;
}

const QImage& SkinSheet::Pixels() const {
    static const QImage kNone;
    if (!state_) {
        return kNone;
    }
    MakeNow();
    return state_->pixels.get();
}

bool SkinSheet::IsReady() const {
    return !state_ || state_->pixels.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

QSize SheetSizeFor(QSize clientSize) {
    return {clientSize.width() + kSheetMargin, clientSize.height() + kSheetMargin};
}

SkinSheet BuildSkinSheet(const QImage& image, QSize clientSize) {
    QImage sheet(SheetSizeFor(clientSize), kSheetFormat);
    if (!sheet.isNull()) {
        DrawPicture(sheet, image);
    }
    return SkinSheet(std::move(sheet));
}

SkinSheet BuildSkinSheet(const QImage& image, const QWidget& window) {
    return BuildSkinSheet(image, window.rect().size());
}

QImage SheetPixelsFromFile(const QString& path, QSize clientSize) {
    QImage sheet(SheetSizeFor(clientSize), kSheetFormat);
    if (sheet.isNull()) {
        return sheet;
    }
    const QByteArray bytes = ReadPictureBytes(path);
    if (!bytes.isEmpty() && DecodeInto(sheet, bytes)) {
        return sheet;
    }
    DrawPicture(sheet, DecodePictureBytes(bytes));
    return sheet;
}

SkinSheet BuildSkinSheetFromFile(const QString& path, QSize clientSize) {
    return SkinSheet(SheetPixelsFromFile(path, clientSize));
}

}  // namespace qx::skin
