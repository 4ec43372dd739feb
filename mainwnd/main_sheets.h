// The eleven skin sheets of the main window: the four whole-window state pictures, the same four
// again (the flip indicator's second set), the arrow picture and the two colour pictures. Every
// button of the window cuts its faces from these at its own position.
#pragma once

#include <QSize>
#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "skin/sheet_workers.h"
#include "skin/skin_sheet.h"

namespace qx::mainwnd {

enum class Sheet : std::size_t {
    kNormal,
    kOver,
    kDown,
    kDisable,
    kNormal2,
    kOver2,
    kDown2,
    kDisable2,
    kArrow,
    kColour0,
    kColour1,
};
inline constexpr std::size_t kSheetCount = 11;

// The five sheets of a button by state, named by sheet.
struct SheetPattern {
    Sheet normal;
    Sheet over;
    Sheet down;
    Sheet disable;
    Sheet marked;
};

// The patterns the window's buttons use.
inline constexpr SheetPattern kKeyPattern{Sheet::kNormal, Sheet::kOver, Sheet::kDown,
                                          Sheet::kNormal, Sheet::kDisable};
inline constexpr SheetPattern kLinkPattern{Sheet::kNormal, Sheet::kOver, Sheet::kDisable,
                                           Sheet::kNormal, Sheet::kNormal};
inline constexpr SheetPattern kCommandPattern{Sheet::kNormal, Sheet::kOver, Sheet::kDown,
                                              Sheet::kNormal, Sheet::kNormal};
inline constexpr SheetPattern kApplyPattern{Sheet::kNormal, Sheet::kOver, Sheet::kDown,
                                            Sheet::kDisable, Sheet::kNormal};
inline constexpr SheetPattern kIndicatorPattern{Sheet::kNormal, Sheet::kNormal, Sheet::kNormal,
                                                Sheet::kNormal, Sheet::kOver};
inline constexpr SheetPattern kPlainPattern{Sheet::kNormal, Sheet::kNormal, Sheet::kNormal,
                                            Sheet::kNormal, Sheet::kNormal};
// A key while its key assignment window is open: it stays highlighted.
inline constexpr SheetPattern kKeyOpenPattern{Sheet::kOver, Sheet::kOver, Sheet::kDown,
                                              Sheet::kNormal, Sheet::kOver};

// How many threads make the sheets while the window's start-up goes on. One: on two cores a
// second one finished the sheets sooner but took its time from the user-interface thread.
inline constexpr int kSheetThreads = 1;

class MainSheets {
  public:
    // Builds every sheet from the pictures in `skinFolder` (ending in '/') for a window of
    // `clientSize`. A picture that is missing or cannot be decoded leaves a blank sheet. The
    // seven distinct pictures are decoded once each, on background threads, so start-up does not
    // wait for them; the second four sheets share the pixels of the first four. A sheet read
    // before its thread got to it is made by its reader, one being made is waited for.
    void Build(const std::string& skinFolder, QSize clientSize);
    // Frees the sheets; buttons then draw nothing until the next Build.
    void Release();
    // Waits until the background threads are done (every sheet made or being made by a reader).
    void WaitUntilMade();

    [[nodiscard]] const skin::SkinSheet* Get(Sheet sheet) const;
    [[nodiscard]] skin::SheetSet Set(const SheetPattern& pattern) const;
    [[nodiscard]] bool IsBuilt() const { return built_; }

  private:
    std::array<skin::SkinSheet, kSheetCount> sheets_{};
    std::unique_ptr<skin::SheetWorkers> workers_;
    bool built_ = false;
};

}  // namespace qx::mainwnd
