// Skin sheets: one picture of a whole window in one button state, from which image buttons cut
// their faces at their own position.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace qx::skin {

// A sheet is larger than the window's client area by this much in each direction.
inline constexpr int kSheetMargin = 100;

// The pixel format of every sheet: opaque 32-bit, the format windows are painted in.
inline constexpr QImage::Format kSheetFormat = QImage::Format_RGB32;

// A sheet: an off-screen picture, black where no picture was drawn. Its pixels may be made
// later, on another thread (see SheetWorkers); whoever reads them first either makes them on the
// spot or waits for the thread already making them, so a reader never sees a half-made sheet.
// Copies share the same pixels. A default sheet has no pixels and draws nothing.
class SkinSheet {
  public:
    using Maker = std::function<QImage()>;

    SkinSheet() = default;
    explicit SkinSheet(QImage pixels);
    // A sheet whose pixels `make` produces, once, on the first thread that asks.
    static SkinSheet Deferred(Maker make);

    // The pixels, made now or waited for if they are not ready.
    [[nodiscard]] const QImage& Pixels() const;
    [[nodiscard]] QSize Size() const { return Pixels().size(); }
    [[nodiscard]] bool IsNull() const { return Pixels().isNull(); }
    // Whether the pixels exist already (reading them does not wait).
    [[nodiscard]] bool IsReady() const;
    // Makes the pixels on the calling thread unless another thread made or makes them; returns
    // whether this call made them.
    bool MakeNow() const;

  private:
    struct State;
    std::shared_ptr<State> state_;
};

// The size of a sheet for a window whose client area has `clientSize`.
QSize SheetSizeFor(QSize clientSize);

// Makes a sheet of (client width + 100) × (client height + 100) pixels with `image` drawn at
// (0, 0) at its natural size, clipped. A null image gives a blank sheet.
SkinSheet BuildSkinSheet(const QImage& image, QSize clientSize);
SkinSheet BuildSkinSheet(const QImage& image, const QWidget& window);

// The pixels of the sheet of the picture at `path`: the picture is decoded straight into the
// sheet where it can be. A file that cannot be decoded gives a blank sheet (state images never
// end the program). Safe on any thread.
QImage SheetPixelsFromFile(const QString& path, QSize clientSize);
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
