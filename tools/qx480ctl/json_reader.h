// A strict JSON reader for the documents qx480ctl takes (RFC 8259): one value, UTF-8 (a leading
// byte order mark is skipped), no comments, no trailing commas, no duplicate member names. Strings
// are kept as UTF-16 units, so "\uD800" escapes of lone surrogates reach a profile file's UTF-16
// texts unchanged. Every value remembers the byte offset where it begins, so that a reader can
// say where a value it refuses stands; a syntax error names its offset and the path to the value
// being read.
//
// The document is kept compact (one 24-byte node per value, children in one array), since a
// profile file with all its macros is a quarter of a million values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qx::ctl {

enum class JsonType : uint8_t { kNull, kFalse, kTrue, kNumber, kString, kArray, kObject };

// The deepest nesting of arrays and objects a document may have.
inline constexpr std::size_t kMaxJsonDepth = 64;

class JsonDocument {
  public:
    using NodeId = uint32_t;
    static constexpr uint32_t kNoKey = UINT32_MAX;
    // A child of an array (key kNoKey) or a member of an object (key: a string index).
    struct Child {
        uint32_t key;
        NodeId value;
    };

    NodeId Root() const { return 0; }
    JsonType Type(NodeId node) const { return nodes_[node].type; }
    std::size_t Offset(NodeId node) const { return nodes_[node].offset; }
    // A number without fraction or exponent that fits 64 bits; nothing for any other value.
    std::optional<int64_t> Integer(NodeId node) const;
    // A string's UTF-16 units (empty for any other value).
    const std::u16string& Text(NodeId node) const;
    // The elements of an array or the members of an object, in document order.
    std::span<const Child> Children(NodeId node) const;
    const std::u16string& Key(const Child& child) const { return strings_[child.key]; }

  private:
    friend class JsonParser;
    struct Node {
        JsonType type = JsonType::kNull;
        bool integral = false;
        uint32_t offset = 0;
        int64_t integer = 0;
        uint32_t first = 0;  // a string's index, or a container's first child
        uint32_t count = 0;  // a container's number of children
    };
    std::vector<Node> nodes_;
    std::vector<Child> children_;
    std::vector<std::u16string> strings_;
};

struct JsonSyntaxError {
    std::size_t offset = 0;
    std::string path;  // "$.macros[3]": where the value being read stands
    std::string message;
};

std::variant<JsonDocument, JsonSyntaxError> ParseJson(std::string_view text);

// The 1-based line and column (in characters) of a byte offset of `text`.
struct TextPosition {
    std::size_t line = 1;
    std::size_t column = 1;
};
TextPosition PositionOf(std::string_view text, std::size_t offset);

// How a path step is written: ".name" for a name of letters, digits and '_', else ["..."].
std::string PathStep(std::u16string_view key);

}  // namespace qx::ctl
