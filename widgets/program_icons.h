// The program's icons, painted in the skin's colours at whatever size the desktop asks for:
// 128 the program and "no keyboard" (a dim keyboard), 141 "keyboard attached" (the keyboard in
// the accent colour), 142 the activity indicator (the lit keyboard with a signal mark).
#pragma once

#include <QIcon>
#include <QPixmap>

namespace qx::widgets {

inline constexpr int kProgramIconId = 128;

// True for the icon resources the program has.
bool HasIconResource(int iconId);
// The icon of `iconId`; a null icon for an id the program does not have.
QIcon ProgramIcon(int iconId);
// One picture of it, `size` pixels square (transparent around the rounded tile).
QPixmap PaintProgramIcon(int iconId, int size);

}  // namespace qx::widgets
