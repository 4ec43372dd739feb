// The string area of a profile file: the texts of the launch-program and text-block entries,
// packed in ascending entry order as UTF-16LE with a 16-bit terminator, without gaps. The same
// packing fills the snapshot's text area for a download.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "keyboard/image_record.h"
#include "keyboard/text_table.h"

namespace qx::profiles {

// True for the kinds whose value field holds a text's offset in the string area.
bool CarriesText(uint16_t kind);

// Packs the text table into `area` (area.size() is S, the text table's total; the caller
// provides it zero-filled). Visits entries 0..2047 in order; an entry contributes when its text
// has a non-zero length that still fits into the area and its kind carries a text. Each
// contributing entry's offset is written into its value field in `image`. Bytes no text takes
// stay as they are (zeros).
void PackTextArea(keyboard::ImageRecord& image, const keyboard::TextTable& texts,
                  std::span<uint8_t> area);

// Why a text could not be taken from a string area.
enum class TextProblem {
    OutsideArea,   // the offset (rounded down to even) does not lie inside the area
    Unterminated,  // no 16-bit terminator between the offset and the end of the area
};

// The text at `offset` (rounded down to an even number) up to its terminator.
std::variant<std::u16string, TextProblem> TextAt(std::span<const uint8_t> area, uint32_t offset);

// Fills `texts` (which must be empty) from the area for every text-carrying entry of `image`.
// An empty area holds no texts: its entries come without text. Any other entry whose text
// cannot be taken is a problem; the entry's index is reported and `texts` is left partly filled.
struct UnpackProblem {
    int entry;
    TextProblem problem;
};
std::optional<UnpackProblem> UnpackTextArea(const keyboard::ImageRecord& image,
                                            std::span<const uint8_t> area,
                                            keyboard::TextTable& texts);

}  // namespace qx::profiles
