// The content that "assign" and "macro" work on, as the driver's windows work on it: a profile
// file (--file F) or the keyboard, loaded into the live image, where the key assignment and macro
// models edit it; then written back, the file replaced as a whole, or the keyboard sent what
// the driver's Apply sends and the profile store saved.
//
// Keyboard edits are refused while the driver runs for the same user (unless --force): its live
// image does not know them, and its next Apply would write its own copy over them.
#pragma once

#include <optional>
#include <string>

#include "tools/qx480ctl/subcommand.h"

namespace qx::ctl {

// True when a driver of this user holds its single-instance lock.
bool DriverRunsForThisUser();

// Refuses a keyboard edit while the driver runs, unless --force was given (throws Refusal).
void RefuseWhileDriverRuns(const CommandContext& context);

class ProfileSession {
  public:
    enum class Use { kRead, kEdit };

    // Loads the target of the command (its --file option, else the keyboard) into the live image.
    // Throws Refusal when the file is refused, no keyboard is attached, the driver runs (for an
    // edit of the keyboard) or the keyboard cannot be read back.
    ProfileSession(CommandContext& context, Use use);

    bool OnKeyboard() const { return !file_; }
    // The block an edit works on when none was named: the keyboard's active profile, or block 0
    // of a file.
    int DefaultProfile() const { return defaultProfile_; }
    // "the keyboard" or the file's path, for messages.
    std::string TargetName() const;
    // False when the target is the keyboard and its layout has no position for the key of this
    // entry (0..511 of a block): the keyboard then keeps no assignment of that key.
    bool KeyboardHasPosition(int entryIndex) const;

    // Writes the live image back. A file is replaced; the keyboard gets the layout of `profile`
    // (the active profile's when nothing is named; all three when the macro table moves a macro
    // the keyboard holds, or a deleted macro was assigned), and only after it took them is the
    // profile store saved. Throws Refusal when nothing could be written.
    void Write(std::optional<int> profile = std::nullopt);

  private:
    CommandContext& context_;
    std::optional<std::string> file_;
    KeyboardLink* keyboard_ = nullptr;
    int defaultProfile_ = 0;
};

}  // namespace qx::ctl
