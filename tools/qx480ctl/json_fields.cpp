#include "tools/qx480ctl/json_fields.h"

#include <algorithm>

#include "platform/unicode_text.h"

namespace qx::ctl {
namespace {

std::string_view TypeName(JsonType type) {
    switch (type) {
        case JsonType::kNull:
            return "null";
        case JsonType::kFalse:
        case JsonType::kTrue:
            return "a boolean";
        case JsonType::kNumber:
            return "a number";
        case JsonType::kString:
            return "a string";
        case JsonType::kArray:
            return "an array";
        case JsonType::kObject:
            return "an object";
    }
    return "a value";
}

bool Equals(const std::u16string& units, std::string_view ascii) {
    return std::ranges::equal(
        units, ascii, [](char16_t a, char b) { return a == static_cast<unsigned char>(b); });
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

}  // namespace

std::string JsonPath::ToString() const {
    std::vector<const JsonPath*> steps;
    for (const JsonPath* step = this; step != nullptr; step = step->parent) {
        steps.push_back(step);
    }
    std::ranges::reverse(steps);
    std::string path = "$";
    for (const JsonPath* step : steps) {
        if (step->isIndex) {
            path += "[" + std::to_string(step->index) + "]";
        } else if (!step->key.empty()) {
            path += PathStep(platform::Utf8ToUtf16(step->key));
        }
    }
    return path;
}

void JsonValue::Fail(const std::string& message) const {
    throw JsonInputError{doc_->Offset(node_), path_.ToString(), message};
}

int64_t JsonValue::Integer(int64_t lowest, int64_t highest, std::string_view what) const {
    const auto value = doc_->Integer(node_);
    if (!value || *value < lowest || *value > highest) {
        Fail(std::string(what) + " is an integer from " + std::to_string(lowest) + " to " +
             std::to_string(highest) +
             (Type() == JsonType::kNumber ? "" : ", not " + std::string(TypeName(Type()))));
    }
    return *value;
}

const std::u16string& JsonValue::String(std::string_view what) const {
    if (Type() != JsonType::kString) {
        Fail(std::string(what) + " is a string, not " + std::string(TypeName(Type())));
    }
    return doc_->Text(node_);
}

std::vector<uint8_t> JsonValue::HexBytes(std::string_view what,
                                         std::optional<std::size_t> length) const {
    const std::u16string& text = String(what);
    std::vector<uint8_t> bytes;
    const bool digits = text.size() % 2 == 0 &&
                        std::ranges::all_of(text, [](char16_t c) { return HexDigit(c) >= 0; });
    if (!digits || (length && text.size() != 2 * *length)) {
        Fail(std::string(what) + " is a string of hexadecimal digits, two per byte" +
             (length ? " (" + std::to_string(*length) + " bytes)" : ""));
    }
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1])));
    }
    return bytes;
}

std::span<const JsonDocument::Child> JsonValue::Elements(std::size_t most,
                                                         std::string_view what) const {
    if (Type() != JsonType::kArray) {
        Fail(std::string(what) + " is an array, not " + std::string(TypeName(Type())));
    }
    const auto elements = doc_->Children(node_);
    if (elements.size() > most) {
        JsonValue(*doc_, elements[most].value, JsonPath{&path_, {}, most, true})
            .Fail(std::string(what) + " holds at most " + std::to_string(most) + " elements");
    }
    return elements;
}

JsonObject::JsonObject(const JsonValue& value) : value_(value) {
    if (value.Type() != JsonType::kObject) {
        value.Fail("expected an object, not " + std::string(TypeName(value.Type())));
    }
    members_ = value.Document().Children(value.Node());
    taken_.assign(members_.size(), false);
}

std::optional<JsonValue> JsonObject::Take(std::string_view name) {
    for (std::size_t i = 0; i < members_.size(); ++i) {
        if (Equals(value_.Document().Key(members_[i]), name)) {
            taken_[i] = true;
            return JsonValue(value_.Document(), members_[i].value, JsonPath{&value_.Path(), name});
        }
    }
    return std::nullopt;
}

JsonValue JsonObject::Require(std::string_view name) {
    if (auto member = Take(name)) {
        return *member;
    }
    value_.Fail("the member \"" + std::string(name) + "\" is missing");
}

void JsonObject::RefuseOthers() const {
    for (std::size_t i = 0; i < members_.size(); ++i) {
        if (!taken_[i]) {
            const std::string name = platform::Utf16ToUtf8(value_.Document().Key(members_[i]));
            JsonValue(value_.Document(), members_[i].value, JsonPath{&value_.Path(), name})
                .Fail("no such member here");
        }
    }
}

std::string DescribeJsonError(std::string_view name, std::string_view text, std::size_t offset,
                              const std::string& path, const std::string& message) {
    const TextPosition at = PositionOf(text, offset);
    return std::string(name) + ':' + std::to_string(at.line) + ':' + std::to_string(at.column) +
           ": " + path + ": " + message;
}

}  // namespace qx::ctl
