// A profile file as its parts, byte for byte: what "dump" prints and "build" writes. Beside the
// image record and the macro records it keeps the string area as the file has it (not only the
// texts the program takes from it) and whatever follows the header's total, so that a file
// dumped and built again is the same file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "keyboard/image_record.h"
#include "keyboard/macro_record.h"
#include "keyboard/text_table.h"
#include "profiles/profile_check.h"
#include "profiles/profile_file.h"

namespace qx::ctl {

struct ProfileParts {
    std::unique_ptr<keyboard::ImageRecord> image = std::make_unique<keyboard::ImageRecord>();
    std::vector<keyboard::MacroRecord> macros;
    std::vector<uint8_t> stringArea;
    std::vector<uint8_t> trailing;  // the bytes after the header's total
};

// The parts of a file the program accepts (ReadProfileContents); otherwise why not.
struct ReadParts {
    std::optional<ProfileParts> parts;
    profiles::ProfileCheck check = profiles::ProfileCheck::Valid;
};
ReadParts ReadProfileParts(const std::string& path);

// The parts of content read from the keyboard (image and macros; no string area).
ProfileParts PartsOfContents(profiles::ProfileContents contents);

// The texts the program takes from the string area: those of the text-carrying entries, none
// from an empty area. Nothing when a text cannot be taken (a file the program refuses).
std::optional<keyboard::TextTable> TextsOf(const ProfileParts& parts);

// The string area the program's own save makes of `texts`: packed in entry order into `size`
// bytes (the rest zero), each packed text's offset written into its entry of `image`.
std::vector<uint8_t> PackedStringArea(keyboard::ImageRecord& image,
                                      const keyboard::TextTable& texts, std::size_t size);

// Replaces the file at `path` with the parts (platform::ReplaceFile); false leaves it as it was.
bool WriteProfileParts(const std::string& path, const ProfileParts& parts);

}  // namespace qx::ctl
