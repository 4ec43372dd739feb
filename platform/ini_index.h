// An index of one INI file's keys, made in one pass over its bytes, that answers every lookup as
// FindIniValue does over the same bytes: only the first section of each name counts, and within
// it the first key of each name; names are compared without regard to case. A window reads a
// few hundred keys of its skin and language files while it opens; the index spares a scan of
// the whole file for each of them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/ini_scanner.h"

namespace qx::platform::ini_detail {

class IniIndex {
  public:
    explicit IniIndex(std::string bytes);

    // The value of `key` in `section`, at most bufferChars - 1 characters; nothing when the
    // section or key is missing.
    [[nodiscard]] std::optional<std::string> Find(std::string_view section, std::string_view key,
                                                  std::size_t bufferChars) const;

    // Where a value lies in the file's code units (after its byte-order mark).
    struct Value {
        std::size_t begin = 0;
        std::size_t end = 0;
    };

  private:
    template <class Units>
    void Build(const Units& units);
    template <class Units>
    std::optional<std::string> Extract(const Units& units, const Value& value,
                                       std::size_t bufferChars) const;

    std::string bytes_;
    std::size_t bomLength_ = 0;
    FileEncoding encoding_ = FileEncoding::Utf8;
    // Section and key names case-folded (UTF-8), joined by a byte no UTF-8 text holds.
    std::unordered_map<std::string, Value> values_;
};

}  // namespace qx::platform::ini_detail
