// Helpers shared by the skin tests: temporary skin folders and pictures whose pixels say where
// they are.
#pragma once

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <string>

namespace qx::skin::test {

// A picture whose pixel (x, y) encodes x and y, so a copied pixel tells where it came from.
inline QRgb CodedPixel(int x, int y) {
    return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) & 0x0F) | (((y >> 8) & 0x0F) << 4));
}

inline QImage CodedImage(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixel(x, y, CodedPixel(x, y));
        }
    }
    return image;
}

inline QImage Filled(QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A temporary skin folder (path ending in '/').
class SkinFolder {
  public:
    [[nodiscard]] std::string Path() const { return dir_.path().toStdString() + "/"; }
    [[nodiscard]] std::string File(const std::string& name) const { return Path() + name; }

    void WriteText(const std::string& name, const std::string& text) const {
        QFile file(QString::fromStdString(File(name)));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text.data(), static_cast<qint64>(text.size()));
    }

    void WriteImage(const std::string& name, const QImage& image,
                    const char* format = "BMP") const {
        image.save(QString::fromStdString(File(name)), format);
    }

  private:
    QTemporaryDir dir_;
};

}  // namespace qx::skin::test
