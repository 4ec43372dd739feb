// The keyboard's lighting data as the command packets carry it: the supported-mode slots of the
// state block, the three 42-byte lighting records of the lighting area, the three 256-byte
// key-light pages of the key-light area, and the fields and values inside a record. Every number
// here is the keyboard's; nothing else in lighting/ spells them out again.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qx::lighting {

inline constexpr int kProfileCount = 3;  // onboard profiles 0..2, one record and page each

// ---- Supported-mode list: bytes 16..47 of the state block, one mode type per slot ---------------
inline constexpr std::size_t kModeSlotCount = 32;
inline constexpr std::size_t kModeSlotsOffset = 16;
inline constexpr uint8_t kEmptyModeSlot = 0;
using ModeSlots = std::array<uint8_t, kModeSlotCount>;

// ---- Mode types ---------------------------------------------------------------------------------
inline constexpr int kNoMode = -1;           // the answer of a lookup that finds no mode
inline constexpr int kPerKeyModeType = 254;  // the user-defined per-key mode
inline constexpr int kResetModeType = 1;     // the mode a lighting reset selects
inline constexpr int kReactionModeType = 7;  // the only mode that takes the reaction random flag

// ---- Lighting records: command 5 reads 56 bytes at profile × 42, of which 42 are the record
// ------
inline constexpr std::size_t kRecordSize = 42;
inline constexpr int kRecordReadLength = 56;
using LightingRecord = std::array<uint8_t, kRecordSize>;

// Field offsets inside a record (all unsigned bytes; colours are red, green, blue).
namespace field {
inline constexpr std::size_t kModeType = 0;
inline constexpr std::size_t kBrightness = 1;
inline constexpr std::size_t kSpeed = 2;
inline constexpr std::size_t kLayer = 3;
inline constexpr std::size_t kDirection = 4;  // also the random-colour flag of the colour modes
inline constexpr std::size_t kColour = 5;
inline constexpr std::size_t kUserBaseColour = 9;
inline constexpr std::size_t kUserColour = 12;
inline constexpr std::size_t kReportRate = 15;
inline constexpr std::size_t kTool = 16;
inline constexpr std::size_t kColourPicture = 17;
inline constexpr std::size_t kReactionRandom = 18;
inline constexpr std::size_t kTriggerKind = 19;
inline constexpr std::size_t kRippleColour = 25;
inline constexpr std::size_t kRippleRainbow = 28;
inline constexpr std::size_t kRibbonColour = 30;
inline constexpr std::size_t kRibbonRainbow = 33;
}  // namespace field

// ---- Field values -------------------------------------------------------------------------------
inline constexpr int kMaxSliderPosition = 4;     // brightness and speed sliders: positions 0..4
inline constexpr int kMaxReportRate = 3;         // report-rate buttons 0..3; more is taken as 3
inline constexpr uint8_t kDirectionFirst = 255;  // left / spread / up
inline constexpr uint8_t kDirectionSecond = 0;   // right / converge / down
inline constexpr int kToolPaint = 0;             // per-key tool: switch keys on
inline constexpr int kToolErase = 1;             // per-key tool: switch keys off
inline constexpr int kTriggerSingleKey = 0;
inline constexpr int kTriggerGrid = 1;

// ---- Key-light pages: ten layers of 18 bytes, a bit matrix of 18 columns × 8 rows each ---------
inline constexpr std::size_t kPageSize = 256;
inline constexpr int kPageReadChunk = 54;  // command 16 reads the first 216 bytes in four pieces
inline constexpr int kPageReadChunks = 4;
inline constexpr int kLayerCount = 10;
inline constexpr std::size_t kLayerSize = 18;
inline constexpr std::size_t kLayersSize = kLayerCount * kLayerSize;  // 180
inline constexpr int kLedCount = 144;  // lighting indexes 0..143 (column × 8 + row)
inline constexpr int kLedsPerByte = 8;
using KeyLightPage = std::array<uint8_t, kPageSize>;

static_assert(kPageReadChunk * kPageReadChunks <= static_cast<int>(kPageSize));
static_assert(kLedCount <= static_cast<int>(kLayerSize) * kLedsPerByte);

}  // namespace qx::lighting
