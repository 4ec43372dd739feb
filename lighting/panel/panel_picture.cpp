#include "lighting/panel/panel_picture.h"

#include <QMouseEvent>
#include <QPainter>

namespace qx::lighting::panel {

PanelPicture::PanelPicture(int controlId, QWidget* parent)
    : QWidget(parent), controlId_(controlId) {}

void PanelPicture::ShowPicture(const QString& name, const QPixmap& picture) {
    if (name == name_ && picture.cacheKey() == picture_.cacheKey()) {
        return;
    }
    name_ = name;
    picture_ = picture;
    setAccessibleDescription(name_);
    update();
}

void PanelPicture::paintEvent(QPaintEvent* /*event*/) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
}

void PanelPicture::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

// A click is a press and a release of the left button on the picture; a second click of a
// double-click arrives as a press of its own, so two quick clicks are two clicks.
void PanelPicture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        emit clicked(controlId_);
    }
}

}  // namespace qx::lighting::panel
