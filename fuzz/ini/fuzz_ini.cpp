// Language, skin and settings files are outside data. Every lookup must end with the default or
// a valid UTF-8 text within the caller's limit, and a found text used as a format must be safe.
// The index a read scope makes of a file must answer every lookup as the scan does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lang/text_format.h"
#include "platform/ini_file.h"
#include "platform/ini_index.h"
#include "platform/unicode_text.h"

namespace {

constexpr std::size_t kBufferSizes[] = {
    0, 1, 2, 5, qx::platform::kLanguageTextBuffer, qx::platform::kSkinStringBuffer};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The name inside the first "[...]" of the input, so that lookups also hit what it holds.
std::string_view FirstSectionName(std::string_view bytes) {
    const std::size_t open = bytes.find('[');
    if (open == std::string_view::npos) {
        return {};
    }
    const std::size_t close = bytes.find(']', open);
    return close == std::string_view::npos ? std::string_view()
                                           : bytes.substr(open + 1, close - open - 1);
}

// The text before the first '=' of the second line: the first key of a typical file.
std::string_view FirstKeyName(std::string_view bytes) {
    const std::size_t newline = bytes.find('\n');
    if (newline == std::string_view::npos) {
        return {};
    }
    const std::string_view rest = bytes.substr(newline + 1);
    return rest.substr(0, rest.find('='));
}

void Lookup(std::string_view bytes, std::string_view section, std::string_view key) {
    const qx::platform::ini_detail::IniIndex index{std::string(bytes)};
    for (const std::size_t buffer : kBufferSizes) {
        const std::optional<std::string> value =
            qx::platform::FindIniValue(bytes, section, key, buffer);
        Check(index.Find(section, key, buffer) == value);
        if (!value) {
            continue;
        }
        Check(qx::platform::Utf16Length(*value) <= (buffer == 0 ? 0 : buffer - 1));
        Check(qx::platform::CutToUtf16Units(*value, value->size()) == *value);  // valid UTF-8
        const std::string formatted = qx::lang::FormatText(*value, {40000, "/home/user/a.kpf"});
        (void)formatted;
        (void)qx::lang::FormatArgKinds(*value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Lookup(bytes, "TEXT", "MAIN_CAPTION");
    Lookup(bytes, "text", "unknown_key");
    Lookup(bytes, "LIGHT", "Speed");
    Lookup(bytes, "MODE", "254");
    Lookup(bytes, "", "k");
    Lookup(bytes, FirstSectionName(bytes), FirstKeyName(bytes));
    return 0;
}
