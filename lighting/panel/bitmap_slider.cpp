#include "lighting/panel/bitmap_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace qx::lighting::panel {
namespace {

// One wheel notch, in the units of QWheelEvent::angleDelta.
constexpr int kWheelNotch = 120;

int Clamped(int position) {
    return std::clamp(position, kSliderFirstPosition, kSliderLastPosition);
}

}  // namespace

int SliderPositionAt(int x, int width) {
    if (width <= 0) {
        return kSliderFirstPosition;
    }
    const long long segment = static_cast<long long>(x) * kSliderPositionCount / width;
    return static_cast<int>(
        std::clamp<long long>(segment, kSliderFirstPosition, kSliderLastPosition));
}

BitmapSlider::BitmapSlider(int controlId, TargetSource target, QWidget* parent)
    : QWidget(parent), controlId_(controlId), target_(std::move(target)) {
    setFocusPolicy(Qt::WheelFocus);
}

void BitmapSlider::SetChannels(Channels channels) {
    channels_ = std::move(channels);
    setAccessibleDescription(PictureName());
    update();
}

void BitmapSlider::SetPosition(int position) {
    const int clamped = Clamped(position);
    if (clamped == position_) {
        return;
    }
    position_ = clamped;
    setAccessibleDescription(PictureName());
    update();
}

const QString& BitmapSlider::PictureName() const {
    return channels_[static_cast<std::size_t>(position_ - kSliderFirstPosition)].name;
}

void BitmapSlider::MoveByUser(int position) {
    const int clamped = Clamped(position);
    if (clamped == position_) {
        return;
    }
    SetPosition(clamped);
    const auto target = target_ ? target_() : nullptr;
    if (target) {
        target->PostWindowMessage(kSliderMessage, static_cast<platform::MessageWParam>(controlId_),
                                  static_cast<platform::MessageLParam>(position_));
    }
}

void BitmapSlider::paintEvent(QPaintEvent* /*event*/) {
    const QPixmap& picture =
        channels_[static_cast<std::size_t>(position_ - kSliderFirstPosition)].picture;
    if (picture.isNull()) {
        return;  // a picture the skin lacks leaves the skin's own ground showing
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture);
}

void BitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    MoveByUser(SliderPositionAt(event->position().toPoint().x(), width()));
}

void BitmapSlider::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) == 0) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    MoveByUser(SliderPositionAt(event->position().toPoint().x(), width()));
}

void BitmapSlider::wheelEvent(QWheelEvent* event) {
    // Touch pads deliver fractions of a notch: they add up until a whole step is reached.
    wheelRemainder_ += event->angleDelta().y();
    const int steps = wheelRemainder_ / kWheelNotch;
    wheelRemainder_ -= steps * kWheelNotch;
    if (steps != 0) {
        MoveByUser(position_ + steps);
    }
    event->accept();
}

void BitmapSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
        case Qt::Key_PageDown:
            MoveByUser(position_ - 1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_PageUp:
            MoveByUser(position_ + 1);
            break;
        case Qt::Key_Home:
            MoveByUser(kSliderFirstPosition);
            break;
        case Qt::Key_End:
            MoveByUser(kSliderLastPosition);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace qx::lighting::panel
