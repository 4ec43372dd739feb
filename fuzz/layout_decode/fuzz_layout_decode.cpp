// Any 324 bytes as a key layout read back from the keyboard (and, when the input holds 648
// bytes, the second 324 as the default layout): the block gets only kinds the program knows.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "device/transfer/key_action_layout.h"
#include "keyboard/image_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr std::size_t kLayout = qx::device::kKeyLayoutSize;
    if (size < kLayout) {
        return 0;
    }
    qx::device::KeyLayout defaultLayout = qx::device::kBuiltInDefaultLayout;
    if (size >= 2 * kLayout) {
        std::copy_n(data + kLayout, kLayout, defaultLayout.begin());
    }
    qx::keyboard::ImageRecord image;
    const std::span<const uint8_t, kLayout> layout(data, kLayout);
    qx::device::DecodeLayoutToBlock(layout, image.Block(0), defaultLayout);
    for (int entry = 0; entry < qx::keyboard::kEntriesPerBlock; ++entry) {
        if (image.Entry(0, entry).Kind() > qx::keyboard::kKindFunction) {
            std::abort();
        }
    }
    // Encoding the block again stays within the layout.
    const auto encoded = qx::device::EncodeProfileLayout(image.Block(0), defaultLayout,
                                                         [](uint16_t id) { return id - 1; });
    (void)encoded;
    return 0;
}
