// Profile files and the profile store over the one live configuration image
// (keyboard::Images()): the default file, save, validation and load.
//
// Locks: an operation that reads or replaces the live image is given the guard of the image
// lock its caller holds (Apply and import keep it over the whole transfer), or takes the lock
// itself in the form without a guard. The snapshot lock is never taken here.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "keyboard/image_holders.h"
#include "keyboard/image_record.h"
#include "keyboard/macro_record.h"
#include "keyboard/text_table.h"
#include "profiles/profile_check.h"

namespace qx::profiles {

// Results of ValidateProfileFile.
inline constexpr int kProfileValid = 1;
inline constexpr int kProfileRefused = 0;  // missing, too small or large, or malformed
inline constexpr int kProfileCannotOpen = -2;
inline constexpr int kProfileOutOfMemory = -3;

// The format-error message is formatted into this many characters, terminator included.
inline constexpr std::size_t kFormatErrorCapacity = 520;

// The default image (32832 bytes): header with N = 0, S = 0 and `flag`, the fixed block, every
// key entry zero except the G-key entries 256..273 of block 0 with their G codes.
std::unique_ptr<keyboard::ImageRecord> BuildDefaultImage(uint8_t flag);

// Without install: writes a default file of 32832 bytes at `path` (1, or 0 when it cannot be
// written). With install: the default image becomes the live image record (the path is not
// used); the macro area and the text table stay as they are, callers have released them.
int WriteDefaultProfileFile(const std::optional<std::string>& path, uint8_t flag, bool install);

// Saves the live image, macro area and texts to `path`: the header is refreshed (live macro
// count, text total, flag 0), the texts are packed and their offsets written into the live key
// entries. The file is replaced only when everything was written; false leaves the old file.
bool SaveImageToFile(const keyboard::ImageGuard& image, const std::string& path);
bool SaveImageToFile(const std::string& path);

// The same on the profile store; 0 without writing anything when the store does not exist
// (only a read-back of the keyboard creates it), 1 when it was written.
int SaveImageToStore(const keyboard::ImageGuard& image);
int SaveImageToStore();

// 1 valid; 0 missing, too small, too large or malformed (a malformed file is reported with the
// "PROFILE_FORMAT_ERROR" message and the file's full path, OK button only); -2 cannot be opened
// or read; -3 out of memory. The file is opened for reading only.
int ValidateProfileFile(const std::string& path);

// The parts of a profile file, read into memory of their own.
struct ProfileContents {
    std::unique_ptr<keyboard::ImageRecord> image;
    std::vector<keyboard::MacroRecord> macros;
    std::unique_ptr<keyboard::TextTable> texts;
};

// Reads a profile file without touching the live image. The header is taken as it is (files
// from the user go through ValidateProfileFile first); still, a file is refused when it names
// more than 100 macros, holds fewer bytes than its macro and string areas need, or a text
// cannot be taken from its string area. Nothing beyond the file's own bytes is read, and no
// more than the file's size is allocated.
ProfileCheck ReadProfileContents(const std::string& path, ProfileContents& out);

// Installs the contents as the live image: image record, macro area and text table replaced
// together under the image lock (no text table: the texts are emptied).
void InstallProfileContents(const keyboard::ImageGuard& image, ProfileContents contents);
void InstallProfileContents(ProfileContents contents);

// Loads the file as the live image: image record, macro area and text table are replaced
// together once the whole file was read (1); on any failure (0) the live image stays as it was.
// Without a guard the file is read before the image lock is taken.
int LoadImageFromFile(const keyboard::ImageGuard& image, const std::string& path);
int LoadImageFromFile(const std::string& path);

// The profile store's full path ("$Profile0" in the data folder, whatever profile is named).
// Makes sure the data folder exists.
std::string GetStorePath(int profile);

// Creates the data folder when it is missing.
void EnsureDataFolder();

}  // namespace qx::profiles
