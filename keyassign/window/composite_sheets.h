// The skin sheets of the key assignment window: five sets of four whole-window pictures (key,
// macro, macro-only, multimedia, function). They are decoded on a background thread as soon as
// the main window has started, so that the first opening is as quick as the later ones; the
// first opening then checks that every picture was loaded.
#pragma once

#include <QSize>
#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "skin/sheet_workers.h"
#include "skin/skin_sheet.h"

namespace qx::keyassign::window {

enum class SheetGroup : std::size_t { Key, Macro, Macro2, Media, Function };
inline constexpr std::size_t kSheetGroups = 5;
inline constexpr std::size_t kSheetsPerGroup = 4;  // normal, over, down, disable

class CompositeSheets {
  public:
    // Queues the pictures in `skinFolder` (ending in '/') for a window of `clientSize` to one
    // background thread. A picture shared by two slots of a set is decoded once.
    void Prepare(const std::string& skinFolder, QSize clientSize);
    [[nodiscard]] bool IsPrepared() const { return prepared_; }

    // True when the background thread has made every sheet (does not wait).
    [[nodiscard]] bool AllReady() const;
    // True when every picture could be loaded; waits for those still being decoded.
    [[nodiscard]] bool AllLoaded() const;

    // A button's five sheets from `group`: normal, over, down, disable, and the down sheet as
    // the marked one (the mask: the normal sheet).
    [[nodiscard]] skin::SheetSet Set(SheetGroup group) const;
    [[nodiscard]] skin::SheetSet MaskSet(SheetGroup group) const;
    [[nodiscard]] const skin::SkinSheet& Sheet(SheetGroup group, std::size_t state) const;

  private:
    std::array<std::array<skin::SkinSheet, kSheetsPerGroup>, kSheetGroups> sheets_{};
    std::unique_ptr<skin::SheetWorkers> workers_;
    bool prepared_ = false;
};

}  // namespace qx::keyassign::window
