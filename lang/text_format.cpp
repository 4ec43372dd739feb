#include "lang/text_format.h"

#include <array>
#include <charconv>

namespace qx::lang {
namespace {

constexpr std::size_t kMaxWidthDigits = 2;

struct Directive {
    std::size_t length = 0;  // characters from '%' to the conversion, inclusive
    bool leftAlign = false;
    bool zeroPad = false;
    std::size_t width = 0;
    char conversion = 0;
};

bool IsNumberConversion(char c) {
    return c == 'd' || c == 'i' || c == 'u' || c == 'x' || c == 'X';
}

// Parses the directive at format[pos] == '%'; nothing when it is not one.
std::optional<Directive> ParseDirective(std::string_view format, std::size_t pos) {
    Directive directive;
    std::size_t i = pos + 1;
    while (i < format.size() && (format[i] == '-' || format[i] == '0')) {
        (format[i] == '-' ? directive.leftAlign : directive.zeroPad) = true;
        ++i;
    }
    std::size_t digits = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {  // '0' first is a flag
        if (++digits > kMaxWidthDigits) {
            return std::nullopt;
        }
        directive.width = directive.width * 10 + static_cast<std::size_t>(format[i] - '0');
        ++i;
    }
    if (i >= format.size()) {
        return std::nullopt;
    }
    const char c = format[i];
    if (!IsNumberConversion(c) && c != 's') {
        return std::nullopt;
    }
    directive.conversion = c;
    directive.length = i + 1 - pos;
    return directive;
}

std::string NumberText(const Directive& directive, int64_t number) {
    std::array<char, 24> buffer{};
    std::to_chars_result result{};
    const auto unsignedValue = static_cast<uint32_t>(number);  // as the 32-bit platform printed it
    switch (directive.conversion) {
        case 'x':
            result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), unsignedValue, 16);
            break;
        case 'X': {
            result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), unsignedValue, 16);
            for (char* p = buffer.data(); p != result.ptr; ++p) {
                if (*p >= 'a' && *p <= 'f') {
                    *p = static_cast<char>(*p - 'a' + 'A');
                }
            }
            break;
        }
        case 'u':
            result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), unsignedValue);
            break;
        default:
            result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                   static_cast<int32_t>(number));
            break;
    }
    return std::string(buffer.data(), result.ptr);
}

void AppendPadded(std::string& out, const Directive& directive, std::string_view text,
                  bool numeric) {
    const std::size_t padding = directive.width > text.size() ? directive.width - text.size() : 0;
    if (directive.leftAlign) {
        out += text;
        out.append(padding, ' ');
        return;
    }
    if (directive.zeroPad && numeric) {
        const bool negative = !text.empty() && text.front() == '-';
        if (negative) {
            out += '-';
            text.remove_prefix(1);
        }
        out.append(padding, '0');
        out += text;
        return;
    }
    out.append(padding, ' ');
    out += text;
}

}  // namespace

std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    out.reserve(format.size() + 16);
    const FormatArg* next = args.begin();
    std::size_t pos = 0;
    while (pos < format.size()) {
        const std::size_t percent = format.find('%', pos);
        if (percent == std::string_view::npos) {
            out += format.substr(pos);
            break;
        }
        out += format.substr(pos, percent - pos);
        if (percent + 1 < format.size() && format[percent + 1] == '%') {
            out += '%';
            pos = percent + 2;
            continue;
        }
        const std::optional<Directive> directive = ParseDirective(format, percent);
        if (!directive) {
            out += '%';
            pos = percent + 1;
            continue;
        }
        const std::string_view written = format.substr(percent, directive->length);
        pos = percent + directive->length;
        const FormatArgKind wanted =
            directive->conversion == 's' ? FormatArgKind::Text : FormatArgKind::Number;
        if (next == args.end()) {
            out += written;
            continue;
        }
        if (next->kind() != wanted) {
            out += written;  // the argument belongs to this directive all the same
            ++next;
            continue;
        }
        if (wanted == FormatArgKind::Text) {
            AppendPadded(out, *directive, next->text(), false);
        } else {
            AppendPadded(out, *directive, NumberText(*directive, next->number()), true);
        }
        ++next;
    }
    return out;
}

std::optional<std::vector<FormatArgKind>> FormatArgKinds(std::string_view format) {
    std::vector<FormatArgKind> kinds;
    for (std::size_t pos = format.find('%'); pos != std::string_view::npos;
         pos = format.find('%', pos)) {
        if (pos + 1 < format.size() && format[pos + 1] == '%') {
            pos += 2;
            continue;
        }
        const std::optional<Directive> directive = ParseDirective(format, pos);
        if (!directive) {
            return std::nullopt;
        }
        kinds.push_back(directive->conversion == 's' ? FormatArgKind::Text : FormatArgKind::Number);
        pos += directive->length;
    }
    return kinds;
}

}  // namespace qx::lang
