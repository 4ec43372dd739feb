// The current profile's lighting record decoded into the values the panel shows and edits.
// Between reads these values are the truth for the panel; every change updates them and is
// written to the keyboard at once.
#pragma once

#include <cstdint>
#include <span>

#include "lighting/lighting_layout.h"

namespace qx::lighting {

struct WorkingValues {
    int modeType = 0;
    int brightness = 0;                    // slider position = value
    int speed = 0;                         // slider position = 4 - value
    int layer = 0;                         // 0..9
    uint8_t direction = kDirectionSecond;  // kDirectionFirst / kDirectionSecond
    bool randomColour = false;             // the direction byte read as the colour modes' flag
    // Colours as 0x00BBGGRR.
    uint32_t colour = 0;
    uint32_t userBaseColour = 0;
    uint32_t userColour = 0;
    uint32_t rippleColour = 0;
    uint32_t ribbonColour = 0;
    int reportRate = 0;  // 0..3
    int tool = kToolPaint;
    int colourPicture = 0;
    bool reactionRandom = false;
    int triggerKind = kTriggerSingleKey;
    bool rippleRainbow = false;
    bool ribbonRainbow = false;

    friend bool operator==(const WorkingValues&, const WorkingValues&) = default;
};

enum class DecodeScope {
    kAll,              // a full read
    kKeepRateAndTool,  // a refresh after the keyboard changed its lighting itself
};

// Decodes `record` into `values`. Report rate above 3 is taken as 3, a tool above 1 as paint,
// a layer above 9 as 0; the reaction random flag is taken only for mode 7 and only when it is 0
// or 1, the trigger kind only when it is 0 or 1 (otherwise the old value stays); the rainbow and
// random-colour flags are true when their byte is nonzero.
void DecodeRecord(std::span<const uint8_t, kRecordSize> record, DecodeScope scope,
                  WorkingValues& values);

// Three bytes red, green, blue at `offset` as 0x00BBGGRR.
uint32_t ColourAt(std::span<const uint8_t, kRecordSize> record, std::size_t offset);

// The speed slider runs the other way: position 4 is speed 0.
constexpr int SpeedOfPosition(int position) {
    return kMaxSliderPosition - position;
}
constexpr int PositionOfSpeed(int speed) {
    return kMaxSliderPosition - speed;
}

}  // namespace qx::lighting
