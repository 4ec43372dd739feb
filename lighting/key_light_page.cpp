#include "lighting/key_light_page.h"

namespace qx::lighting {

bool IsKeyLit(const KeyLightPage& page, int layer, int lightingIndex) {
    if (!IsLayer(layer) || !HasLedPosition(lightingIndex)) {
        return false;
    }
    return (page[KeyBitByte(layer, lightingIndex)] & KeyBitMask(lightingIndex)) != 0;
}

}  // namespace qx::lighting
