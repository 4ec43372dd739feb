// Which buttons of the keyboard view show per-key lighting, and which LED a click toggles.
//
// The keyboard view frames its 107 key buttons, the Fn button (LED 45) and the nine G-key
// buttons. G keys have no LED of their own; the view shows them with the bit of lighting index
// 0. A click, however, only toggles a key that has a place in the LED matrix:
// clicks on G keys and on keys whose lighting index is 255 change nothing and send nothing, so
// no click ever writes a bit that belongs to another key or another layer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace qx::lighting {

struct FramedButton {
    int controlId = 0;
    uint8_t lightingIndex = 0;  // the bit the button's frame shows; 255: never lit
};

// Key buttons in the view's order, then Fn, then the G keys.
std::span<const FramedButton> FramedButtons();

// The lighting index a click on the control toggles; nothing for G keys, keys without an LED
// and controls that are no key of the view.
std::optional<int> LedOfClickedButton(int controlId);

}  // namespace qx::lighting
