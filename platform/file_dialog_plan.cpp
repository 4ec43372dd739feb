#include "platform/file_dialog_plan.h"

#include <algorithm>
#include <string_view>

namespace qx::platform {
namespace {

constexpr std::string_view kEveryFileWindows = "*.*";
constexpr std::string_view kEveryFile = "*";

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find(separator, pos), text.size());
        parts.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return parts;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// "label (p1 p2)", the form Qt reads its patterns from.
std::string QtFilter(std::string_view label, std::string_view patterns) {
    std::string filter(Trimmed(label));
    if (!filter.empty()) {
        filter += ' ';
    }
    filter += '(';
    bool first = true;
    for (std::string_view pattern : Split(patterns, ';')) {
        pattern = Trimmed(pattern);
        if (pattern.empty()) {
            continue;
        }
        if (!first) {
            filter += ' ';
        }
        filter += pattern == kEveryFileWindows ? kEveryFile : pattern;
        first = false;
    }
    filter += ')';
    return first ? std::string() : filter;
}

bool HasWildcard(std::string_view name) {
    return name.find_first_of("*?") != name.npos;
}

}  // namespace

FileDialogPlan PlanFileDialog(const FileDialogOptions& options) {
    FileDialogPlan plan;
    std::string_view filter = options.filter;
    while (!filter.empty() && filter.back() == '|') {
        filter.remove_suffix(1);
    }
    if (!filter.empty()) {
        const std::vector<std::string_view> parts = Split(filter, '|');
        plan.labelsOnly = true;
        for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
            std::string qtFilter = QtFilter(parts[i], parts[i + 1]);
            if (!qtFilter.empty()) {
                plan.labelsOnly = plan.labelsOnly && !Trimmed(parts[i]).empty();
                plan.nameFilters.push_back(std::move(qtFilter));
            }
        }
        plan.labelsOnly = plan.labelsOnly && !plan.nameFilters.empty();
    }

    const std::string_view initial = options.initialName;
    const std::size_t slash = initial.rfind('/');
    std::string_view name = initial;
    plan.folder = options.initialFolder;
    if (slash != std::string_view::npos) {
        plan.folder = std::string(initial.substr(0, slash == 0 ? 1 : slash));
        name = initial.substr(slash + 1);
    }
    if (HasWildcard(name)) {
        if (plan.nameFilters.empty()) {
            plan.nameFilters.push_back(QtFilter({}, name));
        }
    } else {
        plan.fileName = std::string(name);
    }
    return plan;
}

}  // namespace qx::platform
