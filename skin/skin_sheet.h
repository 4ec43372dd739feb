// Skin sheets: one picture of a whole window in one button state, from which image buttons cut
// their faces at their own position.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

class QWidget;

namespace qx::skin {

// A sheet is larger than the window's client area by this much in each direction.
inline constexpr int kSheetMargin = 100;

// A sheet: an off-screen bitmap, blank (black) where no picture was drawn.
using SkinSheet = QPixmap;

// Makes a sheet of (client width + 100) × (client height + 100) pixels with `image` drawn at
// (0, 0) at its natural size, clipped. A null image gives a blank sheet.
SkinSheet BuildSkinSheet(const QImage& image, QSize clientSize);
SkinSheet BuildSkinSheet(const QImage& image, const QWidget& window);

// Decodes the state image at `path` and builds its sheet; a file that cannot be decoded gives a
// blank sheet (state images never end the program).
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
