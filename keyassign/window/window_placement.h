// Where the key assignment window opens: beside the key that opened it, where the screen has room,
// or centred for macro editing alone. Qt-free, in screen pixels.
#pragma once

namespace qx::keyassign::window {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// A key button's rectangle on the screen: left, top, right and bottom edges.
struct KeyRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct PlacementInput {
    int screenWidth = 0;
    int screenHeight = 0;
    KeyRect key;
    int windowWidth = 0;
    int windowHeight = 0;
    bool macroOnly = false;
};

// The window's top-left corner:
//   macro editing alone: centred, ((W - w) / 2, (H - h) / 2);
//   room to the right of the key (W - R >= w): below it at (R, B) when H - B >= h, else above it
//   at (R, T - h) when T >= h;
//   otherwise, or when neither fitted, room to the left (L >= w): (L - w, B) or (L - w, T - h) by
//   the same rule;
//   when nothing fits: (R, B).
ScreenPoint PlaceCompositeWindow(const PlacementInput& input);

}  // namespace qx::keyassign::window
