#include "tools/qx480ctl/json_reader.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <unordered_map>

#include "platform/unicode_text.h"
#include "tools/qx480ctl/json_writer.h"

namespace qx::ctl {

std::optional<int64_t> JsonDocument::Integer(NodeId node) const {
    const Node& value = nodes_[node];
    if (value.type != JsonType::kNumber || !value.integral) {
        return std::nullopt;
    }
    return value.integer;
}

const std::u16string& JsonDocument::Text(NodeId node) const {
    static const std::u16string kNone;
    const Node& value = nodes_[node];
    return value.type == JsonType::kString ? strings_[value.first] : kNone;
}

std::span<const JsonDocument::Child> JsonDocument::Children(NodeId node) const {
    const Node& value = nodes_[node];
    if (value.type != JsonType::kArray && value.type != JsonType::kObject) {
        return {};
    }
    return std::span(children_).subspan(value.first, value.count);
}

class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    std::variant<JsonDocument, JsonSyntaxError> Run() {
        try {
            if (text_.size() >= std::numeric_limits<uint32_t>::max()) {
                Fail("the document is larger than 4 GiB", 0);
            }
            if (text_.starts_with(kByteOrderMark)) {
                pos_ = kByteOrderMark.size();
            }
            SkipSpace();
            if (AtEnd()) {
                Fail("the document is empty", pos_);
            }
            Value(0);
            SkipSpace();
            if (!AtEnd()) {
                Fail("something follows the document's value", pos_);
            }
        } catch (const Failure&) {
            return error_;
        }
        return std::move(doc_);
    }

  private:
    using Node = JsonDocument::Node;
    using NodeId = JsonDocument::NodeId;
    struct Failure {};
    struct Step {
        uint32_t key = JsonDocument::kNoKey;
        std::size_t index = 0;
    };
    static constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

    [[noreturn]] void Fail(std::string message, std::size_t at) {
        error_.offset = at;
        error_.message = std::move(message);
        error_.path = "$";
        for (const Step& step : path_) {
            error_.path += step.key == JsonDocument::kNoKey ? "[" + std::to_string(step.index) + "]"
                                                            : PathStep(doc_.strings_[step.key]);
        }
        throw Failure{};
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

    void SkipSpace() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) {
            ++pos_;
        }
    }

    NodeId NewNode(JsonType type, std::size_t offset) {
        doc_.nodes_.push_back(Node{type, false, static_cast<uint32_t>(offset), 0, 0, 0});
        return static_cast<NodeId>(doc_.nodes_.size() - 1);
    }

    NodeId Value(std::size_t depth) {
        const std::size_t start = pos_;
        switch (Peek()) {
            case '{':
                return Container(JsonType::kObject, depth);
            case '[':
                return Container(JsonType::kArray, depth);
            case '"': {
                const NodeId node = NewNode(JsonType::kString, start);
                doc_.nodes_[node].first = String();
                return node;
            }
            case 't':
                return Literal("true", JsonType::kTrue);
            case 'f':
                return Literal("false", JsonType::kFalse);
            case 'n':
                return Literal("null", JsonType::kNull);
            default:
                if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) {
                    return Number();
                }
                Fail(AtEnd() ? "the document ends where a value should stand"
                             : "expected a value (an object, array, string, number, true, "
                               "false or null)",
                     start);
        }
    }

    NodeId Literal(std::string_view word, JsonType type) {
        if (text_.substr(pos_, word.size()) != word) {
            Fail("expected a value (an object, array, string, number, true, false or null)", pos_);
        }
        const NodeId node = NewNode(type, pos_);
        pos_ += word.size();
        return node;
    }

    void Digits(std::string_view what) {
        if (Peek() < '0' || Peek() > '9') {
            Fail("a number needs digits " + std::string(what), pos_);
        }
        while (Peek() >= '0' && Peek() <= '9') {
            ++pos_;
        }
    }

    NodeId Number() {
        const std::size_t start = pos_;
        if (Peek() == '-') {
            ++pos_;
        }
        if (Peek() == '0') {
            ++pos_;
            if (Peek() >= '0' && Peek() <= '9') {
                Fail("a number does not begin with 0", start);
            }
        } else {
            Digits("after its sign");
        }
        bool integral = true;
        if (Peek() == '.') {
            ++pos_;
            Digits("after its decimal point");
            integral = false;
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++pos_;
            if (Peek() == '+' || Peek() == '-') {
                ++pos_;
            }
            Digits("in its exponent");
            integral = false;
        }
        const NodeId node = NewNode(JsonType::kNumber, start);
        if (integral) {
            int64_t value = 0;
            const auto [end, error] =
                std::from_chars(text_.data() + start, text_.data() + pos_, value);
            doc_.nodes_[node].integral = error == std::errc();
            doc_.nodes_[node].integer = value;
        }
        return node;
    }

    // One character of UTF-8 outside ASCII, checked strictly (no overlong forms, no surrogates,
    // nothing above U+10FFFF).
    char32_t Utf8Character() {
        const auto byte = [&](std::size_t i) {
            return pos_ + i < text_.size() ? static_cast<uint8_t>(text_[pos_ + i]) : uint8_t{0};
        };
        const uint8_t lead = byte(0);
        std::size_t length = 0;
        char32_t c = 0;
        uint8_t low = 0x80;
        uint8_t high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            c = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            c = lead & 0x0Fu;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            c = lead & 0x07u;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            Fail("the document is not UTF-8", pos_);
        }
        for (std::size_t i = 1; i < length; ++i) {
            const uint8_t next = byte(i);
            if (next < (i == 1 ? low : 0x80) || next > (i == 1 ? high : 0xBF)) {
                Fail("the document is not UTF-8", pos_);
            }
            c = (c << 6) | (next & 0x3Fu);
        }
        pos_ += length;
        return c;
    }

    static void AppendUnits(std::u16string& out, char32_t c) {
        if (c > 0xFFFF) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }

    char16_t HexUnit() {
        unsigned value = 0;
        const std::string_view digits = text_.substr(pos_, 4);
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (digits.size() != 4 || error != std::errc() || end != digits.data() + 4) {
            Fail("\\u takes four hexadecimal digits", pos_ - 2);
        }
        pos_ += 4;
        return static_cast<char16_t>(value);
    }

    void Escape(std::u16string& out) {
        const std::size_t start = pos_;
        ++pos_;  // the backslash
        const char c = Peek();
        ++pos_;
        switch (c) {
            case '"':
            case '\\':
            case '/':
                out.push_back(static_cast<char16_t>(c));
                return;
            case 'b':
                out.push_back(u'\b');
                return;
            case 'f':
                out.push_back(u'\f');
                return;
            case 'n':
                out.push_back(u'\n');
                return;
            case 'r':
                out.push_back(u'\r');
                return;
            case 't':
                out.push_back(u'\t');
                return;
            case 'u':
                out.push_back(HexUnit());
                return;
            default:
                Fail("unknown escape in a string", start);
        }
    }

    // A string at pos_; its index in the document's strings. Member names are kept once each:
    // a document repeats the same few names hundreds of thousands of times.
    uint32_t String(bool memberName = false) {
        const std::size_t start = pos_;
        ++pos_;  // the opening quote
        std::u16string text;
        while (true) {
            if (AtEnd()) {
                Fail("the string is not closed", start);
            }
            const auto c = static_cast<unsigned char>(Peek());
            if (c == '"') {
                ++pos_;
                break;
            }
            if (c == '\\') {
                Escape(text);
            } else if (c < 0x20) {
                Fail("a control character in a string must be written as an escape", pos_);
            } else if (c < 0x80) {
                text.push_back(static_cast<char16_t>(c));
                ++pos_;
            } else {
                AppendUnits(text, Utf8Character());
            }
        }
        const auto index = static_cast<uint32_t>(doc_.strings_.size());
        if (memberName) {
            const auto [known, added] = names_.try_emplace(text, index);
            if (!added) {
                return known->second;
            }
        }
        doc_.strings_.push_back(std::move(text));
        return index;
    }

    void Expect(char c, std::string_view message) {
        SkipSpace();
        if (Peek() != c) {
            Fail(std::string(message), pos_);
        }
        ++pos_;
    }

    NodeId Container(JsonType type, std::size_t depth) {
        if (depth >= kMaxJsonDepth) {
            Fail("the document nests more than " + std::to_string(kMaxJsonDepth) +
                     " arrays and objects",
                 pos_);
        }
        const bool object = type == JsonType::kObject;
        const char close = object ? '}' : ']';
        const NodeId node = NewNode(type, pos_);
        ++pos_;
        const std::size_t mark = scratch_.size();
        SkipSpace();
        if (Peek() == close) {
            ++pos_;
        } else {
            for (std::size_t index = 0;; ++index) {
                SkipSpace();
                uint32_t key = JsonDocument::kNoKey;
                if (object) {
                    if (Peek() != '"') {
                        Fail("expected a member's name in double quotes", pos_);
                    }
                    key = String(true);
                    Expect(':', "expected ':' after a member's name");
                    SkipSpace();
                }
                path_.push_back(Step{key, index});
                scratch_.push_back({key, Value(depth + 1)});
                path_.pop_back();
                SkipSpace();
                if (Peek() == close) {
                    ++pos_;
                    break;
                }
                Expect(',', object ? "expected ',' or '}' after a member"
                                   : "expected ',' or ']' after an element");
            }
        }
        Node& done = doc_.nodes_[node];
        done.first = static_cast<uint32_t>(doc_.children_.size());
        done.count = static_cast<uint32_t>(scratch_.size() - mark);
        doc_.children_.insert(doc_.children_.end(), scratch_.begin() + static_cast<long>(mark),
                              scratch_.end());
        scratch_.resize(mark);
        if (object) {
            RefuseDuplicates(node);
        }
        return node;
    }

    void RefuseDuplicates(NodeId node) {
        const auto members = doc_.Children(node);
        std::vector<uint32_t> order(members.size());
        for (uint32_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        const auto keyOf = [&](uint32_t i) -> const std::u16string& {
            return doc_.strings_[members[i].key];
        };
        std::ranges::sort(order, [&](uint32_t a, uint32_t b) {
            return keyOf(a) != keyOf(b) ? keyOf(a) < keyOf(b) : a < b;
        });
        for (std::size_t i = 1; i < order.size(); ++i) {
            if (keyOf(order[i]) == keyOf(order[i - 1])) {
                path_.push_back(Step{members[order[i]].key, 0});
                Fail("the member is given twice", doc_.Offset(members[order[i]].value));
            }
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    JsonDocument doc_;
    JsonSyntaxError error_;
    std::vector<JsonDocument::Child> scratch_;
    std::vector<Step> path_;
    std::unordered_map<std::u16string, uint32_t> names_;
};

std::variant<JsonDocument, JsonSyntaxError> ParseJson(std::string_view text) {
    return JsonParser(text).Run();
}

TextPosition PositionOf(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    TextPosition position;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++position.line;
            lineStart = i + 1;
        }
    }
    for (std::size_t i = lineStart; i < offset; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++position.column;
        }
    }
    return position;
}

std::string PathStep(std::u16string_view key) {
    const bool plain = !key.empty() && std::ranges::all_of(key, [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'_';
    });
    const std::string utf8 = platform::Utf16ToUtf8(key);
    return plain ? "." + utf8 : "[" + JsonQuoted(utf8) + "]";
}

}  // namespace qx::ctl
