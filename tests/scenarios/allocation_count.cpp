#include "allocation_count.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {
std::atomic<long long> allocations{0};
std::atomic<long long> bytes{0};
long long blockSize(void* block) {
#ifdef _WIN32
    return static_cast<long long>(_msize(block));
#else
    return static_cast<long long>(malloc_usable_size(block));
#endif
}
} // namespace

// Every form of new and delete but the aligned ones, which the program does not use: a form left
// to the runtime could hand our delete a block it had allocated its own way (googletest uses
// new (std::nothrow), which AddressSanitizer replaces).
void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    ++allocations;
    bytes += blockSize(block);
    return block;
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept {
    return operator new(size, nothrow);
}
void operator delete(void* block) noexcept {
    if (block != nullptr) {
        --allocations;
        bytes -= blockSize(block);
        std::free(block);
    }
}
void operator delete[](void* block) noexcept {
    operator delete(block);
}
void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    operator delete(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    operator delete(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    operator delete(block);
}

namespace lumora::scenarios {

long long liveAllocations() {
    return allocations.load();
}
long long liveAllocationBytes() {
    return bytes.load();
}

} // namespace lumora::scenarios
