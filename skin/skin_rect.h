// The rectangle values of the skin files: "x,y,w,h" in the window's client coordinates.
// Qt-free so that the placement readers, the skin generator, the skin check and the fuzz target
// share one parser.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qx::skin {

// What a placement reader receives when the key is missing. It parses as 1, 1, 1, 1: the way a
// skin leaves a control unused (the trailing "x" is never read).
inline constexpr std::string_view kDefaultRectText = "1,1,1,1,x";

// Rectangle values are read into a buffer of this many characters (terminator included).
inline constexpr std::size_t kRectBuffer = 260;

// A number that is missing from a value takes this default, like the default text's numbers.
inline constexpr int kMissingNumber = 1;

struct SkinRect {
    int x = kMissingNumber;
    int y = kMissingNumber;
    int w = kMissingNumber;
    int h = kMissingNumber;
    int parsed = 0;  // how many of the four numbers the value held (0..4)

    // The control stays unused: a value that starts with 1,1 (a missing key gives exactly that).
    [[nodiscard]] bool IsUnused() const { return x == 1 && y == 1; }
    [[nodiscard]] int Right() const { return x + w; }   // exclusive
    [[nodiscard]] int Bottom() const { return y + h; }  // exclusive
    bool operator==(const SkinRect& other) const = default;
};

// Parses "x,y,w,h": optionally signed decimal integers separated by single commas, each number
// may be preceded by blanks (hand-edited skins write "10, 20, 30, 40"). Anything after the
// fourth number is ignored; parsing stops at the first thing that does not fit and the numbers
// not read keep kMissingNumber. Numbers beyond the int range saturate.
SkinRect ParseSkinRect(std::string_view text);

// "x,y,w,h" as the skin files write it.
std::string FormatSkinRect(int x, int y, int w, int h);

}  // namespace qx::skin
