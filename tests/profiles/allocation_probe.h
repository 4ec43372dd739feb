// Watches the largest single allocation made through operator new while a probe is active, so a
// test can tell that a file was checked without being read into memory as a whole.
#pragma once

#include <cstddef>

namespace qx::testing {

class AllocationProbe {
  public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    std::size_t Largest() const;
};

}  // namespace qx::testing
