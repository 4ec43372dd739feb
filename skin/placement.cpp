#include "skin/placement.h"

#include <QWidget>

#include "platform/ini_file.h"
#include "skin/png_button.h"

namespace qx::skin {

SkinRect ReadSkinRect(const std::string& iniPath, std::string_view key, std::string_view section) {
    return ParseSkinRect(
        platform::ReadIniString(iniPath, section, key, kDefaultRectText, kRectBuffer));
}

SkinRect PlaceImageButton(CPngButton& button, const std::string& iniPath, std::string_view key,
                          const SheetSet& sheets, std::string_view section) {
    const SkinRect rect = PlaceControl(button, iniPath, key, section);
    button.SetSheets(rect.x, rect.y, sheets, true);
    if (rect.IsUnused()) {
        button.setEnabled(false);
    }
    return rect;
}

SkinRect PlaceControl(QWidget& control, const std::string& iniPath, std::string_view key,
                      std::string_view section) {
    const SkinRect rect = ReadSkinRect(iniPath, key, section);
    control.setGeometry(rect.x, rect.y, rect.w, rect.h);
    return rect;
}

SkinRect MoveControl(QWidget& control, const std::string& iniPath, std::string_view key,
                     std::string_view section) {
    const SkinRect rect = ReadSkinRect(iniPath, key, section);
    control.move(rect.x, rect.y);
    control.update();
    return rect;
}

SkinRect PlaceArrowButton(CPngButton& button, const std::string& iniPath, std::string_view key,
                          std::string_view sheetKey, const SkinSheet* sheet,
                          std::string_view section, std::string_view sheetSection) {
    const SkinRect rect = PlaceControl(button, iniPath, key, section);
    const SkinRect point = ReadSkinRect(iniPath, sheetKey, sheetSection);
    button.SetSheets(point.x, point.y, SheetSet{sheet, sheet, sheet, sheet, sheet}, true);
    return rect;
}

}  // namespace qx::skin
