#include "skin/skin_sheet.h"

#include <QPainter>
#include <QWidget>

#include "skin/picture_file.h"

namespace qx::skin {

SkinSheet BuildSkinSheet(const QImage& image, QSize clientSize) {
    const QSize size(clientSize.width() + kSheetMargin, clientSize.height() + kSheetMargin);
    SkinSheet sheet(size);
    sheet.fill(Qt::black);
    if (!image.isNull()) {
        QPainter painter(&sheet);
        painter.drawImage(0, 0, image);
    }
    return sheet;
}

SkinSheet BuildSkinSheet(const QImage& image, const QWidget& window) {
    return BuildSkinSheet(image, window.rect().size());
}

SkinSheet BuildSkinSheetFromFile(const QString& path, QSize clientSize) {
    return BuildSkinSheet(DecodePictureFile(path), clientSize);
}

}  // namespace qx::skin
