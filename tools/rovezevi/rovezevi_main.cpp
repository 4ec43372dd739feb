// RoVezevi: the driver's companion program, started hidden at each start of the driver. When the
// keyboard is plugged in but this user may not open it, it tells the user once how to install
// the udev rule: as a desktop notification where the desktop has a notification service,
// otherwise on the error stream. Then, as in every other case, it ends.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QVariantMap>
#include <cstdio>

#include "lang/language.h"
#include "platform/program_paths.h"
#include "platform/qt_settings_store.h"
#include "tools/rovezevi/udev_notice.h"

namespace {

constexpr int kNotifyTimeoutMs = 3000;
constexpr int kNotificationShownUntilClosed = 0;

bool NotifyDesktop(const qx::companion::NoticeText& text) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusInterface notifications(QStringLiteral("org.freedesktop.Notifications"),
                                 QStringLiteral("/org/freedesktop/Notifications"),
                                 QStringLiteral("org.freedesktop.Notifications"), bus);
    notifications.setTimeout(kNotifyTimeoutMs);
    const QDBusReply<uint> reply =
        notifications.call(QStringLiteral("Notify"), QStringLiteral("Varkon QX480 Driver"), 0U,
                           QStringLiteral("input-keyboard"), QString::fromStdString(text.summary),
                           QString::fromStdString(text.body), QStringList{}, QVariantMap{},
                           kNotificationShownUntilClosed);
    return reply.isValid();
}

// The rule ships in the run-time folder's udev/ folder when built, and under the prefix's
// lib/udev/rules.d when installed; the notice names the first that exists.
std::string RuleFolder() {
    const std::string folder = qx::platform::GetProgramPaths().folder;
    for (const std::string& candidate : {folder + "udev/", folder + "../udev/rules.d/"}) {
        if (std::FILE* file = std::fopen((candidate + "70-qx480.rules").c_str(), "r")) {
            std::fclose(file);
            return candidate;
        }
    }
    return folder + "udev/";
}

}  // namespace

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    qx::platform::QtSettingsStore settings;  // the language the user chose for the driver
    qx::platform::SetCurrentSettings(&settings);
    const std::string memo = qx::companion::NoticeFilePath();
    const bool told = qx::companion::ReadNoticeTold(memo);
    switch (qx::companion::DecideNotice(qx::transport::hidraw::CheckKeyboardAccess(), told)) {
        case qx::companion::NoticeAction::None:
            break;
        case qx::companion::NoticeAction::Forget:
            qx::companion::WriteNoticeTold(memo, false);
            break;
        case qx::companion::NoticeAction::Tell: {
            const auto text =
                qx::companion::UdevNoticeText(qx::lang::GetLanguageIndex(), RuleFolder());
            if (!NotifyDesktop(text)) {
                std::fprintf(stderr, "%s\n%s\n", text.summary.c_str(), text.body.c_str());
            }
            qx::companion::WriteNoticeTold(memo, true);
            break;
        }
    }
    qx::platform::SetCurrentSettings(nullptr);
    return 0;
}
