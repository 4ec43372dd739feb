#include "lighting/key_frames.h"

#include <array>

#include "keyboard/key_buttons.h"
#include "lighting/key_light_page.h"

namespace qx::lighting {
namespace {

// The G keys show the bit of index 0, as the view draws them.
constexpr uint8_t kGKeyFrameIndex = 0;
constexpr std::size_t kFramedCount =
    keyboard::kKeyButtonCount + 1 + keyboard::kGKeyButtonCount;  // keys, Fn, G keys

std::array<FramedButton, kFramedCount> BuildFramedButtons() {
    std::array<FramedButton, kFramedCount> buttons{};
    std::size_t next = 0;
    for (const keyboard::KeyButton& key : keyboard::KeyButtons()) {
        buttons[next++] = {key.controlId, key.lightingIndex};
    }
    buttons[next++] = {keyboard::kFnButtonId, keyboard::kFnLightingIndex};
    for (const int id : keyboard::kGKeyButtonIds) {
        buttons[next++] = {id, kGKeyFrameIndex};
    }
    return buttons;
}

}  // namespace

std::span<const FramedButton> FramedButtons() {
    static const std::array<FramedButton, kFramedCount> buttons = BuildFramedButtons();
    return buttons;
}

std::optional<int> LedOfClickedButton(int controlId) {
    if (controlId == keyboard::kFnButtonId) {
        return keyboard::kFnLightingIndex;
    }
    const auto key = keyboard::KeyButtonOfId(controlId);
    if (!key || !HasLedPosition(key->lightingIndex)) {
        return std::nullopt;
    }
    return key->lightingIndex;
}

}  // namespace qx::lighting
