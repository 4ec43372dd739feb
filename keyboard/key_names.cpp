#include "keyboard/key_names.h"

#include "keyboard/key_table.h"
#include "lang/language.h"
#include "lang/text_format.h"
#include "platform/unicode_text.h"

namespace qx::keyboard {
namespace {

std::string CurrentLanguageText(std::string_view key) {
    return lang::LoadLangText(key, lang::GetLanguageIndex());
}

}  // namespace

std::string KeyNameOfCode(KeyCode code, std::size_t capacity) {
    if (capacity == 0) {
        return {};
    }
    const KeyRow& row = KeyRowOfCode(code);
    std::string name;
    if (!row.languageKey.empty()) {
        name = CurrentLanguageText(row.languageKey);
    }
    if (name.empty()) {
        // The format comes from the language file: the safe formatter fills only what fits.
        name = lang::FormatText(CurrentLanguageText(kUnknownKeyText), {code});
    }
    return platform::CutToUtf16Units(name, capacity - 1);
}

std::string KeyNameOfPicker(uint16_t picker) {
    if (picker == kNoPicker) {
        return {};
    }
    for (const KeyRow& row : KeyTable()) {
        if (row.picker == picker) {
            return row.languageKey.empty() ? std::string{} : CurrentLanguageText(row.languageKey);
        }
    }
    return {};
}

}  // namespace qx::keyboard
