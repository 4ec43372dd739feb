// INI files as the program reads and writes them: language files, skin files and "zadi.ini".
// Results match the Windows private-profile functions the file formats were made for:
// sections and keys are found without regard to case; a missing file, section or key gives the
// default; a key that exists with an empty value gives an empty text; a value is cut to the
// caller's buffer size minus one character. UTF-8 (with or without BOM) and UTF-16LE (with BOM)
// files are read, CRLF and LF line ends alike; files are written as UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qx::platform {

// Buffer sizes in characters (terminator included) that callers pass as `bufferChars`.
inline constexpr std::size_t kLanguageTextBuffer = 260;  // language texts: 259 characters
inline constexpr std::size_t kSkinStringBuffer = 2047;   // skin strings: 2046 characters
inline constexpr std::size_t kPathBuffer = 260;

// The value of `key` in `section` of the file at `path` (UTF-8 result), or `defaultValue` when
// the file, section or key is missing. At most bufferChars - 1 characters are returned.
std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferChars);

// While one is open on a thread, ReadIniString on that thread reads each file once and answers
// every later lookup of it from the bytes read; WriteIniString on that thread makes the next
// lookup read the file again. Building a window reads a few hundred keys from its skin and
// language files. A later scope reads a file again only when it changed since (its size, inode
// or change time differ, or it changed just before it was read). Outside a scope every lookup
// reads the file again, so a file changed while the program runs is seen at its next lookup.
// Scopes nest; the end of the outermost one counts.
class IniReadScope {
  public:
    IniReadScope();
    ~IniReadScope();
    IniReadScope(const IniReadScope&) = delete;
    IniReadScope& operator=(const IniReadScope&) = delete;
};

// The same lookup over the bytes of a file already in memory (BOM and encoding as above).
// Nothing when the section or key is missing; otherwise at most bufferChars - 1 characters.
std::optional<std::string> FindIniValue(std::string_view fileBytes, std::string_view section,
                                        std::string_view key, std::size_t bufferChars);

// Sets `key` in `section` to `value`, creating the file, section or key when missing and keeping
// every other line as it was. The file is replaced atomically: a failed write leaves the old file
// intact. Returns false when the file could not be written, and refuses (false, nothing written)
// a section or key that an INI line cannot hold (empty, a line break, '=' or ']' in a key, a
// key starting with ';' or '[') and a value with a line break. A value with leading or trailing
// blanks, or one that starts and ends with '"', is written in quotes so that it reads back
// unchanged. A UTF-16 file is rewritten as UTF-8; new files use LF line ends, existing files
// keep theirs.
bool WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value);

}  // namespace qx::platform
