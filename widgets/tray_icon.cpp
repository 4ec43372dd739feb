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

// How often a valid icon looks whether the notification area is (back) there.
constexpr int kAreaWatchPeriodMs = 2000;

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

CTrayIcon::CTrayIcon(Environment environment)
    : environment_(CompleteEnvironment(std::move(environment))),
      systemIcon_(std::make_unique<QSystemTrayIcon>()) {
    connect(systemIcon_.get(), &QSystemTrayIcon::activated, this, &CTrayIcon::OnActivated);
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
    // A desktop without a notification area is what an old shell was: no icon at all.
    if (owner == nullptr || !environment_.trayAvailable()) {
        valid_ = false;
        return false;
    }
    owner_ = owner;
    callbackMessage_ = callbackMessage;
    taskbarCreatedMessage_ = platform::RegisterWindowMessage(platform::kTaskbarCreatedName);
    id_ = id;
    iconId_ = iconId;
    systemIcon_->setIcon(ProgramIcon(iconId));
    systemIcon_->setToolTip(QString::fromStdString(tip));
    ownerHook_.HookWindow(owner);
    if (topLevel != nullptr && topLevel != owner) {
        topLevelHook_.HookWindow(topLevel);
    }
    AddIcon();
    areaWasAvailable_ = true;
    areaWatch_.start(kAreaWatchPeriodMs);
    return valid_;
}

void CTrayIcon::AddIcon() {
    systemIcon_->show();
    valid_ = true;
    hidden_ = false;
}

bool CTrayIcon::SetIcon(int iconId) {
    if (!valid_ || !HasIconResource(iconId)) {
        return false;
    }
    iconId_ = iconId;
    systemIcon_->setIcon(ProgramIcon(iconId));
    return true;
}

bool CTrayIcon::SetStandardIcon(QStyle::StandardPixmap standardIcon) {
    if (!valid_) {
        return false;
    }
    systemIcon_->setIcon(QApplication::style()->standardIcon(standardIcon));
    return true;
}

bool CTrayIcon::SetTip(const std::string& tip) {
    if (!valid_) {
        return false;
    }
    systemIcon_->setToolTip(QString::fromStdString(tip));
    return true;
}

std::string CTrayIcon::Tip() const {
    return systemIcon_->toolTip().toStdString();
}

bool CTrayIcon::ShowBalloon(const char* text, const char* title, int timeoutMs,
                            QSystemTrayIcon::MessageIcon icon) {
    if (!valid_) {
        return false;
    }
    systemIcon_->showMessage(QString::fromUtf8(title != nullptr ? title : ""),
                             QString::fromUtf8(text != nullptr ? text : ""), icon, timeoutMs);
    return true;
}

bool CTrayIcon::Hide() {
    if (!valid_) {
        return false;
    }
    systemIcon_->hide();
    hidden_ = true;
    return true;
}

bool CTrayIcon::Show() {
    if (!valid_) {
        return false;
    }
    AddIcon();
    return true;
}

bool CTrayIcon::Remove() {
    if (!valid_) {
        return false;
    }
    systemIcon_->hide();
    areaWatch_.stop();
    valid_ = false;
    return true;
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    const uint32_t mouseMessage = MouseMessageOf(reason);
    if (owner_ != nullptr && mouseMessage != 0) {
        // Through the owner's window procedure, so the hook sees it as the shell's callback.
        owner_->SendWindowMessage(callbackMessage_, id_, mouseMessage);
    }
}

void CTrayIcon::OnTrayNotify(platform::MessageWParam iconId, platform::MessageLParam mouseMessage) {
    if (!valid_ || iconId != id_) {
        return;
    }
    if (mouseMessage == platform::kRightButtonUp) {
        OpenMenu();
    } else if (mouseMessage == platform::kLeftButtonDoubleClick) {
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
    if (valid_ && !hidden_) {
        systemIcon_->hide();
        systemIcon_->show();
    }
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
