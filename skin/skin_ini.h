// CIniFile: the small reader and writer of one skin INI file that every skinned window owns.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qx::skin {

// The path is kept up to this many characters; a longer path is cut, not rejected.
inline constexpr std::size_t kIniPathMaxChars = 259;
// A text read with GetString holds at most this many characters (a 2047-character buffer).
inline constexpr std::size_t kIniStringMaxChars = 2046;

// Cuts a UTF-8 text to at most `maxChars` characters (code points), never inside a character.
std::string CutUtf8(std::string_view text, std::size_t maxChars);

class CIniFile {
  public:
    CIniFile() = default;
    explicit CIniFile(std::string_view path) { SetPath(path); }

    // Keeps a private copy of at most kIniPathMaxChars characters of `path`.
    void SetPath(std::string_view path);
    [[nodiscard]] const std::string& Path() const { return path_; }

    // The value of `key` in `section` (the default text when the file, section or key is
    // missing), cut to kIniStringMaxChars characters; nothing when the result is empty.
    [[nodiscard]] std::optional<std::string> GetString(std::string_view section,
                                                       std::string_view key,
                                                       std::string_view defaultText) const;

    // Writes `value` into the file; false when the file could not be written.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;

  private:
    std::string path_;
};

}  // namespace qx::skin
