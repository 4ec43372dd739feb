// Formatting of language texts that take arguments. A language file is outside data, so a
// format is never trusted: a directive that does not fit the arguments given is copied as it is
// written instead of being filled, and nothing reads past the arguments.
//
// Directives (printf style): "%d", "%i", "%u", "%x", "%X" take a number, "%s" a text, each with
// an optional '-' or '0' flag and a width of up to two digits ("%04X"); "%%" is a percent sign.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::lang {

enum class FormatArgKind { Number, Text };

class FormatArg {
  public:
    template <std::integral T>
    FormatArg(T number)  // NOLINT(google-explicit-constructor): used in argument lists
        : kind_(FormatArgKind::Number), number_(static_cast<int64_t>(number)) {}
    FormatArg(std::string_view text)  // NOLINT(google-explicit-constructor)
        : kind_(FormatArgKind::Text), text_(text) {}
    FormatArg(const char* text)  // NOLINT(google-explicit-constructor)
        : FormatArg(std::string_view(text == nullptr ? "" : text)) {}
    FormatArg(const std::string& text)  // NOLINT(google-explicit-constructor)
        : FormatArg(std::string_view(text)) {}

    FormatArgKind kind() const { return kind_; }
    int64_t number() const { return number_; }
    std::string_view text() const { return text_; }

  private:
    FormatArgKind kind_;
    int64_t number_ = 0;
    std::string_view text_;
};

// The format filled with the arguments in order (the n-th directive takes the n-th argument). A
// directive whose argument is missing or of the other kind, and anything after '%' that is not
// a directive, is copied unchanged; arguments left over are not used.
std::string FormatText(std::string_view format, std::initializer_list<FormatArg> args);

// The kinds of the arguments the format's directives take, in order; nothing when the format
// holds a '%' that starts no directive.
std::optional<std::vector<FormatArgKind>> FormatArgKinds(std::string_view format);

}  // namespace qx::lang
