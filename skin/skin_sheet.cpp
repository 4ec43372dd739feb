#include "skin/skin_sheet.h"

#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <atomic>
#include <future>
#include <utility>

#include "skin/picture_file.h"

namespace qx::skin {

struct SkinSheet::State {
    Maker make;
    std::atomic<bool> claimed{false};
    std::promise<QImage> promise;
    std::shared_future<QImage> covered = promise.get_future().share();
};

QSize SheetSizeFor(QSize clientSize) {
    return {clientSize.width() + kSheetMargin, clientSize.height() + kSheetMargin};
}

QImage CoveredPart(const QImage& picture, QSize sheetSize) {
    const QSize size = picture.size().boundedTo(sheetSize);
    if (picture.isNull() || size.isEmpty()) {
        return {};
    }
    // An opaque picture in the sheet's format is what painting it over black gives: the decoded
    // buffer itself becomes the sheet, without a copy unless it must be clipped.
    if (picture.format() == kSheetFormat) {
        return size == picture.size() ? picture : picture.copy(QRect(QPoint(0, 0), size));
    }
    QImage covered(size, kSheetFormat);
    if (covered.isNull()) {
        return covered;
    }
    covered.fill(Qt::black);
    QPainter painter(&covered);
    painter.drawImage(0, 0, picture);
    return covered;
}

SkinSheet::SkinSheet(QSize size, const QImage& covered)
    : size_(size), state_(std::make_shared<State>()) {
    state_->claimed = true;
    state_->promise.set_value(CoveredPart(covered, size));
}

SkinSheet SkinSheet::Deferred(QSize size, Maker make) {
    SkinSheet sheet;
    sheet.size_ = size;
    sheet.state_ = std::make_shared<State>();
    sheet.state_->make = std::move(make);
    return sheet;
}

bool SkinSheet::MakeNow() const {
    if (!state_ || state_->claimed.exchange(true)) {
        return false;
    }
    QImage covered;
    try {
        covered = state_->make ? CoveredPart(state_->make(), size_) : QImage();
    } catch (...) {
        // Out of memory while making it: the sheet stays black.
        covered = QImage();
    }
    state_->make = nullptr;
    state_->promise.set_value(std::move(covered));
    return true;
}

const QImage& SkinSheet::Covered() const {
    static const QImage kNone;
    if (!state_) {
        return kNone;
    }
    MakeNow();
    return state_->covered.get();
}

bool SkinSheet::IsReady() const {
    return !state_ ||
           state_->covered.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

void SkinSheet::Draw(QPainter& painter, QPoint target, const QRect& source) const {
    const QRect inSheet = source & QRect(QPoint(0, 0), size_);
    if (inSheet.isEmpty()) {
        return;
    }
    const QImage& covered = Covered();
    const QRect inPicture = inSheet & covered.rect();
    const QPoint offset = target - source.topLeft();
    for (const QRect& blank : QRegion(inSheet).subtracted(QRegion(inPicture))) {
        painter.fillRect(blank.translated(offset), Qt::black);
    }
    if (!inPicture.isEmpty()) {
        painter.drawImage(inPicture.topLeft() + offset, covered, inPicture);
    }
}

QImage SkinSheet::ToImage() const {
    QImage image(size_, kSheetFormat);
    if (image.isNull()) {
        return image;
    }
    QPainter painter(&image);
    Draw(painter, QPoint(0, 0), image.rect());
    return image;
}

SkinSheet BuildSkinSheet(const QImage& image, QSize clientSize) {
    const QSize size = SheetSizeFor(clientSize);
    return {size, CoveredPart(image, size)};
}

SkinSheet BuildSkinSheet(const QImage& image, const QWidget& window) {
    return BuildSkinSheet(image, window.rect().size());
}

QImage SheetPictureFromFile(const QString& path, QSize clientSize) {
    return CoveredPart(DecodePictureFile(path), SheetSizeFor(clientSize));
}

SkinSheet BuildSkinSheetFromFile(const QString& path, QSize clientSize) {
    return {SheetSizeFor(clientSize), SheetPictureFromFile(path, clientSize)};
}

}  // namespace qx::skin
