// A JSON document of a profile file as qx480ctl reads it: from a file or standard input ("-"),
// parsed and built into a profile file's parts. Whatever is wrong with it is a usage error that
// says where: "doc.json:12:7: $.macros[0].repeat: the repeat count is an integer from 0 to 255".
#pragma once

#include <string>

#include "tools/qx480ctl/profile_parts.h"

namespace qx::ctl {

// Documents larger than this are not read (a dump of a full file is about 30 MiB).
inline constexpr std::size_t kMaxJsonDocumentBytes = std::size_t{256} * 1024 * 1024;

// Throws UsageError for a document that cannot be read or describes no profile file.
ProfileParts BuildFromJsonFile(const std::string& path);

// True when the file's first byte that is not white space (after a byte order mark) is '{': a
// JSON document, not a profile file (which begins with "FD").
bool LooksLikeJson(const std::string& path);

}  // namespace qx::ctl
