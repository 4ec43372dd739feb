// How a file dialog of the program is set up, worked out without Qt: the "(*.kpf)|*.kpf|..."
// filter becomes Qt name filters, and the initial name is split into a folder and a file name.
#pragma once

#include <string>
#include <vector>

#include "platform/prompt.h"

namespace qx::platform {

struct FileDialogPlan {
    // Qt name filters, "label (pattern pattern)"; "*.*" (every file) becomes "*".
    std::vector<std::string> nameFilters;
    std::string folder;    // the folder to show; empty: the dialog's own choice
    std::string fileName;  // the name to suggest; empty: none
    // Every filter has a label of its own, so the dialog shows the labels without the patterns.
    bool labelsOnly = false;
};

// Filter pairs are label '|' pattern, pairs separated by '|', the list ended by "||". Several
// patterns in one pair are separated by ';'. A pair with an empty pattern is dropped. An initial
// name with wildcards suggests no file: it serves as the filter when there is no other.
FileDialogPlan PlanFileDialog(const FileDialogOptions& options);

}  // namespace qx::platform
