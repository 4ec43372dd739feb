// Loading the pictures a skinned window is drawn from, and the program's reaction to a skin that
// cannot be shown.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>

namespace qx::skin {

// Ends the program without a message (exit code 0) when a window's background or mask cannot be
// loaded. Tests install their own handler to observe the event; when a handler returns, the
// caller carries on with an empty picture.
using SkinFatalHandler = std::function<void()>;

// Replaces the handler; an empty function restores the default (ending the process with 0).
void SetSkinFatalHandler(SkinFatalHandler handler);

// Runs the current handler (the default never returns).
void EndProgramForSkin();

// The picture in the file at `path`, decoded by content (BMP, JPEG, GIF, ICO, PNG). A file that
// cannot be opened, read or decoded ends the program (EndProgramForSkin); when the handler
// returns, the result is a null image.
QImage LoadPictureFile(const QString& path);

// The same decoding without the fatal reaction: a null image when the file is missing or not a
// picture. Used for state images, whose failure only leaves their sheet blank.
QImage DecodePictureFile(const QString& path);

// The two halves of DecodePictureFile: the file's bytes (empty when it cannot be read) and the
// picture they hold (null when they are not one).
QByteArray ReadPictureBytes(const QString& path);
QImage DecodePictureBytes(const QByteArray& bytes);

}  // namespace qx::skin
