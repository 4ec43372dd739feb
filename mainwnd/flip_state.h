// The "Flip" setting of some keyboard layouts: with flip off the keys F1..F4 are in use and the
// six D buttons are not; with flip on the other way round. The flip indicator and the two arrows
// above the keyboard view show the state. Qt-free.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qx::mainwnd {

// Any nonzero number stored under "Flip" counts as on.
bool IsFlipOn(std::string_view storedText);

// The stored setting ("0" when missing), read now.
bool ReadFlip();
// Stores the inverted setting ("1" when it was off, "0" otherwise); returns the new state.
bool ToggleFlip();

// The buttons enabled in a flip state, and those disabled.
std::span<const int> FlipEnabledButtons(bool flipOn);
std::span<const int> FlipDisabledButtons(bool flipOn);

// The "BUTTONINFO2" keys of the arrow pictures for a flip state and frame (1 or 2): the "UP_"
// keys while flip is on, the "DOWN_" keys while it is off.
std::string LeftArrowSheetKey(bool flipOn, int frame);
std::string RightArrowSheetKey(bool flipOn, int frame);

inline constexpr int kArrowFrameNormal = 1;
inline constexpr int kArrowFrameHover = 2;

}  // namespace qx::mainwnd
