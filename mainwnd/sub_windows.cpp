#include "mainwnd/sub_windows.h"

#include <algorithm>
#include <utility>

namespace qx::mainwnd {

void SubWindowList::Register(const std::string& name, SubWindowHooks hooks) {
    for (Entry& entry : entries_) {
        if (entry.name == name) {
            entry.hooks = std::move(hooks);
            return;
        }
    }
    entries_.push_back(Entry{name, std::move(hooks)});
}

void SubWindowList::Register(const std::string& name, CloseIfOpen close, ApplyLanguage language) {
    SubWindowHooks hooks;
    hooks.close = std::move(close);
    hooks.language = std::move(language);
    Register(name, std::move(hooks));
}

void SubWindowList::Unregister(const std::string& name) {
    std::erase_if(entries_, [&](const Entry& entry) { return entry.name == name; });
}

bool SubWindowList::CloseAll() const {
    bool allClosed = true;
    for (const Entry& entry : entries_) {
        if (entry.hooks.close && !entry.hooks.close()) {
            allClosed = false;
        }
    }
    return allClosed;
}

void SubWindowList::ForwardLanguage(int languageIndex) const {
    for (const Entry& entry : entries_) {
        if (entry.hooks.language) {
            entry.hooks.language(languageIndex);
        }
    }
}

bool SubWindowList::IsOpen(const std::string& name) const {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const Entry& entry) { return entry.name == name; });
    return found != entries_.end() && found->hooks.isOpen && found->hooks.isOpen();
}

bool SubWindowList::AnyHasChanges() const {
    return std::any_of(entries_.begin(), entries_.end(), [](const Entry& entry) {
        return entry.hooks.hasChanges && entry.hooks.hasChanges();
    });
}

void SubWindowList::NotifyProfileSwitched(int profile) const {
    for (const Entry& entry : entries_) {
        if (entry.hooks.profileSwitched) {
            entry.hooks.profileSwitched(profile);
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
