// The profile file a JSON document describes: the inverse of DumpProfile. The checksum, the
// sizes, the macro count and the derived members (kindName, key, gKeyBank, target, the actions'
// key, the offsets of packed texts) are computed; a document may leave them out, and one whose
// given values contradict them is refused. Every member is checked against its field's range and
// unknown members are refused, so nothing in a document is silently lost.
#pragma once

#include "tools/qx480ctl/json_fields.h"
#include "tools/qx480ctl/json_reader.h"
#include "tools/qx480ctl/profile_parts.h"

namespace qx::ctl {

// Throws JsonInputError for a document that describes no profile file the program accepts.
ProfileParts BuildProfile(const JsonDocument& document);

}  // namespace qx::ctl
