#include "tools/qx480ctl/key_arguments.h"

#include <algorithm>
#include <charconv>

#include "keyboard/key_buttons.h"
#include "keyboard/key_table.h"
#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {
namespace {

constexpr std::string_view kShortNamePrefix = "IDS_KEYBOARD_";
constexpr std::string_view kCodePrefix = "0x";
constexpr int kHexBase = 16;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The short name of a key-table row: its language key without "IDS_KEYBOARD_"; empty for the
// multimedia rows, whose language keys are no names.
std::string_view ShortNameOfRow(const keyboard::KeyRow& row) {
    if (!row.languageKey.starts_with(kShortNamePrefix)) {
        return {};
    }
    return row.languageKey.substr(kShortNamePrefix.size());
}

// A key code written as 0x1E.
std::optional<keyboard::KeyCode> CodeOf(std::string_view text) {
    if (text.size() <= kCodePrefix.size() ||
        !SameWordIgnoringCase(text.substr(0, 2), kCodePrefix)) {
        return std::nullopt;
    }
    text.remove_prefix(kCodePrefix.size());
    unsigned value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, kHexBase);
    if (error != std::errc() || end != text.data() + text.size() || value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<keyboard::KeyCode>(value);
}

std::optional<int> GKeyNumberOf(std::string_view text) {
    if (text.size() != 2 || Lower(text[0]) != 'g' || text[1] < '1' ||
        text[1] > '0' + keyboard::kGKeyButtonCount) {
        return std::nullopt;
    }
    return text[1] - '0';
}

}  // namespace

bool SameWordIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return Lower(x) == Lower(y); });
}

bool SameNameLoosely(std::string_view a, std::string_view b) {
    const auto significant = [](std::string_view text) {
        std::string out;
        for (const char c : text) {
            if (c != ' ' && c != '-' && c != '_') {
                out += Lower(c);
            }
        }
        return out;
    };
    return significant(a) == significant(b);
}

std::optional<int64_t> DecimalOf(std::string_view text) {
    int64_t value = 0;
    if (text.empty() || text.front() == '-' || text.front() == '+') {
        return std::nullopt;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

int NumberIn(std::string_view text, int lowest, int highest, std::string_view what) {
    const auto value = DecimalOf(text);
    if (!value || *value < lowest || *value > highest) {
        throw UsageError{std::string(what) + " is a number from " + std::to_string(lowest) +
                         " to " + std::to_string(highest) + ", not '" + std::string(text) + "'"};
    }
    return static_cast<int>(*value);
}

ViewKey ViewKeyOf(const std::string& text) {
    if (SameWordIgnoringCase(text, "fn")) {
        return {"Fn", keyboard::kNoKey, keyboard::kFnLightingIndex, true};
    }
    const auto& buttons = keyboard::KeyButtons();
    const auto named = std::ranges::find_if(buttons, [&](const keyboard::KeyButton& button) {
        const std::string_view english = keyboard::KeyRowOfCode(button.keyCode).englishName;
        return SameWordIgnoringCase(button.name, text) ||
               (!english.empty() && SameWordIgnoringCase(english, text));
    });
    const auto code = CodeOf(text);
    const auto coded = std::ranges::find_if(buttons, [&](const keyboard::KeyButton& button) {
        return code && *code == button.keyCode;
    });
    const auto found = named != buttons.end() ? named : coded;
    if (found == buttons.end()) {
        throw UsageError{"'" + text +
                         "' is no key of the keyboard (a name such as A, ENTER, F5, S_7 or Fn, " +
                         "or a key code such as 0x1E)"};
    }
    return {std::string(found->name), found->keyCode, found->lightingIndex, false};
}

AssignedKey AssignedKeyOf(const std::string& text, std::optional<int> bank) {
    if (const auto number = GKeyNumberOf(text)) {
        const int button = *number - 1;
        const int gKeyBank = bank.value_or(0);
        return {"G" + std::to_string(*number) + (gKeyBank == 0 ? "" : " (bank 1)"),
                keyboard::GKeyEntryIndex(button, gKeyBank), true};
    }
    const ViewKey key = ViewKeyOf(text);
    if (key.isFn) {
        throw UsageError{
            "Fn has no assignment of its own: it reaches the keyboard's own functions"};
    }
    if (bank) {
        throw UsageError{"--bank belongs to the G keys G1..G9, not to " + key.name};
    }
    return {key.name, keyboard::KeyIndexOfCode(key.code), false};
}

keyboard::KeyCode KeyCodeOfName(const std::string& text) {
    const auto rows = keyboard::KeyTable();
    const auto byName = [&](auto name) {
        return std::ranges::find_if(rows, [&](const keyboard::KeyRow& row) {
            const std::string_view candidate = name(row);
            return row.IsDefined() && !candidate.empty() && SameWordIgnoringCase(candidate, text);
        });
    };
    auto found = byName(ShortNameOfRow);
    if (found == rows.end()) {
        found = byName([](const keyboard::KeyRow& row) { return row.englishName; });
    }
    if (found != rows.end()) {
        return found->keyCode;
    }
    const auto code = CodeOf(text);
    if (code && keyboard::KeyRowOfCode(*code).IsDefined() &&
        keyboard::KeyRowOfCode(*code).keyCode == *code) {
        return *code;
    }
    throw UsageError{"'" + text +
                     "' is no key (a name such as A, ENTER, LSHIFT, MOU_LEFT or Num 7, or a key " +
                     "code such as 0x1E)"};
}

std::string CommandLineKeyName(keyboard::KeyCode code) {
    const keyboard::KeyRow& row = keyboard::KeyRowOfCode(code);
    if (row.IsDefined() && row.keyCode == code) {
        if (const std::string_view name = ShortNameOfRow(row); !name.empty()) {
            return std::string(name);
        }
        if (!row.englishName.empty() && row.englishName.find(' ') == std::string_view::npos) {
            return std::string(row.englishName);
        }
    }
    std::array<char, 8> hex{};
    const auto end = std::to_chars(hex.data(), hex.data() + hex.size(), code, kHexBase).ptr;
    std::string digits(hex.data(), end);
    std::ranges::transform(digits, digits.begin(), [](char c) {
        return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return "0x" + std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

}  // namespace qx::ctl
