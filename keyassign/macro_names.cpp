#include "keyassign/macro_names.h"

#include "keyboard/macro_record.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lang/text_format.h"
#include "platform/unicode_text.h"

namespace qx::keyassign {

std::string DefaultMacroName(int counter) {
    return lang::FormatText(kDefaultNameFormat, {lang::LangText(lang::kMacroNewPrefix), counter});
}

bool BeginsWithIgnoringCase(std::string_view name, std::string_view prefix) {
    std::size_t namePos = 0;
    std::size_t prefixPos = 0;
    while (prefixPos < prefix.size()) {
        if (namePos >= name.size()) {
            return false;
        }
        const char32_t wanted = platform::DecodeUtf8(prefix, prefixPos);
        const char32_t found = platform::DecodeUtf8(name, namePos);
        if (wanted != found && platform::FoldCase(wanted) != platform::FoldCase(found)) {
            return false;
        }
    }
    return true;
}

std::u16string StoredMacroName(std::string_view name) {
    return platform::Utf8ToUtf16(platform::CutToUtf16Units(name, keyboard::kMacroNameMaxChars));
}

}  // namespace qx::keyassign
