// What the lighting panel shows for each switch state, mode type and direction byte, decided
// without widgets; and the panel's control table against the main skin's key list.
#include "lighting/panel/panel_look.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "lang/language_keys.h"
#include "lighting/mode_capabilities.h"
#include "lighting/panel/panel_controls.h"
#include "skin/skin_keys.h"

namespace qx::lighting::panel {
namespace {

bool Among(int type, std::initializer_list<int> types) {
    return std::find(types.begin(), types.end(), type) != types.end();
}

TEST(PanelVisibility, EveryDefinedTypeShowsItsGroupsWhileTheSwitchIsOn) {
    for (const ModeDescription& mode : DefinedModes()) {
        const int t = mode.type;
        const PanelVisibility shown = VisibilityFor(true, t);
        SCOPED_TRACE("type " + std::to_string(t));
        EXPECT_TRUE(shown.modeList);
        EXPECT_TRUE(shown.brightness);
        EXPECT_EQ(shown.speed, !Among(t, {5, 7, 25, 254}));
        EXPECT_EQ(shown.direction, Among(t, {1, 2, 3, 4, 15, 16, 27, 28}));
        EXPECT_EQ(shown.perKey, t == 254);
    }
}

TEST(PanelVisibility, SwitchOffHidesEveryGroupButTheLampsAndTheProgressOnRequest) {
    for (const int type : {-1, 1, 5, 254}) {
        const PanelVisibility shown = VisibilityFor(false, type);
        EXPECT_EQ(shown, PanelVisibility{});
        EXPECT_TRUE(IsGroupShown(PanelGroup::kAlways, shown, false));
        EXPECT_FALSE(IsGroupShown(PanelGroup::kProgress, shown, false));
        EXPECT_TRUE(IsGroupShown(PanelGroup::kProgress, shown, true));
    }
    const PanelVisibility perKey = VisibilityFor(true, 254);
    EXPECT_FALSE(IsGroupShown(PanelGroup::kHidden, perKey, true));
}

// A stored mode the keyboard does not list leaves nothing selected: the list must stay reachable.
TEST(PanelVisibility, UnknownTypeWithTheSwitchOnOffersTheModeListAlone) {
    for (const int type : {-1, 0, 29, 253}) {
        EXPECT_EQ(VisibilityFor(true, type), PanelVisibility{.modeList = true});
    }
}

TEST(DirectionLook, PairsAndPlacesFollowTheTypeAndTheDirectionByte) {
    struct Row {
        int type;
        uint8_t direction;
        bool alternative;
        std::string_view first;
        std::string_view second;
    };
    const Row rows[] = {
        {3, 255, true, "kuosandown.bmp", "julong.bmp"},
        {3, 0, true, "kuosan.bmp", "julongdown.bmp"},
        {15, 255, false, "updown.bmp", "downup.bmp"},
        {15, 0, false, "upup.bmp", "downdown.bmp"},
        {1, 255, true, "leftdown.bmp", "rightup.bmp"},
        {2, 0, true, "leftup.bmp", "rightdown.bmp"},
        {4, 255, false, "leftdown.bmp", "rightup.bmp"},
        {28, 0, false, "leftup.bmp", "rightdown.bmp"},
        {-1, 0, false, "leftup.bmp", "rightdown.bmp"},
        // Only 255 presses the first picture; any other byte reads as the second direction.
        {16, 1, false, "leftup.bmp", "rightdown.bmp"},
        {3, 7, true, "kuosan.bmp", "julongdown.bmp"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("type " + std::to_string(row.type) + " byte " + std::to_string(row.direction));
        const DirectionLook look = DirectionLookFor(row.type, row.direction);
        EXPECT_EQ(look.firstPicture, row.first);
        EXPECT_EQ(look.secondPicture, row.second);
        const std::string suffix = row.alternative ? "2" : "";
        EXPECT_EQ(look.labelKey, "CONTROL_BLFXStatic" + suffix);
        EXPECT_EQ(look.firstKey, "CONTROL_BLFXLStaPic" + suffix);
        EXPECT_EQ(look.secondKey, "CONTROL_BLFXRStaPic" + suffix);
    }
}

TEST(PanelPictures, SliderChannelsAndProgressFrames) {
    for (int n = 0; n <= 4; ++n) {
        EXPECT_EQ(SliderChannelPicture(SliderChannel::kBrightness, n), std::to_string(n) + ".bmp");
        EXPECT_EQ(SliderChannelPicture(SliderChannel::kSpeed, n), std::to_string(5 + n) + ".bmp");
    }
    EXPECT_EQ(SliderChannelPicture(SliderChannel::kSpeed, 9), "9.bmp");
    EXPECT_EQ(SliderChannelPicture(SliderChannel::kBrightness, -3), "0.bmp");
    EXPECT_EQ(ProgressFramePicture(0), "jdt1.bmp");
    EXPECT_EQ(ProgressFramePicture(9), "jdt10.bmp");
    EXPECT_EQ(ProgressFramePicture(10), "jdt1.bmp");
    EXPECT_EQ(ProgressFramePicture(-1), "jdt10.bmp");

    const std::vector<std::string> names = PanelBitmapNames();
    const std::set<std::string> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), names.size());
    EXPECT_EQ(names.size(), 28U + 10U + 26U);
    EXPECT_TRUE(unique.contains("25.bmp") && unique.contains("jdt10.bmp"));
}

TEST(PanelPictures, ToolsLampAndLayerFill) {
    using Pair = std::pair<std::string_view, std::string_view>;
    EXPECT_EQ(ToolPictures(0), Pair("user1down.bmp", "user2up.bmp"));
    EXPECT_EQ(ToolPictures(1), Pair("user1up.bmp", "user2down.bmp"));
    EXPECT_EQ(ToolPictures(2), Pair("user1down.bmp", "user2up.bmp"));
    EXPECT_EQ(LampPicture(true), "dengdown.bmp");
    EXPECT_EQ(LampPicture(false), "dengup.bmp");
    // All off (1156), all on (1207).
    EXPECT_EQ(LayerFillPictures(LayerFill::kNeither), Pair("sjsup.bmp", "sjsup.bmp"));
    EXPECT_EQ(LayerFillPictures(LayerFill::kAllOn), Pair("sjsup.bmp", "sjsdown.bmp"));
    EXPECT_EQ(LayerFillPictures(LayerFill::kAllOff), Pair("sjsdown.bmp", "sjsup.bmp"));
}

// The generator writes and the skin check knows every key the panel reads.
TEST(PanelControlTable, EveryControlIsUniqueAndPlacedByAKeyOfTheMainSkin) {
    std::set<std::string> skinKeys;
    for (const skin::SkinKey& key : skin::MainSkinKeys().buttonInfo) {
        skinKeys.insert(key.name);
    }
    std::set<int> ids;
    for (const PanelControl& control : PanelControls()) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.id;
        EXPECT_TRUE(skinKeys.contains(std::string(control.skinKey))) << control.skinKey;
        EXPECT_EQ(FindPanelControl(control.id), &control);
    }
    EXPECT_EQ(ids.size(), 49U);
    for (const std::string_view key : DirectionPlaceKeys()) {
        EXPECT_TRUE(skinKeys.contains(std::string(key))) << key;
    }
    EXPECT_EQ(FindPanelControl(1145), nullptr);  // the template's unused trackbars
    EXPECT_EQ(FindPanelControl(1153), nullptr);
}

TEST(PanelControlTable, LabelTextsGoToLabelsFromTheLightSection) {
    std::multiset<std::string_view> keys;
    for (const LabelText& text : PanelLabelTexts()) {
        const PanelControl* control = FindPanelControl(text.id);
        ASSERT_NE(control, nullptr) << text.id;
        EXPECT_EQ(control->kind, ControlKind::kLabel) << text.id;
        EXPECT_NE(std::ranges::find(lang::kLightKeys, text.lightKey), lang::kLightKeys.end());
        keys.insert(text.lightKey);
    }
    EXPECT_EQ(keys.count("Color"), 3U);
    EXPECT_EQ(keys.count("DC"), 2U);
    EXPECT_EQ(keys.size(), 13U);
}

}  // namespace
}  // namespace qx::lighting::panel
