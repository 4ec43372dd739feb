#include "keyassign/window/drop_down_list.h"

#include <QPainter>
#include <QPolygonF>

#include "skin/skin_palette.h"

namespace qx::keyassign::window {
namespace {

constexpr qreal kArrowWidth = 9;
constexpr qreal kArrowHeight = 5;
constexpr qreal kArrowRightMargin = 10;
constexpr QRgb kArrowDisabled = 0xFF3A4350;

}  // namespace

void DropDownList::paintEvent(QPaintEvent* event) {
    QComboBox::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(isEnabled() ? skin::palette::kTextDim : kArrowDisabled));
    const qreal right = width() - kArrowRightMargin;
    const qreal top = (height() - kArrowHeight) / 2;
    painter.drawPolygon(QPolygonF{QPointF(right - kArrowWidth, top), QPointF(right, top),
                                  QPointF(right - kArrowWidth / 2, top + kArrowHeight)});
}

}  // namespace qx::keyassign::window
