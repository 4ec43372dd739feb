#include "widgets/profile_menu.h"

#include <QAction>
#include <QIconEngine>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <algorithm>

#include "app/main_window_port.h"
#include "platform/system_messages.h"
#include "skin/skin_palette.h"
#include "widgets/menu_resources.h"
#include "widgets/program_icons.h"

namespace qx::widgets {
namespace {

namespace palette = skin::palette;

constexpr uint32_t kFirstProfileCommand = 9001;
constexpr int kItemHeight = 30;
constexpr int kSeparatorHeight = 9;
constexpr int kPictureSize = 18;
constexpr int kMinimumWidth = 190;
constexpr int kPadding = 10;
constexpr int kCheckBarWidth = 3;

// A numbered keycap, painted when the menu first shows it: painting text loads the fonts, which
// the program need not do before its window or a menu is shown.
class KeycapIconEngine : public QIconEngine {
  public:
    explicit KeycapIconEngine(int number) : number_(number) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode /*mode*/,
               QIcon::State /*state*/) override {
        const int size = std::min(rect.width(), rect.height());
        painter->save();
        painter->translate(rect.topLeft());
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(QColor::fromRgb(palette::kAccentDeep), 1.2));
        painter->setBrush(QColor::fromRgb(palette::kWell));
        painter->drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), 3.5, 3.5);
        QFont font = painter->font();
        font.setPixelSize(size * 2 / 3);
        font.setBold(true);
        painter->setFont(font);
        painter->setPen(QColor::fromRgb(palette::kAccent));
        painter->drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString::number(number_));
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return picture;
    }

    QIconEngine* clone() const override { return new KeycapIconEngine(number_); }

  private:
    int number_;
};

// The picture of an item: the program's keyboard for the default profile, a numbered keycap for
// an onboard profile.
QIcon PictureOf(uint32_t command) {
    if (command < kFirstProfileCommand) {  // the default profile (9000)
        return ProgramIcon(kProgramIconId);
    }
    return QIcon(new KeycapIconEngine(static_cast<int>(command - kFirstProfileCommand + 1)));
}

// Draws the profile menu's items itself: dark rows, the picture, the text, and for the checked
// item an accent bar and tick.
class ProfileMenuStyle : public QProxyStyle {
  public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_PanelMenu || element == PE_FrameMenu) {
            painter->fillRect(option->rect, QColor::fromRgb(palette::kPanel));
            painter->setPen(QColor::fromRgb(palette::kPanelEdge));
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element != CE_MenuItem || item == nullptr) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        painter->save();
        const QRect row = item->rect;
        painter->fillRect(row, QColor::fromRgb(palette::kPanel));
        if (item->menuItemType == QStyleOptionMenuItem::Separator) {
            painter->setPen(QColor::fromRgb(palette::kPanelEdge));
            const int middle = row.center().y();
            painter->drawLine(row.left() + kPadding, middle, row.right() - kPadding, middle);
            painter->restore();
            return;
        }
        const bool selected = (item->state & State_Selected) != 0;
        const bool checked = item->checked;
        if (selected) {
            painter->fillRect(row.adjusted(2, 1, -2, -1), QColor::fromRgb(palette::kAccentDeep));
        }
        if (checked) {
            painter->fillRect(
                QRect(row.left() + 2, row.top() + 4, kCheckBarWidth, row.height() - 8),
                QColor::fromRgb(palette::kAccent));
        }
        const QPixmap picture = item->icon.pixmap(kPictureSize, kPictureSize);
        const int pictureTop = row.top() + (row.height() - kPictureSize) / 2;
        painter->drawPixmap(row.left() + kPadding + kCheckBarWidth, pictureTop, picture);

        QFont font = item->font;
        font.setBold(checked);
        painter->setFont(font);
        painter->setPen(selected ? QColor(Qt::white) : QColor::fromRgb(palette::kText));
        const int textLeft = row.left() + 2 * kPadding + kCheckBarWidth + kPictureSize;
        const QRect textArea(textLeft, row.top(), row.right() - textLeft - 2 * kPadding,
                             row.height());
        painter->drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                          item->text);
        if (checked) {
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(QPen(selected ? QColor(Qt::white) : QColor::fromRgb(palette::kAccent),
                                 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            const QPointF tick(row.right() - kPadding - 12, row.center().y());
            painter->drawPolyline(
                QPolygonF{tick + QPointF(0, 0), tick + QPointF(4, 4), tick + QPointF(11, -4)});
        }
        painter->restore();
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type != CT_MenuItem || item == nullptr) {
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        }
        if (item->menuItemType == QStyleOptionMenuItem::Separator) {
            return {kMinimumWidth, kSeparatorHeight};
        }
        QFont bold = item->font;
        bold.setBold(true);
        const int textWidth = QFontMetrics(bold).horizontalAdvance(item->text);
        const int width = 5 * kPadding + kCheckBarWidth + kPictureSize + textWidth + 16;
        return {std::max(kMinimumWidth, width), kItemHeight};
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_MenuPanelWidth) {
            return 1;
        }
        if (metric == PM_MenuVMargin) {
            return 4;
        }
        if (metric == PM_MenuHMargin) {
            return 0;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

CProfileMenu::CProfileMenu(QWidget* parent) : QMenu(parent) {
    auto* style = new ProfileMenuStyle;
    style->setParent(this);
    setStyle(style);
}

CProfileMenu::~CProfileMenu() = default;

int CProfileMenu::AppendItem(uint32_t command, const std::string& text) {
    QAction* action = addAction(PictureOf(command), QString::fromStdString(text));
    action->setData(command);
    action->setCheckable(true);
    return ItemCount() - 1;
}

int CProfileMenu::AppendSeparator() {
    addSeparator();
    return ItemCount() - 1;
}

bool CProfileMenu::RemoveItemAt(int position) {
    const QList<QAction*> items = actions();
    if (position < 0 || position >= items.size()) {
        return false;
    }
    QAction* action = items[position];
    removeAction(action);
    delete action;
    return true;
}

void CProfileMenu::RemoveAll() {
    for (int position = ItemCount() - 1; position >= 0; --position) {
        RemoveItemAt(position);
    }
}

int CProfileMenu::ItemCount() const {
    return static_cast<int>(actions().size());
}

bool CProfileMenu::CheckItemByPosition(int position) {
    const QList<QAction*> items = actions();
    const bool isItem = position >= 0 && position < items.size() && !items[position]->isSeparator();
    for (int i = 0; i < items.size(); ++i) {
        items[i]->setChecked(isItem && i == position);
    }
    return isItem;
}

int CProfileMenu::CheckedPosition() const {
    const QList<QAction*> items = actions();
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->isChecked()) {
            return i;
        }
    }
    return -1;
}

std::string CProfileMenu::ItemText(int position) const {
    const QList<QAction*> items = actions();
    if (position < 0 || position >= items.size() || items[position]->isSeparator()) {
        return {};
    }
    return items[position]->text().toStdString();
}

uint32_t CProfileMenu::ItemCommand(int position) const {
    const QList<QAction*> items = actions();
    return position < 0 || position >= items.size() ? 0 : CommandOf(items[position]);
}

void CProfileMenu::SetCommandTarget(std::shared_ptr<platform::MessageTarget> target) {
    commandTarget_ = std::move(target);
}

uint32_t CProfileMenu::Track(QPoint at) {
    const uint32_t command = CommandOf(exec(at));
    if (command != 0 && commandTarget_) {
        commandTarget_->SendWindowMessage(platform::kCommandMessage, command, 0);
    }
    return command;
}

}  // namespace qx::widgets
