#include "keyboard/text_table.h"

#include <stdexcept>

namespace qx::keyboard {

const TextTable::Pair& TextTable::At(int entry) const {
    if (entry < 0 || entry >= kKeyEntryCount) {
        throw std::out_of_range("text-table entry outside 0..2047");
    }
    return pairs_[static_cast<std::size_t>(entry)];
}

TextTable::Pair& TextTable::At(int entry) {
    return const_cast<Pair&>(static_cast<const TextTable&>(*this).At(entry));
}

void TextTable::Set(int entry, std::u16string_view text) {
    Pair& pair = At(entry);
    total_ -= pair.byteLength;
    pair.text.assign(text);
    pair.byteLength = static_cast<uint32_t>((text.size() + 1) * sizeof(char16_t));
    total_ += pair.byteLength;
}

void TextTable::Clear(int entry) {
    Pair& pair = At(entry);
    total_ -= pair.byteLength;
    pair = Pair{};
}

void TextTable::ClearAll() {
    for (Pair& pair : pairs_) {
        pair = Pair{};
    }
    total_ = 0;
}

const std::u16string& TextTable::Text(int entry) const {
    return At(entry).text;
}

uint32_t TextTable::ByteLength(int entry) const {
    return At(entry).byteLength;
}

}  // namespace qx::keyboard
