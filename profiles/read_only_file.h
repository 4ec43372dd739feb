// A profile file opened for reading only, so that read-only files can be checked and loaded.
// Reads are exact: a read that the file cannot fill fails instead of returning less.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qx::profiles {

class ReadOnlyFile {
  public:
    enum class OpenResult { Ok, Missing, Failed };

    ReadOnlyFile() = default;
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Missing: nothing, or something other than a regular file, is at the path (a folder or a
    // pipe is not a profile file). Failed: a file is there but cannot be opened.
    OpenResult Open(const std::string& path);

    uint64_t Size() const { return size_; }

    // Reads exactly bytes.size() bytes from `offset`; false when the file ends earlier or the
    // read fails.
    bool ReadAt(uint64_t offset, std::span<uint8_t> bytes) const;

  private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

}  // namespace qx::profiles
