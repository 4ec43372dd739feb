#include "profiles/profile_check.h"

#include <new>
#include <vector>

#include "keyboard/byte_order.h"
#include "keyboard/image_record.h"
#include "profiles/profile_format.h"
#include "profiles/read_only_file.h"
#include "profiles/string_area.h"

namespace qx::profiles {
namespace {

using keyboard::LoadLe16;
using keyboard::LoadLe32;

ProfileCheck CheckTexts(const ReadOnlyFile& file, uint16_t macroCount, uint32_t textSize) {
    keyboard::ImageRecord image;
    std::vector<uint8_t> area(textSize);
    const uint64_t areaOffset = ProfileFileSize(macroCount, 0);
    if (!file.ReadAt(0, image.Bytes()) || !file.ReadAt(areaOffset, area)) {
        return ProfileCheck::ReadFailed;
    }
    keyboard::TextTable texts;
    const auto problem = UnpackTextArea(image, area, texts);
    if (!problem) {
        return ProfileCheck::Valid;
    }
    return problem->problem == TextProblem::OutsideArea ? ProfileCheck::TextOutsideArea
                                                        : ProfileCheck::TextUnterminated;
}

}  // namespace

bool IsFormatError(ProfileCheck check) {
    switch (check) {
        case ProfileCheck::Valid:
        case ProfileCheck::Missing:
        case ProfileCheck::CannotOpen:
        case ProfileCheck::TooSmall:
        case ProfileCheck::TooLarge:
        case ProfileCheck::OutOfMemory:
        case ProfileCheck::ReadFailed:
            return false;
        default:
            return true;
    }
}

ProfileCheck CheckProfileHeader(std::span<const uint8_t, keyboard::kHeaderSize> header) {
    const uint32_t total = LoadLe32(header, kTotalSizeOffset);
    const uint16_t macros = LoadLe16(header, kMacroCountOffset);
    const uint32_t textSize = LoadLe32(header, kTextSizeOffset);
    if (LoadLe16(header, kMagicOffset) != kProfileMagic) {
        return ProfileCheck::BadMagic;
    }
    if (LoadLe16(header, kHeaderSizeOffset) != kHeaderSizeValue) {
        return ProfileCheck::BadHeaderSize;
    }
    if (LoadLe16(header, kFormatWordOffset) != kFormatWordValue) {
        return ProfileCheck::BadFormatWord;
    }
    if (LoadLe16(header, kFormatRevisionOffset) != kFormatRevisionValue) {
        return ProfileCheck::BadFormatRevision;
    }
    if (total < keyboard::kImageSize) {
        return ProfileCheck::TotalTooSmall;
    }
    if (LoadLe16(header, kEntryCountOffset) != kEntryCountValue) {
        return ProfileCheck::BadEntryCount;
    }
    if (macros > kMaxFileMacros) {
        return ProfileCheck::TooManyMacros;
    }
    if (header[kFlagOffset] > kHighestReadableFlag) {
        return ProfileCheck::BadFlag;
    }
    // Summed in 64 bits: a string-area size near 4 GiB must not wrap round to a valid total.
    if (total != ProfileFileSize(macros, textSize)) {
        return ProfileCheck::TotalMismatch;
    }
    if (header[kChecksumOffset] != HeaderChecksum(header)) {
        return ProfileCheck::BadChecksum;
    }
    return ProfileCheck::Valid;
}

std::string_view DescribeProfileCheck(ProfileCheck check) {
    switch (check) {
        case ProfileCheck::Valid:
            return "a valid profile file";
        case ProfileCheck::Missing:
            return "no file at this path";
        case ProfileCheck::CannotOpen:
            return "the file cannot be opened";
        case ProfileCheck::TooSmall:
            return "the file is shorter than 32832 bytes";
        case ProfileCheck::TooLarge:
            return "the file is 4 GiB or larger";
        case ProfileCheck::OutOfMemory:
            return "not enough memory to check the file";
        case ProfileCheck::BadMagic:
            return "the header does not start with \"FD\"";
        case ProfileCheck::BadHeaderSize:
            return "the header size is not 32";
        case ProfileCheck::BadFormatWord:
            return "header bytes 4..5 do not hold 3";
        case ProfileCheck::BadFormatRevision:
            return "header bytes 6..7 do not hold 1";
        case ProfileCheck::TotalTooSmall:
            return "the total size in the header is below 32832";
        case ProfileCheck::BadEntryCount:
            return "the header does not name 2048 key entries";
        case ProfileCheck::TooManyMacros:
            return "the header names more than 100 macros";
        case ProfileCheck::BadFlag:
            return "the header flag is neither 0 nor 1";
        case ProfileCheck::TotalMismatch:
            return "the total size does not equal 32832 + macros x 16512 + string area";
        case ProfileCheck::BadChecksum:
            return "the header checksum does not match";
        case ProfileCheck::Truncated:
            return "the file is shorter than its header's total size";
        case ProfileCheck::TextOutsideArea:
            return "a text offset points outside the string area";
        case ProfileCheck::TextUnterminated:
            return "a text has no terminator inside the string area";
        case ProfileCheck::ReadFailed:
            return "the file could not be read";
    }
    return "unknown";
}

ProfileCheck CheckProfileFile(const std::string& path) {
    ReadOnlyFile file;
    switch (file.Open(path)) {
        case ReadOnlyFile::OpenResult::Missing:
            return ProfileCheck::Missing;
        case ReadOnlyFile::OpenResult::Failed:
            return ProfileCheck::CannotOpen;
        case ReadOnlyFile::OpenResult::Ok:
            break;
    }
    if (file.Size() >= kMaxProfileFileSize) {
        return ProfileCheck::TooLarge;
    }
    if (file.Size() < keyboard::kImageSize) {
        return ProfileCheck::TooSmall;
    }
    std::array<uint8_t, keyboard::kHeaderSize> header{};
    if (!file.ReadAt(0, header)) {
        return ProfileCheck::ReadFailed;
    }
    const ProfileCheck headerCheck = CheckProfileHeader(header);
    if (headerCheck != ProfileCheck::Valid) {
        return headerCheck;
    }
    if (file.Size() < LoadLe32(header, kTotalSizeOffset)) {
        return ProfileCheck::Truncated;
    }
    try {
        return CheckTexts(file, LoadLe16(header, kMacroCountOffset),
                          LoadLe32(header, kTextSizeOffset));
    } catch (const std::bad_alloc&) {
        return ProfileCheck::OutOfMemory;
    }
}

}  // namespace qx::profiles
