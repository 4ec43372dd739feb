#include "widgets/program_icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <array>

#include "skin/skin_palette.h"
#include "widgets/tray_state.h"

namespace qx::widgets {
namespace {

namespace palette = skin::palette;

struct IconLook {
    int id;
    QRgb keys;  // the keycaps
    QRgb edge;  // the tile's outline
    bool signal;
};

constexpr std::array<IconLook, 3> kLooks{{
    {kIconNoKeyboard, palette::kTextDim, palette::kWellEdge, false},
    {kIconKeyboard, palette::kAccent, palette::kAccentDeep, false},
    {kIconIndicator, palette::kAccent, palette::kAccent, true},
}};

const IconLook* LookOf(int iconId) {
    for (const IconLook& look : kLooks) {
        if (look.id == iconId) {
            return &look;
        }
    }
    return nullptr;
}

// Three rows of keycaps and a space bar on a rounded tile, drawn in a 64-unit square.
void PaintLook(QPainter& painter, const IconLook& look, const QRectF& target) {
    constexpr double kUnits = 64.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / kUnits, target.height() / kUnits);

    painter.setPen(QPen(QColor::fromRgb(look.edge), 3.0));
    painter.setBrush(QColor::fromRgb(palette::kPanel));
    painter.drawRoundedRect(QRectF(3, 9, 58, 46), 10, 10);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(look.keys));
    constexpr int kColumns = 5;
    constexpr double kKey = 7.0;
    constexpr double kGap = 3.0;
    for (int row = 0; row < 3; ++row) {
        const double shift = row == 1 ? 2.5 : 0.0;
        for (int column = 0; column < kColumns - (row == 1 ? 1 : 0); ++column) {
            painter.drawRoundedRect(
                QRectF(10 + shift + column * (kKey + kGap), 16 + row * (kKey + kGap), kKey, kKey),
                1.8, 1.8);
        }
    }
    painter.drawRoundedRect(QRectF(19, 44, 26, 5), 2, 2);

    if (look.signal) {
        painter.setBrush(QColor(Qt::white));
        painter.setPen(QPen(QColor::fromRgb(palette::kAccent), 2.5));
        painter.drawEllipse(QPointF(52, 12), 7, 7);
    }
    painter.restore();
}

class PaintedIconEngine : public QIconEngine {
  public:
    explicit PaintedIconEngine(const IconLook& look) : look_(look) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        if (mode == QIcon::Disabled) {
            painter->setOpacity(0.45);
        }
        PaintLook(*painter, look_, rect);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return picture;
    }

    QIconEngine* clone() const override { return new PaintedIconEngine(look_); }

  private:
    IconLook look_;
};

}  // namespace

bool HasIconResource(int iconId) {
    return LookOf(iconId) != nullptr;
}

QIcon ProgramIcon(int iconId) {
    const IconLook* look = LookOf(iconId);
    return look == nullptr ? QIcon() : QIcon(new PaintedIconEngine(*look));
}

QPixmap PaintProgramIcon(int iconId, int size) {
    return ProgramIcon(iconId).pixmap(size, size);
}

}  // namespace qx::widgets
