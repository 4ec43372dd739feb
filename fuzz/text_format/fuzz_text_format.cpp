// Any bytes as a language text that takes arguments. The first byte picks the arguments (how
// many, and which are texts), the rest is the format. Checked: without arguments every directive
// stays as written; with any arguments the text grows by at most what they can fill in; and a
// format the argument check accepts, given the arguments it asks for, is filled completely.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "lang/text_format.h"

namespace {

using qx::lang::FormatArg;
using qx::lang::FormatArgKind;

constexpr std::size_t kMaxArgs = 3;
constexpr std::size_t kMaxWidth = 99;
constexpr std::string_view kText = "/home/user/a.kpf";
constexpr int64_t kNumbers[kMaxArgs] = {-2147483648LL, 4294967295LL, 40000};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::string Format(std::string_view format, const std::vector<FormatArg>& args) {
    switch (args.size()) {
        case 0:
            return qx::lang::FormatText(format, {});
        case 1:
            return qx::lang::FormatText(format, {args[0]});
        case 2:
            return qx::lang::FormatText(format, {args[0], args[1]});
        default:
            return qx::lang::FormatText(format, {args[0], args[1], args[2]});
    }
}

std::vector<FormatArg> ArgsOfKinds(const std::vector<FormatArgKind>& kinds) {
    std::vector<FormatArg> args;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (kinds[i] == FormatArgKind::Text) {
            args.emplace_back(kText);
        } else {
            args.emplace_back(kNumbers[i]);
        }
    }
    return args;
}

// The format with each "%%" read as one '%', scanning from the left; `pairs` counts them.
std::string CollapsePercents(std::string_view format, std::size_t& pairs) {
    std::string out;
    pairs = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        out += format[i];
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
            ++pairs;
            ++i;
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t pick = data[0];
    const std::string_view format(reinterpret_cast<const char*>(data + 1), size - 1);
    std::size_t pairs = 0;
    Check(Format(format, {}) == CollapsePercents(format, pairs));

    std::vector<FormatArgKind> picked;
    for (std::size_t i = 0; i < (pick & 3u) % (kMaxArgs + 1); ++i) {
        picked.push_back((pick >> (2 + i) & 1u) != 0 ? FormatArgKind::Text : FormatArgKind::Number);
    }
    const std::string filled = Format(format, ArgsOfKinds(picked));
    Check(filled.size() <= format.size() + picked.size() * (kMaxWidth + kText.size()));

    const auto kinds = qx::lang::FormatArgKinds(format);
    if (kinds && kinds->size() <= kMaxArgs) {
        const std::string complete = Format(format, ArgsOfKinds(*kinds));
        Check(static_cast<std::size_t>(std::count(complete.begin(), complete.end(), '%')) == pairs);
    }
    return 0;
}
