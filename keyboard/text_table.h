// The text table: one UTF-16 text per key entry (2048), for the assignments that carry a text
// (launch program, text block), with each text's byte length including its terminator and the
// running total of all lengths. A pair with length 0 has no text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "keyboard/image_layout.h"

namespace qx::keyboard {

class TextTable {
  public:
    // Stores a copy of the text for key entry 0..2047; its length becomes (characters + 1) × 2.
    // Throws std::out_of_range for any other entry.
    void Set(int entry, std::u16string_view text);
    // Frees the entry's text (length 0).
    void Clear(int entry);
    // Frees every text; the total becomes 0.
    void ClearAll();

    const std::u16string& Text(int entry) const;
    uint32_t ByteLength(int entry) const;
    bool HasText(int entry) const { return ByteLength(entry) != 0; }
    uint32_t Total() const { return total_; }

  private:
    struct Pair {
        std::u16string text;
        uint32_t byteLength = 0;
    };
    const Pair& At(int entry) const;
    Pair& At(int entry);

    std::array<Pair, kKeyEntryCount> pairs_{};
    uint32_t total_ = 0;
};

}  // namespace qx::keyboard
