// What the companion program decides: when the keyboard is plugged in but this user may not open
// its hidraw nodes, the user is told once how to install the udev rule. That it told is kept in
// the data folder until the keyboard can be opened again; a keyboard that is away changes
// nothing. Qt-free.
#pragma once

#include <string>

#include "transport/hidraw/access_check.h"

namespace qx::companion {

inline constexpr const char* kNoticeFileName = "RoVezevi.ini";
inline constexpr const char* kNoticeSection = "NOTICE";
inline constexpr const char* kNoticeToldKey = "UdevRuleTold";

enum class NoticeAction {
    None,    // nothing to say or to remember
    Tell,    // tell the user, then remember that it was told
    Forget,  // the keyboard opens now: forget that it was told
};

NoticeAction DecideNotice(const transport::hidraw::KeyboardAccess& access, bool alreadyTold);

// The notice in the language of `languageIndex` (English for any index without a translation).
struct NoticeText {
    std::string summary;
    std::string body;
};
NoticeText UdevNoticeText(int languageIndex, const std::string& ruleFolder);

// The remembered flag, in <data folder>/RoVezevi.ini.
std::string NoticeFilePath();
bool ReadNoticeTold(const std::string& path);
bool WriteNoticeTold(const std::string& path, bool told);

}  // namespace qx::companion
