#include "mainwnd/sub_windows.h"

#include <algorithm>
#include <utility>

namespace qx::mainwnd {

void SubWindowList::Register(const std::string& name, CloseIfOpen close, ApplyLanguage language) {
    for (Entry& entry : entries_) {
        if (entry.name == name) {
            entry.close = std::move(close);
            entry.language = std::move(language);
            return;
        }
    }
    entries_.push_back(Entry{name, std::move(close), std::move(language)});
}

void SubWindowList::Unregister(const std::string& name) {
    std::erase_if(entries_, [&](const Entry& entry) { return entry.name == name; });
}

bool SubWindowList::CloseAll() const {
    bool allClosed = true;
    for (const Entry& entry : entries_) {
        if (entry.close && !entry.close()) {
            allClosed = false;
        }
    }
    return allClosed;
}

void SubWindowList::ForwardLanguage(int languageIndex) const {
    for (const Entry& entry : entries_) {
        if (entry.language) {
            entry.language(languageIndex);
        }
    }
}

std::vector<std::string> SubWindowList::Names() const {
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        names.push_back(entry.name);
    }
    return names;
}

}  // namespace qx::mainwnd
