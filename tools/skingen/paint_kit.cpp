#include "paint_kit.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "skin/font_faces.h"
#include "skin/skin_palette.h"

namespace qx::skingen {
namespace {

namespace pal = skin::palette;

QColor C(QRgb rgb) {
    return QColor::fromRgba(rgb);
}
QColor Alpha(QRgb rgb, int alpha) {
    QColor colour = C(rgb);
    colour.setAlpha(alpha);
    return colour;
}

constexpr QRgb kCapTop = 0xFF2C323B;
constexpr QRgb kCapBottom = 0xFF1D2128;
constexpr QRgb kCapFaceTop = 0xFF353C47;
constexpr QRgb kCapFaceBottom = 0xFF272D35;
constexpr QRgb kCapEdge = 0xFF3A424E;
constexpr QRgb kLegend = 0xFFEAF0F6;
constexpr QRgb kLegendDim = 0xFF8B95A2;
constexpr QRgb kShadow = 0xFF040506;
constexpr QRgb kHoverGlow = 0xFF19D3FF;
constexpr QRgb kAccentTop = 0xFF3FE0FF;
constexpr QRgb kAccentBottom = 0xFF0DA6CF;
constexpr QRgb kAccentFaceTop = 0xFF6BE9FF;
constexpr QRgb kAccentFaceBottom = 0xFF21BFE6;
constexpr QRgb kDisabledBody = 0xFF171A1F;
constexpr QRgb kDisabledEdge = 0xFF252A31;
constexpr QRgb kDisabledText = 0xFF4F5864;
constexpr QRgb kDanger = 0xFFE5484D;

// `a` with a fraction `amount` of `b` mixed in.
QColor Mix(const QColor& a, const QColor& b, qreal amount) {
    auto channel = [amount](int from, int to) {
        return static_cast<int>(std::lround(from + (to - from) * amount));
    };
    return {channel(a.red(), b.red()), channel(a.green(), b.green()), channel(a.blue(), b.blue())};
}

QLinearGradient Vertical(const QRectF& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QRectF Inner(const QRect& rect) {
    return QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
}

void RoundRect(QPainter& painter, const QRectF& rect, qreal radius, const QBrush& fill,
               const QColor& edge, qreal edgeWidth = 1.0) {
    painter.setPen(edge.alpha() == 0 ? QPen(Qt::NoPen) : QPen(edge, edgeWidth));
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, radius, radius);
}

// A soft halo around a rounded rectangle.
void Glow(QPainter& painter, const QRectF& rect, qreal radius, QRgb colour, int strength) {
    for (int ring = 3; ring >= 1; --ring) {
        painter.setPen(QPen(Alpha(colour, strength / (ring + 1)), ring * 1.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(rect.adjusted(-ring * 0.6, -ring * 0.6, ring * 0.6, ring * 0.6),
                                radius + ring * 0.6, radius + ring * 0.6);
    }
}

int LegendPixelSize(const QString& label, int capWidth) {
    if (label.size() <= 1) {
        return 15;
    }
    if (label.size() <= 3) {
        return 12;
    }
    return capWidth >= 80 ? 11 : 10;
}

void DrawLegend(QPainter& painter, const QRectF& face, const Control& control, const QColor& ink,
                const QColor& subInk) {
    if (control.subLabel.isEmpty()) {
        painter.setFont(SkinFont(LegendPixelSize(control.label, control.rect.width()), true));
        painter.setPen(ink);
        painter.drawText(face, Qt::AlignCenter, control.label);
        return;
    }
    // Two legends: the shifted one above, the base one below.
    const bool wordSub = control.subLabel.size() > 1;
    painter.setFont(SkinFont(wordSub ? 8 : 11, !wordSub));
    painter.setPen(subInk);
    painter.drawText(face.adjusted(0, 1, 0, -face.height() / 2 + 1), Qt::AlignCenter,
                     control.subLabel);
    painter.setFont(SkinFont(13, true));
    painter.setPen(ink);
    painter.drawText(face.adjusted(0, face.height() / 2 - 3, 0, -1), Qt::AlignCenter,
                     control.label);
}

void PaintKeyCap(QPainter& painter, const Control& control, Appearance appearance) {
    const QRectF body = Inner(control.rect);
    const qreal radius = 5;
    // Drop shadow under the cap.
    RoundRect(painter, body.translated(0, 1.5), radius, C(kShadow), Qt::transparent);
    QColor top = C(kCapTop);
    QColor bottom = C(kCapBottom);
    QColor faceTop = C(kCapFaceTop);
    QColor faceBottom = C(kCapFaceBottom);
    QColor edge = C(kCapEdge);
    QColor ink = C(kLegend);
    QColor subInk = C(kLegendDim);
    QRectF face = body.adjusted(3.5, 2.5, -3.5, -5.5);
    switch (appearance) {
        case Appearance::Hover:
            faceTop = Mix(faceTop.lighter(118), C(pal::kAccent), 0.16);
            faceBottom = Mix(faceBottom.lighter(112), C(pal::kAccent), 0.08);
            edge = C(pal::kAccent);
            ink = QColor(255, 255, 255);
            subInk = C(pal::kAccent);
            break;
        case Appearance::Pressed:
            top = C(0xFF171A20);
            bottom = C(0xFF14171C);
            faceTop = C(0xFF1F242B);
            faceBottom = C(0xFF232830);
            edge = C(pal::kAccentDeep);
            ink = C(pal::kAccent);
            subInk = C(pal::kAccentDeep);
            face = body.adjusted(3.5, 4, -3.5, -4);
            break;
        case Appearance::Accent:
            top = C(kAccentTop);
            bottom = C(kAccentBottom);
            faceTop = C(kAccentFaceTop);
            faceBottom = C(kAccentFaceBottom);
            edge = C(0xFF9BF0FF);
            ink = C(pal::kAccentInk);
            subInk = C(0xFF0A4A5C);
            break;
        case Appearance::Disabled:
            top = bottom = C(kDisabledBody);
            faceTop = faceBottom = C(0xFF1B1F25);
            edge = C(kDisabledEdge);
            ink = subInk = C(kDisabledText);
            break;
        case Appearance::Lit:
            ink = C(pal::kAccent);
            subInk = C(pal::kAccentDeep);
            break;
        case Appearance::Normal:
            break;
    }
    if (appearance == Appearance::Hover) {
        Glow(painter, body, radius, kHoverGlow, 150);
    }
    RoundRect(painter, body, radius, Vertical(body, top, bottom), edge);
    RoundRect(painter, face, radius - 1, Vertical(face, faceTop, faceBottom),
              Alpha(appearance == Appearance::Accent ? 0xFFFFFFFF : 0xFF4A5360, 70));
    if (control.look == Look::GKey) {
        // G keys carry an accent tick on their left edge.
        const QColor tick = appearance == Appearance::Accent ? C(pal::kAccentInk) : C(pal::kAccent);
        painter.setPen(Qt::NoPen);
        painter.setBrush(tick);
        painter.drawRoundedRect(QRectF(face.left() + 3, face.center().y() - 6, 2.5, 12), 1, 1);
    }
    if (appearance == Appearance::Lit) {
        painter.setPen(QPen(Alpha(pal::kAccent, 60), 4));
        painter.setFont(SkinFont(LegendPixelSize(control.label, control.rect.width()), true));
    }
    DrawLegend(painter, face, control, ink, subInk);
}

struct BodyColours {
    QColor top;
    QColor bottom;
    QColor edge;
    QColor ink;
};

BodyColours BodyColoursOf(Look look, Appearance appearance) {
    const bool accent = look == Look::AccentBody;
    BodyColours colours{accent ? C(0xFF0F9CC2) : C(0xFF262C35),
                        accent ? C(0xFF0A7A99) : C(0xFF1B2027),
                        accent ? C(0xFF2CC7EE) : C(0xFF353D48), C(kLegend)};
    switch (appearance) {
        case Appearance::Hover:
            colours.top = colours.top.lighter(125);
            colours.bottom = colours.bottom.lighter(125);
            colours.edge = C(pal::kAccent);
            colours.ink = QColor(255, 255, 255);
            break;
        case Appearance::Pressed:
            colours.top = accent ? C(0xFF086A85) : C(0xFF14171C);
            colours.bottom = accent ? C(0xFF0A7A99) : C(0xFF1A1E24);
            colours.edge = accent ? C(0xFF19D3FF) : C(pal::kAccentDeep);
            colours.ink = accent ? C(0xFFBDEFFF) : C(0xFF9FA8B3);
            break;
        case Appearance::Accent:
            colours.top = C(0xFF12B3DC);
            colours.bottom = C(0xFF0A86A8);
            colours.edge = C(pal::kAccent);
            colours.ink = QColor(255, 255, 255);
            break;
        case Appearance::Disabled:
            colours.top = colours.bottom = C(kDisabledBody);
            colours.edge = C(kDisabledEdge);
            colours.ink = C(kDisabledText);
            break;
        case Appearance::Normal:
        case Appearance::Lit:
            break;
    }
    return colours;
}

void PaintBody(QPainter& painter, const Control& control, Appearance appearance) {
    const QRectF body = Inner(control.rect);
    const qreal radius = control.look == Look::Segment && control.rect.height() < 30 ? 4 : 6;
    const BodyColours colours = BodyColoursOf(control.look, appearance);
    RoundRect(painter, body.translated(0, 1), radius, C(kShadow), Qt::transparent);
    if (appearance == Appearance::Hover || appearance == Appearance::Accent) {
        Glow(painter, body, radius, kHoverGlow, appearance == Appearance::Accent ? 120 : 80);
    }
    RoundRect(painter, body, radius, Vertical(body, colours.top, colours.bottom), colours.edge);
    // A fine highlight along the top edge gives the button its bevel.
    if (appearance != Appearance::Pressed && appearance != Appearance::Disabled) {
        painter.setPen(QPen(Alpha(0xFFFFFFFF, 28), 1));
        painter.drawLine(QPointF(body.left() + radius, body.top() + 1.5),
                         QPointF(body.right() - radius, body.top() + 1.5));
    }
    if (control.look == Look::Segment && appearance == Appearance::Accent) {
        // The chosen one of a group: a bright bar at its foot.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 200));
        painter.drawRoundedRect(QRectF(body.center().x() - 10, body.bottom() - 4, 20, 2), 1, 1);
    }
    if (!control.label.isEmpty() || control.icon != Icon::None) {
        const QRectF inner = body.adjusted(6, 0, -6, appearance == Appearance::Pressed ? 1 : 0);
        painter.setFont(SkinFont(control.rect.height() < 30 ? 11 : 12, true));
        const qreal textWidth =
            control.label.isEmpty()
                ? 0
                : QFontMetricsF(painter.font()).horizontalAdvance(control.label);
        const qreal iconSize = control.icon == Icon::None ? 0 : 16;
        const qreal gap = iconSize > 0 && textWidth > 0 ? 7 : 0;
        const qreal total = iconSize + gap + textWidth;
        qreal x = inner.center().x() - total / 2;
        if (iconSize > 0) {
            PaintIcon(painter, QRectF(x, inner.center().y() - iconSize / 2, iconSize, iconSize),
                      control.icon,
                      appearance == Appearance::Disabled ? colours.ink
                      : control.look == Look::AccentBody
                          ? colours.ink
                          : (appearance == Appearance::Pressed ? colours.ink : C(pal::kAccent)));
            x += iconSize + gap;
        }
        painter.setPen(colours.ink);
        painter.drawText(QRectF(x, inner.top(), textWidth + 2, inner.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, control.label);
    }
}

void PaintIconButton(QPainter& painter, const Control& control, Appearance appearance) {
    const QRectF body = Inner(control.rect).adjusted(1, 1, -1, -1);
    QColor ink = C(0xFF98A2AE);
    const bool close = control.icon == Icon::Close;
    switch (appearance) {
        case Appearance::Hover:
            RoundRect(painter, body, 6, close ? C(kDanger) : C(0xFF222831),
                      close ? C(kDanger) : C(0xFF333B46));
            ink = QColor(255, 255, 255);
            break;
        case Appearance::Pressed:
            RoundRect(painter, body, 6, close ? C(0xFFB7373B) : C(0xFF101317),
                      close ? C(0xFFB7373B) : C(pal::kAccentDeep));
            ink = close ? QColor(255, 255, 255) : C(pal::kAccent);
            break;
        case Appearance::Disabled:
            ink = C(kDisabledText);
            break;
        default:
            break;
    }
    const qreal size = std::min(body.width(), body.height()) * 0.56;
    PaintIcon(painter,
              QRectF(body.center().x() - size / 2, body.center().y() - size / 2, size, size),
              control.icon, ink);
}

void PaintIndicator(QPainter& painter, const Control& control, Appearance appearance) {
    const QRectF body = Inner(control.rect);
    const bool lit = appearance == Appearance::Lit;
    RoundRect(painter, body, body.height() / 2, C(0xFF0F1216), C(lit ? 0xFF1F6F85 : 0xFF262D36));
    const QPointF dot(body.left() + 9, body.center().y());
    if (lit) {
        QRadialGradient halo(dot, 9);
        halo.setColorAt(0, Alpha(pal::kAccent, 200));
        halo.setColorAt(1, Alpha(pal::kAccent, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(halo);
        painter.drawEllipse(dot, 9, 9);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(lit ? C(0xFFB8F4FF) : C(0xFF2C343F));
    painter.drawEllipse(dot, 3.2, 3.2);
    painter.setFont(SkinFont(8, true));
    painter.setPen(lit ? C(kLegend) : C(kLegendDim));
    painter.drawText(body.adjusted(15, 0, -3, 0), Qt::AlignCenter, control.label);
}

void PaintFlipBadge(QPainter& painter, const Control& control, Appearance appearance) {
    const QRectF body = Inner(control.rect);
    const bool on = appearance == Appearance::Accent;
    RoundRect(painter, body, 4, on ? C(pal::kAccentDeep) : C(0xFF0F1216),
              on ? C(pal::kAccent) : C(0xFF262D36));
    painter.setFont(SkinFont(9, true));
    painter.setPen(on ? QColor(255, 255, 255) : C(kLegendDim));
    painter.drawText(body, Qt::AlignCenter, control.label);
}

void PaintTitle(QPainter& painter, const Control& control, bool altCaption) {
    Decor logo{Decor::Kind::Logo, QRect(control.rect.left() + 4, control.rect.top() + 3, 120, 28),
               QStringLiteral("QX480")};
    PaintDecor(painter, logo);
    painter.setFont(SkinFont(12, true));
    painter.setPen(C(kLegendDim));
    painter.drawText(QRectF(control.rect).adjusted(130, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     altCaption ? control.subLabel : control.label);
}

void PaintLogo(QPainter& painter, const QRect& rect, const QString& text) {
    // A keycap-shaped mark with an accent chevron, then the model name.
    const qreal size = rect.height() - 4;
    const QRectF mark(rect.left(), rect.center().y() - size / 2, size, size);
    RoundRect(painter, mark, 5, Vertical(mark, C(0xFF2A313B), C(0xFF161A20)), C(pal::kAccent), 1.4);
    QPainterPath chevron;
    chevron.moveTo(mark.left() + size * 0.28, mark.top() + size * 0.62);
    chevron.lineTo(mark.center().x(), mark.top() + size * 0.36);
    chevron.lineTo(mark.right() - size * 0.28, mark.top() + size * 0.62);
    painter.setPen(QPen(C(pal::kAccent), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(chevron);
    QFont font = SkinFont(static_cast<int>(rect.height() * 0.62), true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(QRectF(mark.right() + 9, rect.top(), rect.width(), rect.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace

QFont SkinFont(int pixelSize, bool bold) {
    QFont font(QString::fromUtf8(skin::kInstalledSansFace.data(),
                                 static_cast<int>(skin::kInstalledSansFace.size())));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void PaintWindowGround(QPainter& painter, QSize size) {
    const QRectF all(QPointF(0, 0), QSizeF(size));
    QLinearGradient ground(all.topLeft(), all.bottomLeft());
    ground.setColorAt(0, C(0xFF111419));
    ground.setColorAt(1, C(pal::kWindow));
    painter.fillRect(all, ground);
    // A faint diagonal texture keeps large areas from looking flat.
    painter.setPen(QPen(Alpha(0xFFFFFFFF, 5), 1));
    for (int x = -size.height(); x < size.width(); x += 6) {
        painter.drawLine(QPointF(x, size.height()), QPointF(x + size.height(), 0));
    }
}

void PaintDecor(QPainter& painter, const Decor& decor) {
    const QRectF rect = Inner(decor.rect);
    switch (decor.kind) {
        case Decor::Kind::TitleBar: {
            painter.fillRect(decor.rect, Vertical(rect, C(0xFF181C23), C(0xFF101318)));
            QLinearGradient line(rect.topLeft(), rect.topRight());
            line.setColorAt(0, Alpha(pal::kAccent, 0));
            line.setColorAt(0.15, Alpha(pal::kAccent, 230));
            line.setColorAt(0.6, Alpha(pal::kAccent, 90));
            line.setColorAt(1, Alpha(pal::kAccent, 0));
            painter.fillRect(QRectF(0, decor.rect.bottom(), decor.rect.width(), 1.5), line);
            break;
        }
        case Decor::Kind::Panel:
            RoundRect(painter, rect, 10, Vertical(rect, C(0xFF181D24), C(pal::kPanel)),
                      C(pal::kPanelEdge));
            break;
        case Decor::Kind::Plate: {
            RoundRect(painter, rect, 12, Vertical(rect, C(0xFF14181E), C(0xFF0E1115)),
                      C(pal::kPanelEdge));
            // Brushed-metal streaks across the plate.
            painter.save();
            painter.setClipRect(rect.adjusted(2, 2, -2, -2));
            for (int y = decor.rect.top() + 3; y < decor.rect.bottom(); y += 2) {
                painter.setPen(QPen(Alpha(0xFFFFFFFF, (y / 2) % 3 == 0 ? 5 : 2), 1));
                painter.drawLine(QPointF(rect.left(), y + 0.5), QPointF(rect.right(), y + 0.5));
            }
            painter.restore();
            break;
        }
        case Decor::Kind::Separator:
            painter.fillRect(decor.rect, C(pal::kPanelEdge));
            break;
        case Decor::Kind::Text:
            painter.setFont(SkinFont(decor.pixelSize, decor.bold));
            painter.setPen(decor.dim ? C(kLegendDim) : C(kLegend));
            painter.drawText(rect,
                             decor.align == 0 ? Qt::AlignLeft | Qt::AlignVCenter : decor.align,
                             decor.text);
            break;
        case Decor::Kind::Logo:
            PaintLogo(painter, decor.rect, decor.text);
            break;
        case Decor::Kind::Well:
            RoundRect(painter, rect, 5, C(pal::kWell), C(pal::kWellEdge));
            painter.setPen(QPen(Alpha(0xFF000000, 140), 1));
            painter.drawLine(QPointF(rect.left() + 4, rect.top() + 1.5),
                             QPointF(rect.right() - 4, rect.top() + 1.5));
            break;
        case Decor::Kind::Notch: {
            // A quiet hint area: a dashed outline with a symbol or a line of text.
            painter.setPen(QPen(C(0xFF242A33), 1, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(rect, 6, 6);
            const bool symbol = decor.text.size() == 1;
            painter.setFont(SkinFont(symbol ? 34 : decor.pixelSize, false));
            painter.setPen(symbol ? C(0xFF252C35) : C(kLegendDim));
            painter.drawText(rect, Qt::AlignCenter, decor.text);
            break;
        }
    }
}

void PaintControl(QPainter& painter, const Control& control, Appearance appearance,
                  bool altCaption) {
    switch (control.look) {
        case Look::None:
            return;
        case Look::KeyCap:
        case Look::GKey:
            PaintKeyCap(painter, control, appearance);
            return;
        case Look::Body:
        case Look::AccentBody:
        case Look::Segment:
        case Look::LabelButton:
        case Look::FlipButton:
            PaintBody(painter, control, appearance);
            return;
        case Look::IconButton:
            PaintIconButton(painter, control, appearance);
            return;
        case Look::Indicator:
            PaintIndicator(painter, control, appearance);
            return;
        case Look::FlipBadge:
            PaintFlipBadge(painter, control, appearance);
            return;
        case Look::Version:
            painter.setFont(SkinFont(11, false));
            painter.setPen(C(kLegendDim));
            painter.drawText(QRectF(control.rect), Qt::AlignLeft | Qt::AlignVCenter, control.label);
            return;
        case Look::Title:
            PaintTitle(painter, control, altCaption);
            return;
    }
}

void PaintArrowFace(QPainter& painter, QRect rect, bool pointsUp, bool highlighted) {
    const QRectF body = Inner(rect);
    RoundRect(painter, body, 4, highlighted ? C(0xFF0F3A47) : C(0xFF0F1216),
              highlighted ? C(pal::kAccent) : C(0xFF262D36));
    const qreal w = body.width() * 0.42;
    const qreal h = body.height() * 0.24;
    const QPointF centre = body.center();
    QPainterPath chevron;
    const qreal tip = pointsUp ? -h : h;
    chevron.moveTo(centre.x() - w / 2, centre.y() - tip / 2);
    chevron.lineTo(centre.x(), centre.y() + tip / 2);
    chevron.lineTo(centre.x() + w / 2, centre.y() - tip / 2);
    painter.setPen(QPen(highlighted ? C(pal::kAccent) : C(kLegendDim), 2, Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(chevron);
}

void PaintIcon(QPainter& painter, QRectF r, Icon icon, const QColor& colour, qreal stroke) {
    painter.save();
    painter.setPen(QPen(colour, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const qreal l = r.left();
    const qreal t = r.top();
    const qreal w = r.width();
    const qreal h = r.height();
    auto P = [&](qreal fx, qreal fy) { return QPointF(l + fx * w, t + fy * h); };
    switch (icon) {
        case Icon::None:
            break;
        case Icon::Close:
        case Icon::Cross:
            painter.drawLine(P(0.2, 0.2), P(0.8, 0.8));
            painter.drawLine(P(0.8, 0.2), P(0.2, 0.8));
            break;
        case Icon::Minimize:
            painter.drawLine(P(0.2, 0.62), P(0.8, 0.62));
            break;
        case Icon::Menu:
            for (qreal y : {0.25, 0.5, 0.75}) {
                painter.drawLine(P(0.15, y), P(0.85, y));
            }
            break;
        case Icon::Help: {
            QPainterPath hook;
            hook.moveTo(P(0.3, 0.32));
            hook.cubicTo(P(0.3, 0.05), P(0.75, 0.05), P(0.72, 0.32));
            hook.cubicTo(P(0.7, 0.48), P(0.5, 0.48), P(0.5, 0.66));
            painter.drawPath(hook);
            painter.setBrush(colour);
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(P(0.5, 0.86), stroke * 0.8, stroke * 0.8);
            break;
        }
        case Icon::Globe:
            painter.drawEllipse(r.adjusted(w * 0.08, h * 0.08, -w * 0.08, -h * 0.08));
            painter.drawEllipse(QRectF(P(0.32, 0.08), P(0.68, 0.92)));
            painter.drawLine(P(0.1, 0.5), P(0.9, 0.5));
            painter.drawLine(P(0.5, 0.08), P(0.5, 0.92));
            break;
        case Icon::Chat: {
            QPainterPath bubble;
            bubble.addRoundedRect(QRectF(P(0.08, 0.15), P(0.92, 0.7)), w * 0.14, h * 0.14);
            painter.drawPath(bubble);
            painter.drawLine(P(0.3, 0.7), P(0.22, 0.9));
            painter.drawLine(P(0.22, 0.9), P(0.48, 0.7));
            break;
        }
        case Icon::Share:
            painter.drawLine(P(0.28, 0.5), P(0.72, 0.22));
            painter.drawLine(P(0.28, 0.5), P(0.72, 0.78));
            for (const QPointF& centre : {P(0.25, 0.5), P(0.75, 0.2), P(0.75, 0.8)}) {
                painter.setBrush(colour);
                painter.drawEllipse(centre, w * 0.11, h * 0.11);
            }
            break;
        case Icon::Plus:
            painter.drawLine(P(0.5, 0.18), P(0.5, 0.82));
            painter.drawLine(P(0.18, 0.5), P(0.82, 0.5));
            break;
        case Icon::Minus:
            painter.drawLine(P(0.18, 0.5), P(0.82, 0.5));
            break;
        case Icon::Keyboard:
            painter.drawRoundedRect(QRectF(P(0.04, 0.2), P(0.96, 0.8)), 2, 2);
            for (qreal x : {0.22, 0.4, 0.58, 0.76}) {
                painter.drawPoint(P(x, 0.4));
            }
            painter.drawLine(P(0.3, 0.62), P(0.7, 0.62));
            break;
        case Icon::Eraser: {
            QPainterPath eraser;
            eraser.moveTo(P(0.12, 0.62));
            eraser.lineTo(P(0.5, 0.22));
            eraser.lineTo(P(0.86, 0.55));
            eraser.lineTo(P(0.55, 0.86));
            eraser.lineTo(P(0.32, 0.86));
            eraser.closeSubpath();
            painter.drawPath(eraser);
            painter.drawLine(P(0.3, 0.42), P(0.68, 0.75));
            painter.drawLine(P(0.55, 0.86), P(0.92, 0.86));
            break;
        }
        case Icon::Folder:
        case Icon::FolderOpen: {
            QPainterPath folder;
            folder.moveTo(P(0.08, 0.82));
            folder.lineTo(P(0.08, 0.2));
            folder.lineTo(P(0.38, 0.2));
            folder.lineTo(P(0.48, 0.32));
            folder.lineTo(P(0.9, 0.32));
            folder.lineTo(P(0.9, 0.82));
            folder.closeSubpath();
            painter.drawPath(folder);
            if (icon == Icon::FolderOpen) {
                painter.drawLine(P(0.08, 0.48), P(0.9, 0.48));
            }
            break;
        }
        case Icon::Trash:
            painter.drawLine(P(0.14, 0.24), P(0.86, 0.24));
            painter.drawLine(P(0.38, 0.24), P(0.42, 0.1));
            painter.drawLine(P(0.42, 0.1), P(0.58, 0.1));
            painter.drawLine(P(0.58, 0.1), P(0.62, 0.24));
            painter.drawRoundedRect(QRectF(P(0.24, 0.3), P(0.76, 0.9)), 1.5, 1.5);
            painter.drawLine(P(0.42, 0.42), P(0.42, 0.78));
            painter.drawLine(P(0.58, 0.42), P(0.58, 0.78));
            break;
        case Icon::Check:
            painter.drawLine(P(0.16, 0.52), P(0.4, 0.76));
            painter.drawLine(P(0.4, 0.76), P(0.86, 0.26));
            break;
        case Icon::Download:
        case Icon::Save:
            painter.drawLine(P(0.5, 0.1), P(0.5, 0.66));
            painter.drawLine(P(0.28, 0.44), P(0.5, 0.66));
            painter.drawLine(P(0.72, 0.44), P(0.5, 0.66));
            painter.drawLine(P(0.14, 0.88), P(0.86, 0.88));
            break;
        case Icon::Chip:
            painter.drawRoundedRect(QRectF(P(0.24, 0.24), P(0.76, 0.76)), 2, 2);
            for (qreal f : {0.38, 0.62}) {
                painter.drawLine(P(f, 0.06), P(f, 0.24));
                painter.drawLine(P(f, 0.76), P(f, 0.94));
                painter.drawLine(P(0.06, f), P(0.24, f));
                painter.drawLine(P(0.76, f), P(0.94, f));
            }
            break;
        case Icon::Swap:
            painter.drawLine(P(0.32, 0.14), P(0.32, 0.86));
            painter.drawLine(P(0.14, 0.34), P(0.32, 0.14));
            painter.drawLine(P(0.5, 0.34), P(0.32, 0.14));
            painter.drawLine(P(0.68, 0.14), P(0.68, 0.86));
            painter.drawLine(P(0.5, 0.66), P(0.68, 0.86));
            painter.drawLine(P(0.86, 0.66), P(0.68, 0.86));
            break;
    }
    painter.restore();
}

}  // namespace qx::skingen
