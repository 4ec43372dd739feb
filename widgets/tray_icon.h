// The icon of the driver in the desktop's notification area, over QSystemTrayIcon.
//
// The icon reports mouse actions to its owner window as the tray callback message (wParam = the
// icon id, lParam = the mouse notification of platform/system_messages.h), posted to the owner's
// window procedure, so that what it starts (a menu, a modal box) runs from the event loop and not
// inside the desktop icon's own event handling. A hook on the owner (CTrayHook) handles it: a
// right click opens the tray menu (menu 140) at the cursor with its texts localised at that moment
// and its default item drawn bold; a click or a double click sends the owner the default command
// (Open). Desktops that speak StatusNotifierItem report a click only, never a double click, and
// a Linux user expects a click to open the window everywhere. Commands reach the owner as
// platform::kCommandMessage with the command in wParam.
//
// A valid icon watches for the desktop's notification area from Create on: a driver started at
// login before the panel gets its icon when the panel comes up. When the area starts again it
// raises "TaskbarCreated" (BroadcastTaskbarCreated), and an icon that is shown is removed and
// added again; one still waiting for its first area is added.
//
// Every operation returns false and changes nothing while the icon is not valid: Create failed
// (no owner) or Remove was called. User-interface thread only.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/message_window.h"
#include "platform/subclass_wnd.h"

class QMenu;

namespace qx::widgets {

class CTrayIcon : public QObject {
    Q_OBJECT

  public:
    // Called with the tray menu just before it opens (the localisation).
    using MenuCallback = std::function<void(QMenu& menu)>;
    // Shows the menu at the point and returns the command chosen, 0 when none was.
    using MenuTracker = std::function<uint32_t(QMenu& menu, QPoint at)>;

    // What the icon needs of the desktop; tests replace it.
    struct Environment {
        std::function<bool()> trayAvailable;     // default: QSystemTrayIcon::isSystemTrayAvailable
        MenuTracker trackMenu;                   // default: QMenu::exec at the point
        std::function<QPoint()> cursorPosition;  // default: QCursor::pos
        // How often a valid icon looks whether a notification area is (back) there.
        int areaWatchPeriodMs = 2000;
    };

    CTrayIcon();
    explicit CTrayIcon(Environment environment);
    // Removes the icon.
    ~CTrayIcon() override;
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon with the picture of icon resource `iconId` (widgets/program_icons.h) and the
    // tip, hooks the owner (and `topLevel` when it is another window) and returns whether the
    // icon is valid. Fails only without an owner; without a notification area the icon is valid
    // and waits for one (IsInArea).
    bool Create(platform::MessageWindow* owner, uint32_t callbackMessage, const std::string& tip,
                int iconId, uint32_t id, platform::MessageWindow* topLevel = nullptr);

    bool SetIcon(int iconId);
    bool SetStandardIcon(QStyle::StandardPixmap standardIcon);
    bool SetTip(const std::string& tip);
    // A balloon message; empty texts for null arguments. `timeoutMs` is a hint to the desktop.
    bool ShowBalloon(const char* text, const char* title, int timeoutMs,
                     QSystemTrayIcon::MessageIcon icon = QSystemTrayIcon::Information);
    // Removes the icon for a while / adds it again.
    bool Hide();
    bool Show();
    // Removes the icon for good: the icon is no longer valid.
    bool Remove();

    // The command a double click sends and the menu marks as default; 0: the menu's first item.
    void SetDefaultMenuItem(uint32_t command) { defaultCommand_ = command; }
    void SetMenuCallback(MenuCallback callback) { menuCallback_ = std::move(callback); }

    [[nodiscard]] bool IsValid() const { return valid_; }
    [[nodiscard]] bool IsHidden() const { return hidden_; }
    // Shown in a notification area now.
    [[nodiscard]] bool IsInArea() const { return systemIcon_ && systemIcon_->isVisible(); }
    [[nodiscard]] uint32_t Id() const { return id_; }
    [[nodiscard]] uint32_t CallbackMessage() const { return callbackMessage_; }
    [[nodiscard]] platform::MessageWindow* Owner() const { return owner_.data(); }
    // The desktop's icon, for tests: made when the icon is first added to a notification area
    // (null until then), visible while it is added.
    [[nodiscard]] const QSystemTrayIcon* SystemIcon() const { return systemIcon_.get(); }
    [[nodiscard]] std::string Tip() const;
    [[nodiscard]] int IconId() const { return iconId_; }

    // The tray callback: handles the mouse notification `mouseMessage` of icon `iconId`.
    void OnTrayNotify(platform::MessageWParam iconId, platform::MessageLParam mouseMessage);
    // "TaskbarCreated": adds the icon again when it is valid and not hidden.
    void OnTaskbarCreated();

  private:
    class CTrayHook : public platform::CSubclassWnd {
      public:
        explicit CTrayHook(CTrayIcon& icon) : icon_(icon) {}

      protected:
        platform::MessageResult WindowProc(uint32_t message, platform::MessageWParam wParam,
                                           platform::MessageLParam lParam) override;

      private:
        CTrayIcon& icon_;
    };

    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void OpenMenu();
    void SendDefaultCommand();
    uint32_t DefaultCommandOf(QMenu& menu) const;
    void BringOwnerForward();
    void AddIcon();
    void WatchNotificationArea();

    Environment environment_;
    // Made when the first notification area is there: Qt picks how it talks to the area (D-Bus
    // or the X11 tray) when the icon is made.
    std::unique_ptr<QSystemTrayIcon> systemIcon_;
    QIcon picture_;
    QString tip_;
    CTrayHook ownerHook_{*this};
    CTrayHook topLevelHook_{*this};
    QPointer<platform::MessageWindow> owner_;
    QTimer areaWatch_;  // raises "TaskbarCreated" when a notification area appears
    bool areaWasAvailable_ = false;
    uint32_t callbackMessage_ = 0;
    uint32_t taskbarCreatedMessage_ = 0;
    uint32_t id_ = 0;
    int iconId_ = 0;
    uint32_t defaultCommand_ = 0;
    MenuCallback menuCallback_;
    bool valid_ = false;
    bool hidden_ = false;
};

// Sends "TaskbarCreated" through the window procedure of every window that owns a tray icon:
// what the desktop does when its notification area starts again. A valid icon raises it when the
// notification area comes back; tests raise it directly.
void BroadcastTaskbarCreated();

}  // namespace qx::widgets
