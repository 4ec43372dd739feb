// Checks a skin folder the way the windows will load it: every key a window reads is there, every
// rectangle lies inside its window, no two controls collide (see ControlRole), and every picture
// decodes at the size the window needs. Used by the skin generator after writing a skin and by
// the tests.
#pragma once

#include <QRect>
#include <map>
#include <string>
#include <vector>

#include "skin/skin_keys.h"

namespace qx::skin {

struct WindowSkinReport {
    QSize windowSize;                     // the background picture's size
    std::map<std::string, QRect> placed;  // every "BUTTONINFO" key found, as placed
    std::vector<std::string> problems;    // empty when the skin is sound
};

// `skinFolder` ends in '/'.
WindowSkinReport CheckWindowSkin(const std::string& skinFolder, const WindowSkinKeys& window);

// Whether two controls of a window may share pixels.
bool MayOverlap(const SkinKey& a, const SkinKey& b);

}  // namespace qx::skin
