// The outline of a skinned window, cut from its mask picture.
#pragma once

#include <QImage>
#include <QRegion>
#include <QRgb>
#include <optional>

namespace qx::skin {

// The key colour of the masks: pure white is cut away.
inline constexpr QRgb kMaskKeyColour = 0xFFFFFF;
// Rectangles are merged into the region in batches of this many, so that a mask with many runs
// needs neither one huge region call nor one call per run.
inline constexpr int kRegionBatchRects = 2000;

// A pixel is transparent when each of its three colour bytes lies between the key colour's byte
// and that byte plus `tolerance` (capped at 255).
bool IsMaskPixelTransparent(QRgb pixel, QRgb keyColour, int tolerance);

// The union of the maximal runs of non-transparent pixels of every row (one pixel high each),
// or nothing when the mask has no non-transparent pixel (or is empty).
std::optional<QRegion> RegionFromMask(const QImage& mask, QRgb keyColour = kMaskKeyColour,
                                      int tolerance = 0);

}  // namespace qx::skin
