#include "skin/base_dialog.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <future>
#include <optional>
#include <utility>

#include "skin/picture_file.h"
#include "skin/region_from_mask.h"

namespace qx::skin {

CBaseDialog::CBaseDialog(int templateId, QWidget* parent, std::string iniPath,
                         std::string skinFolder)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      templateId_(templateId),
      iniPath_(std::move(iniPath)),
      skinFolder_(std::move(skinFolder)) {
    // The background picture is the only paint under the controls; it is never erased.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

CBaseDialog::~CBaseDialog() = default;

void CBaseDialog::EnsureInitialised() {
    if (initialised_) {
        return;
    }
    initialised_ = true;
    OnInitDialog();
}

void CBaseDialog::setVisible(bool visible) {
    if (visible) {
        EnsureInitialised();
    }
    QDialog::setVisible(visible);
}

void CBaseDialog::OnInitDialog() {
    ApplySkin();
}

QString CBaseDialog::SkinPicturePath(const std::string& name) const {
    return QString::fromStdString(skinFolder_ + name);
}

namespace {

// The outline a mask picture gives, and the picture's size (the picture itself is not kept).
struct CutOutline {
    std::optional<QRegion> region;
    QSize maskSize;
    bool decoded = false;
};

CutOutline CutOutlineFrom(const QImage& mask) {
    return {RegionFromMask(mask), mask.size(), !mask.isNull()};
}

}  // namespace

CBaseDialog::PictureNames CBaseDialog::ReadPictureNames() {
    ini_.SetPath(iniPath_);
    std::string main = ini_.GetString(kScreenSection, kScreenMainKey, "").value_or("");
    std::string mask = ini_.GetString(kScreenSection, kScreenMaskKey, main).value_or("");
    return {std::move(main), std::move(mask)};
}

std::vector<QString> CBaseDialog::SkinPicturePaths() {
    const PictureNames names = ReadPictureNames();
    std::vector<QString> paths{SkinPicturePath(names.main)};
    if (names.mask != names.main) {
        paths.push_back(SkinPicturePath(names.mask));
    }
    return paths;
}

void CBaseDialog::ApplySkin() {
    applyingSkin_ = true;
    const auto [main, mask] = ReadPictureNames();
    const std::string pictures = main + '|' + mask;
    if (keepSkin_ && !background_.isNull() && pictures == loadedPictures_) {
        resize(background_.size());
        raise();
        applyingSkin_ = false;
        return;
    }
    loadedPictures_ = pictures;
    // A separate mask is decoded and turned into the outline on another thread meanwhile.
    std::future<CutOutline> outline;
    if (mask != main) {
        outline = std::async(std::launch::async, [path = SkinPicturePath(mask)] {
            return CutOutlineFrom(DecodePictureFile(path));
        });
    }
    QImage background = LoadPictureFile(SkinPicturePath(main));
    const CutOutline cut = outline.valid() ? outline.get() : CutOutlineFrom(background);
    if (!cut.decoded) {
        EndProgramForSkin();
    }
    if (!background.isNull()) {
        resize(background.size());
    }
    // The pixmap takes the decoded buffer over instead of copying it.
    background_ = background.isNull() ? QPixmap() : QPixmap::fromImage(std::move(background));
    raise();
    if (cut.region) {
        setMask(*cut.region);
    } else {
        clearMask();
    }
    maskSize_ = cut.maskSize;
    update();
    applyingSkin_ = false;
}

void CBaseDialog::ReleaseImages() {
    if (keepSkin_) {
        return;
    }
    background_ = QPixmap();
    maskSize_ = QSize();
}

void CBaseDialog::OnOK() {
    ReleaseImages();
    QDialog::accept();
}

void CBaseDialog::OnCancel() {
    ReleaseImages();
    QDialog::reject();
}

void CBaseDialog::done(int result) {
    // The next showing applies the skin again.
    initialised_ = false;
    dragging_ = false;
    QDialog::done(result);
}

void CBaseDialog::paintEvent(QPaintEvent* /*event*/) {
    if (background_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

void CBaseDialog::mousePressEvent(QMouseEvent* event) {
    // Presses on a control never get here; a press on the background moves the window. On X11
    // the window follows the mouse itself: a system move handed to an X server without a window
    // manager is never finished, and every later click in the window is lost. Wayland lets only
    // the compositor move a window.
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    QWindow* handle = windowHandle();
    if (handle != nullptr && QGuiApplication::platformName() == QStringLiteral("wayland") &&
        handle->startSystemMove()) {
        return;
    }
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton) != 0) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
    }
    QDialog::mouseReleaseEvent(event);
}

}  // namespace qx::skin
