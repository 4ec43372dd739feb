// "assign KEY ACTION": gives a key another function on the code the key assignment window runs
// on its Apply: the macro list applied, the assignment built from the choice (a key assigned to
// itself keeps its own function, G keys keep their G codes), the entry's text released, then
// written back as the driver writes it.
#include <ostream>

#include "keyassign/assignment.h"
#include "keyassign/assignment_choice.h"
#include "keyassign/key_assignment_apply.h"
#include "keyassign/key_hints.h"
#include "keyassign/macro_editor.h"
#include "keyboard/key_table.h"
#include "keyboard/media_tables.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "profiles/macro_area.h"
#include "tools/qx480ctl/key_arguments.h"
#include "tools/qx480ctl/macro_arguments.h"
#include "tools/qx480ctl/profile_session.h"
#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {
namespace {

using keyassign::AssignmentChoice;

// Lang0409.ini, whose texts name the functions and media functions on the command line.
constexpr int kEnglishLanguageIndex = 0;

constexpr std::array<std::string_view, keyassign::kMouseListRows> kMouseWords{
    "left", "right", "middle", "wheel-up", "wheel-down"};

struct AssignRequest {
    AssignedKey key;
    AssignmentChoice choice;
    std::string macro;  // NAME or #ID
    std::optional<int> repeat;
    std::optional<int> profile;
};

// The English text of the function list's row, or of a media function's language key.
std::string EnglishText(std::string_view key) {
    return lang::LoadLangText(key, kEnglishLanguageIndex);
}

int MediaIndexOf(const std::string& word) {
    if (DecimalOf(word)) {
        return NumberIn(word, 0, keyboard::kMultimediaCount - 1, "the media function");
    }
    for (int i = 0; i < keyboard::kMultimediaCount; ++i) {
        const keyboard::KeyRow& row = keyboard::KeyRowOfCode(keyboard::MultimediaAt(i)->keyCode);
        if (SameNameLoosely(row.englishName, word) ||
            SameNameLoosely(EnglishText(row.languageKey), word)) {
            return i;
        }
    }
    throw UsageError{"'" + word +
                     "' is no media function (a name such as Mute, V+, Play/Pause or " +
                     "Volume Up, or an index 0..17)"};
}

int FunctionIndexOf(const std::string& word) {
    if (DecimalOf(word)) {
        return NumberIn(word, 0, keyassign::kFunctionCount - 1, "the function");
    }
    for (int i = 0; i < keyassign::kFunctionCount; ++i) {
        if (SameNameLoosely(EnglishText(lang::kFunctionKeyDescriptions[i]), word)) {
            return i;
        }
    }
    throw UsageError{"'" + word + "' is no keyboard function (its English text, such as " +
                     "\"Next onboard profile\", or an index 0..10)"};
}

int MouseRowOf(const std::string& word) {
    for (std::size_t row = 0; row < kMouseWords.size(); ++row) {
        if (SameWordIgnoringCase(kMouseWords[row], word)) {
            return static_cast<int>(row);
        }
    }
    throw UsageError{"the mouse action is left, right, middle, wheel-up or wheel-down, not '" +
                     word + "'"};
}

// ACTION and its argument.
void ParseAction(std::span<const std::string> words, AssignRequest& request) {
    const std::string& action = words[0];
    const bool takesArgument = action == "key" || action == "mouse" || action == "media" ||
                               action == "function" || action == "macro";
    if (!takesArgument && action != "disable" && action != "default") {
        throw UsageError{"unknown action '" + action +
                         "' (key, mouse, media, function, macro, disable, default)"};
    }
    if (words.size() != (takesArgument ? 2U : 1U)) {
        throw UsageError{takesArgument ? "the action " + action + " needs its argument"
                                       : "the action " + action + " takes no argument"};
    }
    AssignmentChoice& choice = request.choice;
    if (action == "key") {
        choice.kind = keyassign::kKindKey;
        choice.capturedKey = KeyCodeOfName(words[1]);
    } else if (action == "mouse") {
        choice.kind = keyassign::kKindKey;
        choice.mouseChoice = true;
        choice.mouseRow = MouseRowOf(words[1]);
    } else if (action == "media") {
        choice.kind = keyassign::kKindMultimedia;
        choice.listRow = MediaIndexOf(words[1]);
    } else if (action == "function") {
        choice.kind = keyassign::kKindFunction;
        choice.listRow = FunctionIndexOf(words[1]);
    } else if (action == "macro") {
        choice.kind = keyassign::kKindMacro;
        request.macro = words[1];
    } else {
        choice.kind = action == "disable" ? keyassign::kKindDisabled : keyassign::kKindDefault;
    }
}

AssignRequest ParseRequest(const CommandContext& context) {
    AssignRequest request;
    std::optional<int> bank;
    if (const std::string* text = context.Option("--bank")) {
        bank = NumberIn(*text, 0, 1, "the G-key bank");
    }
    request.key = AssignedKeyOf(context.Arg(0), bank);
    ParseAction(context.Args().subspan(1), request);
    if (const std::string* text = context.Option("--profile")) {
        request.profile = NumberIn(*text, 0, keyboard::kProfileCount - 1, "the profile");
    }
    if (const std::string* text = context.Option("--repeat")) {
        if (request.choice.kind != keyassign::kKindMacro) {
            throw UsageError{"--repeat belongs to the action macro"};
        }
        request.repeat = NumberIn(*text, keyboard::kMinRepeatCount, keyboard::kMaxRepeatCount,
                                  "the repeat count");
    }
    return request;
}

// The keyboard view is not shown: the hints the apply refreshes go nowhere.
class NoKeyButtons : public keyassign::KeyButtonView {
  public:
    void ShowKeyHint(int, const keyassign::KeyHint&) override {}
};

std::string MouseWordOf(uint32_t code) {
    for (std::size_t row = 0; row < keyboard::kMouseCodes.size(); ++row) {
        if (keyboard::kMouseCodes[row] == code) {
            return "mouse " + std::string(kMouseWords[row]);
        }
    }
    return {};
}

std::string Describe(const keyassign::Assignment& assignment,
                     const keyassign::MacroEditor& editor) {
    switch (assignment.kind) {
        case keyassign::kKindDefault:
            return "default";
        case keyassign::kKindDisabled:
            return "disabled";
        case keyassign::kKindKey: {
            const std::string mouse = MouseWordOf(assignment.value);
            return mouse.empty()
                       ? "key " +
                             CommandLineKeyName(static_cast<keyboard::KeyCode>(assignment.value))
                       : mouse;
        }
        case keyassign::kKindMacro: {
            std::string name;
            for (int i = 0; i < editor.MacroCount(); ++i) {
                if (editor.MacroAt(i).Id() == (assignment.value & keyassign::kMacroIdMask)) {
                    name = editor.MacroNameAt(i);
                }
            }
            return "macro #" + std::to_string(assignment.value) + " '" + name + "', repeat " +
                   std::to_string(assignment.parameter);
        }
        case keyassign::kKindMultimedia:
            return "media " + std::to_string(assignment.value) + " (" +
                   EnglishText(
                       keyboard::KeyRowOfCode(
                           keyboard::MultimediaAt(static_cast<int>(assignment.value))->keyCode)
                           .languageKey) +
                   ")";
        case keyassign::kKindFunction:
            return "function " + std::to_string(assignment.value) + " (" +
                   EnglishText(lang::kFunctionKeyDescriptions[assignment.value]) + ")";
        default:
            return "kind " + std::to_string(assignment.kind);
    }
}

int Assign(CommandContext& context) {
    const AssignRequest request = ParseRequest(context);
    ProfileSession session(context, ProfileSession::Use::kEdit);
    const int profile = request.profile.value_or(session.DefaultProfile());
    keyassign::MacroEditor editor;
    editor.LoadMacroList();
    if (request.choice.kind == keyassign::kKindMacro) {
        editor.SelectMacro(MacroIndexOf(editor, request.macro, false));
        if (request.repeat) {
            editor.SetCountText(std::to_string(*request.repeat));
        }
    }
    NoKeyButtons view;
    const keyassign::BlockSelection selection{profile, 0};
    if (!keyassign::ApplyKeyAssignment(editor, request.choice, selection, request.key.entryIndex,
                                       view, keyassign::NoEditObserver())) {
        throw Refusal{kExitFailed, "profile " + std::to_string(profile) + " cannot be edited"};
    }
    const auto written =
        keyassign::ReadAssignment(keyassign::AbsoluteEntryIndex(profile, request.key.entryIndex));
    context.Out() << request.key.name << " in profile " << profile << ": "
                  << Describe(written.value_or(keyassign::Assignment{}), editor) << '\n';
    if (!session.KeyboardHasPosition(request.key.entryIndex)) {
        context.Err() << "qx480ctl: the keyboard's layout has no place for " << request.key.name
                      << ": the assignment is kept in the profile store only (when there is "
                      << "one)\n";
    }
    session.Write(profile);
    return kExitOk;
}

constexpr CommandOption kAssignOptions[] = {
    {"--profile", "N"}, {"--bank", "B"}, {"--file", "F"}, {"--repeat", "N"}};

constexpr Subcommand kCommands[] = {
    {"assign", "KEY ACTION [--profile N] [--bank B] [--file F]",
     "give a key (a key of the keyboard view, or G1..G9) another function; ACTION: key NAME, "
     "mouse left|right|middle|wheel-up|wheel-down, media NAME|0..17, function NAME|0..10, "
     "macro NAME|#ID [--repeat N], disable, default",
     "assign CAPS key LCTRL", 2, 3, &Assign, kAssignOptions},
};

}  // namespace

std::span<const Subcommand> AssignmentCommands() {
    return kCommands;
}

}  // namespace qx::ctl
