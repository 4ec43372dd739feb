#include "keyassign/window/composite_sheets.h"

#include <QString>
#include <map>
#include <string_view>
#include <vector>

#include "skin/skin_files.h"

namespace qx::keyassign::window {
namespace {

constexpr std::array<skin::files::StateSheetFiles, kSheetGroups> kGroupFiles{
    skin::files::kKeySheets, skin::files::kMacroSheets, skin::files::kMacro2Sheets,
    skin::files::kMediaSheets, skin::files::kFunctionSheets};

constexpr std::size_t kNormal = 0;
constexpr std::size_t kOver = 1;
constexpr std::size_t kDown = 2;
constexpr std::size_t kDisable = 3;

std::array<std::string_view, kSheetsPerGroup> FilesOf(const skin::files::StateSheetFiles& files) {
    return {files.normal, files.over, files.down, files.disable};
}

}  // namespace

void CompositeSheets::Prepare(const std::string& skinFolder, QSize clientSize) {
    workers_.reset();
    std::map<std::string_view, skin::SkinSheet> byFile;
    std::vector<skin::SkinSheet> queue;
    // The normal pictures first: the first opening shows them before any hover or press.
    for (std::size_t state = 0; state < kSheetsPerGroup; ++state) {
        for (std::size_t group = 0; group < kSheetGroups; ++group) {
            const std::string_view file = FilesOf(kGroupFiles[group])[state];
            auto found = byFile.find(file);
            if (found == byFile.end()) {
                const QString path = QString::fromStdString(skinFolder + std::string(file));
                skin::SkinSheet sheet = skin::SkinSheet::Deferred(
                    skin::SheetSizeFor(clientSize),
                    [path, clientSize] { return skin::SheetPictureFromFile(path, clientSize); });
                found = byFile.emplace(file, sheet).first;
                queue.push_back(sheet);
            }
            sheets_[group][state] = found->second;
        }
    }
    workers_ = std::make_unique<skin::SheetWorkers>(std::move(queue), 1);
    prepared_ = true;
}

bool CompositeSheets::AllReady() const {
    if (!prepared_) {
        return false;
    }
    for (const auto& group : sheets_) {
        for (const skin::SkinSheet& sheet : group) {
            if (!sheet.IsReady()) {
                return false;
            }
        }
    }
    return true;
}

bool CompositeSheets::AllLoaded() const {
    if (!prepared_) {
        return false;
    }
    for (const auto& group : sheets_) {
        for (const skin::SkinSheet& sheet : group) {
            if (sheet.Covered().isNull()) {
                return false;
            }
        }
    }
    return true;
}

const skin::SkinSheet& CompositeSheets::Sheet(SheetGroup group, std::size_t state) const {
    return sheets_[static_cast<std::size_t>(group)][state];
}

skin::SheetSet CompositeSheets::Set(SheetGroup group) const {
    return {&Sheet(group, kNormal), &Sheet(group, kOver), &Sheet(group, kDown),
            &Sheet(group, kDisable), &Sheet(group, kDown)};
}

skin::SheetSet CompositeSheets::MaskSet(SheetGroup group) const {
    skin::SheetSet set = Set(group);
    set.marked = set.normal;
    return set;
}

}  // namespace qx::keyassign::window
