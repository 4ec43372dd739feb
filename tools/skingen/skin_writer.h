// Writes a window's skin from its description: the INI file, the background and mask pictures
// and every state picture; and the main window's lighting-panel bitmaps.
#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "layout.h"

namespace qx::skingen {

// What one picture shows: which state of the sheets, which page of the composite dialog, and
// whether it is one of the composite dialog's macro-only ("macro2") pictures.
struct PictureRequest {
    std::string file;
    int state = kNormalSheet;
    int page = 0;
    bool alt = false;
    bool litLegends = false;
};

// The window painted for a picture. Sheets are drawn one pixel up and left of the window,
// because a button placed at (x, y) cuts its face from the sheet at (x − 1, y − 1); the
// background is drawn in place.
QImage PaintPicture(const WindowLayout& layout, const PictureRequest& request, bool asSheet);

// The mask: pure white where the window is cut away (its rounded corners), black elsewhere.
QImage PaintMask(const WindowLayout& layout);

// Writes everything of one window into `folder` (ending in '/'). Returns the problems found
// (a key of the window's list without a control, a control the list does not know, a file that
// could not be written); empty on success.
std::vector<std::string> WriteWindowSkin(const WindowLayout& layout, const std::string& folder);

// The bitmaps of the main window's lighting panel, each cut to its control's place over the
// main window's background.
std::vector<std::string> WriteLightingBitmaps(const WindowLayout& main, const std::string& folder);

}  // namespace qx::skingen
