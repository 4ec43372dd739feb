#include "mainwnd/link_targets.h"

#include "mainwnd/main_ids.h"
#include "platform/ini_file.h"
#include "skin/skin_keys.h"

namespace qx::mainwnd {
namespace {

std::string ReadLink(const std::string& iniPath, std::string_view key) {
    return platform::ReadIniString(iniPath, skin::kScreenSection, key, kFallbackLink, kLinkBuffer);
}

}  // namespace

LinkTargets ReadLinkTargets(const std::string& iniPath) {
    return LinkTargets{ReadLink(iniPath, skin::kLinkKey), ReadLink(iniPath, skin::kFacebookLinkKey),
                       ReadLink(iniPath, skin::kTwitterLinkKey)};
}

std::string LinkTargetOf(const LinkTargets& targets, int controlId) {
    switch (controlId) {
        case kIdWebLink:
            return targets.web;
        case kIdFacebookLink:
            return targets.facebook;
        case kIdTwitterLink:
            return targets.twitter;
        default:
            return {};
    }
}

}  // namespace qx::mainwnd
