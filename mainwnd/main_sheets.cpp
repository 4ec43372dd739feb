#include "mainwnd/main_sheets.h"

#include <QString>
#include <string_view>
#include <vector>

#include "skin/skin_files.h"

namespace qx::mainwnd {
namespace {

// The distinct pictures, in the order the background threads make them: those the first
// painting of the window needs (normal faces, assigned and disabled keys, arrows, lighting
// colours) before the hover and pressed faces.
enum Picture : std::size_t {
    kNormalPicture,
    kDisablePicture,
    kArrowPicture,
    kColour0Picture,
    kColour1Picture,
    kOverPicture,
    kDownPicture,
    kPictureCount,
};

constexpr std::array<std::string_view, kPictureCount> kPictureFiles{
    skin::files::kMainSheets.normal, skin::files::kMainSheets.disable,
    skin::files::kMainArrowSheet,    skin::files::kMainColour0Sheet,
    skin::files::kMainColour1Sheet,  skin::files::kMainSheets.over,
    skin::files::kMainSheets.down,
};

// The picture of each sheet, in the order of Sheet: the flip indicator's second set of state
// sheets shows the same pictures as the first.
constexpr std::array<Picture, kSheetCount> kPictureOfSheet{
    kNormalPicture, kOverPicture,    kDownPicture,  kDisablePicture, kNormalPicture,  kOverPicture,
    kDownPicture,   kDisablePicture, kArrowPicture, kColour0Picture, kColour1Picture,
};

}  // namespace

void MainSheets::Build(const std::string& skinFolder, QSize clientSize) {
    workers_.reset();
    std::vector<skin::SkinSheet> pictures;
    pictures.reserve(kPictureCount);
    for (const std::string_view file : kPictureFiles) {
        const QString path = QString::fromStdString(skinFolder + std::string(file));
        pictures.push_back(skin::SkinSheet::Deferred(
            skin::SheetSizeFor(clientSize),
            [path, clientSize] { return skin::SheetPictureFromFile(path, clientSize); }));
    }
    for (std::size_t i = 0; i < kSheetCount; ++i) {
        sheets_[i] = pictures[kPictureOfSheet[i]];
    }
    workers_ = std::make_unique<skin::SheetWorkers>(std::move(pictures), kSheetThreads);
    built_ = true;
}

void MainSheets::Release() {
    workers_.reset();
    for (skin::SkinSheet& sheet : sheets_) {
        sheet = skin::SkinSheet();
    }
    built_ = false;
}

void MainSheets::WaitUntilMade() {
    if (workers_) {
        workers_->Join();
    }
}

const skin::SkinSheet* MainSheets::Get(Sheet sheet) const {
    return &sheets_[static_cast<std::size_t>(sheet)];
}

skin::SheetSet MainSheets::Set(const SheetPattern& pattern) const {
    return skin::SheetSet{Get(pattern.normal), Get(pattern.over), Get(pattern.down),
                          Get(pattern.disable), Get(pattern.marked)};
}

}  // namespace qx::mainwnd
