// Skin sheets: one picture of a whole window in one button state, from which image buttons cut
// their faces at their own position.
#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class QPainter;
class QRect;
class QWidget;

namespace qx::skin {

// A sheet is larger than the window's client area by this much in each direction.
inline constexpr int kSheetMargin = 100;

// The pixel format of every sheet: opaque 32-bit, the format windows are painted in.
inline constexpr QImage::Format kSheetFormat = QImage::Format_RGB32;

// A sheet: an off-screen surface of (client + 100) squared with a picture at (0, 0), black
// wherever the picture does not reach. Only the part the picture covers is stored; the black rest
// is drawn, not kept. The picture may be made later, on another thread (see SheetWorkers):
// whoever needs it first either makes it on the spot or waits for the thread already making it,
// so a reader never sees a half-made sheet. Copies share the same pixels. A default sheet has no
// size and draws nothing.
class SkinSheet {
  public:
    // Makes the covered part of a sheet: an image in kSheetFormat no larger than the sheet.
    using Maker = std::function<QImage()>;

    SkinSheet() = default;
    // `covered` is clipped to the sheet; a null image leaves the whole sheet black.
    SkinSheet(QSize size, const QImage& covered);
    // A sheet whose covered part `make` produces, once, on the first thread that asks.
    static SkinSheet Deferred(QSize size, Maker make);

    [[nodiscard]] QSize Size() const { return size_; }
    // The covered part, made now or waited for if it is not ready.
    [[nodiscard]] const QImage& Covered() const;
    // Draws the `source` rectangle of the sheet with its top-left corner at `target`; what lies
    // outside the sheet is not drawn.
    void Draw(QPainter& painter, QPoint target, const QRect& source) const;
    // The whole sheet as one image.
    [[nodiscard]] QImage ToImage() const;
    // Whether the covered part exists already (reading it does not wait).
    [[nodiscard]] bool IsReady() const;
    // Makes the covered part on the calling thread unless another thread made or makes it;
    // returns whether this call made it.
    bool MakeNow() const;

  private:
    struct State;
    QSize size_;
    std::shared_ptr<State> state_;
};

// The size of a sheet for a window whose client area has `clientSize`.
QSize SheetSizeFor(QSize clientSize);

// The covered part of a sheet of `sheetSize` showing `picture`: the picture clipped to the
// sheet, in the sheet's format, as painting it over black gives. Null for a null picture.
QImage CoveredPart(const QImage& picture, QSize sheetSize);

// Makes a sheet of (client width + 100) × (client height + 100) pixels with `image` drawn at
// (0, 0) at its natural size, clipped. A null image gives a blank sheet.
SkinSheet BuildSkinSheet(const QImage& image, QSize clientSize);
SkinSheet BuildSkinSheet(const QImage& image, const QWidget& window);

// The covered part of the sheet of the picture at `path` for a window of `clientSize`. A file
// that cannot be decoded gives a blank sheet (state images never end the program). Safe on any
// thread.
QImage SheetPictureFromFile(const QString& path, QSize clientSize);
// The same, as a finished sheet.
SkinSheet BuildSkinSheetFromFile(const QString& path, QSize clientSize);

// The five sheets an image button draws from, by state. A null pointer is "none": that state
// draws nothing. The sheets are owned by the window that built them.
struct SheetSet {
    const SkinSheet* normal = nullptr;
    const SkinSheet* over = nullptr;
    const SkinSheet* down = nullptr;
    const SkinSheet* disable = nullptr;
    const SkinSheet* marked = nullptr;
};

}  // namespace qx::skin
