// A key entry: what one key does in one onboard profile (16 bytes, little-endian):
//   0  16-bit kind       2  16-bit parameter   4  32-bit value
//   8  32-bit colour switch (carried, never interpreted)   12  32 bits not read
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <type_traits>

#include "keyboard/byte_order.h"
#include "keyboard/image_layout.h"

namespace qx::keyboard {

// Assignment kinds of a key entry.
enum KeyEntryKind : uint16_t {
    kKindDefault = 0,  // the keyboard's own function
    kKindDisabled = 1,
    kKindKey = 2,     // value: a key code (mouse and wheel codes included)
    kKindLaunch = 3,  // value: the text's offset in a profile file's string area
    kKindMacro = 4,   // parameter: repeat count; value: macro id (low 16 bits)
    kKindStopMacro = 5,
    kKindText = 6,        // value: as kKindLaunch
    kKindMultimedia = 7,  // value: multimedia index 0..17
    kKindFunction = 8,    // value: keyboard function index 0..10
};

inline constexpr std::size_t kEntryKindOffset = 0;
inline constexpr std::size_t kEntryParameterOffset = 2;
inline constexpr std::size_t kEntryValueOffset = 4;
inline constexpr std::size_t kEntryColourSwitchOffset = 8;

// A view of the 16 bytes of one key entry inside an image record.
template <class Byte>
class BasicKeyEntry {
  public:
    explicit BasicKeyEntry(std::span<Byte, kKeyEntrySize> bytes) : bytes_(bytes) {}

    uint16_t Kind() const { return LoadLe16(bytes_, kEntryKindOffset); }
    uint16_t Parameter() const { return LoadLe16(bytes_, kEntryParameterOffset); }
    uint32_t Value() const { return LoadLe32(bytes_, kEntryValueOffset); }
    uint32_t ColourSwitch() const { return LoadLe32(bytes_, kEntryColourSwitchOffset); }
    std::span<const uint8_t, kKeyEntrySize> Bytes() const { return bytes_; }

    void SetKind(uint16_t kind) requires(!std::is_const_v<Byte>) {
        StoreLe16(bytes_, kEntryKindOffset, kind);
    }
    void SetParameter(uint16_t parameter) requires(!std::is_const_v<Byte>) {
        StoreLe16(bytes_, kEntryParameterOffset, parameter);
    }
    void SetValue(uint32_t value) requires(!std::is_const_v<Byte>) {
        StoreLe32(bytes_, kEntryValueOffset, value);
    }
    void SetColourSwitch(uint32_t colourSwitch) requires(!std::is_const_v<Byte>) {
        StoreLe32(bytes_, kEntryColourSwitchOffset, colourSwitch);
    }
    // Clears the whole entry (the colour switch and the unread bytes included).
    void Reset() requires(!std::is_const_v<Byte>) {
        std::fill(bytes_.begin(), bytes_.end(), uint8_t{0});
    }

  private:
    std::span<Byte, kKeyEntrySize> bytes_;
};

using KeyEntryRef = BasicKeyEntry<uint8_t>;
using ConstKeyEntryRef = BasicKeyEntry<const uint8_t>;

}  // namespace qx::keyboard
