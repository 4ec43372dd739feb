// Binds a RadOdorApi table to a Library of this process, so that code written against the
// loaded libRadOdor.so (the device layer) runs over any backend without dlopen: tests,
// benchmarks, and tools that want the emulated keyboard in-process.
#pragma once

#include "transport/library.h"
#include "transport/radodor.h"

namespace qx::transport {

// The table's functions carry no context, so one binding is active at a time in a process;
// a second one while the first lives throws std::logic_error. Bindings may follow each other
// freely. Calls through the table while no binding is active return 0 (Debug and End work).
// The Library must outlive the binding.
class InProcessApi {
  public:
    explicit InProcessApi(Library& library);
    ~InProcessApi();
    InProcessApi(const InProcessApi&) = delete;
    InProcessApi& operator=(const InProcessApi&) = delete;

    const RadOdorApi& Table() const;
};

}  // namespace qx::transport
