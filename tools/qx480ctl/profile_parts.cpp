#include "tools/qx480ctl/profile_parts.h"

#include <new>

#include "keyboard/byte_order.h"
#include "platform/file_replace.h"
#include "profiles/macro_area.h"
#include "profiles/profile_format.h"
#include "profiles/read_only_file.h"
#include "profiles/string_area.h"

namespace qx::ctl {

ReadParts ReadProfileParts(const std::string& path) {
    ReadParts result;
    profiles::ProfileContents contents;
    result.check = profiles::ReadProfileContents(path, contents);
    if (result.check != profiles::ProfileCheck::Valid) {
        return result;
    }
    profiles::ReadOnlyFile file;
    if (file.Open(path) != profiles::ReadOnlyFile::OpenResult::Ok) {
        result.check = profiles::ProfileCheck::CannotOpen;
        return result;
    }
    const auto header = contents.image->Header();
    const uint32_t textSize = keyboard::LoadLe32(header, profiles::kTextSizeOffset);
    const uint64_t areaAt = profiles::ProfileFileSize(contents.macros.size(), 0);
    const uint64_t total = areaAt + textSize;
    try {
        ProfileParts parts{std::move(contents.image), std::move(contents.macros),
                           std::vector<uint8_t>(textSize),
                           std::vector<uint8_t>(file.Size() > total ? file.Size() - total : 0)};
        if (!file.ReadAt(areaAt, parts.stringArea) || !file.ReadAt(total, parts.trailing)) {
            result.check = profiles::ProfileCheck::ReadFailed;
            return result;
        }
        result.parts = std::move(parts);
    } catch (const std::bad_alloc&) {
        result.check = profiles::ProfileCheck::OutOfMemory;
    }
    return result;
}

ProfileParts PartsOfContents(profiles::ProfileContents contents) {
    ProfileParts parts;
    parts.image = std::move(contents.image);
    parts.macros = std::move(contents.macros);
    return parts;
}

std::optional<keyboard::TextTable> TextsOf(const ProfileParts& parts) {
    keyboard::TextTable texts;
    if (profiles::UnpackTextArea(*parts.image, parts.stringArea, texts)) {
        return std::nullopt;
    }
    return texts;
}

std::vector<uint8_t> PackedStringArea(keyboard::ImageRecord& image,
                                      const keyboard::TextTable& texts, std::size_t size) {
    std::vector<uint8_t> area(size, 0);
    profiles::PackTextArea(image, texts, area);
    return area;
}

bool WriteProfileParts(const std::string& path, const ProfileParts& parts) {
    return static_cast<bool>(
        platform::ReplaceFile(path, {parts.image->Bytes(), profiles::MacroAreaBytes(parts.macros),
                                     parts.stringArea, parts.trailing}));
}

}  // namespace qx::ctl
