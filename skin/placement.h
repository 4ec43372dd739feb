// The placement readers: each reads one rectangle key of a skin INI file (section "BUTTONINFO"
// unless another is given) and applies it to a control.
#pragma once

#include <string>
#include <string_view>

#include "skin/skin_rect.h"
#include "skin/skin_sheet.h"

class QWidget;

namespace qx::skin {

class CPngButton;

inline constexpr std::string_view kButtonInfoSection = "BUTTONINFO";
inline constexpr std::string_view kButtonInfo2Section = "BUTTONINFO2";

// The rectangle of `key` in `section` of the INI file at `iniPath`; the default text
// "1,1,1,1,x" when the file, section or key is missing.
SkinRect ReadSkinRect(const std::string& iniPath, std::string_view key,
                      std::string_view section = kButtonInfoSection);

// Moves and sizes the button, then gives it its source point (x, y) and five sheets. A value
// that starts with 1,1 also disables the button: the way a skin leaves a button unused.
SkinRect PlaceImageButton(CPngButton& button, const std::string& iniPath, std::string_view key,
                          const SheetSet& sheets, std::string_view section = kButtonInfoSection);

// Moves and sizes the control.
SkinRect PlaceControl(QWidget& control, const std::string& iniPath, std::string_view key,
                      std::string_view section = kButtonInfoSection);

// Moves the control, keeping its size, and repaints it.
SkinRect MoveControl(QWidget& control, const std::string& iniPath, std::string_view key,
                     std::string_view section = kButtonInfoSection);

// Places the button as PlaceControl with `key`, then cuts all of its faces from `sheet` at the
// point given by the first two numbers of `sheetKey` in `sheetSection` ("BUTTONINFO2").
SkinRect PlaceArrowButton(CPngButton& button, const std::string& iniPath, std::string_view key,
                          std::string_view sheetKey, const SkinSheet* sheet,
                          std::string_view section = kButtonInfoSection,
                          std::string_view sheetSection = kButtonInfo2Section);

}  // namespace qx::skin
