// "macro list|show|add|delete|rename": the macros on the code of the key assignment window's
// macro editor, with its limits and rules: at most 100 macros, the smallest free id, a name in
// use by another macro (or an empty one) replaced by the next default name, 2000 actions, delays
// rounded down to tens; deleting a macro that keys play asks first, and the apply settles those
// keys (they go back to their own function, on every profile).
#include <ostream>

#include "keyassign/macro_editor.h"
#include "keyassign/macro_names.h"
#include "platform/unicode_text.h"
#include "tools/qx480ctl/key_arguments.h"
#include "tools/qx480ctl/macro_arguments.h"
#include "tools/qx480ctl/profile_session.h"
#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {
namespace {

std::vector<keyboard::MacroAction> ActionsOf(const keyboard::MacroRecord& macro) {
    std::vector<keyboard::MacroAction> actions;
    actions.reserve(static_cast<std::size_t>(macro.UsableActionCount()));
    for (int i = 0; i < macro.UsableActionCount(); ++i) {
        actions.push_back(macro.Action(i));
    }
    return actions;
}

std::string Named(const keyassign::MacroEditor& editor, int index) {
    return "macro #" + std::to_string(editor.MacroAt(index).Id()) + " '" +
           editor.MacroNameAt(index) + "'";
}

// The editor over the target's macros.
struct MacroWork {
    MacroWork(CommandContext& context, ProfileSession::Use use) : session(context, use) {
        editor.LoadMacroList();
    }
    ProfileSession session;
    keyassign::MacroEditor editor;
};

// Applies the editor's list and writes the target back.
void ApplyAndWrite(MacroWork& work) {
    if (!work.editor.ApplyMacroList()) {
        throw Refusal{kExitFailed, "out of memory: nothing was changed"};
    }
    work.session.Write();
}

// Tells the user when the editor's name rules replaced the name asked for.
void SayWhenRenamed(CommandContext& context, const keyassign::MacroEditor& editor,
                    const std::string& wanted) {
    const std::string given = editor.MacroNameAt(editor.SelectedMacro());
    if (given != platform::Utf16ToUtf8(keyassign::StoredMacroName(wanted))) {
        context.Err() << "qx480ctl: "
                      << (wanted.empty() ? "an empty name"
                                         : "the name '" + wanted + "' is in use by another macro")
                      << " (a name in use is one another macro's name begins with): the macro is "
                      << "named '" << given << "'\n";
    }
}

int List(CommandContext& context) {
    MacroWork work(context, ProfileSession::Use::kRead);
    for (int i = 0; i < work.editor.MacroCount(); ++i) {
        const keyboard::MacroRecord& macro = work.editor.MacroAt(i);
        context.Out() << '#' << macro.Id() << "  repeat " << int{macro.RepeatCount()} << "  "
                      << macro.UsableActionCount() << " actions  " << work.editor.MacroNameAt(i)
                      << '\n';
    }
    return kExitOk;
}

int Show(CommandContext& context) {
    MacroWork work(context, ProfileSession::Use::kRead);
    const int index = MacroIndexOf(work.editor, context.Arg(0), true);
    const keyboard::MacroRecord& macro = work.editor.MacroAt(index);
    context.Out() << "id: " << macro.Id() << "\nname: " << work.editor.MacroNameAt(index)
                  << "\nrepeat: " << int{macro.RepeatCount()}
                  << "\nactions: " << macro.UsableActionCount()
                  << "\nsteps: " << FormatSteps(ActionsOf(macro)) << '\n';
    return kExitOk;
}

int Add(CommandContext& context) {
    const std::string& name = context.Arg(0);
    const std::vector<keyboard::MacroAction> actions = ParseSteps(context.Args().subspan(1));
    std::optional<int> repeat;
    if (const std::string* text = context.Option("--repeat")) {
        repeat = NumberIn(*text, keyboard::kMinRepeatCount, keyboard::kMaxRepeatCount,
                          "the repeat count");
    }
    MacroWork work(context, ProfileSession::Use::kEdit);
    keyassign::MacroEditor& editor = work.editor;
    const int before = editor.MacroCount();
    editor.AddMacro();  // at 100 macros the editor says so and adds nothing
    if (editor.MacroCount() == before) {
        throw Refusal{kExitFailed, "no macro was added"};
    }
    editor.RenameMacro(name);
    SayWhenRenamed(context, editor, name);
    // The rows as the editor inserts them, then each delay through the delay cell's rule.
    for (const keyboard::MacroAction& action : actions) {
        editor.InsertAction({0, action.keyCode, action.action}, false, false);
    }
    for (std::size_t row = 0; row < actions.size(); ++row) {
        editor.EditActionDelay(static_cast<int>(row), std::to_string(actions[row].delayMs));
    }
    if (repeat) {
        editor.SetCountText(std::to_string(*repeat));
    }
    context.Out() << Named(editor, editor.SelectedMacro()) << ": added, "
                  << editor.Actions().Count() << " actions\n";
    ApplyAndWrite(work);
    return kExitOk;
}

int Delete(CommandContext& context) {
    MacroWork work(context, ProfileSession::Use::kEdit);
    keyassign::MacroEditor& editor = work.editor;
    const int index = MacroIndexOf(editor, context.Arg(0), true);
    const std::string named = Named(editor, index);
    editor.SelectMacro(index);
    const int before = editor.MacroCount();
    editor.DeleteMacro();  // asks first when keys play it
    if (editor.MacroCount() == before) {
        throw Refusal{kExitFailed, named + " was not deleted"};
    }
    context.Out() << named << ": deleted\n";
    ApplyAndWrite(work);
    return kExitOk;
}

int Rename(CommandContext& context) {
    MacroWork work(context, ProfileSession::Use::kEdit);
    keyassign::MacroEditor& editor = work.editor;
    const int index = MacroIndexOf(editor, context.Arg(0), true);
    const std::string old = Named(editor, index);
    editor.SelectMacro(index);
    editor.RenameMacro(context.Arg(1));
    SayWhenRenamed(context, editor, context.Arg(1));
    context.Out() << old << ": renamed '" << editor.MacroNameAt(index) << "'\n";
    ApplyAndWrite(work);
    return kExitOk;
}

constexpr CommandOption kFileOption[] = {{"--file", "F"}};
constexpr CommandOption kAddOptions[] = {{"--repeat", "N"}, {"--file", "F"}};

constexpr Subcommand kCommands[] = {
    {"macro list", "[--file F]", "the macros: id, repeat count, number of actions, name",
     "macro list --file backup.kpf", 0, 0, &List, kFileOption},
    {"macro show", "NAME|ID [--file F]", "one macro, with its actions as steps", "macro show Combo",
     1, 1, &Show, kFileOption},
    {"macro add", "[--repeat N] [--file F] NAME STEP...",
     "add a macro; a STEP is +KEY (press), -KEY (release), KEY (both) or a delay such as 30ms "
     "after the step before it (50 ms where none is given)",
     "macro add Combo +LSHIFT A 30ms -LSHIFT", 1, kAnyNumber, &Add, kAddOptions, 1},
    {"macro delete", "NAME|ID [--file F]",
     "delete a macro; the keys that play it get their own function back (asks first: --yes)",
     "--yes macro delete Combo", 1, 1, &Delete, kFileOption},
    {"macro rename", "NAME|ID NEW [--file F]", "give a macro another name",
     "macro rename Combo Jump", 2, 2, &Rename, kFileOption},
};

}  // namespace

std::span<const Subcommand> MacroCommands() {
    return kCommands;
}

}  // namespace qx::ctl
