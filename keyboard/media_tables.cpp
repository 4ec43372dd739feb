#include "keyboard/media_tables.h"

#include <algorithm>
#include <span>

namespace qx::keyboard {

std::optional<MultimediaEntry> MultimediaAt(int index) {
    if (index < 0 || index >= kMultimediaCount) {
        return std::nullopt;
    }
    return kMultimediaList[static_cast<std::size_t>(index)];
}

std::optional<int> MultimediaIndexOfKeyCode(KeyCode code) {
    const auto* it = std::find_if(kMultimediaList.begin(), kMultimediaList.end(),
                                  [code](const MultimediaEntry& e) { return e.keyCode == code; });
    if (it == kMultimediaList.end()) {
        return std::nullopt;
    }
    return static_cast<int>(it - kMultimediaList.begin());
}

std::optional<int> MultimediaIndexOfUsage(uint16_t usage) {
    const auto* it =
        std::find_if(kMultimediaList.begin(), kMultimediaList.end(),
                     [usage](const MultimediaEntry& e) { return e.consumerUsage == usage; });
    if (it == kMultimediaList.end()) {
        return std::nullopt;
    }
    return static_cast<int>(it - kMultimediaList.begin());
}

std::optional<uint8_t> ConsumerIndexOfUsage(uint16_t usage) {
    // Only the used slots count: the unused ones hold 0, which is no usage at all.
    const auto used = std::span(kConsumerUsages).first(kConsumerSlotsUsed);
    const auto it = std::find(used.begin(), used.end(), usage);
    if (it == used.end()) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(kFirstConsumerIndex + (it - used.begin()));
}

}  // namespace qx::keyboard
