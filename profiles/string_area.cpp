#include "profiles/string_area.h"

#include "keyboard/byte_order.h"

namespace qx::profiles {
namespace {

constexpr std::size_t kUnitSize = sizeof(char16_t);

keyboard::KeyEntryRef EntryAt(keyboard::ImageRecord& image, int absoluteEntry) {
    return image.Entry(absoluteEntry / keyboard::kEntriesPerBlock,
                       absoluteEntry % keyboard::kEntriesPerBlock);
}

keyboard::ConstKeyEntryRef EntryAt(const keyboard::ImageRecord& image, int absoluteEntry) {
    return image.Entry(absoluteEntry / keyboard::kEntriesPerBlock,
                       absoluteEntry % keyboard::kEntriesPerBlock);
}

void CopyText(const std::u16string& text, std::span<uint8_t> to) {
    for (std::size_t unit = 0; unit < text.size(); ++unit) {
        keyboard::StoreLe16(to, kUnitSize * unit, static_cast<uint16_t>(text[unit]));
    }
    keyboard::StoreLe16(to, kUnitSize * text.size(), 0);
}

}  // namespace

bool CarriesText(uint16_t kind) {
    return kind == keyboard::kKindLaunch || kind == keyboard::kKindText;
}

void PackTextArea(keyboard::ImageRecord& image, const keyboard::TextTable& texts,
                  std::span<uint8_t> area) {
    std::size_t offset = 0;
    for (int entry = 0; entry < keyboard::kKeyEntryCount; ++entry) {
        const uint32_t length = texts.ByteLength(entry);
        if (length == 0 || offset + length > area.size()) {
            continue;
        }
        keyboard::KeyEntryRef key = EntryAt(image, entry);
        if (!CarriesText(key.Kind())) {
            continue;
        }
        CopyText(texts.Text(entry), area.subspan(offset, length));
        key.SetValue(static_cast<uint32_t>(offset));
        offset += length;
    }
}

std::variant<std::u16string, TextProblem> TextAt(std::span<const uint8_t> area, uint32_t offset) {
    std::size_t pos = offset & ~std::size_t{1};
    if (pos >= area.size()) {
        return TextProblem::OutsideArea;
    }
    std::u16string text;
    for (; pos + kUnitSize <= area.size(); pos += kUnitSize) {
        const uint16_t unit = keyboard::LoadLe16(area, pos);
        if (unit == 0) {
            return text;
        }
        text.push_back(static_cast<char16_t>(unit));
    }
    return TextProblem::Unterminated;
}

std::optional<UnpackProblem> UnpackTextArea(const keyboard::ImageRecord& image,
                                            std::span<const uint8_t> area,
                                            keyboard::TextTable& texts) {
    if (area.empty()) {
        return std::nullopt;
    }
    for (int entry = 0; entry < keyboard::kKeyEntryCount; ++entry) {
        const keyboard::ConstKeyEntryRef key = EntryAt(image, entry);
        if (!CarriesText(key.Kind())) {
            continue;
        }
        auto text = TextAt(area, key.Value());
        if (const auto* problem = std::get_if<TextProblem>(&text)) {
            return UnpackProblem{entry, *problem};
        }
        texts.Set(entry, std::get<std::u16string>(text));
    }
    return std::nullopt;
}

}  // namespace qx::profiles
