// Macros as qx480ctl's arguments name them: a macro by its name or id, and its actions as steps.
//
// A step is "+KEY" (press), "-KEY" (release), "KEY" (press, then release) or a delay written with
// its unit ("30ms", "2s"; a bare number would be a key such as 3). A delay is the pause after the
// action before it; an action without one is followed by 50 ms. A macro's steps as "macro show"
// writes them read back as the same actions.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "keyassign/macro_editor.h"
#include "keyboard/macro_record.h"

namespace qx::ctl {

inline constexpr int32_t kDefaultStepDelayMs = 50;

// The actions of the steps; throws UsageError naming the step that is wrong (an unknown key, a
// delay before any action, two delays in a row, a delay above 40000 ms, more than 2000 actions).
std::vector<keyboard::MacroAction> ParseSteps(std::span<const std::string> steps);

// The steps of the actions, separated by spaces.
std::string FormatSteps(std::span<const keyboard::MacroAction> actions);

// The index in the editor's macro list of the macro `word` names: "#3" is the macro with id 3;
// anything else is a name (the exact name, or the only one equal to it without regard to case),
// and, with `bareIds`, a number that names no macro is an id. Throws UsageError when no macro,
// or more than one, fits.
int MacroIndexOf(const keyassign::MacroEditor& editor, const std::string& word, bool bareIds);

}  // namespace qx::ctl
