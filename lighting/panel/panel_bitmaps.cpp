#include "lighting/panel/panel_bitmaps.h"

#include <QString>

#include "lighting/panel/panel_look.h"
#include "skin/picture_file.h"

namespace qx::lighting::panel {

std::vector<QString> PanelBitmapPaths(const std::string& folder) {
    const std::string base = !folder.empty() && folder.back() != '/' ? folder + '/' : folder;
    std::vector<QString> paths;
    for (const std::string& name : PanelBitmapNames()) {
        paths.push_back(QString::fromStdString(base + name));
    }
    return paths;
}

void PanelBitmaps::Load(const std::string& folder) {
    std::vector<std::string> names = PanelBitmapNames();
    const std::vector<QString> paths = PanelBitmapPaths(folder);
    bitmaps_.clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        QImage image = skin::DecodePictureFile(paths[i]);
        bitmaps_.emplace(std::move(names[i]), QPixmap::fromImage(std::move(image)));
    }
}

const QPixmap& PanelBitmaps::Get(std::string_view name) const {
    const auto found = bitmaps_.find(name);
    return found == bitmaps_.end() ? empty_ : found->second;
}

}  // namespace qx::lighting::panel
