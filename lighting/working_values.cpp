#include "lighting/working_values.h"

namespace qx::lighting {
namespace {

// Accepts only 0 or 1; anything else leaves `target` as it was.
void TakeIfBinary(uint8_t byte, int& target) {
    if (byte <= 1) {
        target = byte;
    }
}

void DecodeParameters(std::span<const uint8_t, kRecordSize> record, WorkingValues& values) {
    values.modeType = record[field::kModeType];
    values.brightness = record[field::kBrightness];
    values.speed = record[field::kSpeed];
    // The layer addresses the key-light page, so only a real layer is taken.
    const uint8_t layer = record[field::kLayer];
    values.layer = layer < kLayerCount ? layer : 0;
    values.direction = record[field::kDirection];
    values.randomColour = record[field::kDirection] != 0;
}

void DecodeColours(std::span<const uint8_t, kRecordSize> record, WorkingValues& values) {
    values.colour = ColourAt(record, field::kColour);
    values.userBaseColour = ColourAt(record, field::kUserBaseColour);
    values.userColour = ColourAt(record, field::kUserColour);
    values.rippleColour = ColourAt(record, field::kRippleColour);
    values.ribbonColour = ColourAt(record, field::kRibbonColour);
}

void DecodeOptions(std::span<const uint8_t, kRecordSize> record, WorkingValues& values) {
    values.colourPicture = record[field::kColourPicture];
    if (values.modeType == kReactionModeType) {
        int flag = values.reactionRandom ? 1 : 0;
        TakeIfBinary(record[field::kReactionRandom], flag);
        values.reactionRandom = flag != 0;
    }
    TakeIfBinary(record[field::kTriggerKind], values.triggerKind);
    values.rippleRainbow = record[field::kRippleRainbow] != 0;
    values.ribbonRainbow = record[field::kRibbonRainbow] != 0;
}

void DecodeRateAndTool(std::span<const uint8_t, kRecordSize> record, WorkingValues& values) {
    const int rate = record[field::kReportRate];
    values.reportRate = rate > kMaxReportRate ? kMaxReportRate : rate;
    const int tool = record[field::kTool];
    values.tool = tool > kToolErase ? kToolPaint : tool;
}

}  // namespace

uint32_t ColourAt(std::span<const uint8_t, kRecordSize> record, std::size_t offset) {
    return static_cast<uint32_t>(record[offset]) |
           (static_cast<uint32_t>(record[offset + 1]) << 8) |
           (static_cast<uint32_t>(record[offset + 2]) << 16);
}

void DecodeRecord(std::span<const uint8_t, kRecordSize> record, DecodeScope scope,
                  WorkingValues& values) {
    DecodeParameters(record, values);
    DecodeColours(record, values);
    DecodeOptions(record, values);
    if (scope == DecodeScope::kAll) {
        DecodeRateAndTool(record, values);
    }
}

}  // namespace qx::lighting
