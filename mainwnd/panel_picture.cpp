#include "mainwnd/panel_picture.h"

#include <QMouseEvent>

namespace qx::mainwnd {

PanelPicture::PanelPicture(QWidget* parent) : QLabel(parent) {
    setScaledContents(false);
}

void PanelPicture::ShowPicture(const QString& name, const QPixmap& picture) {
    pictureName_ = name;
    setPixmap(picture);
}

void PanelPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

}  // namespace qx::mainwnd
