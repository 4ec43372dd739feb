#include "tests/profiles/allocation_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> probing{false};
std::atomic<std::size_t> largest{0};

void* Allocate(std::size_t size) {
    if (probing.load(std::memory_order_relaxed)) {
        std::size_t seen = largest.load(std::memory_order_relaxed);
        while (size > seen && !largest.compare_exchange_weak(seen, size)) {
        }
    }
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace qx::testing {

AllocationProbe::AllocationProbe() {
    largest = 0;
    probing = true;
}

AllocationProbe::~AllocationProbe() {
    probing = false;
}

std::size_t AllocationProbe::Largest() const {
    return largest.load();
}

}  // namespace qx::testing
