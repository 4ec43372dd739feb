#include "skin/picture_file.h"

#include <QFile>
#include <cstdlib>
#include <optional>
#include <utility>

#include "skin/picture_prefetch.h"

namespace qx::skin {
namespace {

SkinFatalHandler& Handler() {
    static SkinFatalHandler handler;
    return handler;
}

}  // namespace

void SetSkinFatalHandler(SkinFatalHandler handler) {
    Handler() = std::move(handler);
}

void EndProgramForSkin() {
    if (Handler()) {
        Handler()();
        return;
    }
    std::_Exit(0);
}

QByteArray ReadPictureBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QImage DecodePictureBytes(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return {};
    }
    // The format is taken from the content, not from the file name.
    return QImage::fromData(bytes);
}

QImage DecodePictureFile(const QString& path) {
    if (std::optional<QImage> prefetched = TakePrefetchedPicture(path)) {
        return std::move(*prefetched);
    }
    return DecodePictureBytes(ReadPictureBytes(path));
}

QImage LoadPictureFile(const QString& path) {
    QImage image = DecodePictureFile(path);
    if (image.isNull()) {
        EndProgramForSkin();
    }
    return image;
}

}  // namespace qx::skin
