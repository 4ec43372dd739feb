// Reading a parsed JSON document into the program's own values: each value with its JSON path
// (put together only when a message needs it) and the checks a member goes through. A value that
// does not fit is refused with a JsonInputError naming the value's offset and path.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/qx480ctl/json_reader.h"

namespace qx::ctl {

struct JsonInputError {
    std::size_t offset = 0;
    std::string path;
    std::string message;
};

// A step of a path; the parent outlives it (paths live on the reader's stack).
struct JsonPath {
    const JsonPath* parent = nullptr;
    std::string_view key;  // a member's name, unless isIndex
    std::size_t index = 0;
    bool isIndex = false;

    std::string ToString() const;
};

class JsonValue {
  public:
    JsonValue(const JsonDocument& doc, JsonDocument::NodeId node, JsonPath path)
        : doc_(&doc), node_(node), path_(path) {}

    const JsonDocument& Document() const { return *doc_; }
    JsonDocument::NodeId Node() const { return node_; }
    const JsonPath& Path() const { return path_; }
    JsonType Type() const { return doc_->Type(node_); }

    [[noreturn]] void Fail(const std::string& message) const;

    bool IsNull() const { return Type() == JsonType::kNull; }
    // An integer in lowest..highest; `what` names it ("the repeat count").
    int64_t Integer(int64_t lowest, int64_t highest, std::string_view what) const;
    const std::u16string& String(std::string_view what) const;
    // A string of hexadecimal digits, two per byte; `length` when given is the number of bytes.
    std::vector<uint8_t> HexBytes(std::string_view what,
                                  std::optional<std::size_t> length = std::nullopt) const;
    // The elements of an array of at most `most` elements. Element i's path is this value's
    // path with [i]; the JsonPath passed to the callback lives for the call.
    template <typename Each>
    void ForEachElement(std::size_t most, std::string_view what, Each each) const {
        const auto elements = Elements(most, what);
        for (std::size_t i = 0; i < elements.size(); ++i) {
            each(JsonValue(*doc_, elements[i].value, JsonPath{&path_, {}, i, true}), i);
        }
    }

  private:
    std::span<const JsonDocument::Child> Elements(std::size_t most, std::string_view what) const;

    const JsonDocument* doc_;
    JsonDocument::NodeId node_;
    JsonPath path_;
};

// An object whose members are taken one by one; RefuseOthers refuses the first member nobody
// took, so that a misspelt name is never silently ignored.
class JsonObject {
  public:
    explicit JsonObject(const JsonValue& value);
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    // The member's value; nothing when the object has no member of that name.
    std::optional<JsonValue> Take(std::string_view name);
    // The same for a member that must be there.
    JsonValue Require(std::string_view name);
    void RefuseOthers() const;
    const JsonValue& Value() const { return value_; }

  private:
    JsonValue value_;
    std::span<const JsonDocument::Child> members_;
    std::vector<bool> taken_;
};

// Where a value of a document stands, as qx480ctl prints it: "FILE:LINE:COLUMN: PATH: MESSAGE".
std::string DescribeJsonError(std::string_view name, std::string_view text, std::size_t offset,
                              const std::string& path, const std::string& message);

}  // namespace qx::ctl
