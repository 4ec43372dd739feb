// What is wrong with a profile file, if anything. The validator and the loader share these
// checks, and qx480ctl prints them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "keyboard/image_layout.h"

namespace qx::profiles {

enum class ProfileCheck {
    Valid,
    // Not a profile file at all; no message of their own.
    Missing,
    CannotOpen,
    TooSmall,
    TooLarge,
    OutOfMemory,
    // Format errors: the user is told.
    BadMagic,
    BadHeaderSize,
    BadFormatWord,
    BadFormatRevision,
    TotalTooSmall,
    BadEntryCount,
    TooManyMacros,
    BadFlag,
    TotalMismatch,
    BadChecksum,
    Truncated,         // the file holds fewer bytes than its header says
    TextOutsideArea,   // a text offset points past the string area
    TextUnterminated,  // a text runs to the end of the string area without its terminator
    ReadFailed,        // the file could not be read although it could be opened
};

// True for the results that the validator reports with the format-error message.
bool IsFormatError(ProfileCheck check);

// The header rules: magic, header size, the two fixed words, a total of at least 32832 that
// equals N × 16512 + S + 32832, 2048 entries, N at most 100, flag 0 or 1, the checksum.
ProfileCheck CheckProfileHeader(std::span<const uint8_t, keyboard::kHeaderSize> header);

// A short English description (qx480ctl's own output).
std::string_view DescribeProfileCheck(ProfileCheck check);

// Files of this size or more are refused (the header's total is a 32-bit number).
inline constexpr uint64_t kMaxProfileFileSize = uint64_t{1} << 32;

// Everything the validator checks, without telling the user.
ProfileCheck CheckProfileFile(const std::string& path);

}  // namespace qx::profiles
