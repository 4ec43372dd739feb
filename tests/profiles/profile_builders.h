// Small builders of profile-file content for the tests: images with chosen entries, macro
// records, and raw files with a header of the test's choosing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/image_holders.h"
#include "keyboard/image_record.h"
#include "keyboard/macro_record.h"
#include "profiles/macro_area.h"
#include "profiles/profile_file.h"
#include "profiles/profile_format.h"

namespace qx::testing {

// A macro record with `actions` presses of A, 10 ms apart.
inline keyboard::MacroRecord MakeMacro(uint16_t id, std::u16string_view name, int actions = 0,
                                       uint8_t repeat = 1) {
    keyboard::MacroRecord macro;
    macro.SetId(id);
    macro.SetName(name);
    macro.SetRepeatCount(repeat);
    macro.SetActionCount(static_cast<uint16_t>(actions));
    for (int i = 0; i < actions; ++i) {
        macro.SetAction(i, {10, 0x01E, static_cast<uint16_t>(i % 2)});
    }
    return macro;
}

// Bytes of a file: the default image with the header filled for N macros and S text bytes
// (checksum correct), then N zero records and S zero bytes, then `extra` bytes.
inline std::string MakeFileBytes(uint16_t macros, uint32_t textSize, uint8_t flag = 0,
                                 std::size_t extra = 0) {
    auto image = profiles::BuildDefaultImage(0);
    profiles::FillProfileHeader(image->Header(), macros, textSize, flag);
    std::string bytes(reinterpret_cast<const char*>(image->Bytes().data()), image->Bytes().size());
    bytes.resize(bytes.size() + macros * keyboard::kMacroRecordSize + textSize + extra, '\0');
    return bytes;
}

// Sets header byte `offset` and recomputes the checksum.
inline void PatchHeader(std::string& bytes, std::size_t offset, uint8_t value) {
    bytes[offset] = static_cast<char>(value);
    uint8_t sum = 0;
    for (std::size_t i = 0; i < profiles::kChecksumOffset; ++i) {
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(bytes[i]));
    }
    bytes[profiles::kChecksumOffset] = static_cast<char>(sum);
}

// Sets the 32-bit little-endian value at `offset` of the file bytes.
inline void Put32(std::string& bytes, std::size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    }
}
inline void Put16(std::string& bytes, std::size_t offset, uint16_t value) {
    bytes[offset] = static_cast<char>(value & 0xFF);
    bytes[offset + 1] = static_cast<char>(value >> 8);
}

// Installs a default live image and returns the lock on it.
inline keyboard::ImageGuard InstallDefaultImage() {
    keyboard::ImageGuard guard = keyboard::Images().LockImage();
    guard->image = profiles::BuildDefaultImage(0);
    return guard;
}

}  // namespace qx::testing
