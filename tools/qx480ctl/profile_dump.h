// A profile file as JSON: its header fields, per key-area block the key entries that are not
// all zero, the macros with their actions, and the texts.
#pragma once

#include "profiles/profile_file.h"
#include "tools/qx480ctl/json_writer.h"

namespace qx::ctl {

void DumpProfile(const profiles::ProfileContents& contents, JsonWriter& json);

// The English name of a key code ("A", "Left Shift", "G3"); empty when the code has none.
std::string KeyLabel(keyboard::KeyCode code);

}  // namespace qx::ctl
