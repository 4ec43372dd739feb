#include "mainwnd/main_sheets.h"

#include <QString>
#include <string_view>

#include "skin/skin_files.h"

namespace qx::mainwnd {
namespace {

// The picture of each sheet, in the order of Sheet.
constexpr std::array<std::string_view, kSheetCount> kSheetFiles{
    skin::files::kMainSheets.normal, skin::files::kMainSheets.over,
    skin::files::kMainSheets.down,   skin::files::kMainSheets.disable,
    skin::files::kMainSheets.normal, skin::files::kMainSheets.over,
    skin::files::kMainSheets.down,   skin::files::kMainSheets.disable,
    skin::files::kMainArrowSheet,    skin::files::kMainColour0Sheet,
    skin::files::kMainColour1Sheet,
};

}  // namespace

void MainSheets::Build(const std::string& skinFolder, QSize clientSize) {
    for (std::size_t i = 0; i < kSheetCount; ++i) {
        const std::string path = skinFolder + std::string(kSheetFiles[i]);
        sheets_[i] = skin::BuildSkinSheetFromFile(QString::fromStdString(path), clientSize);
    }
    built_ = true;
}

void MainSheets::Release() {
    for (skin::SkinSheet& sheet : sheets_) {
        sheet = skin::SkinSheet();
    }
    built_ = false;
}

const skin::SkinSheet* MainSheets::Get(Sheet sheet) const {
    return &sheets_[static_cast<std::size_t>(sheet)];
}

skin::SheetSet MainSheets::Set(const SheetPattern& pattern) const {
    return skin::SheetSet{Get(pattern.normal), Get(pattern.over), Get(pattern.down),
                          Get(pattern.disable), Get(pattern.marked)};
}

}  // namespace qx::mainwnd
