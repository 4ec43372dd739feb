// Any text as a skin rectangle value: parsing never reads past the text, reports 0..4 numbers,
// and a fully parsed rectangle survives formatting and parsing again. The same bytes cut as a
// skin path or string stay a prefix of the input that ends on a character boundary.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "skin/skin_ini.h"
#include "skin/skin_rect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const qx::skin::SkinRect rect = qx::skin::ParseSkinRect(text);
    if (rect.parsed < 0 || rect.parsed > 4) {
        std::abort();
    }
    if (rect.parsed == 4) {
        const qx::skin::SkinRect again =
            qx::skin::ParseSkinRect(qx::skin::FormatSkinRect(rect.x, rect.y, rect.w, rect.h));
        if (!(again == rect)) {
            std::abort();
        }
    }
    for (std::size_t limit : {std::size_t{0}, std::size_t{3}, qx::skin::kIniPathMaxChars}) {
        const std::string cut = qx::skin::CutUtf8(text, limit);
        if (cut.size() > text.size() || text.substr(0, cut.size()) != cut) {
            std::abort();
        }
        // A character is cut whole: a non-empty cut never stops before a continuation byte (an
        // empty one may, when the text starts with a stray one).
        if (!cut.empty() && cut.size() < text.size() &&
            (static_cast<unsigned char>(text[cut.size()]) & 0xC0U) == 0x80U) {
            std::abort();
        }
    }
    return 0;
}
