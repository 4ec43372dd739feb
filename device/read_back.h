// Reading the keyboard's content back into a profile file: the three key layouts and the
// device macro table become a configuration image with its macro records (no texts: the
// keyboard keeps none).
#pragma once

#include <string>

#include "device/image_transfer.h"

namespace qx::device {

// Reads the layouts of profiles 0..2 and the macro table, and replaces the file at `path` with
// the image built from them. 1 success; 0 when the current profile cannot be learnt, a read
// fails (the first failing read ends it and no file is written) or the file cannot be written.
int ReadBackToFile(const std::string& path, const TransferLink& link);

// The same through the running device session (0 when there is none).
int ReadBackToFile(const std::string& path);

}  // namespace qx::device
