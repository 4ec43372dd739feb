// Where the key assignment window opens beside the key that opened it.
#include "keyassign/window/window_placement.h"

#include <gtest/gtest.h>

namespace qx::keyassign::window {
namespace {

// A 1920 x 1080 screen and a 560 x 456 window.
PlacementInput At(KeyRect key, bool macroOnly = false) {
    return {1920, 1080, key, 560, 456, macroOnly};
}

TEST(CompositePlacement, PrefersBelowRightThenAboveThenTheLeftSide) {
    EXPECT_EQ(PlaceCompositeWindow(At({100, 100, 140, 140})), (ScreenPoint{140, 140}));
    // No room below: above the key, on its right.
    EXPECT_EQ(PlaceCompositeWindow(At({100, 700, 140, 740})), (ScreenPoint{140, 244}));
    // No room on the right: left of the key, below or above it.
    EXPECT_EQ(PlaceCompositeWindow(At({1500, 100, 1540, 140})), (ScreenPoint{940, 140}));
    EXPECT_EQ(PlaceCompositeWindow(At({1500, 700, 1540, 740})), (ScreenPoint{940, 244}));
}

TEST(CompositePlacement, RightSideWithoutVerticalRoomFallsBackToTheLeftThenToTheKeyCorner) {
    // A screen too low for the window above or below the key: neither side fits.
    PlacementInput input = At({700, 300, 740, 340});
    input.screenHeight = 700;
    EXPECT_EQ(PlaceCompositeWindow(input), (ScreenPoint{740, 340}));
    // A key too near both edges for either side.
    input = At({400, 100, 1500, 140});
    EXPECT_EQ(PlaceCompositeWindow(input), (ScreenPoint{1500, 140}));
}

TEST(CompositePlacement, MacroEditingAloneIsCentredWithTruncatingDivisions) {
    PlacementInput input = At({100, 100, 140, 140}, true);
    input.screenWidth = 1921;
    EXPECT_EQ(PlaceCompositeWindow(input), (ScreenPoint{680, 312}));
}

}  // namespace
}  // namespace qx::keyassign::window
