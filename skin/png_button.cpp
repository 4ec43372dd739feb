#include "skin/png_button.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <utility>

#include "skin/font_faces.h"
#include "skin/skin_font.h"

namespace qx::skin {
namespace {

constexpr int kFramePenWidth = 2;
// The tooltip stays up ten times its delay, as the platform's automatic delay gives.
constexpr int kTooltipShowFactor = 10;

}  // namespace

struct CPngButton::Tooltip {
    bool active = true;
    int delayMs = kTooltipDelayMs;
};

CPngButton::CPngButton(QWidget* parent)
    : QAbstractButton(parent),
      fontFace_(QString::fromUtf8(kFaceTahomaUnicode.data(),
                                  static_cast<int>(kFaceTahomaUnicode.size()))) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // The face comes from the sheets alone; nothing is erased under it.
    setAttribute(Qt::WA_NoSystemBackground);
    hoverTimer_.setSingleShot(true);
    hoverTimer_.setInterval(kHoverDelayMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &CPngButton::OnHover);
}

CPngButton::~CPngButton() = default;

void CPngButton::ResetInteraction() {
    hover_ = false;
    tracking_ = false;
    hoverTimer_.stop();
    setDown(false);
}

void CPngButton::SetSheets(int sourceX, int sourceY, const SheetSet& sheets, bool redraw) {
    source_ = QPoint(sourceX, sourceY);
    SetSheetsOnly(sheets, redraw);
}

void CPngButton::SetSheetsOnly(const SheetSet& sheets, bool redraw) {
    sheets_ = sheets;
    ResetInteraction();
    if (redraw) {
        update();
    }
}

void CPngButton::SetToggleSheets(const SkinSheet* sheetA, const SkinSheet* sheetB, bool toggleMode,
                                 int selector, bool redraw) {
    toggleA_ = sheetA;
    toggleB_ = sheetB;
    toggleMode_ = toggleMode;
    toggleSelector_ = selector;
    ResetInteraction();
    if (redraw) {
        update();
    }
}

void CPngButton::SetMarked(bool marked, bool redraw) {
    marked_ = marked;
    if (redraw) {
        update();
    }
}

void CPngButton::SetTextStyle(bool textOn, int pointSize, const QString& face, ColorRef normal,
                              ColorRef over, ColorRef down, ColorRef disable, ColorRef marked,
                              unsigned format) {
    textOn_ = textOn;
    fontPoints_ = pointSize;
    fontFace_ = face;
    colourNormal_ = normal;
    colourOver_ = over;
    colourDown_ = down;
    colourDisable_ = disable;
    colourMarked_ = marked;
    textFormat_ = format;
    update();
}

void CPngButton::SetTextMargins(const TextMargins& margins) {
    margins_ = margins;
    update();
}

void CPngButton::SetTextAngle(int angleTenths, bool centreRotated) {
    textAngle_ = angleTenths;
    centreRotated_ = centreRotated;
    update();
}

void CPngButton::SetFrameMode(ColorRef colour, int level, bool frameMode) {
    frameColour_ = colour;
    frameLevel_ = (frameMode && level > kMaxFrameLevel) ? kMaxFrameLevel : level;
    frameMode_ = frameMode;
    update();
}

void CPngButton::SetTooltip(const QString& text, bool activate) {
    if (text.isEmpty()) {
        return;
    }
    if (!tip_) {
        tip_ = std::make_unique<Tooltip>();
    }
    tipText_ = text;
    tip_->delayMs = kTooltipDelayMs;
    tip_->active = activate;
}

void CPngButton::SetDrawCallback(DrawCallback callback) {
    drawCallback_ = std::move(callback);
}

void CPngButton::Redraw() {
    repaint();
}

bool CPngButton::IsTooltipActive() const {
    return tip_ != nullptr && tip_->active;
}

int CPngButton::TooltipDelayMs() const {
    return tip_ ? tip_->delayMs : 0;
}

ButtonState CPngButton::CurrentState() const {
    return ButtonState{isEnabled(), toggleMode_, toggleSelector_, isDown(), hover_, marked_};
}

const SkinSheet* CPngButton::SheetOf(SheetSlot slot) const {
    switch (slot) {
        case SheetSlot::Normal:
            return sheets_.normal;
        case SheetSlot::Over:
            return sheets_.over;
        case SheetSlot::Down:
            return sheets_.down;
        case SheetSlot::Disable:
            return sheets_.disable;
        case SheetSlot::Marked:
            return sheets_.marked;
        case SheetSlot::ToggleA:
            return toggleA_;
        case SheetSlot::ToggleB:
            return toggleB_;
    }
    return nullptr;
}

ColorRef CPngButton::TextColour(ColourSlot slot) const {
    switch (slot) {
        case ColourSlot::Normal:
            return colourNormal_;
        case ColourSlot::Over:
            return colourOver_;
        case ColourSlot::Down:
            return colourDown_;
        case ColourSlot::Disable:
            return colourDisable_;
        case ColourSlot::Marked:
            return colourMarked_;
    }
    return colourNormal_;
}

QString CPngButton::Caption() const {
    return text().left(kMaxCaptionChars);
}

QFont CPngButton::CaptionFont() const {
    // The pixel height is MulDiv(points, dpi, 72), halves away from zero: the size the skins'
    // captions are laid out for, set again after the make so that it is that figure exactly.
    QFont font = MakeSkinFont(fontFace_.toStdString(), fontPoints_, logicalDpiY(),
                              centreRotated_ ? kWeightCentreRotated : kWeightNormal);
    font.setPixelSize(std::max(1, FontPixelHeight(fontPoints_, logicalDpiY())));
    return font;
}

TextBox CPngButton::CaptionBox() const {
    const QFontMetrics metrics(CaptionFont());
    const QSize textSize(metrics.horizontalAdvance(Caption()), metrics.height());
    return LayoutTextBox(size(), margins_, textAngle_, centreRotated_, textSize);
}

void CPngButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const FaceChoice face = CurrentFace();
    const SkinSheet* sheet = SheetOf(face.sheet);
    if (frameMode_) {
        painter.setPen(QPen(ColourOfColorRef(frameColour_), kFramePenWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(1, 1, width() - 2, height() - 2));
    } else if (sheet != nullptr) {
        sheet->Draw(painter, QPoint(0, 0), SheetSourceRect(source_, size()));
    }
    shown_ = sheet;
    if (textOn_) {
        DrawCaption(painter, face.colour);
    }
    if (drawCallback_) {
        drawCallback_(*this, shown_ == sheets_.normal);
    }
}

void CPngButton::DrawCaption(QPainter& painter, ColourSlot colour) {
    const QString caption = Caption();
    const QFont font = CaptionFont();
    painter.setFont(font);
    painter.setPen(ColourOfColorRef(TextColour(colour)));
    const TextBox box = CaptionBox();
    if (textAngle_ == 0 && !centreRotated_) {
        const QRect rect(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1));
        painter.drawText(rect, QtFlagsOfTextFormat(textFormat_), caption);
        return;
    }
    const QFontMetrics metrics(font);
    const QPoint origin = RotatedTextOrigin(box, textAngle_, metrics.height());
    painter.save();
    painter.translate(origin);
    painter.rotate(-static_cast<double>(textAngle_) / 10.0);
    painter.drawText(QRect(0, 0, metrics.horizontalAdvance(caption), metrics.height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
    painter.restore();
}

void CPngButton::StartTracking() {
    if (tracking_) {
        return;
    }
    tracking_ = true;
    hoverTimer_.start();
}

void CPngButton::enterEvent(QEnterEvent* event) {
    StartTracking();
    QAbstractButton::enterEvent(event);
}

void CPngButton::mouseMoveEvent(QMouseEvent* event) {
    StartTracking();
    QAbstractButton::mouseMoveEvent(event);
}

void CPngButton::leaveEvent(QEvent* event) {
    OnLeave();
    QAbstractButton::leaveEvent(event);
}

void CPngButton::OnHover() {
    if (!tracking_) {
        return;
    }
    hover_ = true;
    update();
    // The tooltip is made anew with the stored text and shown at once.
    tip_ = std::make_unique<Tooltip>();
    ShowTooltipNow();
}

void CPngButton::OnLeave() {
    hoverTimer_.stop();
    tracking_ = false;
    hover_ = false;
    update();
}

void CPngButton::ShowTooltipNow() {
    if (!tip_ || !tip_->active || tipText_.isEmpty() || !isVisible()) {
        return;
    }
    QToolTip::showText(mapToGlobal(QPoint(width() / 2, height())), tipText_, this, rect(),
                       tip_->delayMs * kTooltipShowFactor);
}

void CPngButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // Two quick clicks are two clicks: the second press of a double-click is a plain press.
    mousePressEvent(event);
}

bool CPngButton::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        ShowTooltipNow();
        return true;
    }
    return QAbstractButton::event(event);
}

}  // namespace qx::skin
