// The macro record (16512 bytes, little-endian), shared by the macro area of the configuration
// image, the profile files and the macro editor:
//     0  name, 250 UTF-16 units including the terminator (at most 249 characters)
//   500  repeat count 1..255 (8-bit)          502  new flag: created since the last apply
//   506  macro id 1..100                      508  action count 0..2000
//   512  2000 actions of 8 bytes: 32-bit signed delay in ms, 16-bit key code, 16-bit 0 press /
//        1 release; only the first action-count entries mean anything
// The bytes the fields do not name stay zero. Records are kept as raw bytes so that a macro area
// is exactly its records laid end to end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "keyboard/key_code.h"

namespace qx::keyboard {

inline constexpr std::size_t kMacroRecordSize = 16512;
inline constexpr std::size_t kMacroNameUnits = 250;
inline constexpr std::size_t kMacroNameMaxChars = kMacroNameUnits - 1;
inline constexpr std::size_t kMacroRepeatOffset = 500;
inline constexpr std::size_t kMacroNewFlagOffset = 502;
inline constexpr std::size_t kMacroIdOffset = 506;
inline constexpr std::size_t kMacroActionCountOffset = 508;
inline constexpr std::size_t kMacroActionsOffset = 512;
inline constexpr std::size_t kMacroActionSize = 8;
inline constexpr int kMaxMacroActions = 2000;
inline constexpr int kMaxMacros = 100;
inline constexpr uint16_t kFirstMacroId = 1;
inline constexpr uint16_t kLastMacroId = 100;
inline constexpr uint8_t kMinRepeatCount = 1;
inline constexpr uint8_t kMaxRepeatCount = 255;
inline constexpr int32_t kMaxMacroDelayMs = 40000;

static_assert(kMacroActionsOffset + kMacroActionSize * kMaxMacroActions == kMacroRecordSize);

enum MacroActionKind : uint16_t {
    kMacroPress = 0,
    kMacroRelease = 1,
};

struct MacroAction {
    int32_t delayMs = 0;  // the gap after this action
    KeyCode keyCode = kNoKey;
    uint16_t action = kMacroPress;
    friend bool operator==(const MacroAction&, const MacroAction&) = default;
};

class MacroRecord {
  public:
    MacroRecord() = default;  // all bytes zero

    std::span<uint8_t, kMacroRecordSize> Bytes() { return bytes_; }
    std::span<const uint8_t, kMacroRecordSize> Bytes() const { return bytes_; }

    // The name up to its terminator; never more than 249 units, even without a terminator.
    std::u16string Name() const;
    // Stores the name cut to 249 units, terminated, the rest of the name field cleared.
    void SetName(std::u16string_view name);

    uint8_t RepeatCount() const { return bytes_[kMacroRepeatOffset]; }
    void SetRepeatCount(uint8_t count) { bytes_[kMacroRepeatOffset] = count; }

    uint16_t NewFlag() const;
    void SetNewFlag(uint16_t flag);

    uint16_t Id() const;
    void SetId(uint16_t id);

    // The stored action count as it is; UsableActionCount caps it at 2000 for reading actions.
    uint16_t ActionCount() const;
    int UsableActionCount() const;
    void SetActionCount(uint16_t count);

    // Action 0..1999; throws std::out_of_range for any other index.
    MacroAction Action(int index) const;
    void SetAction(int index, const MacroAction& action);

  private:
    std::array<uint8_t, kMacroRecordSize> bytes_{};
};

static_assert(sizeof(MacroRecord) == kMacroRecordSize,
              "a vector of records must be the macro area byte for byte");

}  // namespace qx::keyboard
