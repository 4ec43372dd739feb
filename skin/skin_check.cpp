#include "skin/skin_check.h"

#include <QFile>
#include <QImage>
#include <QString>

#include "platform/ini_file.h"
#include "skin/picture_file.h"
#include "skin/placement.h"
#include "skin/skin_rect.h"

namespace qx::skin {
namespace {

// A default no skin value can hold: tells a missing key from a present one.
constexpr std::string_view kAbsent =
    "\x01"
    "absent";

bool HasKey(const std::string& ini, std::string_view section, std::string_view key) {
    return platform::ReadIniString(ini, section, key, kAbsent, kRectBuffer) != kAbsent;
}

QRect ToQRect(const SkinRect& rect) {
    return {rect.x, rect.y, rect.w, rect.h};
}

// The family of a control: itself, or the control an alternative place belongs to.
const std::string& Family(const SkinKey& key) {
    return key.role == ControlRole::AlternativePlace ? key.primary : key.name;
}

class Checker {
  public:
    Checker(const std::string& folder, const WindowSkinKeys& window)
        : folder_(folder), window_(window), ini_(folder + std::string(window.iniFile)) {}

    WindowSkinReport Run() {
        if (!QFile::exists(QString::fromStdString(ini_))) {
            Problem(std::string(window_.iniFile) + ": missing");
            return report_;
        }
        CheckScreen();
        CheckPlacements();
        CheckOverlaps();
        CheckSheetPoints();
        CheckPictures();
        return report_;
    }

  private:
    void Problem(std::string text) { report_.problems.push_back(std::move(text)); }

    std::string Where(std::string_view key) const {
        return std::string(window_.iniFile) + " " + std::string(key);
    }

    QImage Picture(const std::string& name) {
        return DecodePictureFile(QString::fromStdString(folder_ + name));
    }

    void CheckScreen() {
        for (const std::string& key : window_.screenKeys) {
            if (!HasKey(ini_, kScreenSection, key)) {
                Problem(Where(key) + ": missing in [SCREEN]");
            }
        }
        const std::string main = platform::ReadIniString(ini_, kScreenSection, kScreenMainKey, "",
                                                         platform::kSkinStringBuffer);
        const std::string mask = platform::ReadIniString(ini_, kScreenSection, kScreenMaskKey, main,
                                                         platform::kSkinStringBuffer);
        const QImage background = Picture(main);
        const QImage maskImage = Picture(mask);
        if (background.isNull()) {
            Problem(Where(kScreenMainKey) + ": background '" + main + "' does not decode");
            return;
        }
        report_.windowSize = background.size();
        if (maskImage.isNull()) {
            Problem(Where(kScreenMaskKey) + ": mask '" + mask + "' does not decode");
        } else if (maskImage.size() != background.size()) {
            Problem(Where(kScreenMaskKey) + ": mask and background differ in size");
        }
    }

    void CheckPlacements() {
        const QRect window(QPoint(0, 0), report_.windowSize);
        for (const SkinKey& key : window_.buttonInfo) {
            if (!HasKey(ini_, kButtonInfoSection, key.name)) {
                if (!key.optional) {
                    Problem(Where(key.name) + ": missing in [BUTTONINFO]");
                }
                continue;
            }
            const SkinRect rect = ReadSkinRect(ini_, key.name);
            if (rect.parsed != 4) {
                Problem(Where(key.name) + ": not four numbers");
            }
            if (rect.IsUnused()) {
                Problem(Where(key.name) + ": starts with 1,1 (the control would be disabled)");
            }
            if (rect.w <= 0 || rect.h <= 0) {
                Problem(Where(key.name) + ": empty rectangle");
            }
            report_.placed[key.name] = ToQRect(rect);
        }
        // An alternative place keeps the primary control's size.
        for (const SkinKey& key : window_.buttonInfo) {
            if (key.role != ControlRole::AlternativePlace) {
                continue;
            }
            auto alternative = report_.placed.find(key.name);
            auto primary = report_.placed.find(key.primary);
            if (alternative != report_.placed.end() && primary != report_.placed.end()) {
                alternative->second.setSize(primary->second.size());
            }
        }
        for (const auto& [name, rect] : report_.placed) {
            if (!window.contains(rect)) {
                Problem(Where(name) + ": leaves the window");
            }
        }
    }

    void CheckOverlaps() {
        const auto& keys = window_.buttonInfo;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            auto first = report_.placed.find(keys[i].name);
            if (first == report_.placed.end()) {
                continue;
            }
            for (std::size_t j = i + 1; j < keys.size(); ++j) {
                auto second = report_.placed.find(keys[j].name);
                if (second == report_.placed.end() || MayOverlap(keys[i], keys[j])) {
                    continue;
                }
                if (first->second.intersects(second->second)) {
                    Problem(Where(keys[i].name) + ": overlaps " + keys[j].name);
                }
            }
        }
    }

    void CheckSheetPoints() {
        for (const SheetPointKey& point : window_.sheetPoints) {
            if (!HasKey(ini_, kButtonInfo2Section, point.name)) {
                Problem(Where(point.name) + ": missing in [BUTTONINFO2]");
                continue;
            }
            const SkinRect at = ReadSkinRect(ini_, point.name, kButtonInfo2Section);
            const auto control = report_.placed.find(point.control);
            const QImage picture = Picture(point.picture);
            if (control == report_.placed.end() || picture.isNull()) {
                continue;
            }
            // Faces are cut one pixel up and left of the point.
            const QRect face(at.x - 1, at.y - 1, control->second.width(), control->second.height());
            if (!picture.rect().contains(face)) {
                Problem(Where(point.name) + ": face leaves " + point.picture);
            }
        }
    }

    void CheckPictures() {
        for (const std::string& name : window_.statePictures) {
            const QImage picture = Picture(name);
            if (picture.isNull()) {
                Problem(name + ": does not decode");
            } else if (picture.size() != report_.windowSize) {
                Problem(name + ": not the size of the window");
            }
        }
        for (const std::string& name : window_.otherPictures) {
            if (Picture(name).isNull()) {
                Problem(name + ": does not decode");
            }
        }
    }

    std::string folder_;
    const WindowSkinKeys& window_;
    std::string ini_;
    WindowSkinReport report_;
};

}  // namespace

bool MayOverlap(const SkinKey& a, const SkinKey& b) {
    if (a.role == ControlRole::Mask || b.role == ControlRole::Mask) {
        return true;
    }
    if (a.role == ControlRole::AlwaysHidden && b.role == ControlRole::AlwaysHidden) {
        return true;
    }
    if (a.role == ControlRole::Page && b.role == ControlRole::Page && a.page != b.page) {
        return true;
    }
    // The places of one control are never used at the same time.
    return Family(a) == Family(b);
}

WindowSkinReport CheckWindowSkin(const std::string& skinFolder, const WindowSkinKeys& window) {
    return Checker(skinFolder, window).Run();
}

}  // namespace qx::skin
