// The desktop's on-screen keyboard, for users who assign keys their keyboard lacks.
#pragma once

#include <QString>
#include <QStringList>

namespace qx::keyassign::window {

// On-screen keyboards of Linux desktops, the first installed one is started.
QStringList OnScreenKeyboardPrograms();

// The path of the first installed on-screen keyboard; empty when none is installed.
QString FindOnScreenKeyboard();

// Starts the first installed on-screen keyboard detached from this program; false (nothing done)
// when none is installed or it could not be started.
bool StartOnScreenKeyboard();

}  // namespace qx::keyassign::window
