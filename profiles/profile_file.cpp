#include "profiles/profile_file.h"

#include <filesystem>
#include <new>
#include <span>
#include <utility>

#include "keyboard/byte_order.h"
#include "keyboard/image_holders.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lang/text_format.h"
#include "platform/data_folder.h"
#include "platform/file_replace.h"
#include "platform/prompt.h"
#include "platform/unicode_text.h"
#include "profiles/macro_area.h"
#include "profiles/profile_format.h"
#include "profiles/read_only_file.h"
#include "profiles/string_area.h"

namespace qx::profiles {
namespace {

// The message names the file as the user knows it: its full path.
std::string FullPath(const std::string& path) {
    std::error_code ignored;
    const auto absolute = std::filesystem::absolute(path, ignored);
    return absolute.empty() ? path : absolute.lexically_normal().string();
}

void ShowFormatError(const std::string& path) {
    const std::string text =
        lang::FormatText(lang::LangText(lang::kProfileFormatError), {FullPath(path)});
    platform::CurrentPrompt().ShowMessage(
        platform::CutToUtf16Units(text, kFormatErrorCapacity - 1));
}

bool FileExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

ProfileCheck ReadParts(const ReadOnlyFile& file, ProfileContents& out) {
    auto image = std::make_unique<keyboard::ImageRecord>();
    if (!file.ReadAt(0, image->Bytes())) {
        return ProfileCheck::ReadFailed;
    }
    const auto header = image->Header();
    const uint16_t macroCount = keyboard::LoadLe16(header, kMacroCountOffset);
    const uint32_t textSize = keyboard::LoadLe32(header, kTextSizeOffset);
    if (macroCount > kMaxFileMacros) {
        return ProfileCheck::TooManyMacros;
    }
    if (ProfileFileSize(macroCount, textSize) > file.Size()) {
        return ProfileCheck::Truncated;
    }
    std::vector<keyboard::MacroRecord> macros(macroCount);
    std::vector<uint8_t> area(textSize);
    if (!file.ReadAt(kMacroAreaOffset, MacroAreaBytes(macros)) ||
        !file.ReadAt(ProfileFileSize(macroCount, 0), area)) {
        return ProfileCheck::ReadFailed;
    }
    auto texts = std::make_unique<keyboard::TextTable>();
    if (const auto problem = UnpackTextArea(*image, area, *texts)) {
        return problem->problem == TextProblem::OutsideArea ? ProfileCheck::TextOutsideArea
                                                            : ProfileCheck::TextUnterminated;
    }
    out = ProfileContents{std::move(image), std::move(macros), std::move(texts)};
    return ProfileCheck::Valid;
}

}  // namespace

std::unique_ptr<keyboard::ImageRecord> BuildDefaultImage(uint8_t flag) {
    auto image = std::make_unique<keyboard::ImageRecord>();
    FillProfileHeader(image->Header(), 0, 0, flag);
    FillFixedBlock(image->FixedBlock());
    keyboard::FillDefaultBlock(image->Block(0));
    return image;
}

int WriteDefaultProfileFile(const std::optional<std::string>& path, uint8_t flag, bool install) {
    std::unique_ptr<keyboard::ImageRecord> image;
    try {
        image = BuildDefaultImage(flag);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (install) {
        keyboard::Images().LockImage()->image = std::move(image);
        return 1;
    }
    if (!path || !platform::ReplaceFile(*path, {image->Bytes()})) {
        return 0;
    }
    return 1;
}

bool SaveImageToFile(const keyboard::ImageGuard& image, const std::string& path) {
    keyboard::LiveImage& live = image.Live();
    if (!live.image) {
        return false;
    }
    const uint32_t textSize = live.TextTotal();
    std::vector<uint8_t> area;
    try {
        area.assign(textSize, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    FillProfileHeader(live.image->Header(), live.MacroCount(), textSize, kWriterFlag);
    PackTextArea(*live.image, live.texts, area);
    return static_cast<bool>(platform::ReplaceFile(
        path, {live.image->Bytes(), MacroAreaBytes(std::as_const(live.macros)), area}));
}

bool SaveImageToFile(const std::string& path) {
    return SaveImageToFile(keyboard::Images().LockImage(), path);
}

int SaveImageToStore(const keyboard::ImageGuard& image) {
    const std::string store = GetStorePath(kStoreNumber);
    if (!FileExists(store)) {
        return 0;
    }
    return SaveImageToFile(image, store) ? 1 : 0;
}

int SaveImageToStore() {
    return SaveImageToStore(keyboard::Images().LockImage());
}

int ValidateProfileFile(const std::string& path) {
    const ProfileCheck check = CheckProfileFile(path);
    if (check == ProfileCheck::Valid) {
        return kProfileValid;
    }
    if (IsFormatError(check)) {
        ShowFormatError(path);
        return kProfileRefused;
    }
    switch (check) {
        case ProfileCheck::CannotOpen:
        case ProfileCheck::ReadFailed:
            return kProfileCannotOpen;
        case ProfileCheck::OutOfMemory:
            return kProfileOutOfMemory;
        default:
            return kProfileRefused;
    }
}

ProfileCheck ReadProfileContents(const std::string& path, ProfileContents& out) {
    ReadOnlyFile file;
    switch (file.Open(path)) {
        case ReadOnlyFile::OpenResult::Missing:
            return ProfileCheck::Missing;
        case ReadOnlyFile::OpenResult::Failed:
            return ProfileCheck::CannotOpen;
        case ReadOnlyFile::OpenResult::Ok:
            break;
    }
    if (file.Size() < keyboard::kImageSize) {
        return ProfileCheck::TooSmall;
    }
    try {
        return ReadParts(file, out);
    } catch (const std::bad_alloc&) {
        return ProfileCheck::OutOfMemory;
    }
}

void InstallProfileContents(const keyboard::ImageGuard& image, ProfileContents contents) {
    keyboard::LiveImage& live = image.Live();
    live.image = std::move(contents.image);
    live.macros = std::move(contents.macros);
    if (contents.texts) {
        live.texts = std::move(*contents.texts);
    } else {
        live.texts.ClearAll();
    }
}

void InstallProfileContents(ProfileContents contents) {
    InstallProfileContents(keyboard::Images().LockImage(), std::move(contents));
}

int LoadImageFromFile(const keyboard::ImageGuard& image, const std::string& path) {
    ProfileContents contents;
    if (ReadProfileContents(path, contents) != ProfileCheck::Valid) {
        return 0;
    }
    InstallProfileContents(image, std::move(contents));
    return 1;
}

int LoadImageFromFile(const std::string& path) {
    ProfileContents contents;
    if (ReadProfileContents(path, contents) != ProfileCheck::Valid) {
        return 0;
    }
    InstallProfileContents(std::move(contents));
    return 1;
}

std::string GetStorePath(int /*profile*/) {
    EnsureDataFolder();
    return platform::DataFolderPath() + '/' + lang::FormatText(kStoreNamePattern, {kStoreNumber});
}

void EnsureDataFolder() {
    platform::EnsureDataFolder();
}

}  // namespace qx::profiles
