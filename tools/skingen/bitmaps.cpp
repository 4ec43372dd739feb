// The lighting panel's bitmaps. Each is drawn over the main window's own background at the place
// of the control that shows it, so that it sits seamlessly in the panel.
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <functional>
#include <numbers>

#include "paint_kit.h"
#include "skin/skin_files.h"
#include "skin/skin_palette.h"
#include "skin_writer.h"

namespace qx::skingen {
namespace {

namespace pal = skin::palette;
namespace f = skin::files;

QColor C(QRgb rgb) {
    return QColor::fromRgba(rgb);
}
QColor Alpha(QRgb rgb, int alpha) {
    QColor colour = C(rgb);
    colour.setAlpha(alpha);
    return colour;
}

constexpr QRgb kIdle = 0xFF8B95A2;
constexpr QRgb kIdleBody = 0xFF1C2128;
constexpr QRgb kIdleEdge = 0xFF313944;

using Glyph = std::function<void(QPainter&, QRectF, const QColor&)>;

class BitmapWriter {
  public:
    BitmapWriter(const WindowLayout& main, std::string folder)
        : main_(main),
          folder_(std::move(folder)),
          ground_(PaintPicture(main, PictureRequest{}, false)) {}

    std::vector<std::string> problems;

    // A picture the size of `key`'s control over the ground there, with `paint` on it.
    void Write(const std::string& file, const std::string& key,
               const std::function<void(QPainter&, QRectF)>& paint) {
        const Control* control = main_.Find(key);
        const QRect rect = control != nullptr ? control->rect : QRect(0, 0, 24, 24);
        QImage image = ground_.copy(rect);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        paint(painter, QRectF(0, 0, rect.width(), rect.height()));
        painter.end();
        if (!image.convertToFormat(QImage::Format_RGB888)
                 .save(QString::fromStdString(folder_ + file), "BMP")) {
            problems.push_back("cannot write " + folder_ + file);
        }
    }

    // A pill-shaped toggle: released (idle body, grey glyph) or pressed (accent body, dark glyph).
    void Toggle(std::string_view file, const std::string& key, bool pressed, const Glyph& glyph) {
        Write(std::string(file), key, [&](QPainter& painter, QRectF r) {
            const QRectF body = r.adjusted(1, 1, -1, -1);
            painter.setPen(QPen(pressed ? C(pal::kAccent) : C(kIdleEdge), 1));
            painter.setBrush(pressed ? C(pal::kAccentDeep) : C(kIdleBody));
            painter.drawRoundedRect(body, 6, 6);
            glyph(painter, body, pressed ? QColor(255, 255, 255) : C(kIdle));
        });
    }

  private:
    const WindowLayout& main_;
    std::string folder_;
    QImage ground_;
};

void Chevrons(QPainter& painter, QRectF r, const QColor& ink, qreal angleDegrees, int count) {
    painter.save();
    painter.translate(r.center());
    painter.rotate(angleDegrees);
    painter.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal h = r.height() * 0.36;
    for (int i = 0; i < count; ++i) {
        const qreal x = (i - (count - 1) / 2.0) * 7 + 2;
        painter.drawLine(QPointF(x - h / 2, -h / 2), QPointF(x, 0));
        painter.drawLine(QPointF(x, 0), QPointF(x - h / 2, h / 2));
    }
    painter.restore();
}

void Converge(QPainter& painter, QRectF r, const QColor& ink, bool inward) {
    painter.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal cy = r.center().y();
    const qreal h = r.height() * 0.16;
    for (int side : {-1, 1}) {
        const qreal outer = r.center().x() + side * r.width() * 0.32;
        const qreal inner = r.center().x() + side * r.width() * 0.08;
        painter.drawLine(QPointF(outer, cy), QPointF(inner, cy));
        const QPointF tip = inward ? QPointF(inner, cy) : QPointF(outer, cy);
        const qreal back = inward ? -side * h : side * h;
        painter.drawLine(tip, QPointF(tip.x() - back, cy - h));
        painter.drawLine(tip, QPointF(tip.x() - back, cy + h));
    }
}

void Lamp(QPainter& painter, QRectF r, bool on) {
    const QPointF centre = r.center();
    const qreal radius = std::min(r.width(), r.height()) / 2 - 4;
    if (on) {
        QRadialGradient halo(centre, radius + 4);
        halo.setColorAt(0.6, Alpha(pal::kAccent, 90));
        halo.setColorAt(1, Alpha(pal::kAccent, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(halo);
        painter.drawEllipse(centre, radius + 4, radius + 4);
    }
    painter.setPen(QPen(on ? C(pal::kAccent) : C(kIdleEdge), 2));
    painter.setBrush(on ? C(0xFF0E2C36) : C(kIdleBody));
    painter.drawEllipse(centre, radius, radius);
    // The power glyph: an open ring and a stroke.
    const QColor ink = on ? C(pal::kAccent) : C(kIdle);
    painter.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    const qreal g = radius * 0.5;
    painter.drawArc(QRectF(centre.x() - g, centre.y() - g + 1, 2 * g, 2 * g), 60 * 16, -300 * 16);
    painter.drawLine(QPointF(centre.x(), centre.y() - g - 2), QPointF(centre.x(), centre.y() + 1));
}

void Check(QPainter& painter, QRectF r, bool on) {
    const QRectF box = r.adjusted(1.5, 1.5, -1.5, -1.5);
    painter.setPen(QPen(on ? C(pal::kAccent) : C(kIdleEdge), 1.2));
    painter.setBrush(on ? C(pal::kAccentDeep) : C(pal::kWell));
    painter.drawRoundedRect(box, 3, 3);
    if (on) {
        PaintIcon(painter, box.adjusted(2, 2, -2, -2), Icon::Check, QColor(255, 255, 255), 2);
    }
}

void Brush(QPainter& painter, QRectF r, const QColor& ink) {
    painter.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c = r.center();
    painter.drawLine(QPointF(c.x() + 7, c.y() - 8), QPointF(c.x() - 1, c.y() + 1));
    painter.setBrush(ink);
    QPainterPath tip;
    tip.moveTo(c.x() - 1, c.y() + 1);
    tip.cubicTo(QPointF(c.x() - 6, c.y() + 1), QPointF(c.x() - 7, c.y() + 6),
                QPointF(c.x() - 9, c.y() + 8));
    tip.cubicTo(QPointF(c.x() - 3, c.y() + 8), QPointF(c.x() + 2, c.y() + 6),
                QPointF(c.x() - 1, c.y() + 1));
    painter.drawPath(tip);
}

void Swatch(QPainter& painter, QRectF r, QRgb colour, bool chosen) {
    painter.fillRect(r, C(pal::kPanel));
    const QRectF dot = r.adjusted(3, 3, -3, -3);
    painter.setPen(QPen(chosen ? QColor(255, 255, 255) : C(kIdleEdge), chosen ? 2 : 1));
    painter.setBrush(C(colour));
    painter.drawEllipse(dot);
}

void Spinner(QPainter& painter, QRectF r, int frame) {
    const QPointF centre = r.center();
    const qreal radius = std::min(r.width(), r.height()) / 2 - 3;
    for (int i = 0; i < f::kProgressFrames; ++i) {
        const int age = (frame - i + f::kProgressFrames) % f::kProgressFrames;
        const qreal angle = 2 * std::numbers::pi * i / f::kProgressFrames - std::numbers::pi / 2;
        const QPointF at(centre.x() + radius * std::cos(angle),
                         centre.y() + radius * std::sin(angle));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Alpha(pal::kAccent, std::max(30, 255 - age * 32)));
        painter.drawEllipse(at, 2.4, 2.4);
    }
}

// A slider channel: five steps; the steps up to `position` are lit. Speed channels light with
// chevrons, brightness channels with bars rising in height.
void Channel(QPainter& painter, QRectF r, int position, bool speed) {
    const int steps = f::kSliderPositions;
    const qreal gap = 4;
    const qreal width = (r.width() - 16 - gap * (steps - 1)) / steps;
    for (int i = 0; i < steps; ++i) {
        const qreal x = r.left() + 8 + i * (width + gap);
        const bool lit = i <= position;
        const qreal h = speed ? r.height() * 0.36 : r.height() * (0.28 + 0.1 * i);
        const QRectF bar(x, r.bottom() - 5 - h, width, h);
        painter.setPen(Qt::NoPen);
        painter.setBrush(lit ? C(pal::kAccent) : C(0xFF232932));
        if (speed) {
            QPainterPath arrow;
            arrow.moveTo(bar.left(), bar.top());
            arrow.lineTo(bar.right() - 4, bar.top());
            arrow.lineTo(bar.right(), bar.center().y());
            arrow.lineTo(bar.right() - 4, bar.bottom());
            arrow.lineTo(bar.left(), bar.bottom());
            arrow.lineTo(bar.left() + 4, bar.center().y());
            arrow.closeSubpath();
            painter.drawPath(arrow);
        } else {
            painter.drawRoundedRect(bar, 1.5, 1.5);
        }
    }
}

}  // namespace

std::vector<std::string> WriteLightingBitmaps(const WindowLayout& main, const std::string& folder) {
    BitmapWriter out(main, folder);
    out.Write(std::string(f::kLampOff), "CONTROL_DengStaPic",
              [](QPainter& p, QRectF r) { Lamp(p, r, false); });
    out.Write(std::string(f::kLampOn), "CONTROL_DengStaPic",
              [](QPainter& p, QRectF r) { Lamp(p, r, true); });
    const std::string first = "CONTROL_BLFXLStaPic";
    const std::string second = "CONTROL_BLFXRStaPic";
    for (bool pressed : {false, true}) {
        out.Toggle(pressed ? f::kLeftPressed : f::kLeftReleased, first, pressed,
                   [](QPainter& p, QRectF r, const QColor& ink) { Chevrons(p, r, ink, 180, 2); });
        out.Toggle(pressed ? f::kRightPressed : f::kRightReleased, second, pressed,
                   [](QPainter& p, QRectF r, const QColor& ink) { Chevrons(p, r, ink, 0, 2); });
        out.Toggle(pressed ? f::kSpreadPressed : f::kSpreadReleased, first, pressed,
                   [](QPainter& p, QRectF r, const QColor& ink) { Converge(p, r, ink, false); });
        out.Toggle(pressed ? f::kConvergePressed : f::kConvergeReleased, second, pressed,
                   [](QPainter& p, QRectF r, const QColor& ink) { Converge(p, r, ink, true); });
        out.Toggle(pressed ? f::kUpPressed : f::kUpReleased, first, pressed,
                   [](QPainter& p, QRectF r, const QColor& ink) { Chevrons(p, r, ink, -90, 2); });
        out.Toggle(pressed ? f::kDownPressed : f::kDownReleased, second, pressed,
                   [](QPainter& p, QRectF r, const QColor& ink) { Chevrons(p, r, ink, 90, 2); });
        out.Toggle(pressed ? f::kPaintPressed : f::kPaintReleased, "CONTROL_USERgjStaPic1", pressed,
                   [](QPainter& p, QRectF r, const QColor& ink) { Brush(p, r, ink); });
        out.Toggle(pressed ? f::kErasePressed : f::kEraseReleased, "CONTROL_USERgjStaPic2", pressed,
                   [](QPainter& p, QRectF r, const QColor& ink) {
                       PaintIcon(p, QRectF(r.center().x() - 8, r.center().y() - 8, 16, 16),
                                 Icon::Eraser, ink, 1.8);
                   });
        out.Write(std::string(pressed ? f::kCheckOn : f::kCheckOff), "CONTROL_HXsjsStaPic",
                  [pressed](QPainter& p, QRectF r) { Check(p, r, pressed); });
    }
    // Colour pictures of the (hidden) colour controls: fixed 24 × 24 swatches.
    const std::array<std::tuple<std::string_view, std::string_view, QRgb>, 4> swatches{{
        {f::kRed, f::kRedChosen, 0xFFFF3B4E},
        {f::kYellow, f::kYellowChosen, 0xFFFFC83B},
        {f::kGreen, f::kGreenChosen, 0xFF3BE07A},
        {f::kBlue, f::kBlueChosen, 0xFF3B7BFF},
    }};
    for (const auto& swatch : swatches) {
        const QRgb colour = std::get<2>(swatch);
        out.Write(std::string(std::get<0>(swatch)), "",
                  [colour](QPainter& p, QRectF r) { Swatch(p, r, colour, false); });
        out.Write(std::string(std::get<1>(swatch)), "",
                  [colour](QPainter& p, QRectF r) { Swatch(p, r, colour, true); });
    }
    for (int frame = 1; frame <= f::kProgressFrames; ++frame) {
        out.Write(std::string(f::kProgressFramePrefix) + std::to_string(frame) +
                      std::string(f::kBitmapSuffix),
                  "CONTROL_JDTStatic",
                  [frame](QPainter& p, QRectF r) { Spinner(p, r, frame - 1); });
    }
    for (int channel = 0; channel < f::kSliderChannelPictures; ++channel) {
        // 0..4 brightness, 5..9 speed; the rest repeat the brightness channels.
        const bool speed = channel >= f::kSpeedChannelFirst &&
                           channel < f::kSpeedChannelFirst + f::kSliderPositions;
        const int position = channel % f::kSliderPositions;
        out.Write(std::to_string(channel) + std::string(f::kBitmapSuffix),
                  speed ? "CONTROL_SpeedSlider" : "CONTROL_LightSlider",
                  [position, speed](QPainter& p, QRectF r) { Channel(p, r, position, speed); });
    }
    return out.problems;
}

}  // namespace qx::skingen
