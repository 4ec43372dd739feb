// The bitmaps of the lighting panel, loaded once from the main skin's folder. A file that is
// missing or cannot be decoded leaves its bitmap empty; nothing is reported.
#pragma once

#include <QPixmap>
#include <QString>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qx::lighting::panel {

// The files of every bitmap the panel shows (PanelBitmapNames) in `folder`, in that order.
std::vector<QString> PanelBitmapPaths(const std::string& folder);

class PanelBitmaps {
  public:
    // Loads every bitmap the panel shows (PanelBitmapNames) from `folder`.
    void Load(const std::string& folder);

    // The bitmap of that file name; an empty one for a name never loaded or not decoded.
    [[nodiscard]] const QPixmap& Get(std::string_view name) const;

  private:
    std::map<std::string, QPixmap, std::less<>> bitmaps_;
    QPixmap empty_;
};

}  // namespace qx::lighting::panel
