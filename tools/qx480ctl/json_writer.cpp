#include "tools/qx480ctl/json_writer.h"

#include <array>
#include <cstdio>

#include "platform/unicode_text.h"

namespace qx::ctl {
namespace {

constexpr int kIndent = 2;

void AppendEscaped(std::string& out, char32_t c) {
    switch (c) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case '\b':
            out += "\\b";
            return;
        case '\f':
            out += "\\f";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    if (c < 0x20 || c == 0x7F) {
        std::array<char, 8> buffer{};
        std::snprintf(buffer.data(), buffer.size(), "\\u%04X", static_cast<unsigned>(c));
        out += buffer.data();
        return;
    }
    platform::AppendUtf8(out, c);
}

}  // namespace

std::string JsonQuoted(std::string_view utf8) {
    std::string out = "\"";
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        AppendEscaped(out, platform::DecodeUtf8(utf8, pos));
    }
    out += '"';
    return out;
}

std::string JsonQuoted16(std::u16string_view units) {
    std::string out = "\"";
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool paired =
            high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
        if (paired) {
            AppendEscaped(out,
                          0x10000 + ((char32_t{unit} - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            std::array<char, 8> buffer{};
            std::snprintf(buffer.data(), buffer.size(), "\\u%04X", static_cast<unsigned>(unit));
            out += buffer.data();
        } else {
            AppendEscaped(out, unit);
        }
    }
    out += '"';
    return out;
}

void JsonWriter::NewLine() {
    out_ << '\n' << std::string(levels_.size() * kIndent, ' ');
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) {
        return;
    }
    if (!levels_.back().empty) {
        out_ << ',';
    }
    levels_.back().empty = false;
    NewLine();
}

void JsonWriter::Close(char bracket) {
    const bool empty = levels_.back().empty;
    levels_.pop_back();
    if (!empty) {
        NewLine();
    }
    out_ << bracket;
    if (levels_.empty()) {
        out_ << '\n';
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    out_ << '{';
    levels_.push_back({});
}

void JsonWriter::EndObject() {
    Close('}');
}

void JsonWriter::BeginArray() {
    BeforeValue();
    out_ << '[';
    levels_.push_back({});
}

void JsonWriter::EndArray() {
    Close(']');
}

void JsonWriter::Key(std::string_view name) {
    BeforeValue();
    out_ << JsonQuoted(name) << ": ";
    afterKey_ = true;
}

void JsonWriter::String(std::string_view utf8) {
    BeforeValue();
    out_ << JsonQuoted(utf8);
}

void JsonWriter::String16(std::u16string_view units) {
    BeforeValue();
    out_ << JsonQuoted16(units);
}

void JsonWriter::Number(int64_t value) {
    BeforeValue();
    out_ << value;
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ << (value ? "true" : "false");
}

void JsonWriter::Null() {
    BeforeValue();
    out_ << "null";
}

}  // namespace qx::ctl
