#include "keyassign/window/onscreen_keyboard.h"

#include <QProcess>
#include <QStandardPaths>

namespace qx::keyassign::window {

QStringList OnScreenKeyboardPrograms() {
    return {QStringLiteral("onboard"),     QStringLiteral("florence"),
            QStringLiteral("squeekboard"), QStringLiteral("matchbox-keyboard"),
            QStringLiteral("kvkbd"),       QStringLiteral("xvkbd")};
}

QString FindOnScreenKeyboard() {
    for (const QString& program : OnScreenKeyboardPrograms()) {
        QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty()) {
            return path;
        }
    }
    return {};
}

bool StartOnScreenKeyboard() {
    const QString path = FindOnScreenKeyboard();
    return !path.isEmpty() && QProcess::startDetached(path, {});
}

}  // namespace qx::keyassign::window
