#include "widgets/tray_icon.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/system_messages.h"
#include "widgets/menu_resources.h"
#include "widgets/program_icons.h"

namespace qx::widgets {
namespace {

std::vector<QPointer<CTrayIcon>>& LiveIcons() {
    static std::vector<QPointer<CTrayIcon>> icons;
    return icons;
}

uint32_t MouseMessageOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Context:
            return platform::kRightButtonUp;
        case QSystemTrayIcon::DoubleClick:
            return platform::kLeftButtonDoubleClick;
        case QSystemTrayIcon::Trigger:
            return platform::kLeftButtonUp;
        case QSystemTrayIcon::MiddleClick:
            return platform::kMiddleButtonUp;
        case QSystemTrayIcon::Unknown:
            break;
    }
    return 0;
}

CTrayIcon::Environment CompleteEnvironment(CTrayIcon::Environment environment) {
    if (!environment.trayAvailable) {
        environment.trayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
    }
    if (!environment.trackMenu) {
        environment.trackMenu = [](QMenu& menu, QPoint at) { return CommandOf(menu.exec(at)); };
    }
    if (!environment.cursorPosition) {
        environment.cursorPosition = [] { return QCursor::pos(); };
    }
    return environment;
}

}  // namespace

CTrayIcon::CTrayIcon() : CTrayIcon(Environment{}) {}

CTrayIcon::CTrayIcon(Environment environment)
    : environment_(CompleteEnvironment(std::move(environment))) {
    connect(&areaWatch_, &QTimer::timeout, this, &CTrayIcon::WatchNotificationArea);
    LiveIcons().emplace_back(this);
}

CTrayIcon::~CTrayIcon() {
    Remove();
    auto& icons = LiveIcons();
    icons.erase(std::remove_if(icons.begin(), icons.end(),
                               [this](const QPointer<CTrayIcon>& icon) {
                                   return icon.isNull() || icon.data() == this;
                               }),
                icons.end());
}

bool CTrayIcon::Create(platform::MessageWindow* owner, uint32_t callbackMessage,
                       const std::string& tip, int iconId, uint32_t id,
                       platform::MessageWindow* topLevel) {
    if (owner == nullptr) {
        valid_ = false;
        return false;
    }
    owner_ = owner;
    callbackMessage_ = callbackMessage;
    taskbarCreatedMessage_ = platform::RegisterWindowMessage(platform::kTaskbarCreatedName);
    id_ = id;
    iconId_ = iconId;
    picture_ = ProgramIcon(iconId);
    tip_ = QString::fromStdString(tip);
    ownerHook_.HookWindow(owner);
    if (topLevel != nullptr && topLevel != owner) {
        topLevelHook_.HookWindow(topLevel);
    }
    valid_ = true;
    hidden_ = false;
    areaWasAvailable_ = environment_.trayAvailable();
    if (areaWasAvailable_) {
        AddIcon();
    }
    areaWatch_.start(environment_.areaWatchPeriodMs);
    return valid_;
}

void CTrayIcon::AddIcon() {
    if (!systemIcon_) {
        systemIcon_ = std::make_unique<QSystemTrayIcon>(picture_);
        systemIcon_->setToolTip(tip_);
        connect(systemIcon_.get(), &QSystemTrayIcon::activated, this, &CTrayIcon::OnActivated);
    }
    systemIcon_->show();
}

bool CTrayIcon::SetIcon(int iconId) {
    if (!valid_ || !HasIconResource(iconId)) {
        return false;
    }
    iconId_ = iconId;
    picture_ = ProgramIcon(iconId);
    if (systemIcon_) {
        systemIcon_->setIcon(picture_);
    }
    return true;
}

bool CTrayIcon::SetStandardIcon(QStyle::StandardPixmap standardIcon) {
    if (!valid_) {
        return false;
    }
    picture_ = QApplication::style()->standardIcon(standardIcon);
    if (systemIcon_) {
        systemIcon_->setIcon(picture_);
    }
    return true;
}

bool CTrayIcon::SetTip(const std::string& tip) {
    if (!valid_) {
        return false;
    }
    tip_ = QString::fromStdString(tip);
    if (systemIcon_) {
        systemIcon_->setToolTip(tip_);
    }
    return true;
}

std::string CTrayIcon::Tip() const {
    return tip_.toStdString();
}

bool CTrayIcon::ShowBalloon(const char* text, const char* title, int timeoutMs,
                            QSystemTrayIcon::MessageIcon icon) {
    if (!valid_) {
        return false;
    }
    if (IsInArea()) {
        systemIcon_->showMessage(QString::fromUtf8(title != nullptr ? title : ""),
                                 QString::fromUtf8(text != nullptr ? text : ""), icon, timeoutMs);
    }
    return true;
}

bool CTrayIcon::Hide() {
    if (!valid_) {
        return false;
    }
    if (systemIcon_) {
        systemIcon_->hide();
    }
    hidden_ = true;
    return true;
}

bool CTrayIcon::Show() {
    if (!valid_) {
        return false;
    }
    hidden_ = false;
    if (systemIcon_ || environment_.trayAvailable()) {
        AddIcon();
    }
    return true;
}

bool CTrayIcon::Remove() {
    if (!valid_) {
        return false;
    }
    if (systemIcon_) {
        systemIcon_->hide();
    }
    areaWatch_.stop();
    valid_ = false;
    return true;
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    const uint32_t mouseMessage = MouseMessageOf(reason);
    if (owner_ != nullptr && mouseMessage != 0) {
        // Through the owner's window procedure, so the hook sees it as the shell's callback.
        owner_->PostWindowMessage(callbackMessage_, id_, mouseMessage);
    }
}

void CTrayIcon::OnTrayNotify(platform::MessageWParam iconId, platform::MessageLParam mouseMessage) {
    if (!valid_ || iconId != id_) {
        return;
    }
    if (mouseMessage == platform::kRightButtonUp) {
        OpenMenu();
    } else if (mouseMessage == platform::kLeftButtonUp ||
               mouseMessage == platform::kLeftButtonDoubleClick) {
        SendDefaultCommand();
    }
}

uint32_t CTrayIcon::DefaultCommandOf(QMenu& menu) const {
    if (defaultCommand_ != 0) {
        return defaultCommand_;
    }
    const QList<QAction*> items = menu.actions();
    return items.isEmpty() ? 0 : CommandOf(items.first());
}

void CTrayIcon::OpenMenu() {
    const std::unique_ptr<QMenu> menu = LoadMenuResource(id_);
    if (!menu) {
        return;
    }
    MarkDefaultItem(*menu, FindCommand(*menu, DefaultCommandOf(*menu)));
    if (menuCallback_) {
        menuCallback_(*menu);
    }
    BringOwnerForward();
    const uint32_t command = environment_.trackMenu(*menu, environment_.cursorPosition());
    if (command != 0 && owner_ != nullptr) {
        owner_->PostWindowMessage(platform::kCommandMessage, command, 0);
    }
}

void CTrayIcon::SendDefaultCommand() {
    const std::unique_ptr<QMenu> menu = LoadMenuResource(id_);
    if (!menu) {
        return;
    }
    const uint32_t command = DefaultCommandOf(*menu);
    BringOwnerForward();
    if (command != 0 && owner_ != nullptr) {
        owner_->SendWindowMessage(platform::kCommandMessage, command, 0);
    }
}

void CTrayIcon::BringOwnerForward() {
    auto* widget = owner_ != nullptr ? qobject_cast<QWidget*>(owner_->parent()) : nullptr;
    if (widget != nullptr && widget->window()->isVisible()) {
        widget->window()->raise();
        widget->window()->activateWindow();
    }
}

void CTrayIcon::OnTaskbarCreated() {
    if (!valid_ || hidden_) {
        return;
    }
    if (systemIcon_) {
        systemIcon_->hide();
    }
    AddIcon();
}

void CTrayIcon::WatchNotificationArea() {
    const bool available = environment_.trayAvailable();
    if (available && !areaWasAvailable_) {
        BroadcastTaskbarCreated();
    }
    areaWasAvailable_ = available;
}

platform::MessageResult CTrayIcon::CTrayHook::WindowProc(uint32_t message,
                                                         platform::MessageWParam wParam,
                                                         platform::MessageLParam lParam) {
    if (message == icon_.callbackMessage_ && HookedWindow() == icon_.owner_) {
        icon_.OnTrayNotify(wParam, lParam);
    } else if (message != 0 && message == icon_.taskbarCreatedMessage_) {
        icon_.OnTaskbarCreated();
    }
    return Default(message, wParam, lParam);
}

void BroadcastTaskbarCreated() {
    const uint32_t message = platform::RegisterWindowMessage(platform::kTaskbarCreatedName);
    std::vector<QPointer<platform::MessageWindow>> owners;
    for (const QPointer<CTrayIcon>& icon : LiveIcons()) {
        if (!icon.isNull() && icon->Owner() != nullptr &&
            std::find(owners.begin(), owners.end(), icon->Owner()) == owners.end()) {
            owners.emplace_back(icon->Owner());
        }
    }
    for (const QPointer<platform::MessageWindow>& owner : owners) {
        if (!owner.isNull()) {
            owner->CallWindowProcedure(message, 0, 0);
        }
    }
}

}  // namespace qx::widgets
