#include "tools/rovezevi/udev_notice.h"

#include "platform/data_folder.h"
#include "platform/ini_file.h"

namespace qx::companion {
namespace {

constexpr int kPortugueseIndex = 1;
constexpr const char* kToldValue = "1";
constexpr const char* kNotToldValue = "0";

}  // namespace

NoticeAction DecideNotice(const transport::hidraw::KeyboardAccess& access, bool alreadyTold) {
    if (!access.Present()) {
        return NoticeAction::None;
    }
    if (access.PresentButNotOpenable()) {
        return alreadyTold ? NoticeAction::None : NoticeAction::Tell;
    }
    return alreadyTold ? NoticeAction::Forget : NoticeAction::None;
}

NoticeText UdevNoticeText(int languageIndex, const std::string& ruleFolder) {
    const std::string rule = ruleFolder + "70-qx480.rules";
    if (languageIndex == kPortugueseIndex) {
        return {"Teclado QX480: falta a permissão de acesso",
                "O teclado está conectado, mas este usuário não pode abri-lo. Instale a regra "
                "udev e conecte o teclado de novo:\n  sudo cp '" +
                    rule +
                    "' /etc/udev/rules.d/\n  sudo udevadm control --reload\nDepois, inicie o "
                    "Varkon QX480 Driver outra vez."};
    }
    return {"QX480 keyboard: access permission missing",
            "The keyboard is plugged in, but this user may not open it. Install the udev rule "
            "and plug the keyboard in again:\n  sudo cp '" +
                rule +
                "' /etc/udev/rules.d/\n  sudo udevadm control --reload\nThen start Varkon QX480 "
                "Driver again."};
}

std::string NoticeFilePath() {
    return platform::DataFolderPath() + "/" + kNoticeFileName;
}

bool ReadNoticeTold(const std::string& path) {
    return platform::ReadIniString(path, kNoticeSection, kNoticeToldKey, kNotToldValue,
                                   platform::kPathBuffer) == kToldValue;
}

bool WriteNoticeTold(const std::string& path, bool told) {
    platform::EnsureDataFolder();
    return platform::WriteIniString(path, kNoticeSection, kNoticeToldKey,
                                    told ? kToldValue : kNotToldValue);
}

}  // namespace qx::companion
