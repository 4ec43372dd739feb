#include "tools/qx480ctl/macro_arguments.h"

#include <algorithm>
#include <cctype>

#include "platform/unicode_text.h"
#include "tools/qx480ctl/key_arguments.h"
#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {
namespace {

constexpr int32_t kMsPerSecond = 1000;

// A delay step: digits, then "ms" or "s". Nothing for any other word.
std::optional<int64_t> DelayOf(std::string_view word) {
    int64_t unit = 1;
    if (word.ends_with("ms")) {
        word.remove_suffix(2);
    } else if (word.ends_with("s")) {
        word.remove_suffix(1);
        unit = kMsPerSecond;
    } else {
        return std::nullopt;
    }
    const auto number = DecimalOf(word);
    if (!number) {
        return std::nullopt;
    }
    // Anything above the longest delay is refused, however far above.
    return std::min<int64_t>(*number, keyboard::kMaxMacroDelayMs + 1) * unit;
}

// The key of a step; a number that names no key is taken for a delay without its unit.
keyboard::KeyCode KeyCodeOfStep(const std::string& word) {
    try {
        return KeyCodeOfName(word);
    } catch (const UsageError& error) {
        if (DecimalOf(word)) {
            throw UsageError{error.message + "; a delay is written with its unit: " + word + "ms"};
        }
        throw;
    }
}

keyboard::MacroAction ActionOf(keyboard::KeyCode code, uint16_t kind) {
    return {kDefaultStepDelayMs, code, kind};
}

}  // namespace

std::vector<keyboard::MacroAction> ParseSteps(std::span<const std::string> steps) {
    std::vector<keyboard::MacroAction> actions;
    bool delayed = false;
    for (const std::string& step : steps) {
        if (const auto delay = DelayOf(step)) {
            if (actions.empty() || delayed) {
                throw UsageError{"the delay '" + step + "' " +
                                 (actions.empty() ? "comes before any action: a delay is the "
                                                    "pause after the action before it"
                                                  : "follows another delay")};
            }
            if (*delay > keyboard::kMaxMacroDelayMs) {
                throw UsageError{"the delay '" + step + "' is longer than 40000 ms"};
            }
            actions.back().delayMs = static_cast<int32_t>(*delay);
            delayed = true;
            continue;
        }
        delayed = false;
        if (step.size() > 2 && step.starts_with("--") &&
            std::isalpha(static_cast<unsigned char>(step[2]))) {
            throw UsageError{"'" + step + "' stands among the steps: the options of macro add " +
                             "come before the macro's name, and every word after it is a step"};
        }
        const bool pressOnly = step.size() > 1 && step.front() == '+';
        const bool releaseOnly = step.size() > 1 && step.front() == '-';
        if (pressOnly || releaseOnly) {
            actions.push_back(
                ActionOf(KeyCodeOfName(step.substr(1)),
                         pressOnly ? keyboard::kMacroPress : keyboard::kMacroRelease));
        } else {
            const keyboard::KeyCode code = KeyCodeOfStep(step);
            actions.push_back(ActionOf(code, keyboard::kMacroPress));
            actions.push_back(ActionOf(code, keyboard::kMacroRelease));
        }
        if (actions.size() > static_cast<std::size_t>(keyboard::kMaxMacroActions)) {
            throw UsageError{"a macro holds at most 2000 actions (a step such as A is two)"};
        }
    }
    return actions;
}

std::string FormatSteps(std::span<const keyboard::MacroAction> actions) {
    std::string steps;
    const auto add = [&](const std::string& step, int32_t delay) {
        steps += steps.empty() ? "" : " ";
        steps += step;
        if (delay != kDefaultStepDelayMs) {
            steps += ' ' + std::to_string(delay) + "ms";
        }
    };
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const keyboard::MacroAction& action = actions[i];
        const bool release = action.action == keyboard::kMacroRelease;
        const bool tap = !release && action.delayMs == kDefaultStepDelayMs &&
                         i + 1 < actions.size() && actions[i + 1].keyCode == action.keyCode &&
                         actions[i + 1].action == keyboard::kMacroRelease;
        if (tap) {
            add(CommandLineKeyName(action.keyCode), actions[++i].delayMs);
        } else {
            add((release ? "-" : "+") + CommandLineKeyName(action.keyCode), action.delayMs);
        }
    }
    return steps;
}

int MacroIndexOf(const keyassign::MacroEditor& editor, const std::string& word, bool bareIds) {
    const auto byId = [&](int64_t id) {
        for (int i = 0; i < editor.MacroCount(); ++i) {
            if (editor.MacroAt(i).Id() == id) {
                return i;
            }
        }
        throw UsageError{"no macro has the id " + std::to_string(id)};
    };
    if (word.size() > 1 && word.front() == '#') {
        const auto id = DecimalOf(std::string_view(word).substr(1));
        if (!id) {
            throw UsageError{"'" + word + "' is no macro id (#1, #2, ...)"};
        }
        return byId(*id);
    }
    for (int i = 0; i < editor.MacroCount(); ++i) {
        if (editor.MacroNameAt(i) == word) {
            return i;
        }
    }
    int found = keyassign::kNoMacro;
    for (int i = 0; i < editor.MacroCount(); ++i) {
        if (platform::EqualsIgnoringCase(editor.MacroNameAt(i), word)) {
            if (found != keyassign::kNoMacro) {
                throw UsageError{"more than one macro is named '" + word +
                                 "' but for letter case: give its id (#N)"};
            }
            found = i;
        }
    }
    if (found != keyassign::kNoMacro) {
        return found;
    }
    if (bareIds) {
        if (const auto id = DecimalOf(word)) {
            return byId(*id);
        }
    }
    throw UsageError{"no macro is named '" + word + "' ('qx480ctl macro list' shows them)"};
}

}  // namespace qx::ctl
