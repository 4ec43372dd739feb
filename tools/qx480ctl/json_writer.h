// A small JSON writer: objects, arrays, strings (escaped), integers, booleans and null, written
// with two-space indentation. The caller keeps the nesting right; commas and indentation are
// the writer's business.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qx::ctl {

class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member of the enclosing object.
    void Key(std::string_view name);

    void String(std::string_view utf8);
    // UTF-16 units as they are: pairs as their character, a lone surrogate as its \u escape.
    void String16(std::u16string_view units);
    void Number(int64_t value);
    void Bool(bool value);
    void Null();

    // Shorthands for one member.
    void Member(std::string_view name, std::string_view utf8) {
        Key(name);
        String(utf8);
    }
    void Member(std::string_view name, int64_t value) {
        Key(name);
        Number(value);
    }

  private:
    void BeforeValue();
    void Close(char bracket);
    void NewLine();

    struct Level {
        bool empty = true;
    };
    std::ostream& out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

// The text as a JSON string literal, quotes included. Control characters are escaped; bytes
// that are not valid UTF-8 become U+FFFD.
std::string JsonQuoted(std::string_view utf8);
// The same for UTF-16 units; a lone surrogate is written as its \u escape, so that reading the
// literal back gives the very units.
std::string JsonQuoted16(std::u16string_view units);

}  // namespace qx::ctl
