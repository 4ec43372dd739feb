#include "lighting/panel/panel_bitmaps.h"

#include <QString>

#include "lighting/panel/panel_look.h"
#include "skin/picture_file.h"

namespace qx::lighting::panel {

void PanelBitmaps::Load(const std::string& folder) {
    std::string base = folder;
    if (!base.empty() && base.back() != '/') {
        base += '/';
    }
    bitmaps_.clear();
    for (std::string& name : PanelBitmapNames()) {
        const QImage image = skin::DecodePictureFile(QString::fromStdString(base + name));
        bitmaps_.emplace(std::move(name), QPixmap::fromImage(image));
    }
}

const QPixmap& PanelBitmaps::Get(std::string_view name) const {
    const auto found = bitmaps_.find(name);
    return found == bitmaps_.end() ? empty_ : found->second;
}

}  // namespace qx::lighting::panel
