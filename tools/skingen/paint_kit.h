// The drawing of the default skin: the window ground, decoration, and every look of a control in
// every appearance. Everything is drawn with antialiasing on the palette of skin/skin_palette.h.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>

#include "layout.h"

namespace qx::skingen {

QFont SkinFont(int pixelSize, bool bold);

// The window's ground, title bar and rounded outline colour.
void PaintWindowGround(QPainter& painter, QSize size);
void PaintDecor(QPainter& painter, const Decor& decor);
// `altCaption` selects the control's second label (the title of the macro-only pictures).
void PaintControl(QPainter& painter, const Control& control, Appearance appearance,
                  bool altCaption = false);
// One face of the flip arrows.
void PaintArrowFace(QPainter& painter, QRect rect, bool pointsUp, bool highlighted);
void PaintIcon(QPainter& painter, QRectF rect, Icon icon, const QColor& colour, qreal stroke = 1.6);

}  // namespace qx::skingen
